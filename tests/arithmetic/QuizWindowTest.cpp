#include "QuizFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <qpa/qwindowsysteminterface.h>

namespace tx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(QuizFixture, OpensWithTheLayoutsCaptionsHintsAndStates) {
    EXPECT_EQ(form->windowTitle(), "幼儿算数->有趣的幼儿算数教学，小朋友快快来学哦");
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);

    struct Row {
        const char* name;
        QString caption;
        QString hint;
        bool enabled;
    };
    const Row rows[] = {
        {"Label3D7", "幼儿算数", "", true},
        {"Label3D1", "->您的广告位置", "", true},
        {"HELPSB", "使用方法", "", true},
        {"QuitSb", "返回→", "返回主界面", true},
        {"Label1", "你的得分", "", true},
        {"fENSHULB", "0分", "", true},
        {"STARTSB", "开始练习", "快快开始练习吧", true},
        {"ADDRB", "+加法运算", "", false},
        {"DELRB", "-减法运算", "", false},
        {"FIRSTLB", "", "", true},
        {"fhlb", "+", "", true},
        {"SECONDLB", "", "", true},
        {"Label4", "=", "", true},
        {"ANSWERLB", "?", "", true},
        {"SHOWSB", "提示答案", "不会的时候可以提示答案哦，这样才可以进行下一题", false},
        {"NEXTsb", "下一题", "进行下一题练习", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* w = widget(row.name);
        EXPECT_EQ(captionOf(w), row.caption);
        EXPECT_EQ(w->toolTip(), row.hint);
        EXPECT_EQ(w->isEnabled(), row.enabled);
    }
    for (int n = 1; n <= 10; ++n) {
        QWidget* w = widget(QStringLiteral("SB%1").arg(n));
        EXPECT_EQ(captionOf(w), QString::number(n));
        EXPECT_FALSE(w->isEnabled());
    }
    EXPECT_TRUE(child<QRadioButton>("ADDRB")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("DELRB")->isChecked());
    EXPECT_THAT(marks(), ElementsAre("", "", "", "", ""));
    EXPECT_EQ(markColor(0), QColor(255, 0, 0));
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(markColor(i), QColor(0, 128, 0));
    }
    EXPECT_FALSE(timer("Timer2")->isActive());
    EXPECT_FALSE(timer("Timer3")->isActive());
    EXPECT_EQ(timer("Timer2")->interval(), 300);
    EXPECT_EQ(timer("Timer3")->interval(), 300);
}

struct SpokenCase {
    const char* name;
    bool subtraction;
    const char* operatorSound;
    const char* operatorText;
};

void PrintTo(const SpokenCase& c, std::ostream* out) {
    *out << c.name;
}

class SpokenExercise : public QuizFixture, public ::testing::WithParamInterface<SpokenCase> {};

