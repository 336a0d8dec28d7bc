#pragma once

#include <QList>
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

// Names and contacts of the maker, shown by the main window and the About window.
struct MakerInfo {
    QString company;    // 沐川科技
    QString siteName;   // 青禾学堂网
    QString slogan;     // 幼儿园小学权威软件
    QString hostFirst;  // host name of the maker's site, as shown to the user
    QString hostSecond; // host name of the maker's second site
    QString email;      // contact address for recommended links
};
const MakerInfo& makerInfo();

// The company name of the advertiser behind the "美国签证专家" sponsor label.
QString advertiserName();

// One line of the useful-links directory: a site, or a separator ("->", no address).
struct LinkEntry {
    QString caption;
    QString address;
    bool isSeparator() const { return caption == QStringLiteral("->"); }
};
// The directory's entries in order; pages of the maker's site resolve under programDir.
QList<LinkEntry> usefulLinks(const QString& programDir);

} // namespace tx
