#pragma once

#include <QString>

namespace tx {

enum class MakerSite { First, Second };

// The maker's sites are the program's own offline pages in its folder (site/first,
// site/second); a path such as "/guanggao.htm" names a page of one of them, and an
// empty path or "/" its home page.
QString makerSiteAddress(const QString& programDir, MakerSite site, const QString& path);

// Third-party sites the program links to.
enum class ExternalSite {
    ResourceCentre,     // 中小学教育资源中心, home page
    ResourceCourseware, // its courseware sub-site
    LearningSite,       // 少儿学习娱乐网
    PartnerChannel,     // 大旗育儿频道
    PartnerSite,        // 中华儿童网
    RepairService,      // the computer repair service
};
QString externalSiteAddress(ExternalSite site);

} // namespace tx
