#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tx {

struct Services;
class BrowserControl;

// The useful-links directory: a fixed list of everyday sites on the left, a browser on
// the right, covered by a black panel until the first click in the list.
class TWEBALLForm : public QDialog {
    Q_OBJECT
public:
    TWEBALLForm(Services& services, QWidget* owner);
    ~TWEBALLForm() override;

    BrowserControl* browser() const { return WB1_; }

    // A click in the list, wherever in it: loads the selected entry.
    void TV1Click();
    void WEBBIGSBClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildTopPanel();
    void buildList();

    Services& services_;
    QTreeWidget* TV1_ = nullptr;
    BrowserControl* WB1_ = nullptr;
    QWidget* PICPL_ = nullptr;
    QWidget* QMTPL_ = nullptr;
    // Caption of the entry whose address CurrentLinkAddress holds.
    QString chosenCaption_;
};

// The program-wide reference to the open links directory, or null.
extern TWEBALLForm* WEBALLForm;

// What the main window's NEWSSB does: forget the last chosen link, then show the
// directory modally over owner.
void OpenLinksDirectory(Services& services, QWidget* owner);

} // namespace tx
