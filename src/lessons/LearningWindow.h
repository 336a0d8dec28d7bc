#pragma once

#include "lessons/LessonModule.h"

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

namespace tx {

struct Services;
class TLabel3D;

// The clock panel's text for a moment: date, long time "H:mm:ss", weekday.
QString statusClockText(const QDateTime& moment);

// What the three learning windows share: the top bar (title, advertising label, help, the
// two edit buttons, previous/next chapter, chapter combo, return), the chapter list, the
// status bar with its clock, and the copy of the shown chapter's items that clicks are
// looked up in.
class LearningWindow : public QDialog {
    Q_OBJECT

public:
    LearningWindow(Services& services, const LessonModule& module, QWidget* parent);
    ~LearningWindow() override;

    const LessonModule& module() const { return module_; }
    Services& services() const { return services_; }
    void setEditorOpeners(LessonEditorOpeners openers) { openers_ = std::move(openers); }
    // Replaces the wall clock of the status bar.
    void setDateTimeSource(std::function<QDateTime()> now) { now_ = std::move(now); }

    // Refills the chapters, selects the first and loads its items. The editors' return
    // buttons call it after they close.
    void ReloadChapters();
    virtual void LoadChapterItems() = 0;
    void UpdateStatusBar();

    // The shown chapter's items in item order.
    const std::vector<LessonItem>& items() const { return items_; }
    // The first item in item order whose name equals name, Latin letters without regard
    // to case; null when there is none.
    const LessonItem* findItem(const QString& name) const;

public slots:
    void UpSbClick();
    void DownSbClick();
    void CB1Change();
    void HELPSBClick();
    void zjsbClick();
    void zsbClick();
    void QuitSbClick();
    void Label3D1Click();
    void Timer1Timer();

protected:
    // Loads Q2 of the chapter in CB1 into ALLQuery and copies its rows.
    void loadItemsOfChapter();
    // Read when shown; large pictures come back reduced towards fit.
    QImage pictureOf(const LessonItem& item, QSize fit);
    void stopSound();
    // The area between the top bar and the status bar.
    QWidget* content() const { return content_; }
    void setTopBarColor(const QColor& color);
    void setStopsSoundBeforeOpening(bool on) { stopsSoundBeforeOpening_ = on; }
    virtual QDialog* createHelpWindow() = 0;
    virtual void FormShow();
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    QComboBox* CB1 = nullptr;

private:
    void buildTopBar();
    void buildStatusBar();
    bool postpone(void (LearningWindow::*handler)());

    Services& services_;
    const LessonModule& module_;
    LessonEditorOpeners openers_;
    std::function<QDateTime()> now_;
    std::vector<LessonItem> items_;
    bool stopsSoundBeforeOpening_ = false;

    QWidget* topBar_ = nullptr;
    QWidget* content_ = nullptr;
    TLabel3D* Label3D7 = nullptr;
    TLabel3D* Label3D1 = nullptr;
    QToolButton* HELPSB = nullptr;
    QToolButton* zjsb = nullptr;
    QToolButton* zsb = nullptr;
    QToolButton* UpSb = nullptr;
    QToolButton* DownSb = nullptr;
    QToolButton* QuitSb = nullptr;
    QStatusBar* Sb1 = nullptr;
    QLabel* panels_[3] = {};
    QTimer* Timer1 = nullptr;
};

// Creates the module's learning window owned by owner, shows it modally; it frees itself
// when closed.
void OpenLearningWindow(Services& services, const LessonModule& module, QWidget* owner,
                        const LessonEditorOpeners& openers = {});

} // namespace tx
