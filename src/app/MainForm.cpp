#include "MainForm.h"

#include "ErrorReport.h"
#include "data/Tdm.h"
#include "data/UpgradeSchema.h"
#include "platform/Browser.h"
#include "platform/Dialogs.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "web/CoursewareBand.h"
#include "web/MainWindowLinks.h"
#include "web/Sites.h"
#include "widgets/ClickablePanel.h"
#include "widgets/TLabel3D.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

namespace tx {

TMainForm* MainForm = nullptr;

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 578;
constexpr int kTopBandHeight = 48;
constexpr int kToolBarHeight = 38;
constexpr int kBottomHeight = 213;
constexpr int kCentreTop = kTopBandHeight + kToolBarHeight;
constexpr int kBottomTop = kClientHeight - kBottomHeight;
constexpr int kMiddleHeight = 60;
constexpr int kMiddleTop = kBottomTop - kMiddleHeight;
constexpr int kPrepareCoursewareDelayMs = 300;

// The centre's background: a soft sky-to-meadow picture drawn instead of a bitmap.
class BackgroundPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient sky(0, 0, 0, height());
        sky.setColorAt(0.0, QColor(204, 234, 255));
        sky.setColorAt(0.65, QColor(236, 248, 255));
        sky.setColorAt(1.0, QColor(200, 236, 170));
        p.fillRect(rect(), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 220, 90));
        p.drawEllipse(QPoint(width() - 60, 40), 26, 26);
    }
};

} // namespace

TMainForm::TMainForm(Services& services, const ErrorReport& errors, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint),
      services_(services), errors_(errors) {
    setObjectName("MainForm");
    setWindowTitle(QStringLiteral("绿色免费软件->声音+图文并茂的最好教学平台->NEW-> "
                                  "实现了<在线-离线 幼儿课件FALSH教学>"));
    setFixedSize(kClientWidth, kClientHeight);
    buildTopBand();
    buildToolBar();
    buildCentre();
    buildMiddleBand();
    buildBottom();
    new MainWindowLinks(this, services_, WB1_);
    MainForm = this;
}

TMainForm::~TMainForm() {
    if (MainForm == this)
        MainForm = nullptr;
}

QToolButton* TMainForm::makeToolButton(QWidget* parent, const char* name, const QString& caption,
                                       const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QToolButton* TMainForm::makeModuleButton(QWidget* parent, const char* name, const QString& caption,
                                         const QString& hint) {
    auto* b = makeToolButton(parent, name, caption, hint);
    b->setAutoRaise(false);
    QFont f = b->font();
    f.setPointSize(15);
    f.setBold(true);
    b->setFont(f);
    b->setStyleSheet("QToolButton { background: #fff7d6; border: 2px solid #e0a030;"
                     " border-radius: 10px; color: #8a3c00; }"
                     "QToolButton:hover { background: #ffe9a0; }");
    return b;
}

void TMainForm::buildTopBand() {
    auto* band = new ClickablePanel(this);
    band->setObjectName("QMTPL");
    band->setGeometry(0, 0, kClientWidth, kTopBandHeight);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, Qt::white);
    band->setPalette(pal);

    auto* maker = new TLabel3D(band);
    maker->setObjectName("QMTLB");
    maker->setBevel(TLabel3DBevel::bvLowered);
    maker->setCaption(makerInfo().company + QStringLiteral("-幼儿园小学管理软件 第一品牌"));
    maker->setToolTip(QStringLiteral("关于沐川-青禾学堂网"));
    QFont f = maker->font();
    f.setBold(true);
    f.setPointSize(11);
    maker->setFont(f);
    QPalette makerPal = maker->palette();
    makerPal.setColor(QPalette::WindowText, QColor(16, 64, 192));
    maker->setPalette(makerPal);
    maker->setGeometry(12, 0, 520, kTopBandHeight);
}

