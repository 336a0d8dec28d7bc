#include "widgets/TFlatSpeedButton.h"

#include "widgets/AccessibleAnnounce.h"
#include "widgets/ButtonGlyph.h"
#include "widgets/ButtonLayout.h"
#include "widgets/SystemColors.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

namespace tx {

namespace {

// One timer and one hot button for all buttons: the timer notices when the mouse has
// left the tracked button without passing over another one.
struct HotTracking {
    QTimer* timer = nullptr;
    QPointer<TFlatSpeedButton> tracked;
    int buttons = 0;
};

HotTracking& hotTracking() {
    static HotTracking h;
    return h;
}

constexpr int kTrackInterval = 100;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

} // namespace

TFlatSpeedButton::TFlatSpeedButton(QWidget* parent) : QWidget(parent) {
    HotTracking& h = hotTracking();
    if (h.buttons++ == 0) {
        h.timer = new QTimer;
        h.timer->setInterval(kTrackInterval);
        QObject::connect(h.timer, &QTimer::timeout, [] { checkTracked(); });
    }
    resize(25, 25);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TFlatSpeedButton::~TFlatSpeedButton() {
    HotTracking& h = hotTracking();
    if (h.tracked == this) {
        h.timer->stop();
        h.tracked = nullptr;
    }
    if (--h.buttons == 0) {
        delete h.timer;
        h.timer = nullptr;
    }
}

// ---- accessibility announcements

TFlatSpeedButton::Announced TFlatSpeedButton::announced() const {
    return {down_ || state_ == TButtonState::bsDown, down_, hot_, !isEnabled()};
}

void TFlatSpeedButton::announceChanges(const Announced& before) {
    const Announced now = announced();
    QAccessible::State changed;
    changed.pressed = before.pressed != now.pressed;
    changed.checked = before.checked != now.checked;
    changed.hotTracked = before.hot != now.hot;
    changed.disabled = before.disabled != now.disabled;
    if (!(changed.pressed || changed.checked || changed.hotTracked || changed.disabled))
        return;
    QAccessibleStateChangeEvent event(this, changed);
    announce(&event);
}

// ---- properties

void TFlatSpeedButton::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    updateShortcut();
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    announce(&event);
}

void TFlatSpeedButton::updateShortcut() {
    const QKeySequence key = QKeySequence::mnemonic(caption_);
    if (key.isEmpty()) {
        delete shortcut_;
        shortcut_ = nullptr;
        return;
    }
    if (!shortcut_) {
        shortcut_ = new QShortcut(this);
        connect(shortcut_, &QShortcut::activated, this, [this] {
            if (isEnabled())
                emit clicked();
        });
    }
    shortcut_->setKey(key);
}

void TFlatSpeedButton::setAllowAllUp(bool on) {
    if (on == allowAllUp_)
        return;
    allowAllUp_ = on;
    tellGroup();
}

void TFlatSpeedButton::setGroupIndex(int index) {
    if (index == groupIndex_)
        return;
    const Announced before = announced();
    groupIndex_ = index;
    if (groupIndex_ == 0 && down_) {
        // Only group members stay down.
        down_ = false;
        setState(TButtonState::bsUp);
    }
    tellGroup();
    announceChanges(before);
}

void TFlatSpeedButton::setDown(bool on) {
    if (groupIndex_ == 0)
        on = false;
    if (on == down_ || (down_ && !allowAllUp_))
        return;
    const Announced before = announced();
    down_ = on;
    if (on) {
        setState(TButtonState::bsExclusive);
        tellGroup();
    } else {
        setState(TButtonState::bsUp);
    }
    update();
    announceChanges(before);
}

void TFlatSpeedButton::tellGroup() {
    if (groupIndex_ == 0 || !parentWidget())
        return;
    const auto siblings =
        parentWidget()->findChildren<TFlatSpeedButton*>(Qt::FindDirectChildrenOnly);
    for (TFlatSpeedButton* b : siblings)
        if (b != this)
            b->groupChanged(*this);
}

void TFlatSpeedButton::groupChanged(const TFlatSpeedButton& sender) {
    if (sender.groupIndex_ != groupIndex_)
        return;
    if (down_ && sender.down_) {
        const Announced before = announced();
        down_ = false;
        setState(TButtonState::bsUp);
        update();
        announceChanges(before);
    }
    allowAllUp_ = sender.allowAllUp_;
}

QColor TFlatSpeedButton::color() const {
    if (!parentColor_)
        return color_;
    const QWidget* source = parentWidget() ? parentWidget() : this;
    return source->palette().color(QPalette::Active, source->backgroundRole());
}

void TFlatSpeedButton::setColor(const QColor& c) {
    color_ = c;
    parentColor_ = false;
    deriveColors();
    update();
}

void TFlatSpeedButton::setParentColor(bool on) {
    if (on == parentColor_)
        return;
    if (!on)
        color_ = color(); // keeps the colour it had from the parent
    parentColor_ = on;
    deriveColors();
    update();
}

void TFlatSpeedButton::setColorFocused(const QColor& c) {
    colorFocused_ = c;
    update();
}
void TFlatSpeedButton::setColorDown(const QColor& c) {
    colorDown_ = c;
    update();
}
void TFlatSpeedButton::setColorBorder(const QColor& c) {
    colorBorder_ = c;
    update();
}
void TFlatSpeedButton::setColorHighLight(const QColor& c) {
    colorHighLight_ = c;
    update();
}
void TFlatSpeedButton::setColorShadow(const QColor& c) {
    colorShadow_ = c;
    update();
}

QColor TFlatSpeedButton::fontColor() const {
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void TFlatSpeedButton::setFontColor(const QColor& c) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, c);
    setPalette(pal);
}

