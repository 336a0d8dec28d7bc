#include "CoursewarePlayer.h"

#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <utility>

namespace tx {

namespace {

// A courseware page may reach local files only; whatever a movie tries, nothing leaves.
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != QStringLiteral("file") && scheme != QStringLiteral("data") &&
            scheme != QStringLiteral("blob"))
            info.block(true);
    }
};

// The wrapper page stays on the page it was given: a movie cannot navigate elsewhere.
class WrapperWebPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        return !isMainFrame || url.isLocalFile();
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

} // namespace

namespace {
QPointer<CoursewarePlayer> thePlayer;
} // namespace

CoursewarePlayer& CoursewarePlayer::instance() {
    if (!thePlayer)
        thePlayer = new CoursewarePlayer;
    return *thePlayer;
}

CoursewarePlayer::CoursewarePlayer() : QObject(QCoreApplication::instance()) {}

CoursewarePlayer::~CoursewarePlayer() {
    // The engine wants every page of a profile gone before the profile.
    delete page_;
    delete profile_;
}

QWebEngineProfile* CoursewarePlayer::profile() {
    // Kept on disk, so that the engine's compiled code of Ruffle survives between runs.
    if (!profile_) {
        profile_ = new QWebEngineProfile(QStringLiteral("courseware"));
        profile_->setUrlRequestInterceptor(new LocalOnlyInterceptor(profile_));
        // The engine's context exists by now and tears itself down in a routine added
        // before this one; routines run in reverse order, so the page and profile go first
        // (children of the application would go only after the engine).
        qAddPostRoutine([] { delete thePlayer.data(); });
    }
    return profile_;
}

void CoursewarePlayer::ensurePage() {
    if (page_)
        return;
    page_ = new WrapperWebPage(profile());
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    QObject::connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (page_->url() != wrapper_)
            return;
        loaded_ = ok;
        if (ok && !pending_.isEmpty())
            page_->runJavaScript(std::exchange(pending_, QString()));
    });
    // A crashed page process takes Ruffle with it: the next movie loads the page anew.
    QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
        loaded_ = false;
        wrapper_.clear();
    });
}

void CoursewarePlayer::play(QWebEngineView* view, QWebEnginePage* ownPage, const QUrl& wrapper,
                            const QString& script) {
    ensurePage();
    if (view_ && view_ != view && view_->page() == page_ && viewOwnPage_)
        view_->setPage(viewOwnPage_);
    view_ = view;
    viewOwnPage_ = ownPage;
    if (view->page() != page_)
        view->setPage(page_);
    if (wrapper != wrapper_ || !loaded_) {
        pending_ = script;
        if (wrapper != wrapper_) {
            wrapper_ = wrapper;
            loaded_ = false;
            page_->load(wrapper);
        }
        return;
    }
    page_->runJavaScript(script);
}

void CoursewarePlayer::release(QWebEngineView* view) {
    if (!page_ || view_ != view)
        return;
    view_ = nullptr;
    viewOwnPage_ = nullptr;
    pending_.clear();
    if (loaded_)
        page_->runJavaScript(QStringLiteral("window.txStop&&window.txStop();"));
}

bool CoursewarePlayer::isShownIn(const QWebEngineView* view) const {
    return page_ && view_ == view && view->page() == page_;
}

} // namespace tx
