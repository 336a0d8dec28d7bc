#include "Sites.h"

#include <QDir>

namespace tx {

QString makerSiteAddress(const QString& programDir, MakerSite site, const QString& path) {
    const QString root =
        site == MakerSite::First ? QStringLiteral("site/first") : QStringLiteral("site/second");
    const QString page =
        path.isEmpty() || path == QStringLiteral("/") ? QStringLiteral("/index.htm") : path;
    return QDir(programDir).filePath(root + page);
}

} // namespace tx

namespace tx {

QString externalSiteAddress(ExternalSite site) {
    switch (site) {
    case ExternalSite::ResourceCentre:
        return QStringLiteral("https://www.zxxk.com/");
    case ExternalSite::ResourceCourseware:
        return QStringLiteral("https://www.zxxk.com/courseware/");
    case ExternalSite::LearningSite:
        return QStringLiteral("https://www.61.com/");
    case ExternalSite::PartnerChannel:
        return QStringLiteral("https://baby.sina.com.cn/");
    case ExternalSite::PartnerSite:
        return QStringLiteral("https://www.kids.cn/");
    case ExternalSite::RepairService:
        return QStringLiteral("https://www.zol.com.cn/");
    }
    return {};
}

} // namespace tx
