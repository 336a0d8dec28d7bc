#include "widgets/WidgetAccessibility.h"
#include "widgets/AccessibleAnnounce.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include "widgets/ButtonTestSupport.h"

#include "platform/WaitSeconds.h"
#include "platform/testing/TestClock.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace tx {
namespace {

struct Announcement {
    QObject* object;
    QAccessible::Event type;
    QAccessible::State changed;
};

std::vector<Announcement>& announcements() {
    static std::vector<Announcement> list;
    return list;
}

void record(QAccessibleEvent* e) {
    QAccessible::State changed;
    if (e->type() == QAccessible::StateChanged)
        changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
    announcements().push_back({e->object(), e->type(), changed});
}

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        installWidgetAccessibility();
        previous = setAccessibleObserver(&record);
        announcements().clear();
        a = w.add(10);
        b = w.add(50);
        ASSERT_TRUE(w.show());
    }
    void TearDown() override { setAccessibleObserver(previous); }
    static QAccessibleInterface* iface(QObject* o) {
        return QAccessible::queryAccessibleInterface(o);
    }
    // What the accessibility bus does: the press answers before anything acts.
    static void pressOnly(QObject* o) {
        iface(o)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    // A press and the turns of the event loop that follow it.
    static void press(QObject* o) {
        pressOnly(o);
        settle();
    }
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    bool announced(QObject* o, QAccessible::Event type) const {
        for (const Announcement& x : announcements())
            if (x.object == o && x.type == type)
                return true;
        return false;
    }
    template <class Flag> bool announcedState(QObject* o, Flag flag) const {
        for (const Announcement& x : announcements())
            if (x.object == o && x.type == QAccessible::StateChanged && flag(x.changed))
                return true;
        return false;
    }

    AccessibleObserver previous = nullptr;
    test::ButtonWindow w;
    TFlatSpeedButton* a = nullptr;
    TFlatSpeedButton* b = nullptr;
};

TEST_F(Accessibility, ButtonReportsRoleNameHintAndAction) {
    a->setCaption(QStringLiteral("开始&练习"));
    a->setToolTip(QStringLiteral("快快开始练习吧"));
    QAccessibleInterface* i = iface(a);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::Button);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("开始练习"));
    EXPECT_EQ(i->text(QAccessible::Description), QStringLiteral("快快开始练习吧"));
    EXPECT_FALSE(i->state().checkable);
    ASSERT_NE(i->actionInterface(), nullptr);
    EXPECT_EQ(i->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
}

TEST_F(Accessibility, ButtonStates) {
    a->setGroupIndex(1);
    QAccessibleInterface* i = iface(a);
    EXPECT_TRUE(i->state().checkable);
    EXPECT_FALSE(i->state().checked);
    a->setDown(true);
    EXPECT_TRUE(i->state().checked);
    EXPECT_TRUE(i->state().pressed);
    EXPECT_TRUE(announcedState(a, [](const QAccessible::State& s) { return bool(s.checked); }));

    QTest::mouseMove(b, QPoint(5, 5));
    EXPECT_TRUE(iface(b)->state().hotTracked);
    EXPECT_TRUE(announcedState(b, [](const QAccessible::State& s) { return bool(s.hotTracked); }));

    b->setEnabled(false);
    EXPECT_TRUE(iface(b)->state().disabled);
    EXPECT_FALSE(iface(b)->state().hotTracked);
    EXPECT_TRUE(announcedState(b, [](const QAccessible::State& s) { return bool(s.disabled); }));
}

TEST_F(Accessibility, PressActsLikeAClickInside) {
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    QSignalSpy clickedA(a, &TFlatSpeedButton::clicked);
    QSignalSpy clickedB(b, &TFlatSpeedButton::clicked);
    press(a);
    EXPECT_EQ(clickedA.count(), 1);
    EXPECT_TRUE(a->down());
    press(b);
    EXPECT_EQ(clickedB.count(), 1);
    EXPECT_TRUE(b->down());
    EXPECT_FALSE(a->down());
    press(b);
    EXPECT_TRUE(b->down()) << "the down button of a group stays down";
    EXPECT_EQ(clickedB.count(), 2);

    b->setEnabled(false);
    press(b);
    EXPECT_EQ(clickedB.count(), 2);
}

TEST_F(Accessibility, PressWithoutGroupOnlyClicks) {
    QSignalSpy clicked(a, &TFlatSpeedButton::clicked);
    press(a);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(a->down());
    EXPECT_EQ(a->state(), TButtonState::bsUp);
}

