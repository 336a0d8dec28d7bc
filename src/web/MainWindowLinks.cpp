#include "MainWindowLinks.h"

#include "AboutForm.h"
#include "BrowserWindows.h"
#include "Sites.h"
#include "platform/Browser.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "widgets/ClickablePanel.h"
#include "widgets/TLabel3D.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

namespace tx {

namespace {

constexpr int kRotationInterval = 80000;
constexpr int kRotationTicks = 10;
constexpr int kSiteStripHeight = 24;

const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

using Banner = GeneralBrowserRequest::Banner;

} // namespace

MainWindowLinks::MainWindowLinks(QWidget* mainWindow, Services& services, BrowserControl* WB1)
    : QObject(mainWindow), mainWindow_(mainWindow), services_(services), WB1_(WB1) {
    setObjectName("MainWindowLinks");
    buildSponsorBand();
    connectToolBar();
    buildSitePages();

    Timer2_ = new QTimer(this);
    Timer2_->setObjectName("Timer2");
    Timer2_->setInterval(kRotationInterval);
    connect(Timer2_, &QTimer::timeout, this, &MainWindowLinks::Timer2Timer);
    Timer2_->start();
}

QString MainWindowLinks::programDir() const {
    return services_.paths->programDir();
}

void MainWindowLinks::openGeneral(const GeneralBrowserRequest& request) {
    OpenGeneralBrowser(services_, mainWindow_, request);
}

void MainWindowLinks::buildSponsorBand() {
    band_ = mainWindow_->findChild<QWidget*>("QMTPL");
    if (!band_)
        return;
    if (auto* panel = qobject_cast<ClickablePanel*>(band_))
        connect(panel, &ClickablePanel::clicked, this, &MainWindowLinks::QMTPLClick);

    int x = 12;
    if (auto* maker = band_->findChild<TLabel3D*>("QMTLB")) {
        QFont f = maker->font();
        f.setUnderline(true);
        maker->setFont(f);
        maker->setCursor(Qt::PointingHandCursor);
        connect(maker, &TLabel3D::clicked, this,
                [this] { OpenMakerPageWindow(services_, mainWindow_); });
        maker->setGeometry(x, 0, maker->sizeHint().width(), band_->height());
        x += maker->width() + 16;
    }

    const QString partner = QStringLiteral("青禾学堂网-合作伙伴 全力推荐->");
    const QString second = QStringLiteral("/guanggao.htm");
    struct Sponsor {
        const char* name;
        QString caption;
        QColor colour;
        std::function<void()> open;
    };
    const Sponsor sponsors[] = {
        {"ZXXLB", QStringLiteral("中小学教育资源中心"), kGreen,
         [=, this] {
             openGeneral({partner + QStringLiteral("中小学教育资源"), false, Banner::ZXXPL,
                          QStringLiteral("zxxzy"),
                          externalSiteAddress(ExternalSite::ResourceCentre)});
         }},
        {"GGLB1", QStringLiteral("大旗育儿频道"), kBlue,
         [=, this] {
             openGeneral({partner + QStringLiteral("大旗育儿频道"),
                          false,
                          Banner::DQPL,
                          {},
                          externalSiteAddress(ExternalSite::PartnerChannel)});
         }},
        {"GGLB2", QStringLiteral("中华儿童网"), kBlue,
         [=, this] {
             openGeneral({partner + QStringLiteral("中华儿童网"),
                          false,
                          Banner::ETPL,
                          {},
                          externalSiteAddress(ExternalSite::PartnerSite)});
         }},
        {"GGLB3", QStringLiteral("美国签证专家"), kGreen,
         [=, this] {
             openGeneral({advertiserName() + QStringLiteral("->美国签证专家 "),
                          false,
                          Banner::None,
                          {},
                          makerSiteAddress(programDir(), MakerSite::Second, second)});
         }},
        {"SHENZHENLB", QStringLiteral("电脑维修服务中心"), kGreen,
         [this] {
             openGeneral({QStringLiteral("深圳电脑医院-深圳电脑之家-信誉专业服务->"
                                         "深圳电脑维修服务中心-福田区-罗湖区-南山区"),
                          false,
                          Banner::None,
                          {},
                          externalSiteAddress(ExternalSite::RepairService)});
         }},
        {"Label3D7", QStringLiteral("->您的广告位置"), kBlue,
         [this] { OpenAdvertisingWindow(services_, mainWindow_); }},
    };

    // Two rows of three beside the maker's label.
    const int rowHeight = band_->height() / 2;
    const int columnWidth = (band_->width() - x - 8) / 3;
    int index = 0;
    for (const Sponsor& s : sponsors) {
        auto* label = new TLabel3D(band_);
        label->setObjectName(s.name);
        label->setBevel(TLabel3DBevel::bvLowered);
        label->setCaption(s.caption);
        label->setCursor(Qt::PointingHandCursor);
        QFont f = label->font();
        f.setUnderline(true);
        label->setFont(f);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, s.colour);
        label->setPalette(pal);
        label->setGeometry(x + (index % 3) * columnWidth, (index / 3) * rowHeight + 2,
                           columnWidth - 6, rowHeight - 2);
        connect(label, &TLabel3D::clicked, this, s.open);
        label->show();
        ++index;
    }
}

