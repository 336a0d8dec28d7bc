#pragma once

#include <QByteArray>
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace tx {

struct Services;
struct LessonModule;
class EditorGrid;
class TFlatSpeedButton;

// The items of one chapter of a module, chosen in CB1: add, modify and delete them
// (TSzsoundForm, TxssoundForm, TxyysoundForm).
class ItemListWindow : public QDialog {
    Q_OBJECT

public:
    // onReturn runs after the window was left by its return button; the close box does
    // not run it.
    ItemListWindow(Services& services, const LessonModule& module, std::function<void()> onReturn,
                   QWidget* parent = nullptr);

    const LessonModule& module() const { return module_; }
    QString chosenChapter() const;

public slots:
    void FormShow();
    void CB1Change();
    void AddSbClick();
    void ModifySbClick();
    void DelSbClick();
    void quitsbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool hasItems() const;

    Services& services_;
    const LessonModule& module_;
    std::function<void()> onReturn_;
    QComboBox* CB1 = nullptr;
    QToolButton* AddSb = nullptr;
    QToolButton* ModifySb = nullptr;
    QToolButton* DelSb = nullptr;
    QToolButton* quitsb = nullptr;
    EditorGrid* db1 = nullptr;
};

class TSzsoundForm : public ItemListWindow {
    Q_OBJECT
public:
    using ItemListWindow::ItemListWindow;
};
class TxssoundForm : public ItemListWindow {
    Q_OBJECT
public:
    using ItemListWindow::ItemListWindow;
};
class TxyysoundForm : public ItemListWindow {
    Q_OBJECT
public:
    using ItemListWindow::ItemListWindow;
};

// Adds an item to a chapter or changes the current item of the item list, with its
// sound, courseware address and picture (TSzsoundaddForm, TxssoundaddForm, TxyysoundaddForm).
class ItemDialog : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Add, Modify };
    struct Item {
        QString number;
        QString name; // also the previous name
        QString text;
        QString sound;
        QString courseware;
        QByteArray picture; // stored picture data, or empty
    };

    ItemDialog(Services& services, const LessonModule& module, Mode mode, const QString& chapter,
               QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    void setItem(const Item& item);
    QString previousName() const { return previousName_; }
    // The bitmap in PIC1 as BMP file bytes; empty when it shows none.
    QByteArray picture() const { return picture_; }
    QString text() const;

    // The example courseware behind 在线课件效果.
    static QString exampleCourseware(const QString& programFolder);

public slots:
    void AddBtnClick();
    void ModifyBtnClick();
    void SelectfbClick();
    void TestsbClick();
    void DELLSBClick();
    void KJTESTSBClick();
    void KJDELSBClick();
    void LOOKSBClick();
    void LOOKSB2Click();
    void simg1Click();
    void himg1Click();
    void cimg2Click();

protected:
    // Every way of closing stops a sound that 测试 started.
    void done(int result) override;

private:
    void buildControls();
    void save();
    bool nameRefused();
    void writeRow();
    // PIC1 shows bmp (24-bit BMP bytes, or nothing when empty).
    void showPicture(const QByteArray& bmp, bool stored);
    QString programFolder() const;

    Services& services_;
    const LessonModule& module_;
    const Mode mode_;
    QString previousName_;
    QByteArray picture_;
    // PIC1 shows the picture as it is stored in the row being modified: saving need not
    // write its bytes again.
    bool pictureIsStored_ = false;

    QLineEdit* numed = nullptr;
    QLineEdit* nameed = nullptr;
    QLineEdit* PYED = nullptr;     // literacy
    QPlainTextEdit* me1 = nullptr; // poems, English
    QLabel* ZJPL = nullptr;
    QLabel* Sypl = nullptr;
    QPushButton* Selectfb = nullptr;
    QPushButton* Testsb = nullptr;
    QPushButton* DELLSB = nullptr;
    QLineEdit* KJED = nullptr;
    QPushButton* KJTESTSB = nullptr;
    QPushButton* KJDELSB = nullptr;
    QPushButton* LOOKSB = nullptr;
    QPushButton* LOOKSB2 = nullptr;
    QLabel* PIC1 = nullptr;
    TFlatSpeedButton* simg1 = nullptr;
    TFlatSpeedButton* himg1 = nullptr;
    TFlatSpeedButton* cimg2 = nullptr;
    QLabel* imgdemo = nullptr;
    QPushButton* AddBtn = nullptr;
    QPushButton* ModifyBtn = nullptr;
    QPushButton* DelSb = nullptr;
};

class TSzsoundaddForm : public ItemDialog {
    Q_OBJECT
public:
    using ItemDialog::ItemDialog;
};
class TxssoundaddForm : public ItemDialog {
    Q_OBJECT
public:
    using ItemDialog::ItemDialog;
};
class TxyysoundaddForm : public ItemDialog {
    Q_OBJECT
public:
    using ItemDialog::ItemDialog;
};

ItemListWindow* newItemListWindow(Services& services, const LessonModule& module,
                                  std::function<void()> onReturn, QWidget* parent);
ItemDialog* newItemDialog(Services& services, const LessonModule& module, ItemDialog::Mode mode,
                          const QString& chapter, QWidget* parent);

// Shows the module's item list modally over owner.
void OpenItemList(Services& services, const LessonModule& module, QWidget* owner,
                  std::function<void()> onReturn);

} // namespace tx
