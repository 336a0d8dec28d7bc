#include "WebAllForm.h"

#include "BrowserWindows.h"
#include "Sites.h"
#include "platform/Browser.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

namespace tx {

TWEBALLForm* WEBALLForm = nullptr;

namespace {

constexpr int kTopHeight = 97;
constexpr int kListWidth = 166;

QIcon linkIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 90, 170), 1.2));
    p.setBrush(QColor(120, 190, 250));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    return QIcon(pm);
}

QPalette withWindow(QPalette pal, const QColor& color) {
    pal.setColor(QPalette::Window, color);
    return pal;
}

} // namespace

TWEBALLForm::TWEBALLForm(Services& services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      services_(services) {
    setObjectName("TWEBALLForm");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("我的最爱->实用网址大全"));
    resize(800, 574);
    buildTopPanel();
    buildList();

    WB1_ = services_.browsers->create(this);
    WB1_->widget()->setObjectName("WB1");

    PICPL_ = new QWidget(this);
    PICPL_->setObjectName("PICPL");
    PICPL_->setAutoFillBackground(true);
    PICPL_->setPalette(withWindow(PICPL_->palette(), Qt::black));
    PICPL_->raise();

    WEBALLForm = this;
}

TWEBALLForm::~TWEBALLForm() {
    if (WEBALLForm == this)
        WEBALLForm = nullptr;
}

void TWEBALLForm::buildTopPanel() {
    QMTPL_ = new QWidget(this);
    QMTPL_->setObjectName("QMTPL");
    QMTPL_->setAutoFillBackground(true);
    QMTPL_->setPalette(withWindow(QMTPL_->palette(), QColor(150, 210, 110)));

    auto* invite =
        new QLabel(QStringLiteral("->欢迎推荐更好的 实用网址 给我们") + makerInfo().email +
                       QStringLiteral(",更好的为广大的幼儿园和家庭用户服务"),
                   QMTPL_);
    invite->setObjectName("InviteLB");
    invite->setStyleSheet("color: blue;");
    invite->setGeometry(10, 10, 780, 22);

    auto* hint = new QLabel(QStringLiteral("请点击左边列表的内容,查询你想要的信息!注:网址载入有时"
                                           "需要一点时间,请耐心稍等就可以了"),
                            QMTPL_);
    hint->setObjectName("HintLB");
    hint->setStyleSheet("color: black;");
    hint->setGeometry(10, 36, 780, 22);

    auto* big = new QPushButton(QStringLiteral("本页面全屏显示"), QMTPL_);
    big->setObjectName("WEBBIGSB");
    big->setGeometry(10, 64, 130, 28);
    connect(big, &QPushButton::clicked, this, &TWEBALLForm::WEBBIGSBClick);

    auto* quit = new QPushButton(QStringLiteral("返回→"), QMTPL_);
    quit->setObjectName("QuitSb");
    quit->setGeometry(150, 64, 90, 28);
    connect(quit, &QPushButton::clicked, this, &QDialog::close);
}

void TWEBALLForm::buildList() {
    TV1_ = new QTreeWidget(this);
    TV1_->setObjectName("TV1");
    TV1_->setHeaderHidden(true);
    TV1_->setRootIsDecorated(false);
    TV1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TV1_->setSelectionMode(QAbstractItemView::SingleSelection);
    TV1_->setStyleSheet(
        "QTreeWidget { background: #ffff80; }"
        "QTreeWidget::item:selected:!active { background: #3070c0; color: white; }");
    const QIcon icon = linkIcon();
    const QString programDir = services_.paths->programDir();
    for (const LinkEntry& link : usefulLinks(programDir)) {
        auto* item = new QTreeWidgetItem(TV1_, {link.caption});
        item->setIcon(0, icon);
        item->setData(0, Qt::UserRole, link.address);
    }
    TV1_->viewport()->installEventFilter(this);
}

void TWEBALLForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    QMTPL_->setGeometry(0, 0, width(), kTopHeight);
    TV1_->setGeometry(0, kTopHeight, kListWidth, height() - kTopHeight);
    const QRect browserArea(kListWidth, kTopHeight, width() - kListWidth, height() - kTopHeight);
    WB1_->widget()->setGeometry(browserArea);
    PICPL_->setGeometry(browserArea);
}

bool TWEBALLForm::eventFilter(QObject* watched, QEvent* event) {
    // The list view selects on press; the release completes a click, also one on empty
    // space below the entries.
    if (watched == TV1_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        TV1Click();
    return QDialog::eventFilter(watched, event);
}

void TWEBALLForm::TV1Click() {
    const QList<QTreeWidgetItem*> selected = TV1_->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem* item = selected.first();
    const bool separator = item->text(0) == QStringLiteral("->");
    QString& address = services_.state.CurrentLinkAddress;
    address = separator ? QString() : item->data(0, Qt::UserRole).toString();
    chosenCaption_ = separator ? QString() : item->text(0);
    PICPL_->hide();
    // Nothing to load after a separator: the page stays as it was.
    if (!address.isEmpty())
        WB1_->navigate(address);
}

void TWEBALLForm::WEBBIGSBClick() {
    const QString address = services_.state.CurrentLinkAddress;
    if (address.isEmpty())
        return;
    OpenBigBrowser(services_, this, chosenCaption_, address);
}

void OpenLinksDirectory(Services& services, QWidget* owner) {
    services.state.CurrentLinkAddress.clear();
    auto* form = new TWEBALLForm(services, owner);
    form->exec();
}

} // namespace tx
