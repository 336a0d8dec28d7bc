#include "widgets/WidgetAccessibility.h"

#include "platform/WaitSeconds.h"
#include "widgets/ClickablePanel.h"
#include "widgets/ItemViewAccessible.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <deque>
#include <utility>

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

// A mouse click on a window under a modal one never reaches it.
bool blockedByModal(const QWidget* control) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    const QWidget* window = control->window();
    return window != modal && !modal->isAncestorOf(window);
}

// The presses not yet acted on, oldest first. One runs per turn of the event loop, so that
// a press whose click opens a modal window leaves the next one to that window's loop, as
// queued mouse clicks are; during a wait none runs.
class PressQueue : public QObject {
public:
    using QObject::QObject;

    void add(QWidget* control, std::function<void()> click) {
        presses_.push_back({control, std::move(click)});
        schedule();
    }

private:
    struct Press {
        QPointer<QWidget> control;
        std::function<void()> click;
    };

    // A zero timer, also during a wait: each turn of its event loop tries again, so the
    // presses follow the wait at once.
    void schedule() {
        if (scheduled_)
            return;
        scheduled_ = true;
        QTimer::singleShot(0, this, [this] { runOne(); });
    }

    void runOne() {
        scheduled_ = false;
        if (presses_.empty())
            return;
        // A wait lets timers run but holds input back; these presses count as input.
        if (isWaiting()) {
            schedule();
            return;
        }
        Press press = std::move(presses_.front());
        presses_.pop_front();
        if (!presses_.empty())
            schedule();
        if (press.control && press.control->isEnabled() && !blockedByModal(press.control))
            press.click();
    }

    std::deque<Press> presses_;
    bool scheduled_ = false;
};

QPointer<PressQueue> thePresses;

// Qt's buttons with Qt's roles, names and states, but with the program's press.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QAbstractButton* b) : QAccessibleWidget(b, roleOf(b)) {}

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(object()); }

    static QAccessible::Role roleOf(QAbstractButton* b) {
        if (auto* pb = qobject_cast<QPushButton*>(b); pb && pb->menu())
            return QAccessible::ButtonMenu;
        if (qobject_cast<QCheckBox*>(b))
            return QAccessible::CheckBox;
        if (b->isCheckable() && b->autoExclusive())
            return QAccessible::RadioButton;
        if (b->isCheckable() && !qobject_cast<QToolButton*>(b) && !qobject_cast<QPushButton*>(b))
            return QAccessible::CheckBox;
        return QAccessible::Button;
    }

    QAccessible::Role role() const override { return roleOf(button()); }

    QString text(QAccessible::Text t) const override {
        QString s;
        if (t == QAccessible::Name) {
            s = widget()->accessibleName();
            if (s.isEmpty())
                s = withoutAccelMarks(button()->text());
        } else if (t == QAccessible::Accelerator) {
            if (auto* pb = qobject_cast<QPushButton*>(button()); pb && pb->isDefault())
                s = QKeySequence(Qt::Key_Enter).toString(QKeySequence::NativeText);
            else
                s = QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        }
        return s.isEmpty() ? QAccessibleWidget::text(t) : s;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const QAbstractButton* b = button();
        s.checkable = b->isCheckable();
        s.checked = b->isChecked();
        if (auto* cb = qobject_cast<const QCheckBox*>(b))
            s.checkStateMixed = cb->checkState() == Qt::PartiallyChecked;
        s.pressed = b->isDown();
        if (auto* pb = qobject_cast<const QPushButton*>(b)) {
            s.defaultButton = pb->isDefault();
            s.hasPopup = pb->menu() != nullptr;
        }
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction() && action != toggleAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        QAbstractButton* b = button();
        if (!b->isEnabled())
            return;
        // A menu button's click opens its menu, as with the mouse.
        pressLater(b, [b] {
            if (auto* pb = qobject_cast<QPushButton*>(b); pb && pb->menu())
                pb->showMenu();
            else
                b->click();
        });
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action != pressAction() && action != toggleAction())
            return QAccessibleWidget::keyBindingsForAction(action);
        const QKeySequence key = QKeySequence::mnemonic(button()->text());
        return key.isEmpty() ? QStringList{} : QStringList{key.toString(QKeySequence::NativeText)};
    }
};

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
        if (action == pressAction() && button()->isEnabled())
            pressLater(button(), [b = button()] { b->click(); });
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
        if (action == pressAction() && label()->isClickable() && label()->isEnabled())
            pressLater(label(), [l = label()] { l->click(); });
    }
};

// A panel has no text of its own; its Press is a click beside its controls.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(ClickablePanel* p) : QAccessibleWidget(p, QAccessible::Pane) {}

    ClickablePanel* panel() const { return static_cast<ClickablePanel*>(object()); }

    QStringList actionNames() const override {
        return panel()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && panel()->isEnabled())
            pressLater(panel(), [p = panel()] { p->click(); });
    }
};

} // namespace

void pressLater(QWidget* control, std::function<void()> click) {
    if (!thePresses)
        thePresses = new PressQueue(QCoreApplication::instance());
    thePresses->add(control, std::move(click));
}

QAccessibleInterface* widgetAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TFlatSpeedButton::staticMetaObject.className()))
        return new FlatSpeedButtonAccessible(static_cast<TFlatSpeedButton*>(object));
    if (className == QLatin1String(TLabel3D::staticMetaObject.className()))
        return new Label3DAccessible(static_cast<TLabel3D*>(object));
    if (className == QLatin1String(ClickablePanel::staticMetaObject.className()))
        return new PanelAccessible(static_cast<ClickablePanel*>(object));
    // Asked from the most derived class upwards: a button of any class gets ours, also the
    // subclasses of windows written later.
    if (auto* b = qobject_cast<QAbstractButton*>(object);
        b && className == QLatin1String(object->metaObject()->className()))
        return new ButtonAccessible(b);
    return itemViewAccessible(className, object);
}

void installWidgetAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&widgetAccessibleFactory);
}

} // namespace tx
