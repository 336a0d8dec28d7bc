#include "WebEngineBrowser.h"

#include <QDir>
#include <QObject>
#include <QWebEngineView>

namespace tx {

QUrl addressToUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    // A Windows-style or Unix path has no scheme of its own; "c:" is a drive, not one.
    const QUrl url(trimmed, QUrl::TolerantMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QDir::fromNativeSeparators(trimmed));
}

namespace {

// Owned by its view, so the control lives exactly as long as the widget it wraps.
class ViewOwnedBrowser : public QObject, public WebEngineBrowser {
public:
    explicit ViewOwnedBrowser(QWidget* parent) : QObject(nullptr), WebEngineBrowser(parent) {
        setParent(widget());
    }
};

} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {}

QWidget* WebEngineBrowser::widget() {
    return view_;
}

void WebEngineBrowser::navigate(const QString& address) {
    view_->load(addressToUrl(address));
}

BrowserControl* WebEngineBrowserFactory::create(QWidget* parent) {
    return new ViewOwnedBrowser(parent);
}

} // namespace tx
