#include "WebEngineBrowser.h"
#include "CoursewarePlayer.h"
#include "DownloadPlacement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHideEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace tx {

namespace {

constexpr qint64 kMaxCoursewareBytes = 256 * 1024 * 1024;
constexpr int kDownloadTimeoutMs = 60000;

// What the control shows: its own view, or the courseware player's while a movie plays.
// The player's view goes back to the player before the frame dies.
class BrowserFrame : public QWidget {
public:
    explicit BrowserFrame(QWidget* parent) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    ~BrowserFrame() override { CoursewarePlayer::instance().release(this); }
    // Runs when the window closes (is hidden, not minimised) but lives on.
    std::function<void()> closed;

protected:
    void hideEvent(QHideEvent* event) override {
        QWidget::hideEvent(event);
        if (!event->spontaneous() && closed)
            closed();
    }
};

QString writeCacheFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(WebEngineBrowser::cacheFolder()).filePath(name);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {};
    return path;
}

QString hashName(const QByteArray& key) {
    return QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
}

} // namespace

QString WebEngineBrowser::cacheFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty())
        dir = QDir::temp().filePath(QStringLiteral("tongxue-cache"));
    dir = QDir(dir).filePath(QStringLiteral("courseware"));
    QDir().mkpath(dir);
    return dir;
}

WebEngineBrowser::WebEngineBrowser(QWidget* parent, const QString& ruffleDir)
    : frame_(new BrowserFrame(parent)), view_(new QWebEngineView(frame_)),
      pagePage_(new QWebEnginePage(view_)), ruffleDir_(ruffleDir) {
    frame_->layout()->addWidget(view_);
    view_->setPage(pagePage_);
    view_->setAccessibleName(QStringLiteral("网页"));
    // A window kept for later: its download and its movie end with the showing, the
    // player's view stays for the next movie.
    static_cast<BrowserFrame*>(frame_)->closed = [this, alive = QPointer<QObject>(&alive_)] {
        if (!alive)
            return; // the control is gone, its frame lives on
        dropDownload();
        CoursewarePlayer::instance().stop(frame_);
    };
}

WebEngineBrowser::~WebEngineBrowser() {
    dropDownload();
}

void WebEngineBrowser::dropDownload() {
    // Cleared first, so that the reply's finishing cannot show anything any more.
    QNetworkReply* reply = pending_.data();
    pending_ = nullptr;
    if (reply)
        reply->abort();
}

QWidget* WebEngineBrowser::widget() {
    return frame_;
}

QWebEngineView* WebEngineBrowser::view() const {
    CoursewarePlayer& player = CoursewarePlayer::instance();
    return player.isShownIn(frame_) ? player.view() : view_;
}

void WebEngineBrowser::showPagePage() {
    CoursewarePlayer::instance().release(frame_);
}

void WebEngineBrowser::showOwnPage(const QString& html) {
    showPagePage();
    pagePage_->setHtml(html);
}

void WebEngineBrowser::navigate(const QString& address) {
    dropDownload();
    switch (classifyAddress(address)) {
    case AddressKind::Empty:
        showOwnPage(errorPageHtml(address, emptyAddressReason()));
        return;
    case AddressKind::LocalSwf: {
        const QUrl url = addressToUrl(address);
        playLocal(address, url.toLocalFile(), url.toString(QUrl::FullyEncoded));
        return;
    }
    case AddressKind::WebSwf:
        download(address);
        return;
    case AddressKind::Page:
        showPagePage();
        pagePage_->load(addressToUrl(address));
        return;
    }
}

void WebEngineBrowser::playLocal(const QString& address, const QString& path, const QString& base) {
    const FlashFileState state = checkFlashFile(path);
    if (state != FlashFileState::Ok) {
        showOwnPage(errorPageHtml(address, reasonText(state)));
        return;
    }
    if (!QFileInfo::exists(QDir(ruffleDir_).filePath(QStringLiteral("ruffle.js")))) {
        showOwnPage(errorPageHtml(address, playerMissingReason()));
        return;
    }
    const QUrl dir = QUrl::fromLocalFile(QDir(ruffleDir_).absolutePath() + u'/');
    const PlayerMovie movie{dir, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), base};
    // A file that looks like Flash but that the player refuses gets our page too.
    const bool playing =
        CoursewarePlayer::instance().play(frame_, view_, ruffleDir_, movie, [this, address] {
            showOwnPage(errorPageHtml(address, playerRefusedReason()));
        });
    if (!playing)
        showOwnPage(errorPageHtml(address, reasonText(FlashFileState::Unreadable)));
}

void WebEngineBrowser::download(const QString& address) {
    if (!network_)
        network_ = new QNetworkAccessManager(view_);
    QNetworkRequest request(addressToUrl(address));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kDownloadTimeoutMs);
    QNetworkReply* reply = network_->get(request);
    pending_ = reply;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply](qint64 received, qint64) {
                         if (received > kMaxCoursewareBytes)
                             reply->abort();
                     });
    QObject::connect(reply, &QNetworkReply::finished, view_,
                     [this, reply, address] { downloadFinished(reply, address); });
    showOwnPage(downloadingPageHtml(address));
}

void WebEngineBrowser::downloadFinished(QNetworkReply* reply, const QString& address) {
    reply->deleteLater();
    if (reply != pending_)
        return; // replaced by a later address, or aborted with its control
    pending_ = nullptr;
    if (reply->error() != QNetworkReply::NoError) {
        showOwnPage(errorPageHtml(address, downloadFailedReason(reply->errorString())));
        return;
    }
    const QByteArray bytes = reply->readAll();
    if (!hasFlashSignature(bytes)) {
        showOwnPage(errorPageHtml(address, reasonText(FlashFileState::NotFlash)));
        return;
    }
    const QString file = writeCacheFile(
        QStringLiteral("web-%1.swf").arg(hashName(addressToUrl(address).toEncoded())), bytes);
    if (file.isEmpty()) {
        showOwnPage(errorPageHtml(address, downloadFailedReason(QString())));
        return;
    }
    playLocal(address, file, addressToUrl(address).toString(QUrl::FullyEncoded));
}

namespace {

// Owned by its view, so the control lives exactly as long as the widget it wraps.
class ViewOwnedBrowser : public QObject, public WebEngineBrowser {
public:
    ViewOwnedBrowser(QWidget* parent, const QString& ruffleDir)
        : QObject(nullptr), WebEngineBrowser(parent, ruffleDir) {
        setParent(widget());
    }
};

} // namespace

BrowserControl* WebEngineBrowserFactory::create(QWidget* parent) {
    auto* browser = new ViewOwnedBrowser(parent, ruffleDir_);
    if (downloads_)
        downloads_->watch(browser->view()->page()->profile());
    return browser;
}

void WebEngineBrowserFactory::prepareCourseware() {
    CoursewarePlayer::instance().prewarm(ruffleDir_);
}

} // namespace tx
