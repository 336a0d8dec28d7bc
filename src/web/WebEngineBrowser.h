#pragma once

#include "platform/Browser.h"
#include "web/CoursewarePages.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QWebEnginePage;
class QWebEngineView;

namespace tx {

// The real embedded browser: web pages and local files as the engine shows them, Flash
// courseware (.swf) through a wrapper page of ours that runs Ruffle, and our own page
// for an address that cannot be shown.
class WebEngineBrowser : public BrowserControl {
public:
    // ruffleDir: the folder holding ruffle.js (the program folder's "ruffle").
    WebEngineBrowser(QWidget* parent, const QString& ruffleDir);
    ~WebEngineBrowser() override;
    QWidget* widget() override;
    void navigate(const QString& address) override;

    // The view shown now: the control's own, or the courseware player's.
    QWebEngineView* view() const;
    // Where wrapper pages and downloaded courseware are written.
    static QString cacheFolder();

private:
    void showPagePage();
    void showOwnPage(const QString& html);
    void playLocal(const QString& address, const QString& path, const QString& base);
    void download(const QString& address);
    void dropDownload();
    void downloadFinished(QNetworkReply* reply, const QString& address);

    QWidget* frame_;
    QWebEngineView* view_;
    QWebEnginePage* pagePage_; // ordinary pages and ours; courseware plays in the shared one
    QString ruffleDir_;
    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> pending_;
    QObject alive_; // gone with the control
};

class DownloadPlacement;

class WebEngineBrowserFactory : public BrowserFactory {
public:
    // ruffleDir: as for WebEngineBrowser; empty: no courseware player (our page says so).
    explicit WebEngineBrowserFactory(const QString& ruffleDir = QString())
        : ruffleDir_(ruffleDir) {}
    BrowserControl* create(QWidget* parent) override;
    // The courseware page loaded without a view and Ruffle started on a blank movie.
    void prepareCourseware() override;
    // Downloads started in the controls made from now on are placed by placement.
    void setDownloadPlacement(DownloadPlacement* placement) { downloads_ = placement; }

private:
    QString ruffleDir_;
    DownloadPlacement* downloads_ = nullptr;
};

} // namespace tx
