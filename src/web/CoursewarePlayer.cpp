#include "CoursewarePlayer.h"
#include "WebEngineBrowser.h"
#include "platform/WaitSeconds.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QMutex>
#include <QSaveFile>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <atomic>
#include <memory>
#include <utility>

namespace tx {

// Lets the courseware page load its wrapper, Ruffle's files and the one movie being
// played, and nothing else.
class CoursewareInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl url = info.requestUrl();
        CoursewarePlayer::RequestObserver observer;
        bool allowed;
        bool isMovie;
        {
            const QMutexLocker lock(&mutex_);
            allowed = coursewareMayLoad(access_, url);
            isMovie =
                url.isLocalFile() && access_.movie.isLocalFile() &&
                QDir::cleanPath(url.toLocalFile()) == QDir::cleanPath(access_.movie.toLocalFile());
            observer = observer_;
        }
        if (!allowed)
            info.block(true);
        if (isMovie)
            movieAsked_ = true;
        if (observer)
            observer(url, allowed);
    }

    void setPages(const QUrl& wrapper, const QUrl& ruffleDir) {
        const QMutexLocker lock(&mutex_);
        access_.wrapper = wrapper;
        access_.ruffleDir = ruffleDir;
    }
    void setMovie(const QUrl& movie) {
        const QMutexLocker lock(&mutex_);
        access_.movie = movie;
        movieAsked_ = false;
    }
    // Whether the page has asked for the movie since it was set.
    bool movieAsked() const { return movieAsked_; }
    QUrl wrapper() const {
        const QMutexLocker lock(&mutex_);
        return access_.wrapper;
    }
    void setObserver(CoursewarePlayer::RequestObserver observer) {
        const QMutexLocker lock(&mutex_);
        observer_ = std::move(observer);
    }

private:
    mutable QMutex mutex_;
    CoursewareAccess access_;
    std::atomic<bool> movieAsked_ = false;
    CoursewarePlayer::RequestObserver observer_;
};

namespace {

// The wrapper page goes nowhere but its own address: a movie cannot navigate elsewhere.
class WrapperWebPage : public QWebEnginePage {
public:
    WrapperWebPage(QWebEngineProfile* profile, CoursewareInterceptor* access)
        : QWebEnginePage(profile), access_(access) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        return url.isLocalFile() &&
               url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment) == access_->wrapper();
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

private:
    CoursewareInterceptor* access_;
};

QPointer<CoursewarePlayer> thePlayer;

// How long the program waits at most for the page to have the movie file.
constexpr int kMovieFileWaitMs = 100;

QUrl folderUrl(const QString& dir) {
    return QUrl::fromLocalFile(QDir(dir).absolutePath() + u'/');
}

} // namespace

CoursewarePlayer& CoursewarePlayer::instance() {
    if (!thePlayer)
        thePlayer = new CoursewarePlayer;
    return *thePlayer;
}

CoursewarePlayer::CoursewarePlayer() : QObject(QCoreApplication::instance()) {}

CoursewarePlayer::~CoursewarePlayer() {
    // The engine wants every page of a profile gone before the profile. The view goes when
    // the event loop ends (see ensurePage); after that its drawing widget can no longer be
    // taken down, so a view still here at the very end is left to the process's end.
    delete page_;
    delete profile_;
}

QUrl CoursewarePlayer::wrapperFor(const QString& ruffleDir) {
    const QByteArray bytes = playerPageHtml(folderUrl(ruffleDir)).toUtf8();
    const QString name =
        QStringLiteral("player-%1.html")
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(20)));
    const QString path = QDir(WebEngineBrowser::cacheFolder()).filePath(name);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return QUrl::fromLocalFile(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {};
    return QUrl::fromLocalFile(path);
}

