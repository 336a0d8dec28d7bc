#include "Sites.h"

#include <QDir>

// Every host name and third-party address of the program lives in kSites below. To ship
// other addresses, write a file that defines `constexpr SiteTable kSites{...}` in the same
// form and configure with -DTX_SITES_FILE=/path/to/that/file; it is compiled instead.
// A link address "maker:/path" names a page of the maker's (offline) site.

namespace tx {
namespace {

struct SiteTable {
    struct MakerTable {
        const char* company;
        const char* siteName;
        const char* slogan;
        const char* hostFirst;
        const char* hostSecond;
        const char* email;
    } maker;
    const char* advertiser;
    const char* resourceCentre;
    const char* resourceCourseware;
    const char* learningSite;
    const char* partnerChannel;
    const char* partnerSite;
    const char* repairService;
    struct Link {
        const char* caption;
        const char* address;
    } links[34];
};

#ifdef TX_SITES_FILE
#include TX_SITES_FILE
#else
constexpr SiteTable kSites{
    {"沐川科技", "青禾学堂网", "幼儿园小学权威软件", "www.qinghe-xuetang.example",
     "kejian.qinghe-xuetang.example", "tuijian@qinghe-xuetang.example"},
    "环球出国咨询服务中心",
    "https://www.zxxk.com/",
    "https://www.zxxk.com/courseware/",
    "https://www.61.com/",
    "https://baby.sina.com.cn/",
    "https://www.ci123.com/",
    "https://support.lenovo.com.cn/",
    {
        {"沐川-实用网址大全", "maker:/wzdq.htm"},
        {"3721上网助手", "https://www.hao123.com/"},
        {"免费在线查毒", "https://www.virustotal.com/"},
        {"天气预报1", "https://www.weather.com.cn/"},
        {"天气预报2", "https://www.tianqi.com/"},
        {"->", ""},
        {"长途汽车时刻表", "https://bus.ctrip.com/"},
        {"火车查询1", "https://www.12306.cn/"},
        {"火车查询2", "https://trains.ctrip.com/"},
        {"飞机航班信息1", "https://www.variflight.com/"},
        {"飞机航班信息2", "https://flights.ctrip.com/"},
        {"->", ""},
        {"电视节目查询", "https://www.tvmao.com/"},
        {"中国地图", "https://www.amap.com/"},
        {"全国楼盘查询", "https://newhouse.fang.com/"},
        {"汽车报价", "https://www.autohome.com.cn/"},
        {"旅游线路查询", "https://vacations.ctrip.com/"},
        {"旅游景点查询", "https://www.mafengwo.cn/"},
        {"->", ""},
        {"疾病查询", "https://jbk.39.net/"},
        {"标准体重计算", "https://www.calculator.net/ideal-weight-calculator.html"},
        {"营养成分查询", "https://www.boohee.com/food/"},
        {"妇女安全期测", "https://www.calculator.net/ovulation-calculator.html"},
        {"->", ""},
        {"星座查询", "https://astro.sina.com.cn/"},
        {"生肖属相", "https://baike.baidu.com/item/%E5%8D%81%E4%BA%8C%E7%94%9F%E8%82%96"},
        {"周公解梦", "https://baike.baidu.com/item/%E5%91%A8%E5%85%AC%E8%A7%A3%E6%A2%A6"},
        {"万年历查询", "https://wannianli.tianqi.com/"},
        {"中国黄历", "https://www.huangli.com/"},
        {"邮政编码电话区号", "https://www.youbianku.com/"},
        {"->", ""},
        {"体育彩票", "https://www.lottery.gov.cn/"},
        {"股票行情查询", "https://so.eastmoney.com/web/s?keyword="},
        {"农产品价格查询", "https://www.cnhnb.com/hangqing/"},
    },
};
#endif

QString text(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

QString makerSiteAddress(const QString& programDir, MakerSite site, const QString& path) {
    const QString root =
        site == MakerSite::First ? QStringLiteral("site/first") : QStringLiteral("site/second");
    const QString page =
        path.isEmpty() || path == QStringLiteral("/") ? QStringLiteral("/index.htm") : path;
    return QDir(programDir).filePath(root + page);
}

QString externalSiteAddress(ExternalSite site) {
    switch (site) {
    case ExternalSite::ResourceCentre:
        return text(kSites.resourceCentre);
    case ExternalSite::ResourceCourseware:
        return text(kSites.resourceCourseware);
    case ExternalSite::LearningSite:
        return text(kSites.learningSite);
    case ExternalSite::PartnerChannel:
        return text(kSites.partnerChannel);
    case ExternalSite::PartnerSite:
        return text(kSites.partnerSite);
    case ExternalSite::RepairService:
        return text(kSites.repairService);
    }
    return {};
}

const MakerInfo& makerInfo() {
    static const MakerInfo info{text(kSites.maker.company),    text(kSites.maker.siteName),
                                text(kSites.maker.slogan),     text(kSites.maker.hostFirst),
                                text(kSites.maker.hostSecond), text(kSites.maker.email)};
    return info;
}

QString advertiserName() {
    return text(kSites.advertiser);
}

QList<LinkEntry> usefulLinks(const QString& programDir) {
    static const QString makerPrefix = QStringLiteral("maker:");
    QList<LinkEntry> entries;
    for (const auto& link : kSites.links) {
        QString address = text(link.address);
        if (address.startsWith(makerPrefix))
            address =
                makerSiteAddress(programDir, MakerSite::First, address.mid(makerPrefix.size()));
        entries.append({text(link.caption), address});
    }
    return entries;
}

} // namespace tx
