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
// player takes a blink. The page lives in one view of its own for the whole run, which a
// browser control borrows (puts into its frame) while it shows a movie and gives back
// before it shows anything else or dies. The page never moves between views: the engine's
// accessible interfaces of a page keep the view they were made in, and reading them after
// that view is gone would crash the program.
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

    // Shows the player's view in frame (whose layout it joins, ownView hidden meanwhile)
    // and has it play movie (a file: address); whatever it played before, in whichever
    // frame, stops, and that frame shows its own view again. refused runs (later, from the
    // event loop) when the player refuses the movie while frame still shows it. False, and
    // nothing done, when the wrapper page cannot be written. For a hidden frame that showed
    // the last movie (its window about to open again) it returns once the page has the
    // movie file, or after a short while, handling events but no input meanwhile.
    bool play(QWidget* frame, QWidget* ownView, const QString& ruffleDir, const PlayerMovie& movie,
              std::function<void()> refused);
    // Stops the movie if frame shows it; the view stays there for frame's next movie.
    void stop(QWidget* frame);
    // Stops the movie and takes the view back if frame shows it; frame's own view shows.
    void release(QWidget* frame);
    bool isShownIn(const QWidget* frame) const;

    QWebEnginePage* page() const { return page_; }
    QWebEngineView* view() const { return view_; }
    QWebEngineProfile* profile();

    // Every address the courseware page asked for, and whether it was let through
    // (observation for tests and diagnostics).
    using RequestObserver = std::function<void(const QUrl& url, bool allowed)>;
    void setRequestObserver(RequestObserver observer);

private:
    CoursewarePlayer();
    void ensurePage();
    void ensureView();
    void giveBack();
    void load(const QUrl& wrapper, const QUrl& ruffleDir);
    void run(const QString& script);
    // Returns once the page has the answer to its request for the movie just set, or
    // after a short while.
    void awaitMovieFile();
    void titleChanged(const QString& title);

    QWebEngineProfile* profile_ = nullptr;
    CoursewareInterceptor* interceptor_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    QWebEngineView* view_ = nullptr; // shows page_ from its first movie on
    bool ending_ = false;
    QWidget* shelf_ = nullptr;       // holds view_ while no frame does
    QPointer<QWidget> frame_;        // the frame that shows view_
    QPointer<QWidget> frameOwnView_; // that frame's own view, hidden meanwhile
    std::function<void()> refused_;
    QUrl wrapper_;         // the wrapper page the page has (or is) loading
    bool loaded_ = false;  // it has finished loading
    bool loading_ = false; // it is loading
    QString pending_;      // the script to run once it has
};

} // namespace tx
