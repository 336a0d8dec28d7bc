#include "TzhucepayForm.h"

#include "platform/Browser.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "web/BrowserWindowParts.h"
#include "web/SiteListPanel.h"
#include "web/Sites.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tx {

TzhucepayForm* zhucepayForm = nullptr;

namespace {

constexpr int kBannerHeight = 72;

QLabel* bigName(const QString& text, const QColor& colour, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setPixelSize(26);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color:%1").arg(colour.name()));
    return l;
}

QLabel* logo(const QColor& colour, const QString& character, const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setPixmap(drawnLogo(colour, character, 56));
    l->setAccessibleName(name);
    return l;
}

} // namespace

QString TzhucepayForm::defaultCaption() {
    return QStringLiteral("沐川幼儿园小学管理软件->学籍、收费、食谱、考勤，学校管理一套全搞定 "
                          "(青禾学堂网)");
}

TzhucepayForm::TzhucepayForm(Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("TzhucepayForm"));
    setWindowTitle(defaultCaption());
    setUpBrowserDialog(this);
    zhucepayForm = this;

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The browser first: the site list's entries load into it.
    WB1 = services_.browsers->create(this);
    WB1->widget()->setObjectName(QStringLiteral("WB1"));
    const QString programDir = services_.paths->programDir();
    QMTPL = new SiteListPanel(programDir, WB1, this);
    column->addWidget(QMTPL);
    buildETPL();
    buildDQPL();
    buildZXXPL();
    column->addWidget(ETPL);
    column->addWidget(DQPL);
    column->addWidget(ZXXPL);
    column->addWidget(WB1->widget(), 1);
}

TzhucepayForm::~TzhucepayForm() {
    if (zhucepayForm == this)
        zhucepayForm = nullptr;
}

QWidget* TzhucepayForm::makeBanner(const char* name) {
    auto* banner = new QWidget(this);
    banner->setObjectName(QString::fromLatin1(name));
    banner->setFixedHeight(kBannerHeight);
    banner->setAutoFillBackground(true);
    QPalette pal = banner->palette();
    pal.setColor(QPalette::Window, Qt::white);
    banner->setPalette(pal);
    banner->hide();
    return banner;
}

void TzhucepayForm::buildETPL() {
    ETPL = makeBanner("ETPL");
    auto* row = new QHBoxLayout(ETPL);
    row->addWidget(
        logo(QColor(230, 120, 20), QStringLiteral("童"), QStringLiteral("中华儿童网"), ETPL));
    row->addWidget(bigName(QStringLiteral("中华儿童网"), QColor(200, 60, 20), ETPL));
    row->addWidget(new QLabel(
        QStringLiteral("->儿童教育·健康·动感商圈·宝宝商城·相册·博客·社区·爱问·黄页·少年"), ETPL));
    row->addStretch(1);
}

void TzhucepayForm::buildDQPL() {
    DQPL = makeBanner("DQPL");
    auto* row = new QHBoxLayout(DQPL);
    row->addWidget(
        logo(QColor(200, 30, 40), QStringLiteral("旗"), QStringLiteral("大旗育儿频道"), DQPL));
    row->addWidget(bigName(QStringLiteral("大旗育儿频道"), QColor(180, 20, 30), DQPL));
    row->addWidget(new QLabel(
        QStringLiteral("->育儿知识·亲子教育·宝宝健康·妈妈交流，陪伴孩子快乐成长"), DQPL));
    row->addStretch(1);
}

void TzhucepayForm::buildZXXPL() {
    ZXXPL = makeBanner("ZXXPL");
    auto* row = new QHBoxLayout(ZXXPL);
    auto* group = new QButtonGroup(ZXXPL);
    struct Partner {
        const char* name;
        const char* caption;
        QColor colour;
        const char* character;
        ExternalSite site;
        QRadioButton** button;
    };
    const Partner partners[] = {
        {"zxxzy", "中小学教育资源中心", QColor(30, 110, 200), "教", ExternalSite::ResourceCentre,
         &zxxzy},
        {"SRYLW", "少儿学习娱乐网", QColor(40, 160, 70), "乐", ExternalSite::LearningSite, &SRYLW},
        {"ZXXKJ", "中小学资源课件", QColor(120, 60, 180), "课", ExternalSite::ResourceCourseware,
         &ZXXKJ},
    };
    for (const Partner& p : partners) {
        const QString caption = QString::fromUtf8(p.caption);
        row->addWidget(logo(p.colour, QString::fromUtf8(p.character), caption, ZXXPL));
        auto* names = new QVBoxLayout;
        auto* title = bigName(caption, p.colour, ZXXPL);
        QFont f = title->font();
        f.setPixelSize(18);
        title->setFont(f);
        names->addWidget(title);
        auto* rb = new QRadioButton(caption, ZXXPL);
        rb->setObjectName(QString::fromLatin1(p.name));
        group->addButton(rb);
        names->addWidget(rb);
        row->addLayout(names);
        row->addSpacing(24);
        *p.button = rb;
    }
    row->addStretch(1);
    zxxzy->setChecked(true);
    // Connected after the first mark: creating the window loads nothing.
    for (const Partner& p : partners) {
        const QString address = externalSiteAddress(p.site);
        connect(*p.button, &QRadioButton::toggled, this, [this, address](bool on) {
            if (on)
                WB1->navigate(address);
        });
    }
}

void TzhucepayForm::showBanner(Banner banner) {
    ETPL->setVisible(banner == Banner::ETPL);
    DQPL->setVisible(banner == Banner::DQPL);
    ZXXPL->setVisible(banner == Banner::ZXXPL);
}

bool TzhucepayForm::mark(const QString& entry) {
    if (QMTPL->mark(entry))
        return true;
    for (QRadioButton* rb : {zxxzy, SRYLW, ZXXKJ}) {
        if (rb->objectName() == entry) {
            rb->setChecked(true);
            return true;
        }
    }
    return false;
}

} // namespace tx