// Presses made from a zero timer that fires inside a one-second wait; the clock stands
// still until they have been made, so that they certainly arrive during the wait.
class PressDuringWait {
public:
    explicit PressDuringWait(std::function<void()> pressAll) {
        clock.setAdvanceOnSleep(false);
        QTimer::singleShot(0, [this, pressAll = std::move(pressAll)] {
            pressAll();
            pressed = true;
        });
        clock.onSleep = [this](int) {
            if (pressed || ++idle > 10000) // never hang when the timer did not fire
                clock.setAdvanceOnSleep(true);
            if (pressed && onWaiting)
                onWaiting();
        };
    }
    void run() { WaitSeconds(clock, 1); }

    TestClock clock{10, 0};
    bool pressed = false;
    std::function<void()> onWaiting;

private:
    int idle = 0;
};

TEST_F(Accessibility, PressDuringAWaitClicksOnlyAfterItInOrder) {
    QStringList clicks;
    QObject::connect(a, &TFlatSpeedButton::clicked, [&] { clicks << QStringLiteral("a"); });
    QObject::connect(b, &TFlatSpeedButton::clicked, [&] { clicks << QStringLiteral("b"); });
    PressDuringWait wait([&] {
        pressOnly(b);
        pressOnly(a);
    });
    QStringList clicksDuringWait;
    wait.onWaiting = [&] { clicksDuringWait << clicks; };
    wait.run();
    ASSERT_TRUE(wait.pressed);
    EXPECT_TRUE(clicksDuringWait.isEmpty()) << clicksDuringWait.join(u'|').toStdString();
    EXPECT_TRUE(clicks.isEmpty());
    settle();
    EXPECT_EQ(clicks, QStringList({QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_FALSE(isWaiting());
    press(a);
    EXPECT_EQ(clicks.size(), 3);
}

TEST_F(Accessibility, LabelPressDuringAWaitClicksOnlyAfterIt) {
    TLabel3D label(w.window.get());
    int clicks = 0;
    QObject::connect(&label, &TLabel3D::clicked, [&] { ++clicks; });
    PressDuringWait wait([&] { pressOnly(&label); });
    int clicksDuringWait = 0;
    wait.onWaiting = [&] { clicksDuringWait += clicks; };
    wait.run();
    ASSERT_TRUE(wait.pressed);
    EXPECT_EQ(clicksDuringWait, 0);
    EXPECT_EQ(clicks, 0);
    settle();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Accessibility, ButtonPressedDuringAWaitAndDeletedInItDoesNothing) {
    QPointer<TFlatSpeedButton> gone = w.add(100);
    int clicks = 0;
    QObject::connect(gone, &TFlatSpeedButton::clicked, [&] { ++clicks; });
    PressDuringWait wait([&] { pressOnly(gone); });
    wait.onWaiting = [&] { delete gone.data(); };
    wait.run();
    ASSERT_TRUE(wait.pressed);
    EXPECT_TRUE(gone.isNull());
    settle();
    EXPECT_EQ(clicks, 0);
}

TEST_F(Accessibility, CaptionChangesAreAnnounced) {
    a->setCaption(QStringLiteral("1"));
    EXPECT_TRUE(announced(a, QAccessible::NameChanged));

    TLabel3D label(w.window.get());
    announcements().clear();
    label.setCaption(QStringLiteral("20分"));
    EXPECT_TRUE(announced(&label, QAccessible::NameChanged));
    announcements().clear();
    label.setAccessibleName(QStringLiteral("得分"));
    announcements().clear();
    label.setCaption(QStringLiteral("40分"));
    EXPECT_TRUE(announced(&label, QAccessible::NameChanged));
}

TEST_F(Accessibility, LabelIsStaticTextAndPressableWhenClickable) {
    TLabel3D label(w.window.get());
    label.setCaption(QStringLiteral("->您的广告位置"));
    QAccessibleInterface* i = iface(&label);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::StaticText);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("->您的广告位置"));
    ASSERT_NE(i->actionInterface(), nullptr);
    EXPECT_TRUE(i->actionInterface()->actionNames().isEmpty());

    int clicks = 0;
    QObject::connect(&label, &TLabel3D::clicked, [&] { ++clicks; });
    EXPECT_EQ(i->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
    press(&label);
    EXPECT_EQ(clicks, 1);
    label.setEnabled(false);
    press(&label);
    EXPECT_EQ(clicks, 1);
}

// Every kind of control a window may hold, Qt's own and ours, as assistive technology sees
// it; made in a window of its own, with its click counted.
struct PressableKind {
    const char* name;
    QAccessible::Role role;
    const char* action;
    std::function<QWidget*(QWidget* parent, std::function<void()> onClick)> make;
};

template <class Button> QWidget* makeQtButton(QWidget* parent, std::function<void()> onClick) {
    auto* b = new Button(parent);
    b->setText(QStringLiteral("&Yes"));
    QObject::connect(b, &QAbstractButton::clicked, std::move(onClick));
    return b;
}

const PressableKind kPressables[] = {
    {"QToolButton", QAccessible::Button, "Press", &makeQtButton<QToolButton>},
    {"QPushButton", QAccessible::Button, "Press", &makeQtButton<QPushButton>},
    {"QRadioButton", QAccessible::RadioButton, "Toggle", &makeQtButton<QRadioButton>},
    {"QCheckBox", QAccessible::CheckBox, "Toggle", &makeQtButton<QCheckBox>},
    {"TFlatSpeedButton", QAccessible::Button, "Press",
     [](QWidget* parent, std::function<void()> onClick) -> QWidget* {
         auto* b = new TFlatSpeedButton(parent);
         b->setCaption(QStringLiteral("&Yes"));
         QObject::connect(b, &TFlatSpeedButton::clicked, std::move(onClick));
         return b;
     }},
    {"TLabel3D", QAccessible::StaticText, "Press",
     [](QWidget* parent, std::function<void()> onClick) -> QWidget* {
         auto* l = new TLabel3D(parent);
         l->setCaption(QStringLiteral("Yes"));
         QObject::connect(l, &TLabel3D::clicked, std::move(onClick));
         return l;
     }},
};

class EveryPressable : public ::testing::TestWithParam<PressableKind> {
protected:
    void SetUp() override {
        installWidgetAccessibility();
        window.setGeometry(100, 100, 300, 100);
        control = GetParam().make(&window, [this] { onClick(); });
        control->setGeometry(10, 10, 120, 30);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // The control's own action, as the bus offers it.
    void act() {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(i, nullptr);
        ASSERT_NE(i->actionInterface(), nullptr);
        const QStringList names = i->actionInterface()->actionNames();
        ASSERT_FALSE(names.isEmpty());
        ASSERT_EQ(names.first(), QString::fromLatin1(GetParam().action));
        i->actionInterface()->doAction(names.first());
    }
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QWidget window;
    QWidget* control = nullptr;
    std::function<void()> onClick = [this] { ++clicks; };
    int clicks = 0;
};

TEST_P(EveryPressable, KeepsItsRoleAndName) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), GetParam().role);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("Yes"));
}

