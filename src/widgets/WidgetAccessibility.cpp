#include "widgets/WidgetAccessibility.h"

#include "platform/WaitSeconds.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QAccessibleWidget>

namespace tx {

namespace {

QString withoutAccelMarks(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 >= text.size())
                break;
            ++i;
        }
        out += text[i];
    }
    return out;
}

// A press from assistive technology is no user input, so a wait would run it at once;
// like a click it must take effect only after the wait.
template <class Widget> void pressAfterWaits(Widget* widget) {
    if (postponeWhileWaiting(widget, [widget] { pressAfterWaits(widget); }))
        return;
    widget->click();
}

class FlatSpeedButtonAccessible : public QAccessibleWidget {
public:
    explicit FlatSpeedButtonAccessible(TFlatSpeedButton* b)
        : QAccessibleWidget(b, QAccessible::Button) {}

    TFlatSpeedButton* button() const { return static_cast<TFlatSpeedButton*>(object()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return withoutAccelMarks(button()->caption());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const TFlatSpeedButton* b = button();
        s.focusable = false;
        s.pressed = b->down() || b->state() == TButtonState::bsDown;
        s.hotTracked = b->isHot();
        if (b->groupIndex() != 0) {
            s.checkable = true;
            s.checked = b->down();
        }
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        if (action == pressAction())
            pressAfterWaits(button());
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action != pressAction())
            return {};
        const QKeySequence key = QKeySequence::mnemonic(button()->caption());
        return key.isEmpty() ? QStringList{} : QStringList{key.toString(QKeySequence::NativeText)};
    }
};

class Label3DAccessible : public QAccessibleWidget {
public:
    explicit Label3DAccessible(TLabel3D* l) : QAccessibleWidget(l, QAccessible::StaticText) {}

    TLabel3D* label() const { return static_cast<TLabel3D*>(object()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->plainCaption();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return label()->isClickable() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && label()->isClickable())
            pressAfterWaits(label());
    }
};

} // namespace

QAccessibleInterface* widgetAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TFlatSpeedButton::staticMetaObject.className()))
        return new FlatSpeedButtonAccessible(static_cast<TFlatSpeedButton*>(object));
    if (className == QLatin1String(TLabel3D::staticMetaObject.className()))
        return new Label3DAccessible(static_cast<TLabel3D*>(object));
    return nullptr;
}

void installWidgetAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&widgetAccessibleFactory);
}

} // namespace tx
