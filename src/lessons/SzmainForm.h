#pragma once

#include "lessons/LearningWindow.h"

class QListWidget;

namespace tx {

class Tsendsongform;

// The literacy window: the characters of a chapter as large icons; a click opens the
// pronunciation window.
class TszmainForm : public LearningWindow {
    Q_OBJECT

public:
    explicit TszmainForm(Services& services, QWidget* parent = nullptr);

    void LoadChapterItems() override;

public slots:
    void ListView1Click();

protected:
    QDialog* createHelpWindow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* ListView1 = nullptr;
};

} // namespace tx