// The bus call returns before the click's handler, here one that opens a modal window,
// runs; the click follows from the event loop.
TEST_P(EveryPressable, PressAnswersAtOnceAndThenClicks) {
    bool modalRan = false;
    onClick = [&] {
        ++clicks;
        QDialog dialog(&window);
        QTimer::singleShot(0, &dialog, [&] {
            modalRan = true;
            dialog.accept();
        });
        dialog.exec();
    };
    act();
    EXPECT_EQ(clicks, 0);
    settle();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(modalRan);
}

TEST_P(EveryPressable, PressDuringAWaitClicksAfterIt) {
    PressDuringWait wait([&] { act(); });
    int clicksDuringWait = 0;
    wait.onWaiting = [&] { clicksDuringWait += clicks; };
    wait.run();
    ASSERT_TRUE(wait.pressed);
    EXPECT_EQ(clicksDuringWait, 0);
    settle();
    EXPECT_EQ(clicks, 1);
}

// Like a mouse click, a press on a window under a modal one is lost, and one on a control
// disabled meanwhile does nothing.
TEST_P(EveryPressable, PressOnABlockedOrDisabledControlDoesNothing) {
    QDialog modal;
    modal.setModal(true);
    modal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
    act();
    settle();
    EXPECT_EQ(clicks, 0);
    modal.hide();

    act();
    control->setEnabled(false);
    settle();
    EXPECT_EQ(clicks, 0);
    control->setEnabled(true);
    act();
    settle();
    EXPECT_EQ(clicks, 1);
}

INSTANTIATE_TEST_SUITE_P(Controls, EveryPressable, ::testing::ValuesIn(kPressables),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tx