QWebEngineProfile* CoursewarePlayer::profile() {
    if (!profile_) {
        // Kept on disk like a browser's, under the user's data folder.
        profile_ = new QWebEngineProfile(QStringLiteral("courseware"));
        interceptor_ = new CoursewareInterceptor(profile_);
        profile_->setUrlRequestInterceptor(interceptor_);
        // The engine's context exists by now and tears itself down in a routine added
        // before this one; routines run in reverse order, so the page and profile go first
        // (children of the application would go only after the engine).
        qAddPostRoutine([] { delete thePlayer.data(); });
    }
    return profile_;
}

void CoursewarePlayer::setRequestObserver(RequestObserver observer) {
    profile();
    interceptor_->setObserver(std::move(observer));
}

void CoursewarePlayer::ensureView() {
    ensurePage();
    if (view_ || ending_)
        return;
    // Made only for the first movie and kept: the page stays with its first view, whose
    // accessible objects the engine keeps. The prewarm runs without one, since a view
    // that was never shown keeps the engine's compositor busy once its page was visible.
    shelf_ = new QWidget;
    shelf_->setObjectName(QStringLiteral("CoursewareShelf"));
    view_ = new QWebEngineView(shelf_);
    view_->setObjectName(QStringLiteral("CoursewareView"));
    view_->setAccessibleName(QStringLiteral("课件"));
    view_->setPage(page_);
}

void CoursewarePlayer::ensurePage() {
    if (page_)
        return;
    QWebEngineProfile* p = profile(); // makes the interceptor too
    page_ = new WrapperWebPage(p, interceptor_);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        ending_ = true;
        if (frame_ && !frame_->isVisible())
            giveBack(); // from a window kept hidden for later
        if (!frame_) {
            delete shelf_;
            shelf_ = nullptr;
            view_ = nullptr;
        }
    });
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    // Also a load that fails or is stopped before the page has the wrapper's address ends
    // here, so that the next movie loads it again.
    QObject::connect(
        page_, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus || info.url() != wrapper_)
                return;
            loading_ = false;
            loaded_ = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
            if (loaded_ && !pending_.isEmpty())
                page_->runJavaScript(std::exchange(pending_, QString()));
        });
    QObject::connect(page_, &QWebEnginePage::titleChanged, this,
                     [this](const QString& title) { titleChanged(title); });
    // A crashed page process takes Ruffle with it: the next movie loads the page anew.
    QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
        loaded_ = false;
        loading_ = false;
        wrapper_.clear();
    });
}

void CoursewarePlayer::titleChanged(const QString& title) {
    if (title != QString::fromUtf8(kPlayerFailedTitle) || !refused_ || !frame_)
        return;
    // Not from inside the page's own signal: the view leaves its frame.
    QTimer::singleShot(0, this, [this, frame = frame_] {
        if (frame && isShownIn(frame) && page_->title() == QString::fromUtf8(kPlayerFailedTitle))
            if (std::function<void()> refused = std::exchange(refused_, nullptr))
                refused();
    });
}

void CoursewarePlayer::load(const QUrl& wrapper, const QUrl& ruffleDir) {
    ensurePage();
    interceptor_->setPages(wrapper, ruffleDir);
    // A page that failed to load is loaded again; one still loading is left to finish.
    if (wrapper == wrapper_ && (loaded_ || loading_))
        return;
    wrapper_ = wrapper;
    loaded_ = false;
    loading_ = true;
    page_->load(wrapper);
}

void CoursewarePlayer::run(const QString& script) {
    if (loaded_)
        page_->runJavaScript(script);
    else
        pending_ = script;
}

