#pragma once

#include "lessons/LearningWindow.h"

class QLabel;
class QGroupBox;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tx {

// The poem and English windows: the chapter's items by name in a list on the left; the
// chosen one's text and picture on the right, read aloud on request.
class TextLessonForm : public LearningWindow {
    Q_OBJECT

public:
    TextLessonForm(Services& services, const LessonModule& module, QWidget* parent);

    void LoadChapterItems() override;
    void ShowItem(const QString& name);

public slots:
    void Tree1Click();
    void LDSBClick();
    void Timer4Timer();
    void XYSSBClick();
    void SYSSBClick();
    void KJSbClick();

protected:
    QDialog* createHelpWindow() override;
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tree1KeyDown(int key);
    void warnNothingSelected();
    QTreeWidgetItem* selectedEntry() const;
    void selectEntry(int index);

    QTreeWidget* Tree1 = nullptr;
    QToolButton* XYSSB = nullptr;
    QToolButton* SYSSB = nullptr;
    QPlainTextEdit* me1 = nullptr;
    QToolButton* KJSb = nullptr;
    QToolButton* LDSB = nullptr;
    QLabel* ldshow = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* PIC1 = nullptr;
    QTimer* Timer4 = nullptr;
    bool releaseEndsDoubleClick_ = false;
};

class TxsmainForm : public TextLessonForm {
    Q_OBJECT
public:
    explicit TxsmainForm(Services& services, QWidget* parent = nullptr)
        : TextLessonForm(services, xs, parent) {}
};

class TXYYMAINForm : public TextLessonForm {
    Q_OBJECT
public:
    explicit TXYYMAINForm(Services& services, QWidget* parent = nullptr)
        : TextLessonForm(services, xyy, parent) {}
};

} // namespace tx