TEST_P(SpokenExercise, SpeaksOperandsOperatorAndEqualsWithTheirWaits) {
    const SpokenCase& c = GetParam();
    click("STARTSB");
    EXPECT_FALSE(widget("STARTSB")->isEnabled());
    for (const char* name : {"ADDRB", "DELRB", "SHOWSB", "SB1", "SB10"}) {
        EXPECT_TRUE(widget(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(widget("NEXTsb")->isEnabled());
    if (c.subtraction) {
        click("DELRB");
    }
    EXPECT_EQ(text("fhlb"), c.operatorText);
    EXPECT_EQ(text("ANSWERLB"), "?");
    const int a = text("FIRSTLB").toInt();
    const int b = text("SECONDLB").toInt();
    if (c.subtraction) {
        EXPECT_TRUE(a >= 2 && a <= 10 && b >= 1 && b < a) << a << " - " << b;
    } else {
        EXPECT_TRUE(a >= 1 && b >= 1 && a + b <= 10) << a << " + " << b;
    }
    EXPECT_THAT(sound.plays, IsEmpty()) << "nothing is spoken before the timer fires";

    const long long fired = clock.advancedMs();
    speak();
    EXPECT_THAT(playsSince(0, fired), ElementsAre(Played{QStringLiteral("S%1.wav").arg(a), 1000},
                                                  Played{c.operatorSound, 4000},
                                                  Played{QStringLiteral("S%1.wav").arg(b), 7000},
                                                  Played{"dy.wav", 10000}));
    EXPECT_FALSE(timer("Timer2")->isActive());
    EXPECT_FALSE(timer("Timer3")->isActive());
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpokenExercise,
                         ::testing::Values(SpokenCase{"Addition", false, "ja.wav", "+"},
                                           SpokenCase{"Subtraction", true, "jIAN.wav", "-"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuizFixture, AWrongAnswerOnlyPlaysCuoAndTheRightOneStillScores) {
    start();
    const int right = result();
    const int wrong = right == 1 ? 2 : right - 1;
    const size_t before = sound.plays.size();
    const Snapshot open = snapshot();

    for (int attempt = 0; attempt < 2; ++attempt) {
        click(QStringLiteral("SB%1").arg(wrong));
    }
    EXPECT_THAT(namesSince(before), ElementsAre("cuo.wav", "cuo.wav"));
    EXPECT_EQ(snapshot(), open);
    EXPECT_FALSE(widget("NEXTsb")->isEnabled());

    // The result is on screen as it is spoken; the mark and score follow the wait.
    std::vector<Snapshot> atPlay;
    sound.onPlay = [&](const QString&) { atPlay.push_back(snapshot()); };
    const long long answered = clock.advancedMs();
    click(QStringLiteral("SB%1").arg(right));
    EXPECT_THAT(
        playsSince(before + 2, answered),
        ElementsAre(Played{QStringLiteral("S%1.wav").arg(right), 0}, Played{"CM.wav", 3000}));
    ASSERT_EQ(atPlay.size(), 2u);
    for (const Snapshot& s : atPlay) {
        EXPECT_EQ(s.answer, QString::number(right));
        EXPECT_EQ(s.marks, open.marks);
        EXPECT_EQ(s.score, "0分");
    }
    EXPECT_EQ(text("ANSWERLB"), QString::number(right));
    EXPECT_THAT(marks(), ElementsAre("√", "", "", "", ""));
    EXPECT_EQ(markColor(0), QColor(255, 0, 0));
    EXPECT_EQ(text("fENSHULB"), "20分");
    EXPECT_TRUE(widget("NEXTsb")->isEnabled());
}

TEST_F(QuizFixture, TheHintShowsAndSpeaksTheResultMarksXAndEndsTheExercise) {
    start();
    const int right = result();
    const size_t before = sound.plays.size();
    click("SHOWSB");
    EXPECT_THAT(namesSince(before), ElementsAre(QStringLiteral("S%1.wav").arg(right)));
    EXPECT_EQ(text("ANSWERLB"), QString::number(right));
    EXPECT_THAT(marks(), ElementsAre("Ⅹ", "", "", "", ""));
    EXPECT_EQ(markColor(0), QColor(0, 128, 0));
    EXPECT_EQ(text("fENSHULB"), "0分");
    EXPECT_TRUE(widget("NEXTsb")->isEnabled());

    const Snapshot answered = snapshot();
    const size_t after = sound.plays.size();
    for (int n = 1; n <= 10; ++n) {
        click(QStringLiteral("SB%1").arg(n));
    }
    click("SHOWSB");
    EXPECT_EQ(sound.plays.size(), after);
    EXPECT_EQ(snapshot(), answered);
}

TEST_F(QuizFixture, FiveRightAnswersScoreHundredAndTheNextStartsANewSet) {
    start();
    for (int exercise = 0; exercise < 5; ++exercise) {
        SCOPED_TRACE(exercise);
        if (exercise > 0) {
            click("NEXTsb");
            EXPECT_FALSE(widget("NEXTsb")->isEnabled());
            EXPECT_EQ(text("ANSWERLB"), "?");
            speak();
        }
        click(QStringLiteral("SB%1").arg(result()));
        EXPECT_EQ(text("fENSHULB"), QStringLiteral("%1分").arg(20 * (exercise + 1)));
    }
    EXPECT_THAT(marks(), ElementsAre("√", "√", "√", "√", "√"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(markColor(i), QColor(255, 0, 0)) << i;
    }

    click("NEXTsb");
    EXPECT_THAT(marks(), ElementsAre("", "", "", "", ""));
    EXPECT_EQ(text("fENSHULB"), "0分");
    EXPECT_EQ(text("ANSWERLB"), "?");
    EXPECT_FALSE(widget("NEXTsb")->isEnabled());
    EXPECT_TRUE(timer("Timer2")->isActive());
    speak();
    click(QStringLiteral("SB%1").arg(result()));
    EXPECT_THAT(marks(), ElementsAre("√", "", "", "", ""));
    EXPECT_EQ(text("fENSHULB"), "20分");
}

TEST_F(QuizFixture, SwitchingTheKindMidSetResetsTheSetAndSetsThatKind) {
    start();
    click(QStringLiteral("SB%1").arg(result()));
    click("NEXTsb");
    speak();
    click("SHOWSB");
    ASSERT_THAT(marks(), ElementsAre("√", "Ⅹ", "", "", ""));

    click("DELRB");
    expectFreshSubtractionSet();
    EXPECT_FALSE(timer("Timer2")->isActive());
    const size_t before = sound.plays.size();
    speak();
    EXPECT_EQ(namesSince(before).at(1), "jIAN.wav");

    // The button already checked sets nothing new.
    const Snapshot open = snapshot();
    click("DELRB");
    EXPECT_EQ(snapshot(), open);
    EXPECT_FALSE(timer("Timer3")->isActive());

    click("ADDRB");
    EXPECT_EQ(text("fhlb"), "+");
    EXPECT_TRUE(timer("Timer2")->isActive());
    EXPECT_FALSE(timer("Timer3")->isActive());
}

// Switching the kind before the pending sequence starts must not speak the new
// exercise with the old operator as well.
TEST_F(QuizFixture, SwitchingBeforeTheSequenceSpeaksOnlyTheNewKind) {
    click("STARTSB");
    ASSERT_TRUE(timer("Timer2")->isActive());
    click("DELRB");
    EXPECT_FALSE(timer("Timer2")->isActive());
    EXPECT_TRUE(timer("Timer3")->isActive());
}

// Nothing else runs while the quiz waits: a tick of the pending sequence during the wait
// after an early answer is taken up by a later tick.
TEST_F(QuizFixture, ATickDuringTheWaitAfterAnEarlyAnswerSpeaksAfterIt) {
    click("STARTSB");
    const int right = result();
    int ticks = 0;
    clock.onSleep = [&](int) {
        if (ticks++ == 0) {
            form->Timer2Timer();
        }
    };
    click(QStringLiteral("SB%1").arg(right));
    clock.onSleep = nullptr;
    ASSERT_GT(ticks, 0);
    EXPECT_THAT(namesSince(0), ElementsAre(QStringLiteral("S%1.wav").arg(right), "CM.wav"));
    EXPECT_TRUE(timer("Timer2")->isActive());
    speak();
    EXPECT_THAT(namesSince(2).mid(1), ElementsAre("ja.wav", ::testing::_, "dy.wav"));
}

// A wrong and then the right answer, pressed as "ja.wav" starts, are handled only when
// the spoken sequence has ended, in the order they were pressed.
class SpokenAnswerTest : public QuizFixture {
protected:
    using PressBoth = std::function<void(const QString& wrong, const QString& right)>;

    void answerWhileSpeaking(const PressBoth& pressBoth) {
        const int right = result();
        const int wrong = right == 10 ? 9 : right + 1;
        sound.onPlay = [&](const QString& name) {
            if (name == "ja.wav")
                pressBoth(QStringLiteral("SB%1").arg(wrong), QStringLiteral("SB%1").arg(right));
        };
        speak();
        sound.onPlay = nullptr;
        ASSERT_EQ(sound.plays.size(), 4u) << "the presses acted during the sequence";
        EXPECT_EQ(sound.plays.back().name, "dy.wav");
        EXPECT_EQ(text("ANSWERLB"), "?");

        // Held-back input is handled within a few turns of the event loop.
        (void)QTest::qWaitFor([&] { return sound.plays.size() >= 7; }, 2000);
        EXPECT_THAT(namesSince(4),
                    ElementsAre("cuo.wav", QStringLiteral("S%1.wav").arg(right), "CM.wav"));
        EXPECT_THAT(marks(), ElementsAre("√", "", "", "", ""));
        EXPECT_EQ(text("fENSHULB"), "20分");
    }
};

// Real window-system clicks wait in the queue.
TEST_F(SpokenAnswerTest, ClicksWhileSpeakingAreHandledAfterItInOrder) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    click("STARTSB");
    QWindow* window = form->windowHandle();
    ASSERT_NE(window, nullptr);
    const auto press = [&](const QString& name) {
        QWidget* button = widget(name);
        const QPointF local = button->mapTo(form, button->rect().center());
        const QPointF global = form->mapToGlobal(local);
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    };
    answerWhileSpeaking([&](const QString& wrong, const QString& right) {
        press(wrong);
        press(right);
    });
}

// What assistive technology does to a control: its first (default) accessible action.
void actAccessibly(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(iface, nullptr);
    QAccessibleActionInterface* actions = iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_FALSE(actions->actionNames().isEmpty());
    actions->doAction(actions->actionNames().first());
}

// Choosing the other kind through assistive technology during the wait after a right
// answer is held back like a click: the answer completes in its set, then a fresh set of
// the other kind starts.
TEST_F(QuizFixture, KindChosenDuringTheWaitAfterARightAnswerStartsAFreshSetAfterIt) {
    start();
    const int right = result();
    auto* del = child<QRadioButton>("DELRB");
    bool requested = false;
    bool checkedInWait = false;
    Snapshot inWait;
    clock.onSleep = [&](int) {
        if (!requested) {
            requested = true;
            actAccessibly(del);
        }
        checkedInWait = checkedInWait || del->isChecked();
        inWait = snapshot();
    };
    const size_t before = sound.plays.size();
    click(QStringLiteral("SB%1").arg(right));
    clock.onSleep = nullptr;
    ASSERT_TRUE(requested);
    EXPECT_FALSE(checkedInWait);
    EXPECT_EQ(inWait.op, "+");
    EXPECT_EQ(inWait.answer, QString::number(right));
    EXPECT_THAT(marks(), ElementsAre("√", "", "", "", ""));
    EXPECT_EQ(text("fENSHULB"), "20分");

    ASSERT_TRUE(QTest::qWaitFor([&] { return del->isChecked(); }, 2000));
    expectFreshSubtractionSet();
    EXPECT_THAT(namesSince(before), ElementsAre(QStringLiteral("S%1.wav").arg(right), "CM.wav"));
}

// Presses through assistive technology arrive as events the wait lets through; they are
// held back all the same.
TEST_F(SpokenAnswerTest, AccessiblePressesWhileSpeakingAreHandledAfterItInOrder) {
    click("STARTSB");
    answerWhileSpeaking([&](const QString& wrong, const QString& right) {
        // Delivered by the next wait's event processing, as a bus call would be.
        QTimer::singleShot(0, form, [this, wrong, right] {
            actAccessibly(widget(wrong));
            actAccessibly(widget(right));
        });
    });
}

TEST(ArithmeticQuizWindow, OpensModallyAndQuitClosesAndFreesIt) {
    TestClock clock;
    QuizSound sound(clock);
    Services services;
    services.sound = &sound;
    services.clock = &clock;
    QWidget owner;
    bool seen = false;
    int advertising = 0;
    QTimer::singleShot(0, [&] {
        TYSMAINForm* quiz = currentArithmeticQuiz();
        if (quiz == nullptr) {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
            return;
        }
        seen = QApplication::activeModalWidget() == quiz && quiz->parentWidget() == &owner;
        QTest::mouseClick(quiz->findChild<QWidget*>("Label3D1"), Qt::LeftButton);
        QTest::mouseClick(quiz->findChild<QToolButton*>("QuitSb"), Qt::LeftButton);
    });
    OpenArithmeticQuiz(services, &owner, [&] { ++advertising; });
    EXPECT_TRUE(seen);
    EXPECT_EQ(advertising, 1);
    EXPECT_EQ(currentArithmeticQuiz(), nullptr);
    EXPECT_TRUE(sound.lines().isEmpty());
}

} // namespace
} // namespace tx