void TFlatSpeedButton::setAdvColorFocused(TAdvColors n) {
    advColorFocused_ = n;
    deriveColors();
    update();
}
void TFlatSpeedButton::setAdvColorDown(TAdvColors n) {
    advColorDown_ = n;
    deriveColors();
    update();
}
void TFlatSpeedButton::setAdvColorBorder(TAdvColors n) {
    advColorBorder_ = n;
    deriveColors();
    update();
}

void TFlatSpeedButton::setUseAdvColors(bool on) {
    useAdvColors_ = on;
    setParentColor(on);
    deriveColors();
    update();
}

void TFlatSpeedButton::deriveColors() {
    if (!useAdvColors_)
        return;
    const QColor base = color();
    colorFocused_ = lighterColor(base, advColorFocused_);
    colorDown_ = darkerColor(base, advColorDown_);
    colorBorder_ = darkerColor(base, advColorBorder_);
}

void TFlatSpeedButton::setGlyph(const QImage& glyph) {
    glyph_ = glyph;
    if (!glyph_.isNull() && glyph_.width() % glyph_.height() == 0) {
        const int n = glyph_.width() / glyph_.height();
        numGlyphs_ = n > 4 ? 1 : n;
    }
    update();
}

void TFlatSpeedButton::setNumGlyphs(int n) {
    if (n < 1 || n > 4 || n == numGlyphs_)
        return;
    numGlyphs_ = n;
    update();
}

void TFlatSpeedButton::setButtonLayout(TButtonLayout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    update();
}

void TFlatSpeedButton::setMargin(int margin) {
    if (margin < -1 || margin == margin_)
        return;
    margin_ = margin;
    update();
}

void TFlatSpeedButton::setSpacing(int spacing) {
    if (spacing == spacing_)
        return;
    spacing_ = spacing;
    update();
}

// ---- state

void TFlatSpeedButton::setState(TButtonState s) {
    if (!isEnabled())
        s = TButtonState::bsDisabled;
    if (s == state_)
        return;
    const Announced before = announced();
    state_ = s;
    update();
    announceChanges(before);
}

void TFlatSpeedButton::press() {
    if (!down_)
        setState(TButtonState::bsDown);
    dragging_ = true;
}

void TFlatSpeedButton::click() {
    if (!isEnabled())
        return;
    if (groupIndex_ != 0)
        setDown(!down_);
    emit clicked();
}

void TFlatSpeedButton::track() {
    HotTracking& h = hotTracking();
    if (h.tracked != this) {
        if (h.tracked)
            h.tracked->leave();
        if (!QApplication::activeWindow())
            return;
        h.timer->stop();
        h.tracked = this;
        h.timer->start();
    }
    enter();
}

void TFlatSpeedButton::enter() {
    if (!isEnabled() || hot_)
        return;
    const Announced before = announced();
    hot_ = true;
    repaint();
    announceChanges(before);
}

void TFlatSpeedButton::leave() {
    if (dragging_)
        return;
    stopTracking();
    if (!isEnabled() || !hot_)
        return;
    const Announced before = announced();
    hot_ = false;
    update();
    announceChanges(before);
}

void TFlatSpeedButton::stopTracking() {
    HotTracking& h = hotTracking();
    if (h.tracked == this) {
        h.timer->stop();
        h.tracked = nullptr;
    }
}

