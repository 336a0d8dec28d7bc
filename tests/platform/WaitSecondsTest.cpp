#include "platform/WaitSeconds.h"
#include "platform/SystemClock.h"
#include "platform/testing/TestClock.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <thread>

#ifdef TX_HAVE_QPA_PRIVATE
#include <qpa/qwindowsysteminterface.h>
#endif

namespace tx {
namespace {

int msOf(const LocalTime& t) {
    return t.second * 1000 + t.millisecond;
}

// ---- clock arithmetic -------------------------------------------------------------

TEST(WaitSeconds, ThreeSecondsFrom58_700EndAt1_700OfTheNextMinuteOrJustAfter) {
    TestClock clock(58, 700);
    WaitSeconds(clock, 3);
    const LocalTime end = clock.current();
    EXPECT_EQ(end.second, 1);
    EXPECT_GE(end.millisecond, 700);      // not before
    EXPECT_LT(end.millisecond, 700 + 20); // just after: within a few polls
    EXPECT_GE(clock.advancedMs(), 3000);
}

struct WaitCase {
    int second, millisecond, seconds;
};

TEST(WaitSeconds, EndsAtStartPlusNSecondsAcrossTheMinute) {
    const WaitCase cases[] = {{0, 0, 1},  {12, 0, 1},   {30, 500, 4},  {59, 999, 1},
                              {57, 1, 3}, {58, 700, 3}, {45, 250, 14}, {5, 0, 59}};
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.second << "." << c.millisecond << " + " << c.seconds);
        TestClock clock(c.second, c.millisecond);
        WaitSeconds(clock, c.seconds);
        const int start = c.second * 1000 + c.millisecond;
        const int expected = (start + c.seconds * 1000) % 60000;
        int late = msOf(clock.current()) - expected;
        if (late < 0)
            late += 60000;
        EXPECT_LT(late, 20);
        EXPECT_GE(clock.advancedMs(), c.seconds * 1000);
    }
}

TEST(WaitSeconds, OneSecondFrom12_000DoesNotEndAtOnceWhenTheClockHasNotMoved) {
    TestClock clock(12, 0);
    clock.scriptReadings({{12, 0}, {12, 0}}); // the first two readings are the same
    WaitSeconds(clock, 1);
    EXPECT_GT(clock.readings(), 2);
    EXPECT_GE(clock.advancedMs(), 1000);
    EXPECT_EQ(clock.current().second, 13);
}

TEST(WaitSeconds, KeepsWaitingWhileTheClockStandsStill) {
    TestClock clock(12, 0);
    clock.setAdvanceOnSleep(false);
    int sleeps = 0;
    clock.onSleep = [&](int) {
        if (++sleeps == 50) // the clock starts moving only after 50 pauses
            clock.setAdvanceOnSleep(true);
    };
    WaitSeconds(clock, 1);
    EXPECT_GE(clock.advancedMs(), 1000);
    EXPECT_GT(clock.sleeps(), 50);
}

TEST(WaitSeconds, PausesBetweenEveryTwoReadings) {
    TestClock clock(20, 0);
    WaitSeconds(clock, 2);
    // Never two readings without a pause between them (no spinning), pauses of a few ms.
    EXPECT_LE(clock.readings(), clock.sleeps() + 2);
    EXPECT_GT(clock.sleeps(), 0);
    EXPECT_LE(clock.sleptMs() / clock.sleeps(), 20);
    EXPECT_EQ(clock.sleptMs(), 2000);
}

TEST(WaitSeconds, ZeroSecondsReturnsAtOnce) {
    TestClock clock(10, 0);
    WaitSeconds(clock, 0);
    EXPECT_EQ(clock.advancedMs(), 0);
}

TEST(WaitSeconds, OnTheSystemClockTakesTheWallTime) {
    SystemClock clock;
    QElapsedTimer timer;
    timer.start();
    WaitSeconds(clock, 1);
    const qint64 ms = timer.elapsed();
    EXPECT_GE(ms, 990);
    EXPECT_LT(ms, 3000);
}

// ---- wait depth ------------------------------------------------------------------

TEST(WaitDepth, CountsTheRunningWaitsIncludingNestedOnes) {
    EXPECT_EQ(waitDepth(), 0);
    EXPECT_FALSE(isWaiting());
    TestClock outer(10, 0);
    TestClock inner(20, 0);
    int seenOuter = -1;
    int seenInner = -1;
    inner.onSleep = [&](int) { seenInner = waitDepth(); };
    outer.onSleep = [&](int) {
        if (seenOuter < 0) {
            seenOuter = waitDepth();
            WaitSeconds(inner, 1);
        }
    };
    WaitSeconds(outer, 1);
    EXPECT_EQ(seenOuter, 1);
    EXPECT_EQ(seenInner, 2);
    EXPECT_EQ(waitDepth(), 0);
}

TEST(WaitDepth, IsRestoredWhenTheWaitIsLeftByAnException) {
    TestClock clock(10, 0);
    clock.onSleep = [](int) { throw std::runtime_error("out"); };
    EXPECT_THROW(WaitSeconds(clock, 1), std::runtime_error);
    EXPECT_EQ(waitDepth(), 0);
}

// ---- events during the wait -------------------------------------------------------

