#pragma once

#include <QString>

class QWidget;

namespace tx {

enum class MessageIcon { None, Information, Warning, Error, Question };

// Buttons offered and the answer given; combine offers with |.
enum MessageButton : int { Ok = 1, Cancel = 2, Yes = 4, No = 8 };

// A file picked in an open dialog, with the filter entry that was selected then
// (1 = the first entry, as the program's filter indexes count).
struct FileChoice {
    QString path; // empty when the user cancelled
    int filterIndex = 1;
};

// Filters are given in the program's own form: description|pattern pairs separated by
// '|', several patterns of one entry separated by ';' ("(*.jpg)|*.jpg|(*.bmp)|*.bmp").
// A filter without '|' is taken as Qt's form ("Pictures (*.jpg);;All (*)").
// A default extension may be given as "wav", ".wav" or "*.wav"; it is appended to a
// chosen name that has no extension.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Answers the button pressed (one of MessageButton).
    virtual int messageBox(QWidget* owner, const QString& text, const QString& caption,
                           MessageIcon icon, int buttons) = 0;
    // Answer an empty string when the user cancels.
    virtual QString openFile(QWidget* owner, const QString& filter,
                             const QString& defaultExtension) = 0;
    virtual QString saveFile(QWidget* owner, const QString& filter, const QString& defaultExtension,
                             const QString& proposedName) = 0;
    // As openFile, and tells which filter entry was selected (for a caller that reads the
    // file according to the entry, such as a picture as JPEG or BMP). The default answers entry 1.
    virtual FileChoice chooseOpenFile(QWidget* owner, const QString& filter,
                                      const QString& defaultExtension) {
        return FileChoice{openFile(owner, filter, defaultExtension), 1};
    }
};

} // namespace tx
