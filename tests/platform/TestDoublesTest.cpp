#include "platform/testing/RecordingBrowsers.h"
#include "platform/testing/RecordingSoundService.h"
#include "platform/testing/TestClock.h"
#include "platform/testing/TestServices.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(TestClockTest, SleepsAdvanceAndWrapAtTheMinute) {
    TestClock clock(59, 990);
    clock.sleepMs(5);
    EXPECT_EQ(clock.now().millisecond, 995);
    clock.sleepMs(10);
    const LocalTime t = clock.now();
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.millisecond, 5);
    EXPECT_EQ(clock.advancedMs(), 15);
    EXPECT_EQ(clock.readings(), 2);
    clock.setAdvanceOnSleep(false);
    clock.sleepMs(100);
    EXPECT_EQ(clock.now().millisecond, 5);
    EXPECT_EQ(clock.sleptMs(), 115);
}

TEST(TestClockTest, ScriptedReadingsComeFirstThenTheClockGoesOnFromTheLast) {
    TestClock clock(0, 0);
    clock.scriptReadings({{12, 0}, {12, 0}, {12, 400}});
    EXPECT_EQ(clock.now().second, 12);
    clock.sleepMs(5);
    EXPECT_EQ(clock.now().millisecond, 0); // scripted: did not move
    EXPECT_EQ(clock.now().millisecond, 400);
    clock.sleepMs(5);
    EXPECT_EQ(clock.now().millisecond, 405);
}

TEST(RecordingSound, RecordsRequestsInOrderWithTheirTime) {
    TestClock clock(3, 250);
    RecordingSoundService sound(&clock);
    sound.play(QStringLiteral("ja.wav"));
    EXPECT_EQ(sound.current(), QStringLiteral("ja.wav"));
    clock.advance(1000);
    sound.play(QString());
    EXPECT_EQ(sound.current(), QString());
    sound.play(QStringLiteral("/snd/一.wav"));
    sound.stop();
    EXPECT_EQ(sound.lines(),
              QStringList({QStringLiteral("play ja.wav"), QStringLiteral("play "),
                           QStringLiteral("play /snd/一.wav"), QStringLiteral("stop")}));
    EXPECT_EQ(sound.timedLines().value(1), QStringLiteral("04.250 play "));
    EXPECT_EQ(clock.readings(), 0); // recording does not read the test clock
    RecordingSoundService untimed;
    untimed.play(QStringLiteral("x.wav"));
    EXPECT_FALSE(untimed.events().front().at.has_value());
}

TEST(RecordingBrowsersTest, ControlsRecordTheirAddresses) {
    RecordingBrowserFactory factory;
    QWidget parent;
    BrowserControl* a = factory.create(&parent);
    BrowserControl* b = factory.create(&parent);
    EXPECT_EQ(a->widget()->parentWidget(), &parent);
    a->navigate(QStringLiteral("http://a/"));
    b->navigate(QStringLiteral("/tmp/x.swf"));
    EXPECT_EQ(factory.allAddresses(),
              QStringList({QStringLiteral("http://a/"), QStringLiteral("/tmp/x.swf")}));
    EXPECT_EQ(factory.last()->current(), QStringLiteral("/tmp/x.swf"));
    delete b->widget(); // the control goes with its widget
    EXPECT_EQ(factory.controls().size(), 1u);
    RecordingExternalBrowser external;
    external.open(QStringLiteral("http://x/"));
    EXPECT_EQ(external.opened(), QStringList({QStringLiteral("http://x/")}));
}

TEST(TestServicesTest, EveryServiceIsFilled) {
    TestServices t;
    EXPECT_EQ(t.services.clock, &t.clock);
    EXPECT_NE(t.services.sound, nullptr);
    EXPECT_NE(t.services.dialogs, nullptr);
    EXPECT_NE(t.services.registry, nullptr);
    EXPECT_NE(t.services.browsers, nullptr);
    EXPECT_NE(t.services.externalBrowser, nullptr);
    EXPECT_EQ(t.services.paths->folder(), QStringLiteral("/tmp/tongxue-test/"));
}

} // namespace
} // namespace tx
