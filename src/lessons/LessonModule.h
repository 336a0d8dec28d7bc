#pragma once

// The three lesson modules (literacy `sz`, poems `xs`, English `xyy`) as read-only
// descriptors, the rows of their chapter and item tables, their queries Q1..Q6 and the
// picture rule. Every lesson window is written once and handed one of these.
//
// Editor seam: a learning window's "编辑章节" (`zjsb`) and item-edit button (`zsb`) call
// the std::function openers of LessonEditorOpeners below, handed to OpenLearningWindow
// (src/lessons/LearningWindow.h) by ProgramServices::connectModules, which takes them from
// lessonEditors() in src/app/ProgramServices.cpp (the editors fill that in). An opener
// receives the learning window: its module(), services(), and ReloadChapters() (public),
// which the editors' return buttons call after they close. An empty opener makes its
// button do nothing.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <span>

namespace tx {

class Dataset;
class LearningWindow;

// One column of an editor grid: the field shown, its width in pixels, and whether it is
// drawn in red bold (the name column).
struct GridColumn {
    QStringView field;
    int width = 0;
    bool emphasised = false;
};

struct LessonModule {
    QStringView moduleCode; // "sz", "xs", "xyy"

    // Tables and columns.
    QStringView chapterTable;
    QStringView itemTable;
    QStringView numberField;
    QStringView nameField;
    QStringView textField;
    bool textRequired = false;
    int nameByteLimit = 0; // bytes of the name's GBK form; 0: no limit
    int itemLimit = 0;     // items a chapter may hold

    // Window classes.
    QStringView learningWindow;
    QStringView chapterListWindow;
    QStringView chapterDialog;
    QStringView itemListWindow;
    QStringView itemDialog;
    QStringView helpWindow;

    // Texts of the editors and their message boxes (caption "注意" unless said otherwise).
    QStringView chapterEditButton;               // learning window button to the chapter list
    QStringView itemEditButton;                  // learning window button to the item list
    QStringView chapterListCaption;              // chapter list window
    QStringView chapterDialogCaption;            // chapter add/modify dialog
    QStringView itemCaption;                     // item list window and item dialog
    QStringView numberLabel;                     // item dialog, number box
    QStringView nameLabel;                       // item dialog, name box
    QStringView textLabel;                       // item dialog, text box
    QStringView soundButton;                     // item dialog, choose the sound file
    QStringView chapterHasItems;                 // chapter deletion refused
    QStringView itemLimitReached;                // chapter already holds itemLimit items
    QStringView numberOrNameEmpty;               // item number or name empty
    QStringView nameTooLong;                     // name over nameByteLimit; empty without a limit
    QStringView nameInUse;                       // item name already used in the chapter
    QStringView textEmpty;                       // text empty while required; empty when optional
    QStringView saveFailed;                      // saving the item failed
    std::span<const GridColumn> itemGridColumns; // item list grid, in order

    // The learning window.
    QStringView windowCaption;
    int outerWidth = 0; // placed at -4,-4
    int outerHeight = 0;
    QStringView title;       // Label3D7
    QStringView statusPanel; // first status bar panel
    // Poem and English windows only (empty or 0 for literacy).
    QStringView treeHint;
    int treeWidth = 0;
    QStringView nextItemCaption;     // XYSSB
    QStringView previousItemCaption; // SYSSB
    QStringView nothingSelected;     // message when no entry is selected

    // Q1: the chapters in chapter-number order (ALLQuery).
    QString chapterQuery() const;
    // Q2: the items of chapter :zzj in item order, as its two lines of SQL text.
    QStringList itemQuery() const;
    // Q3: every item of the module in item order (goQuery).
    QString allItemsQuery() const;
    // Q4: every chapter (nameQuery).
    QString allChaptersQuery() const;
    // Q5: the items of chapter :zzj, unordered (nameQuery).
    QString chapterItemsQuery() const;
    // Q6: the items of the chapter called :zjname before a rename (goQuery).
    QString renamedChapterItemsQuery() const;

    // Each closes the dataset, replaces its SQL text, binds the parameter and opens it.
    void openChapters(Dataset& ds) const;                                    // Q1
    void openItems(Dataset& ds, const QString& chapter) const;               // Q2
    void openAllItems(Dataset& ds) const;                                    // Q3
    void openAllChapters(Dataset& ds) const;                                 // Q4
    void openChapterItems(Dataset& ds, const QString& chapter) const;        // Q5
    void openRenamedChapterItems(Dataset& ds, const QString& oldName) const; // Q6
};

// The three modules, and no others.
extern const LessonModule sz;
extern const LessonModule xs;
extern const LessonModule xyy;

// Chapter table columns and the chapter list grid (the same in every module).
inline constexpr QStringView kChapterNumberField = u"章号";
inline constexpr QStringView kChapterNameField = u"章节";
inline constexpr GridColumn kChapterGridColumns[] = {{u"章号", 60, false}, {u"章节", 100, true}};
inline constexpr QStringView kChapterDialogCaption = u"章节编辑";
inline constexpr QStringView kChapterSaveFailed = u"储存出错,章号不能相同,请检查";

// Item table columns shared by the modules.
inline constexpr QStringView kItemChapterField = u"章节";
inline constexpr QStringView kSoundField = u"声音";
inline constexpr QStringView kCoursewareField = u"课件地址";
inline constexpr QStringView kPictureFlagField = u"图片";
inline constexpr QStringView kPictureField = u"PIC";
inline constexpr QStringView kHasPicture = u"有"; // the picture flag's value

// Query parameters.
inline constexpr QStringView kChapterParam = u"zzj";
inline constexpr QStringView kOldChapterNameParam = u"zjname";

// A row of the chapter table.
struct Chapter {
    int number = 0;
    QString name;
};

// A row of the item table without its picture bytes; rowKey (the item's number, unique in
// its table) finds the row again when the picture is to be shown.
struct LessonItem {
    int number = 0;
    QString name;
    QString chapter;
    QString text;
    QString sound;
    QString courseware;
    QString pictureFlag;
    int rowKey = 0;

    bool flagsPicture() const { return pictureFlag == kHasPicture; }
};

// The current row of a chapter or item result (no picture bytes are read).
Chapter readChapter(Dataset& ds);
LessonItem readItem(Dataset& ds, const LessonModule& module);

// The bitmap file image inside stored picture data: an 8-byte header (count 1, type
// 0x0100, size = bytes after it; little-endian) is skipped when present.
QByteArray pictureBitmapBytes(const QByteArray& stored);
// 8 when stored data begins with that header, otherwise 0.
qsizetype pictureHeaderSize(QByteArrayView stored);

// Whether a stored item shows a picture: flag "有" and data present.
inline bool showsPicture(const QString& flag, const QByteArray& stored) {
    return flag == kHasPicture && !stored.isEmpty();
}

// What the learning windows' edit buttons open (see the top of this file).
struct LessonEditorOpeners {
    std::function<void(LearningWindow&)> chapterList; // zjsb "编辑章节"
    std::function<void(LearningWindow&)> itemList; // zsb "编辑字" / "编辑诗" / "编辑英语"
};

} // namespace tx
