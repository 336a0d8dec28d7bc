#include "DesktopExternalBrowser.h"

#include "platform/AddressUrl.h"

#include <QDesktopServices>

namespace tx {

QUrl DesktopExternalBrowser::toUrl(const QString& address) {
    return addressToUrl(address);
}

void DesktopExternalBrowser::open(const QString& address) {
    if (address.trimmed().isEmpty())
        return;
    QDesktopServices::openUrl(toUrl(address));
}

} // namespace tx
