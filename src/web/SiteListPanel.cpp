#include "SiteListPanel.h"

#include "platform/Browser.h"
#include "web/Sites.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

namespace tx {

namespace {

struct Entry {
    const char* name;
    const char* caption;
    const char* path;
    bool bold;
};

const Entry kEntries[] = {
    {"RB11", "青禾学堂网", "", false},
    {"RB12", "合作媒体", "/yjstar.htm", false},
    {"RB14", "技术支持", "/download.htm", false},
    {"GG", "广告信息栏", "/guanggao.htm", true},
    {"GUANLI", "幼儿园免费资源", "/yeygl.htm", false},
    {"KEJIAN", "课件免费资源", "/kejianfalshgx.htm", false},
    {"RBGAME", "益智儿童网站 ", "/yzchild.htm", false},
};

} // namespace

SiteListPanel::SiteListPanel(const QString& programDir, BrowserControl* browser, QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("QMTPL"));
    setFixedHeight(Height);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE8, 0xF5, 0xE0));
    setPalette(pal);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 0, 8, 0);
    row->setSpacing(14);
    for (const Entry& e : kEntries) {
        auto* rb = new QRadioButton(QString::fromUtf8(e.caption), this);
        rb->setObjectName(QString::fromLatin1(e.name));
        if (e.bold) {
            QFont f = rb->font();
            f.setBold(true);
            rb->setFont(f);
        }
        group_->addButton(rb);
        row->addWidget(rb);
        const QString address =
            makerSiteAddress(programDir, MakerSite::First, QString::fromLatin1(e.path));
        connect(rb, &QRadioButton::toggled, this, [browser, address](bool on) {
            if (on)
                browser->navigate(address);
        });
    }
    row->addStretch(1);
}

bool SiteListPanel::mark(const QString& entry) {
    for (QAbstractButton* b : group_->buttons()) {
        if (b->objectName() == entry) {
            b->setChecked(true);
            return true;
        }
    }
    return false;
}

QString SiteListPanel::marked() const {
    QAbstractButton* b = group_->checkedButton();
    return b ? b->objectName() : QString();
}

} // namespace tx
