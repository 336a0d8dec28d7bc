#include "AboutForm.h"

#include "BrowserWindows.h"
#include "Sites.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace tx {

TAboutForm* AboutForm = nullptr;

namespace {

QPixmap bulletPicture() {
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 120, 20));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    return pm;
}

// A green seedling on a round yellow field, with the site's name: the maker's logo.
QPixmap logoPicture(const QString& name) {
    QPixmap pm(96, 96);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 130, 30), 3));
    p.setBrush(QColor(255, 236, 140));
    p.drawEllipse(QRectF(4, 4, 88, 88));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 160, 40));
    QPainterPath left;
    left.moveTo(48, 56);
    left.cubicTo(28, 52, 22, 34, 26, 24);
    left.cubicTo(40, 28, 48, 40, 48, 56);
    QPainterPath right;
    right.moveTo(48, 56);
    right.cubicTo(66, 50, 74, 34, 72, 22);
    right.cubicTo(56, 26, 48, 40, 48, 56);
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(QColor(60, 130, 30), 3));
    p.drawLine(QPointF(48, 56), QPointF(48, 64));
    QFont f = p.font();
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 90, 20));
    p.drawText(QRect(8, 62, 80, 22), Qt::AlignCenter, name.left(4));
    return pm;
}

} // namespace

TAboutForm::TAboutForm(Services& services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), services_(services) {
    setObjectName("TAboutForm");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(387, 180);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 252, 235));
    setPalette(pal);
    const MakerInfo& maker = makerInfo();
    setWindowTitle(maker.company);

    auto* logo = new QLabel(this);
    logo->setObjectName("LogoIM");
    logo->setPixmap(logoPicture(maker.siteName));
    logo->setToolTip(QStringLiteral("沐川科技     幼儿园小学权威软件"));
    logo->setAccessibleName(QStringLiteral("沐川科技     幼儿园小学权威软件"));
    logo->setGeometry(14, 20, 96, 96);

    auto* title = new TLabel3D(this);
    title->setObjectName("QMTLB");
    title->setBevel(TLabel3DBevel::bvLowered);
    title->setCaption(maker.company + QStringLiteral("-") + maker.siteName + QStringLiteral("\n") +
                      maker.slogan);
    title->setToolTip(QStringLiteral("关于沐川-青禾学堂网"));
    QFont tf = title->font();
    tf.setBold(true);
    tf.setUnderline(true);
    tf.setPointSize(12);
    title->setFont(tf);
    title->setGeometry(124, 20, 250, 52);

    auto* bullet = new QLabel(this);
    bullet->setObjectName("BulletIM");
    bullet->setPixmap(bulletPicture());
    bullet->setGeometry(124, 90, 12, 12);

    auto* address = new TLabel3D(this);
    address->setObjectName("AddressLB");
    address->setBevel(TLabel3DBevel::bvLowered);
    address->setCaption(maker.hostFirst);
    QFont af = address->font();
    af.setBold(true);
    af.setUnderline(true);
    address->setFont(af);
    QPalette apal = address->palette();
    apal.setColor(QPalette::WindowText, Qt::blue);
    address->setPalette(apal);
    address->setCursor(Qt::PointingHandCursor);
    address->setGeometry(140, 84, 240, 24);
    connect(address, &TLabel3D::clicked, this, [this] { OpenMakerPageWindow(services_, this); });

    auto* ok = new TFlatSpeedButton(this);
    ok->setObjectName("NextSb");
    ok->setCaption(QStringLiteral("OK"));
    ok->setToolTip(QStringLiteral("关闭本窗口"));
    ok->setColorFocused(Qt::yellow);
    ok->setGeometry(290, 136, 80, 28);
    connect(ok, &TFlatSpeedButton::clicked, this, &QDialog::close);

    AboutForm = this;
}

TAboutForm::~TAboutForm() {
    if (AboutForm == this)
        AboutForm = nullptr;
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
    // Only Esc acts; the dialog's other default keys (Enter) must do nothing here.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        event->ignore();
}

void TAboutForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Without a frame the window needs an edge of its own.
    QPainter p(this);
    p.setPen(QColor(120, 160, 80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void OpenAboutWindow(Services& services, QWidget* owner) {
    auto* form = new TAboutForm(services, owner);
    form->exec();
}

} // namespace tx
