#pragma once

#include <QObject>
#include <QString>

class QTimer;
class QWidget;

namespace tx {

struct Services;
class BrowserControl;
struct GeneralBrowserRequest;

// The main window's web links: the sponsor labels of the band QMTPL and its maker label
// QMTLB, the tool-bar buttons ABOUTSB, PAYSB and SpeedButton1, the site-page radio
// buttons above WB1 in BottomPL, and the page rotation Timer2. Found by objectName in
// mainWindow, which owns this object.
class MainWindowLinks : public QObject {
    Q_OBJECT
public:
    MainWindowLinks(QWidget* mainWindow, Services& services, BrowserControl* WB1);

    QTimer* timer() const { return Timer2_; }
    // One tick of the page rotation.
    void Timer2Timer();
    // What a click on the band beside the labels does.
    void QMTPLClick();

private:
    void buildSponsorBand();
    void buildSitePages();
    void connectToolBar();
    void openGeneral(const GeneralBrowserRequest& request);
    QString programDir() const;

    QWidget* mainWindow_;
    Services& services_;
    BrowserControl* WB1_;
    QWidget* band_ = nullptr;
    QTimer* Timer2_ = nullptr;
};

} // namespace tx