void MainWindowLinks::QMTPLClick() {
    openGeneral(
        {{},
         true,
         Banner::None,
         QStringLiteral("GG"),
         makerSiteAddress(programDir(), MakerSite::First, QStringLiteral("/guanggao.htm"))});
}

void MainWindowLinks::connectToolBar() {
    auto connectButton = [this](const char* name, std::function<void()> open) {
        if (auto* b = mainWindow_->findChild<QAbstractButton*>(name))
            connect(b, &QAbstractButton::clicked, this, [open = std::move(open)] { open(); });
    };
    connectButton("ABOUTSB", [this] { OpenAboutWindow(services_, mainWindow_); });
    connectButton("PAYSB", [this] {
        openGeneral(
            {{},
             true,
             Banner::None,
             QStringLiteral("RB14"),
             makerSiteAddress(programDir(), MakerSite::First, QStringLiteral("/zqlyx.htm"))});
    });
    connectButton("SpeedButton1", [this] {
        openGeneral(
            {QStringLiteral("用户反馈专栏-童学三步通(最受欢迎幼儿儿童版)"),
             false,
             Banner::None,
             {},
             makerSiteAddress(programDir(), MakerSite::First, QStringLiteral("/zqlyxfk.htm"))});
    });
}

void MainWindowLinks::buildSitePages() {
    auto* bottom = mainWindow_->findChild<QWidget*>("BottomPL");
    if (!bottom || !WB1_)
        return;
    auto* strip = new QWidget(bottom);
    strip->setObjectName("SitePL");
    strip->setAutoFillBackground(true);
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Window, QColor(150, 210, 110));
    strip->setPalette(pal);
    strip->setGeometry(0, 0, bottom->width(), kSiteStripHeight);
    WB1_->widget()->setGeometry(0, kSiteStripHeight, bottom->width(),
                                bottom->height() - kSiteStripHeight);

    struct Page {
        const char* name;
        QString caption;
        QColor colour;
        bool bold;
        MakerSite site;
        QString path;
    };
    const Page pages[] = {
        {"RB11", QStringLiteral("青禾学堂网"), kBlue, false, MakerSite::First, {}},
        {"RB12", QStringLiteral("合作媒体"), kRed, false, MakerSite::First,
         QStringLiteral("/yjstar.htm")},
        {"RB14",
         QStringLiteral("技术支持"),
         {},
         false,
         MakerSite::First,
         QStringLiteral("/download.htm")},
        {"GG", QStringLiteral("广告信息栏"), kBlue, true, MakerSite::Second,
         QStringLiteral("/guanggao.htm")},
        {"GUANLI", QStringLiteral("幼儿园免费资源"), kGreen, false, MakerSite::First,
         QStringLiteral("/yeygl.htm")},
        {"KEJIAN", QStringLiteral("课件免费资源"), kGreen, false, MakerSite::First,
         QStringLiteral("/kejianfalshgx.htm")},
        {"RBGAME", QStringLiteral("幼儿园免费加盟 "), kBlue, false, MakerSite::First,
         QStringLiteral("/yeygl/yey/yey.htm")},
    };
    int x = 8;
    for (const Page& page : pages) {
        auto* rb = new QRadioButton(page.caption, strip);
        rb->setObjectName(page.name);
        QString style;
        if (page.colour.isValid())
            style += QStringLiteral("color: %1;").arg(page.colour.name());
        if (page.bold)
            style += QStringLiteral("font-weight: bold;");
        rb->setStyleSheet(style);
        const int w = rb->sizeHint().width() + 10;
        rb->setGeometry(x, 0, w, kSiteStripHeight);
        x += w;
        // The first entry starts marked without loading: the window's first page is its own.
        if (QByteArray(page.name) == "RB11")
            rb->setChecked(true);
        const QString address = makerSiteAddress(programDir(), page.site, page.path);
        connect(rb, &QRadioButton::toggled, this, [this, address](bool on) {
            if (on)
                WB1_->navigate(address);
        });
    }
    strip->show();
}

void MainWindowLinks::Timer2Timer() {
    int& counter = services_.state.rotationCounter;
    if (counter >= kRotationTicks) {
        Timer2_->stop();
        return;
    }
    QString address;
    switch (counter) {
    case 0:
        address = makerSiteAddress(programDir(), MakerSite::First, QStringLiteral("/zqlyx.htm"));
        break;
    case 1:
        // The second site's product page.
        address = makerSiteAddress(programDir(), MakerSite::Second, QStringLiteral("/txsbt.htm"));
        break;
    case 2:
        address = externalSiteAddress(ExternalSite::RepairService);
        break;
    case 3:
        address =
            makerSiteAddress(programDir(), MakerSite::Second, QStringLiteral("/guanggao.htm"));
        break;
    default:
        break;
    }
    if (!address.isEmpty())
        WB1_->navigate(address);
    ++counter;
}

} // namespace tx