class Probe : public QWidget {
public:
    Probe() {
        setFocusPolicy(Qt::StrongFocus);
        resize(200, 150);
    }
    QStringList input;
    int paints = 0;
    std::function<void()> onInput;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::white);
    }
    void mousePressEvent(QMouseEvent* e) override {
        add(QStringLiteral("press %1,%2").arg(e->position().x()).arg(e->position().y()));
    }
    void mouseReleaseEvent(QMouseEvent*) override { add(QStringLiteral("release")); }
    void keyPressEvent(QKeyEvent* e) override { add(QStringLiteral("key ") + e->text()); }
    void add(const QString& what) {
        input << what;
        if (onInput)
            onInput();
    }
};

// A test clock whose pauses take real time too, so that timers come due during a wait.
void makeRealTime(TestClock& clock, std::function<void(int)> also = {}) {
    clock.onSleep = [also](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (also)
            also(ms);
    };
}

TEST(WaitSeconds, TimersAndRepaintsAreHandledWhileWaiting) {
    Probe probe;
    probe.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&probe));
    QTest::qWait(20);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    TestClock clock(30, 0);
    int paintsWhenAsked = -1;
    int sleeps = 0;
    makeRealTime(clock, [&](int) {
        if (++sleeps == 20) {
            paintsWhenAsked = probe.paints;
            probe.update();
        }
    });
    WaitSeconds(clock, 1); // 200 pauses of ~1 ms real time
    const int ticksDuringWait = ticks;
    const int paintsDuringWait = probe.paints;
    EXPECT_GT(ticksDuringWait, 0);
    ASSERT_GE(paintsWhenAsked, 0);
    EXPECT_GT(paintsDuringWait, paintsWhenAsked);
}

#ifdef TX_HAVE_QPA_PRIVATE

// Posts a click at (10,10) and the key "a" into the window system's queue, as the
// platform's event reader does for real input.
void postInput(QWidget& w) {
    QWindow* window = w.windowHandle();
    const QPointF local(10, 10);
    const QPointF global = w.mapToGlobal(QPoint(10, 10));
    using QWSI = QWindowSystemInterface;
    QWSI::handleMouseEvent<QWSI::AsynchronousDelivery>(window, local, global, Qt::LeftButton,
                                                       Qt::LeftButton, QEvent::MouseButtonPress);
    QWSI::handleMouseEvent<QWSI::AsynchronousDelivery>(window, local, global, Qt::NoButton,
                                                       Qt::LeftButton, QEvent::MouseButtonRelease);
    QWSI::handleKeyEvent<QWSI::AsynchronousDelivery>(window, QEvent::KeyPress, Qt::Key_A,
                                                     Qt::NoModifier, QStringLiteral("a"));
}

class WaitInput : public testing::Test {
protected:
    void SetUp() override {
        probe.show();
        probe.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&probe));
        probe.setFocus();
        QTest::qWait(20);
        probe.input.clear();
    }
    Probe probe;
};

TEST_F(WaitInput, InputMadeDuringTheWaitIsHeldBackUntilItReturns) {
    TestClock clock(40, 0);
    int sleeps = 0;
    QStringList seenDuringWait;
    makeRealTime(clock, [&](int) {
        ++sleeps;
        if (sleeps == 10)
            postInput(probe);
        if (sleeps > 10)
            seenDuringWait = probe.input;
    });
    WaitSeconds(clock, 1);
    EXPECT_TRUE(seenDuringWait.isEmpty()) << seenDuringWait.join(u'|').toStdString();
    EXPECT_TRUE(probe.input.isEmpty()) << probe.input.join(u'|').toStdString();
    // Afterwards it is handled, in the order it was made.
    QTest::qWait(50);
    EXPECT_EQ(probe.input, QStringList({QStringLiteral("press 10,10"), QStringLiteral("release"),
                                        QStringLiteral("key a")}));
}

TEST_F(WaitInput, HeldBackInputIsHandledRightAfterTheCallingHandlerReturns) {
    TestClock clock(50, 0);
    int sleeps = 0;
    makeRealTime(clock, [&](int) {
        if (++sleeps == 10)
            postInput(probe);
    });
    QEventLoop loop;
    QElapsedTimer sinceReturn;
    qint64 deliveredAfterMs = -1;
    QStringList atReturn;
    // The wait runs inside an event handler, as in the windows that call it.
    QTimer::singleShot(0, [&] {
        WaitSeconds(clock, 1);
        atReturn = probe.input;
        sinceReturn.start();
    });
    // No other timer runs meanwhile: only the wait's final wake-up makes the loop look
    // at the window system's queue again.
    probe.onInput = [&] {
        if (sinceReturn.isValid() && probe.input.size() == 3) {
            deliveredAfterMs = sinceReturn.elapsed();
            loop.quit();
        }
    };
    QTimer::singleShot(3000, &loop, &QEventLoop::quit); // safety
    loop.exec();
    EXPECT_TRUE(atReturn.isEmpty());
    ASSERT_GE(deliveredAfterMs, 0) << "held-back input was never delivered";
    EXPECT_LT(deliveredAfterMs, 500);
    EXPECT_EQ(probe.input.value(0), QStringLiteral("press 10,10"));
    EXPECT_EQ(probe.input.value(2), QStringLiteral("key a"));
}

#else

TEST(WaitInput, InputDeferral) {
    GTEST_SKIP() << "needs Qt's private QPA headers (qt6-base-private-dev) to post "
                    "window-system events";
}

#endif

} // namespace
} // namespace tx
