#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace tx {

struct Services;
struct LessonModule;
class EditorGrid;

// A module's chapter list: add, modify and delete chapters (TZJFORM, TXSZJForm, TXyyZJForm).
class ChapterListWindow : public QDialog {
    Q_OBJECT

public:
    // onReturn runs after the window was left by its return button (the learning
    // window's ReloadChapters); the close box does not run it.
    ChapterListWindow(Services& services, const LessonModule& module,
                      std::function<void()> onReturn, QWidget* parent = nullptr);

    const LessonModule& module() const { return module_; }

public slots:
    void FormShow();
    void AddSbClick();
    void ModifySbClick();
    void DelSbClick();
    void quitsbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Services& services_;
    const LessonModule& module_;
    std::function<void()> onReturn_;
    QToolButton* AddSb = nullptr;
    QToolButton* ModifySb = nullptr;
    QToolButton* DelSb = nullptr;
    QToolButton* quitsb = nullptr;
    EditorGrid* db1 = nullptr;
};

class TZJFORM : public ChapterListWindow {
    Q_OBJECT
public:
    using ChapterListWindow::ChapterListWindow;
};
class TXSZJForm : public ChapterListWindow {
    Q_OBJECT
public:
    using ChapterListWindow::ChapterListWindow;
};
class TXyyZJForm : public ChapterListWindow {
    Q_OBJECT
public:
    using ChapterListWindow::ChapterListWindow;
};

// Adds a chapter, or changes the current chapter of the chapter list and carries a new
// name into its items (TZJaddForm, TXSZJaddForm, TXyyZJaddForm).
class ChapterDialog : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Add, Modify };
    ChapterDialog(Services& services, const LessonModule& module, Mode mode,
                  QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    // Modify mode: the chapter's values; its name is also the previous name.
    void setChapter(const QString& number, const QString& name);
    QString previousName() const { return previousName_; }

public slots:
    void AddBtnClick();
    void ModifyBtnClick();

private:
    bool checkInput();
    // After a failed change the results are reread; the chapter being edited becomes
    // current again so that a second attempt writes the same row.
    void selectEditedChapter();

    Services& services_;
    const LessonModule& module_;
    const Mode mode_;
    QString previousName_;
    QLineEdit* numed = nullptr;
    QLineEdit* nameed = nullptr;
    QPushButton* AddBtn = nullptr;
    QPushButton* ModifyBtn = nullptr;
    QPushButton* DelSb = nullptr;
};

class TZJaddForm : public ChapterDialog {
    Q_OBJECT
public:
    using ChapterDialog::ChapterDialog;
};
class TXSZJaddForm : public ChapterDialog {
    Q_OBJECT
public:
    using ChapterDialog::ChapterDialog;
};
class TXyyZJaddForm : public ChapterDialog {
    Q_OBJECT
public:
    using ChapterDialog::ChapterDialog;
};

// The module's own classes.
ChapterListWindow* newChapterListWindow(Services& services, const LessonModule& module,
                                        std::function<void()> onReturn, QWidget* parent);
ChapterDialog* newChapterDialog(Services& services, const LessonModule& module,
                                ChapterDialog::Mode mode, QWidget* parent);

// Shows the module's chapter list modally over owner.
void OpenChapterList(Services& services, const LessonModule& module, QWidget* owner,
                     std::function<void()> onReturn);

} // namespace tx
