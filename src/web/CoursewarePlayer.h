#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace tx {

// The one wrapper page that plays courseware, kept with Ruffle loaded between windows:
// starting its page process and compiling Ruffle take seconds, a movie on a loaded player
// takes a blink. A view borrows the page while it shows a movie and hands it back before
// it shows anything else or dies.
class CoursewarePlayer : public QObject {
public:
    static CoursewarePlayer& instance();
    ~CoursewarePlayer() override;

    // Shows the wrapper page (a file: address) in view and runs script on it, the call
    // that loads the movie; whatever the page played before, in whichever view, stops.
    // A view the page is taken from gets its own page back: ownPage.
    void play(QWebEngineView* view, QWebEnginePage* ownPage, const QUrl& wrapper,
              const QString& script);
    // Stops the movie if view shows the page; view must then be given another page.
    void release(QWebEngineView* view);
    bool isShownIn(const QWebEngineView* view) const;

    QWebEnginePage* page() const { return page_; }
    QWebEngineProfile* profile();

private:
    CoursewarePlayer();
    void ensurePage();
    void run(const QString& script);

    QWebEngineProfile* profile_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    QPointer<QWebEngineView> view_;
    QPointer<QWebEnginePage> viewOwnPage_;
    QUrl wrapper_;        // the wrapper page the page has (or is) loading
    bool loaded_ = false; // the wrapper page has finished loading
    QString pending_;     // the script to run once it has
};

} // namespace tx
