#include "widgets/TLabel3D.h"

#include "widgets/AccessibleAnnounce.h"
#include "widgets/SystemColors.h"

#include <QAccessible>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace tx {

TLabel3D::TLabel3D(QWidget* parent)
    : QLabel(parent), highLightColor_(systemColor(SystemColor::BtnHighlight)),
      shadowColor_(systemColor(SystemColor::BtnShadow)) {
    setTextFormat(Qt::PlainText);
}

void TLabel3D::setAndRepaint(auto& member, const auto& value) {
    if (member == value)
        return;
    member = value;
    update();
}

void TLabel3D::setHighLightColor(const QColor& c) {
    setAndRepaint(highLightColor_, c);
}
void TLabel3D::setShadowColor(const QColor& c) {
    setAndRepaint(shadowColor_, c);
}
void TLabel3D::setBevel(TLabel3DBevel b) {
    setAndRepaint(bevel_, b);
}
void TLabel3D::setShadowSize(quint8 s) {
    setAndRepaint(shadowSize_, s);
}

void TLabel3D::setShowAccelChar(bool on) {
    if (showAccelChar_ == on)
        return;
    showAccelChar_ = on;
    updateGeometry();
    update();
}

void TLabel3D::setCaption(const QString& caption) {
    if (caption == text())
        return;
    setText(caption);
    // QLabel announces the new text only while no accessible name is set; a reader
    // must hear a new score either way.
    QAccessibleEvent event(this, QAccessible::NameChanged);
    announce(&event, accessibleName().isEmpty());
}

QString TLabel3D::plainCaption() const {
    if (!showAccelChar_)
        return text();
    QString out;
    const QString t = text();
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == u'&' && i + 1 < t.size())
            ++i;
        else if (t[i] == u'&')
            continue;
        out += t[i];
    }
    return out;
}

bool TLabel3D::isClickable() const {
    return property("clickable").toBool() ||
           isSignalConnected(QMetaMethod::fromSignal(&TLabel3D::clicked));
}

void TLabel3D::click() {
    if (isEnabled())
        emit clicked();
}

int TLabel3D::textFlags() const {
    const Qt::Alignment a = alignment();
    int flags = int(a & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask));
    flags |= Qt::TextExpandTabs | Qt::TextWordWrap;
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

QRect TLabel3D::textArea() const {
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QSize TLabel3D::sizeHint() const {
    QString t = text();
    if (t.isEmpty() || (showAccelChar_ && t == QStringLiteral("&")))
        t = QStringLiteral(" ");
    // Measured on one line: the label grows to its caption rather than wrapping it.
    const int flags = (textFlags() & ~Qt::TextWordWrap) | Qt::AlignLeft | Qt::AlignTop;
    const QSize textSize = fontMetrics().boundingRect(QRect(0, 0, 0, 0), flags, t).size();
    const QMargins frame = contentsMargins();
    const int m = 2 * margin();
    return textSize + QSize(frame.left() + frame.right() + m, frame.top() + frame.bottom() + m);
}

QSize TLabel3D::minimumSizeHint() const {
    return sizeHint();
}

void TLabel3D::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    const QRect area = textArea();
    const int flags = textFlags();
    const QString t = text();
    const int s = shadowSize_;
    const bool enabled = isEnabled();
    const QColor fontColor = palette().color(QPalette::Active, foregroundRole());

    auto draw = [&](int offset, const QColor& color) {
        p.setPen(color);
        p.drawText(area.translated(offset, offset), flags, t);
    };

    QColor upLeft, downRight;
    switch (bevel_) {
    case TLabel3DBevel::bvNone:
        break;
    case TLabel3DBevel::bvLowered:
        upLeft = shadowColor_;
        downRight = highLightColor_;
        break;
    case TLabel3DBevel::bvRaised:
        upLeft = highLightColor_;
        downRight = shadowColor_;
        break;
    case TLabel3DBevel::bvShadow:
        downRight = shadowColor_;
        break;
    }
    if (upLeft.isValid() && enabled)
        draw(-s, upLeft);
    if (downRight.isValid())
        draw(s, downRight);
    const bool grey = !enabled && bevel_ != TLabel3DBevel::bvNone;
    draw(0, grey ? systemColor(SystemColor::GrayText) : fontColor);
}

void TLabel3D::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    event->accept();
}

void TLabel3D::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        click();
}

} // namespace tx
