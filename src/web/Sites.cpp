#include "Sites.h"

#include <QDir>

namespace tx {

QString makerSiteAddress(const QString& programDir, MakerSite site, const QString& path) {
    const QString root =
        site == MakerSite::First ? QStringLiteral("site/first") : QStringLiteral("site/second");
    return QDir(programDir).filePath(root + path);
}

} // namespace tx