void TFlatSpeedButton::refreshHot(QPoint globalPos) {
    if (!isEnabled())
        return;
    if (QApplication::widgetAt(globalPos) == this)
        track();
    else
        leave();
}

void TFlatSpeedButton::checkTracked() {
    HotTracking& h = hotTracking();
    if (h.tracked && QApplication::widgetAt(QCursor::pos()) != h.tracked)
        h.tracked->leave();
}

// ---- events

void TFlatSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    press();
}

void TFlatSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    press();
    if (down_)
        emit doubleClicked();
}

void TFlatSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    track();
    if (!dragging_)
        return;
    TButtonState s =
        rect().contains(event->position().toPoint()) ? TButtonState::bsDown : TButtonState::bsUp;
    if (down_)
        s = TButtonState::bsExclusive;
    setState(s);
}

void TFlatSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    const Announced before = announced();
    if (groupIndex_ == 0) {
        hot_ = false;
        setState(TButtonState::bsUp);
    } else if (inside) {
        setDown(!down_);
    } else {
        setState(down_ ? TButtonState::bsExclusive : TButtonState::bsUp);
    }
    update();
    announceChanges(before);

    const QPointer<TFlatSpeedButton> alive(this);
    if (inside)
        emit clicked();
    else
        leave();
    if (alive)
        refreshHot(event->globalPosition().toPoint());
}

void TFlatSpeedButton::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::EnabledChange: {
        Announced before = announced();
        before.disabled = isEnabled(); // the flag has already changed
        if (!isEnabled()) {
            hot_ = false;
            state_ = TButtonState::bsDisabled;
            dragging_ = false;
            stopTracking();
        } else {
            state_ = down_ && groupIndex_ != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
            refreshHot(QCursor::pos());
        }
        update();
        announceChanges(before);
        break;
    }
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
        if (useAdvColors_) {
            parentColor_ = true;
            deriveColors();
        }
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// ---- painting

void TFlatSpeedButton::paintFace(QPainter& p) const {
    QColor topLeft = colorBorder_, bottomRight = colorBorder_, face = color();
    switch (state_) {
    case TButtonState::bsUp:
        if (hot_) {
            topLeft = colorHighLight_;
            bottomRight = colorShadow_;
            face = colorFocused_;
        }
        break;
    case TButtonState::bsDisabled:
        break;
    case TButtonState::bsDown:
    case TButtonState::bsExclusive:
        topLeft = colorShadow_;
        bottomRight = colorHighLight_;
        face = state_ == TButtonState::bsExclusive && hot_ ? colorFocused_ : colorDown_;
        break;
    }
    const int w = width(), h = height();
    p.fillRect(0, 0, w - 1, 1, topLeft);
    p.fillRect(0, 0, 1, h - 1, topLeft);
    p.fillRect(w - 1, 0, 1, h, bottomRight);
    p.fillRect(0, h - 1, w, 1, bottomRight);
    p.fillRect(1, 1, w - 2, h - 2, face);
}

void TFlatSpeedButton::paintEvent(QPaintEvent*) {
    if (!isEnabled()) {
        state_ = TButtonState::bsDisabled;
        dragging_ = false;
    } else if (state_ == TButtonState::bsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    }

    const qreal dpr = devicePixelRatioF();
    QPixmap buffer(size() * dpr);
    buffer.setDevicePixelRatio(dpr);
    QPainter p(&buffer);
    paintFace(p);

    const bool pressed = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
    const QPoint offset = pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QImage image = buttonGlyphImage(glyph_, numGlyphs_, state_);
    p.setFont(font());
    const QSize textSize =
        caption_.isEmpty() ? QSize(0, 0) : p.fontMetrics().size(kTextFlags, caption_);
    const ButtonLayoutResult at =
        calcButtonLayout(rect(), offset, image.size(), textSize, layout_, margin_, spacing_);
    glyphPos_ = at.glyphPos;
    textRect_ = at.textRect;

    if (!image.isNull())
        p.drawImage(glyphPos_, image);
    if (!caption_.isEmpty()) {
        if (state_ == TButtonState::bsDisabled) {
            p.setPen(systemColor(SystemColor::BtnHighlight));
            p.drawText(textRect_.translated(1, 1), kTextFlags, caption_);
            p.setPen(systemColor(SystemColor::BtnShadow));
        } else {
            p.setPen(fontColor());
        }
        p.drawText(textRect_, kTextFlags, caption_);
    }
    p.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}

} // namespace tx
