#pragma once

#include "Recipes.h"

#include <QList>
#include <QString>
#include <stdexcept>

namespace tx::content {

// A fault in a source file: stops the whole build before anything is written.
class SourceError : public std::runtime_error {
public:
    SourceError(const QString& file, int line, const QString& reason);
    QString file;
    int line;
    QString reason;
};

struct ModuleInfo {
    const char* code;        // file name without ".txt"
    const char* itemKeyword; // first field of an item line
    const char* chapterTable;
    const char* itemTable;
    const char* numberField;
    const char* nameField;
    const char* textField;
    const char* soundFolder; // below the program folder
    bool textRequired;
    int nameByteLimit; // 0: none
    int itemLimit;
    const char* defaultVoice;
};

const QList<ModuleInfo>& modules();

struct Voice {
    QString name;
    int rate = 120;
};

struct Chapter {
    int number = 0;
    QString name;
    int line = 0;
};

struct Item {
    int number = 0;
    QString name;
    QString chapter;
    QString text;    // lines joined by '\n'
    QString sound;   // file name in the module's sound folder, or empty
    QString picture; // emoji text, "字" (draw the name) or "无" (none)
    QString courseware;
    int line = 0;
};

struct Module {
    ModuleInfo info;
    QString file;
    Voice voice;
    QList<Chapter> chapters;
    QList<Item> items;
};

struct QuizSound {
    QString file; // bare name in the program folder
    QString text;
    int line = 0;
};

struct Library {
    QString date;
    QList<Module> modules; // in the order of modules()
    Voice quizVoice;
    QList<QuizSound> quiz;
    QList<Recipe> recipes; // the starter collection of myfood
};

// Reads library.txt, sz.txt, xs.txt, xyy.txt, quiz.txt and recipes.txt (when present)
// from the folder and checks
// every limit the program's editors enforce; throws SourceError at the first fault.
Library readLibrary(const QString& folder);

// What an item's recording says (and what its stamp is made of).
QString spokenText(const Module& module, const Item& item);

} // namespace tx::content
