#pragma once

#include "web/CoursewarePages.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace tx {

class CoursewareInterceptor;

// The one wrapper page that plays courseware, kept with Ruffle loaded between windows:
// starting its page process and compiling Ruffle take about a second, a movie on a loaded
// player takes a blink. A view borrows the page while it shows a movie and hands it back
// before it shows anything else or dies.
class CoursewarePlayer : public QObject {
public:
    static CoursewarePlayer& instance();
    ~CoursewarePlayer() override;

    // The wrapper page for Ruffle in ruffleDir, written to the cache once; empty when it
    // cannot be written.
    static QUrl wrapperFor(const QString& ruffleDir);

    // Loads the wrapper page without a view and has it play a blank movie of its own once,
    // so that the first real movie finds Ruffle compiled and started. Does nothing when the
    // page is loaded or loading already.
    void prewarm(const QString& ruffleDir);

    // Shows the wrapper page in view and has it play movie (a file: address); whatever the
    // page played before, in whichever view, stops. A view the page is taken from gets
    // its own page back: ownPage. refused runs (later, from the event loop) when the player
    // refuses the movie while view still shows it. False, and nothing done, when the
    // wrapper page cannot be written.
    bool play(QWebEngineView* view, QWebEnginePage* ownPage, const QString& ruffleDir,
              const PlayerMovie& movie, std::function<void()> refused);
    // Stops the movie if view shows the page; view must then be given another page.
    void release(QWebEngineView* view);
    bool isShownIn(const QWebEngineView* view) const;

    QWebEnginePage* page() const { return page_; }
    QWebEngineProfile* profile();

    // Every address the courseware page asked for, and whether it was let through
    // (observation for tests and diagnostics).
    using RequestObserver = std::function<void(const QUrl& url, bool allowed)>;
    void setRequestObserver(RequestObserver observer);

private:
    CoursewarePlayer();
    void ensurePage();
    void load(const QUrl& wrapper, const QUrl& ruffleDir);
    void run(const QString& script);
    void titleChanged(const QString& title);

    QWebEngineProfile* profile_ = nullptr;
    CoursewareInterceptor* interceptor_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    QPointer<QWebEngineView> view_;
    QPointer<QWebEnginePage> viewOwnPage_;
    std::function<void()> refused_;
    QUrl wrapper_;         // the wrapper page the page has (or is) loading
    bool loaded_ = false;  // it has finished loading
    bool loading_ = false; // it is loading
    QString pending_;      // the script to run once it has
};

} // namespace tx
