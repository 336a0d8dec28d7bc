#include "TZHUCE1Form.h"

#include "platform/Browser.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "web/BrowserWindowParts.h"
#include "web/SiteListPanel.h"
#include "web/Sites.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace tx {

TZHUCE1Form* ZHUCE1Form = nullptr;

namespace {

struct Product {
    const char* name;
    const char* caption;
    const char* character;
    QColor colour;
};

const Product kProducts[] = {
    {"ProductImage1", "幼儿园管理软件", "园", QColor(240, 120, 40)},
    {"ProductImage2", "小学学校管理软件", "校", QColor(40, 120, 210)},
    {"ProductImage3", "幼儿园收费管理系统", "费", QColor(40, 160, 80)},
    {"ProductImage4", "幼儿园食谱营养软件", "食", QColor(200, 50, 120)},
};

} // namespace

TZHUCE1Form::TZHUCE1Form(Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("TZHUCE1Form"));
    setWindowTitle(
        QStringLiteral("沐川科技-青禾学堂网  ->幼儿园小学管理软件 第一品牌，让学校管理更轻松"));
    setUpBrowserDialog(this);
    ZHUCE1Form = this;
    const QString programDir = services_.paths->programDir();
    makerHome_ = makerSiteAddress(programDir, MakerSite::First, QString());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* tiles = new QWidget(this);
    tiles->setObjectName(QStringLiteral("ProductsPL"));
    auto* row = new QHBoxLayout(tiles);
    row->setSpacing(24);
    row->addStretch(1);
    for (const Product& p : kProducts) {
        auto* tile = new QVBoxLayout;
        const QString caption = QString::fromUtf8(p.caption);
        auto* title = new QLabel(caption, tiles);
        QFont f = title->font();
        f.setBold(true);
        f.setPixelSize(16);
        title->setFont(f);
        title->setAlignment(Qt::AlignCenter);
        tile->addWidget(title);
        auto* picture = new QToolButton(tiles);
        picture->setObjectName(QString::fromLatin1(p.name));
        picture->setIcon(QIcon(drawnLogo(p.colour, QString::fromUtf8(p.character), 120)));
        picture->setIconSize(QSize(120, 120));
        picture->setAutoRaise(true);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setAccessibleName(caption);
        picture->setToolTip(caption);
        connect(picture, &QToolButton::clicked, this,
                [this] { services_.externalBrowser->open(makerHome_); });
        tile->addWidget(picture, 0, Qt::AlignCenter);
        row->addLayout(tile);
    }
    row->addStretch(1);
    column->addWidget(tiles, 1);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("BrowserPL"));
    panel->setFixedHeight(PanelHeight);
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setSpacing(0);
    WB1 = services_.browsers->create(panel);
    WB1->widget()->setObjectName(QStringLiteral("WB1"));
    QMTPL = new SiteListPanel(programDir, WB1, panel);
    inner->addWidget(QMTPL);
    inner->addWidget(WB1->widget(), 1);
    column->addWidget(panel);
}

TZHUCE1Form::~TZHUCE1Form() {
    if (ZHUCE1Form == this)
        ZHUCE1Form = nullptr;
}

void TZHUCE1Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    QMTPL->mark(QStringLiteral("RB11"));
}

} // namespace tx