void TMainForm::buildToolBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName("ToolBarPL");
    bar->setGeometry(0, kTopBandHeight, kClientWidth, kToolBarHeight);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(96, 168, 48));
    pal.setColor(QPalette::ButtonText, Qt::white);
    bar->setPalette(pal);

    struct Entry {
        const char* name;
        QString caption;
        QString hint;
    };
    const Entry entries[] = {
        {"ABOUTSB", QStringLiteral("关于沐川"), QStringLiteral("关于沐川-青禾学堂网")},
        {"PAYSB", QStringLiteral("软件升级"),
         QStringLiteral("可升级为最新的软件版本,了解最新的资讯")},
        {"SpeedButton1", QStringLiteral("用户反馈专栏"),
         QStringLiteral("我们的进步离不开您的支持和鼓励 ->在将来，更会致力于软件的升级和完善")},
        {"MINISB", QStringLiteral("最小化"), QStringLiteral("系统最小化显示")},
        {"QuitSb", QStringLiteral("退出→"), QStringLiteral("退出本系统")},
    };
    int x = 8;
    for (const Entry& e : entries) {
        auto* b = makeToolButton(bar, e.name, e.caption, e.hint);
        b->setStyleSheet("QToolButton { color: white; font-weight: bold; }");
        const int w = b->sizeHint().width() + 16;
        // Minimise and quit sit at the right end of the bar.
        if (QByteArray(e.name) == "MINISB")
            x = kClientWidth - 8 - 2 * 90;
        b->setGeometry(x, 4, qMax(w, 86), kToolBarHeight - 8);
        x += qMax(w, 86) + 4;
    }
    connect(bar->findChild<QToolButton*>("MINISB"), &QToolButton::clicked, this,
            &TMainForm::MINISBClick);
    connect(bar->findChild<QToolButton*>("QuitSb"), &QToolButton::clicked, this,
            &TMainForm::QuitSbClick);
}

void TMainForm::buildCentre() {
    auto* centre = new BackgroundPanel(this);
    centre->setObjectName("CentrePL");
    centre->setGeometry(0, kCentreTop, kClientWidth, kMiddleTop - kCentreTop);

    auto* title = new QLabel(QStringLiteral("童学三步通"), centre);
    title->setObjectName("XTLB");
    QFont tf = title->font();
    tf.setPointSize(24);
    tf.setBold(true);
    title->setFont(tf);
    title->setStyleSheet("color: #c04000;");
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, 6, kClientWidth, 44);

    struct Module {
        const char* name;
        QString caption;
        QString hint;
    };
    const Module modules[] = {
        {"szsb", QStringLiteral("幼儿识字"), QStringLiteral("发音识字，小朋友快快来学哦")},
        {"xssb", QStringLiteral("幼儿学诗"), QStringLiteral("朗读学诗，小朋友快快来学哦")},
        {"xyysb", QStringLiteral("幼儿学英语"), QStringLiteral("发音学英语，小朋友快快来学哦")},
        {"SSSB", QStringLiteral("幼儿算数"),
         QStringLiteral("有趣的幼儿算数教学，小朋友快快来学哦")},
    };
    const QString steps[] = {QStringLiteral("第一步"), QStringLiteral("第二步"),
                             QStringLiteral("第三步")};
    constexpr int buttonW = 120, buttonH = 70, top = 90, gap = 36, left = 24;
    for (int i = 0; i < 4; ++i) {
        const int x = left + i * (buttonW + gap);
        if (i < 3) {
            auto* step = new QLabel(steps[i], centre);
            step->setObjectName(QStringLiteral("StepLB%1").arg(i + 1));
            step->setAlignment(Qt::AlignCenter);
            QFont sf = step->font();
            sf.setBold(true);
            sf.setPointSize(12);
            step->setFont(sf);
            step->setStyleSheet("color: #2060a0;");
            step->setGeometry(x, top - 30, buttonW, 26);
        }
        if (i > 0 && i < 3) {
            auto* arrow = new QLabel(QStringLiteral("→"), centre);
            arrow->setObjectName(QStringLiteral("ArrowLB%1").arg(i));
            arrow->setAlignment(Qt::AlignCenter);
            QFont af = arrow->font();
            af.setPointSize(18);
            arrow->setFont(af);
            arrow->setGeometry(x - gap, top + buttonH / 2 - 15, gap, 30);
        }
        auto* b = makeModuleButton(centre, modules[i].name, modules[i].caption, modules[i].hint);
        b->setGeometry(x, top, buttonW, buttonH);
    }

    auto* box = new QGroupBox(QStringLiteral("幼儿园+家庭->好助理"), centre);
    box->setObjectName("HelperGB");
    box->setGeometry(left + 4 * (buttonW + gap) - 8, top - 30, 150, buttonH + 60);
    auto* cai = makeModuleButton(box, "CAISB", QStringLiteral("美食菜谱"),
                                 QStringLiteral("幼儿园食谱专版+幼儿菜谱专版+家庭菜谱"));
    cai->setGeometry(12, 24, 126, 38);
    auto* news = makeModuleButton(
        box, "NEWSSB", QStringLiteral("实用网址"),
        QStringLiteral("最实用的实用网址列表,用户可以通过软件升级获取更多的实用网址信息"));
    news->setGeometry(12, 72, 126, 38);
}