void CoursewarePlayer::prewarm(const QString& ruffleDir) {
    if (page_ && (loaded_ || loading_))
        return;
    const QUrl wrapper = wrapperFor(ruffleDir);
    if (wrapper.isEmpty() || !QFile::exists(QDir(ruffleDir).filePath(QStringLiteral("ruffle.js"))))
        return;
    load(wrapper, folderUrl(ruffleDir));
    // Without a view on screen the page would count as hidden, and the engine puts off a
    // hidden page's work, Ruffle's start included, until it is shown.
    page_->setVisible(true);
    run(playerWarmScript());
    // Once the blank movie has played the page is hidden again, so that it costs nothing
    // while it waits for the first real movie.
    auto* poll = new QTimer(this);
    poll->setInterval(200);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, this, [this, poll, tries] {
        auto hide = [this, poll] {
            poll->deleteLater();
            if (!frame_ && page_)
                page_->setVisible(false);
        };
        if (++*tries > 300 || !page_)
            return hide();
        if (!loaded_)
            return;
        page_->runJavaScript(QStringLiteral("window.txWarmed===true"),
                             [hide, poll = QPointer<QTimer>(poll)](const QVariant& warmed) {
                                 if (poll && poll->isActive() && warmed.toBool()) {
                                     poll->stop();
                                     hide();
                                 }
                             });
    });
    poll->start();
}

bool CoursewarePlayer::play(QWidget* frame, QWidget* ownView, const QString& ruffleDir,
                            const PlayerMovie& movie, std::function<void()> refused) {
    const QUrl wrapper = wrapperFor(ruffleDir);
    if (wrapper.isEmpty())
        return false;
    ensureView();
    if (!view_)
        return false; // the program is ending
    const bool reopening = frame_ == frame && frame->window()->isHidden();
    if (frame_ != frame) {
        giveBack();
        frame_ = frame;
        frameOwnView_ = ownView;
        if (ownView)
            ownView->hide();
        if (frame->layout())
            frame->layout()->addWidget(view_);
        else
            view_->setParent(frame);
        view_->show();
    }
    refused_ = std::move(refused);
    interceptor_->setMovie(movie.movie);
    load(wrapper, folderUrl(ruffleDir));
    run(playerLoadScript(movie));
    // Only for a window that opens again with the view from its last movie: one opening
    // for the first time spends longer setting up its drawing than the page needs for the
    // movie, and should start at once; one already open has nothing to draw first.
    if (loaded_ && reopening)
        awaitMovieFile();
    return true;
}

void CoursewarePlayer::awaitMovieFile() {
    // The request filter passes the movie's request and reply on this thread, and a
    // window that opens now would draw first: the movie would wait for that drawing, and
    // the drawing and Ruffle's new instance would share the processor. A loaded page has
    // read the file once its instance is built, a blink later; input waits meanwhile, as
    // in any wait.
    struct Waiting {
        Waiting() { ++detail::waitDepth; }
        ~Waiting() { --detail::waitDepth; }
    } waiting;
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(kMovieFileWaitMs);
    const auto answered = [this] {
        const QString title = page_->title();
        return interceptor_->movieAsked() && (title == QString::fromUtf8(kPlayerReadingTitle) ||
                                              title == QString::fromUtf8(kPlayerReadyTitle) ||
                                              title == QString::fromUtf8(kPlayerFailedTitle));
    };
    while (!answered() && limit.isActive())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

void CoursewarePlayer::giveBack() {
    if (!view_ || !shelf_ || view_->parentWidget() == shelf_)
        return;
    view_->hide();
    view_->setParent(shelf_);
    if (frameOwnView_)
        frameOwnView_->show();
    frame_ = nullptr;
    frameOwnView_ = nullptr;
}

void CoursewarePlayer::stop(QWidget* frame) {
    if (!page_ || frame_ != frame)
        return;
    refused_ = nullptr;
    pending_.clear();
    interceptor_->setMovie({});
    if (loaded_)
        page_->runJavaScript(playerStopScript());
}

void CoursewarePlayer::release(QWidget* frame) {
    if (!page_ || frame_ != frame)
        return;
    stop(frame);
    giveBack();
}

bool CoursewarePlayer::isShownIn(const QWidget* frame) const {
    return view_ && frame && frame_ == frame && view_->parentWidget() == frame;
}

} // namespace tx
