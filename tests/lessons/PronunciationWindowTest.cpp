#include "LessonFixture.h"
#include "lessons/Sendsongform.h"
#include "platform/testing/RecordingBrowsers.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QToolButton>

namespace tx::test {
namespace {

// The pronunciation window alone, on the test clock: its waits take no time.
class PronunciationWindow : public ::testing::Test {
protected:
    PronunciationWindow() {
        installWidgetAccessibility();
        t.clock.onSleep = [this](int) {
            if (onSleep) {
                onSleep();
            }
        };
    }
    ~PronunciationWindow() override { delete form.data(); }

    Tsendsongform* make(const QString& sound, const QString& courseware = {}) {
        t.services.state.CurrentSoundFile = sound;
        t.services.state.CurrentCoursewareAddress = courseware;
        form = new Tsendsongform(t.services);
        form->setCharacter("大");
        form->show();
        return form;
    }
    QString wav() {
        QFile file(dir.filePath("da.wav"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        return file.fileName();
    }
    QLabel* label(const char* name) { return form->findChild<QLabel*>(name); }
    bool hourglass() const {
        return QApplication::overrideCursor() != nullptr &&
               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }

    TestServices t;
    QTemporaryDir dir;
    QPointer<Tsendsongform> form;
    std::function<void()> onSleep;
};

TEST_F(PronunciationWindow, PlaysTwiceThreeSecondsApartWithTheHourglassUntilFourSecondsAfter) {
    const QString sound = wav();
    make(sound);
    auto* timer = form->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);

    struct Moment {
        long long ms;
        bool hourglass;
    };
    std::vector<Moment> sleeps;
    onSleep = [&] { sleeps.push_back({t.clock.advancedMs(), hourglass()}); };
    t.clock.set(10, 0);
    form->Timer1Timer();
    EXPECT_FALSE(timer->isActive());
    const auto& events = t.sound.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, "play " + sound);
    EXPECT_EQ(events[1].text, "play " + sound);
    EXPECT_EQ(events[0].at->second * 1000 + events[0].at->millisecond, 10000);
    EXPECT_EQ(events[1].at->second * 1000 + events[1].at->millisecond, 13000);
    ASSERT_FALSE(sleeps.empty());
    EXPECT_TRUE(std::all_of(sleeps.begin(), sleeps.end(), [](auto& m) { return m.hourglass; }));
    EXPECT_EQ(sleeps.back().ms, 7000);
    EXPECT_FALSE(hourglass());
    EXPECT_FALSE(label("NOLB")->isVisible());
    EXPECT_TRUE(form->isVisible()) << "the window stays open after the sequence";

    form->Timer1Timer();
    EXPECT_EQ(t.sound.events().size(), 2u) << "the sequence never runs twice";
}

class MissingSound : public PronunciationWindow, public ::testing::WithParamInterface<int> {};

TEST_P(MissingSound, ShowsNolbAndPlaysNothingWithoutHourglass) {
    QString path;
    switch (GetParam()) {
    case 0:
        path = "";
        break;
    case 1:
        path = dir.filePath("gone.wav");
        break;
    case 2:
        path = dir.path(); // a folder
        break;
    }
    make(path);
    bool sawHourglass = false;
    onSleep = [&] { sawHourglass = sawHourglass || hourglass(); };
    form->Timer1Timer();
    EXPECT_TRUE(label("NOLB")->isVisible());
    EXPECT_EQ(label("NOLB")->text(), "此字没有录音,请录制声音进行教学");
    EXPECT_TRUE(t.sound.events().empty());
    EXPECT_FALSE(sawHourglass);
    EXPECT_EQ(t.clock.sleeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, MissingSound, ::testing::Values(0, 1, 2));

TEST_F(PronunciationWindow, ACloseDuringTheSequenceClosesAfterItReturns) {
    make(wav());
    bool asked = false;
    bool aliveAfterAsking = false;
    onSleep = [&] {
        if (!asked && t.clock.advancedMs() >= 1000) {
            asked = true;
            form->close();
            aliveAfterAsking = !form.isNull() && form->isVisible();
        }
    };
    form->Timer1Timer();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(aliveAfterAsking) << "closed under the running sequence";
    EXPECT_EQ(t.sound.events().size(), 2u) << "the sequence ran to its end";
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(PronunciationWindow, OnlyAClickOnTheFreeSurfaceCloses) {
    make("");
    for (const char* name : {"ZILB", "FYLB", "PIC1"}) {
        QWidget* w = form->findChild<QWidget*>(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        ASSERT_FALSE(form.isNull()) << name;
        EXPECT_TRUE(form->isVisible()) << name;
    }
    QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(form->width() - 5, form->height() - 5));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(PronunciationWindow, CoursewareButtonWarnsWithoutAddressOrShowsIt) {
    make("");
    QTest::mouseClick(form->findChild<QToolButton*>("KJSb"), Qt::LeftButton);
    ASSERT_EQ(t.dialogs.messages().size(), 1u);
    EXPECT_EQ(t.dialogs.messages()[0].text, "没有课件网址,请检查哦！");
    EXPECT_EQ(t.dialogs.messages()[0].caption, "注意");
    EXPECT_EQ(t.dialogs.messages()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(t.dialogs.messages()[0].owner, form.data());

    t.services.state.CurrentCoursewareAddress = "http://example.org/da.swf";
    QString caption;
    onNextModal([&](QWidget* modal) {
        caption = modal->windowTitle();
        modal->close();
    });
    QTest::mouseClick(form->findChild<QToolButton*>("KJSb"), Qt::LeftButton);
    EXPECT_EQ(caption, "课件:大     网址:http://example.org/da.swf");
}

TEST_F(PronunciationWindow, LabelsExposeTheirTexts) {
    make("");
    form->setPronunciation("发音+词组: da4");
    for (const char* name : {"ZILB", "FYLB"}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(label(name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), label(name)->text());
    }
}

} // namespace
} // namespace tx::test
