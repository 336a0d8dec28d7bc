#include "platform/AddressUrl.h"

#include <QDir>

namespace tx {

QUrl addressToUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QUrl url(trimmed, QUrl::TolerantMode);
    // A one-letter scheme is a drive letter ("C:\..."), not a scheme.
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    // Windows-style paths separate with '\'; QDir converts them only on Windows.
    QString path = trimmed;
    path.replace(u'\\', u'/');
    const bool drive = path.size() >= 2 && path[1] == u':' && path[0].isLetter();
    if (!drive && QDir::isRelativePath(path))
        path = QDir::current().absoluteFilePath(path);
    return QUrl::fromLocalFile(path);
}

} // namespace tx
