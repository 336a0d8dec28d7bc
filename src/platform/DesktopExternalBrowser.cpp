#include "DesktopExternalBrowser.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace tx {

QUrl DesktopExternalBrowser::toUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    const QUrl url(trimmed, QUrl::StrictMode);
    // A one-letter scheme is a drive letter ("C:\..."), not a scheme.
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QFileInfo(trimmed).absoluteFilePath());
}

void DesktopExternalBrowser::open(const QString& address) {
    if (address.trimmed().isEmpty())
        return;
    QDesktopServices::openUrl(toUrl(address));
}

} // namespace tx