void TMainForm::buildMiddleBand() {
    auto* band = new QWidget(this);
    band->setObjectName("CoursewarePL");
    band->setGeometry(0, kMiddleTop, kClientWidth, kMiddleHeight);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, QColor(255, 250, 230));
    band->setPalette(pal);
    buildCoursewareBand(band, services_, this);
}

void TMainForm::buildBottom() {
    auto* bottom = new QWidget(this);
    bottom->setObjectName("BottomPL");
    bottom->setGeometry(0, kBottomTop, kClientWidth, kBottomHeight);
    WB1_ = services_.browsers->create(bottom);
    WB1_->widget()->setObjectName("WB1");
    WB1_->widget()->setGeometry(0, 0, kClientWidth, kBottomHeight);
}

void TMainForm::setModuleOpener(const QString& buttonName, std::function<void()> open) {
    auto* b = findChild<QToolButton*>(buttonName);
    if (!b)
        return;
    b->disconnect(this);
    connect(b, &QToolButton::clicked, this, [open = std::move(open)] { open(); });
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    errors_.guard([this] { FormShow(); });
    // Once the window is up and drawn, courseware is readied in the background, so that
    // the first movie a child opens shows at once.
    QTimer::singleShot(kPrepareCoursewareDelayMs, this,
                       [this] { services_.browsers->prepareCourseware(); });
}

void TMainForm::FormShow() {
    services_.state.rotationCounter = 0;
    if (dm_)
        UpgradeSchema(*dm_, QStringLiteral("myfood"));
    const QString programDir = services_.paths->programDir();
    WB1_->navigate(
        makerSiteAddress(programDir, MakerSite::Second, QStringLiteral("/guanggao.htm")));
}

void TMainForm::MINISBClick() {
    showMinimized();
}

bool TMainForm::confirmQuit() {
    return services_.dialogs->messageBox(
               this, QStringLiteral("欢迎使用本系统，确定要退出吗?"), QStringLiteral("系统信息"),
               MessageIcon::Question, MessageButton::Yes | MessageButton::No) == MessageButton::Yes;
}

void TMainForm::QuitSbClick() {
    if (!confirmQuit())
        return;
    quitting_ = true;
    showMinimized();
    QApplication::quit();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (quitting_) {
        event->accept();
    } else if (confirmQuit()) {
        quitting_ = true;
        event->accept();
        showMinimized();
        QApplication::quit();
    } else {
        event->ignore();
    }
}

} // namespace tx
