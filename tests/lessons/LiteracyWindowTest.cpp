#include "LessonFixture.h"
#include "lessons/LessonHelpForms.h"
#include "lessons/Sendsongform.h"
#include "lessons/SzmainForm.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace tx::test {
namespace {

// What the pronunciation window showed when it opened.
struct Shown {
    QString character;
    QString pronunciation;
    QString caption;
    bool picture = false;
};

class LiteracyWindow : public LessonFixture {
protected:
    TszmainForm* open() { return openWindow<TszmainForm>(); }

    QListWidget* list() { return child<QListWidget>("ListView1"); }
    QComboBox* chapters() { return child<QComboBox>("CB1"); }
    QStringList entries() {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i) {
            names << list()->item(i)->text();
        }
        return names;
    }
    QStringList chapterNames() {
        QStringList names;
        for (int i = 0; i < chapters()->count(); ++i) {
            names << chapters()->itemText(i);
        }
        return names;
    }
    QString panel(int i) { return child<QLabel>(QStringLiteral("Sb1Panel%1").arg(i))->text(); }

    // Clicks the entry at index and answers what the pronunciation window showed; the
    // window is closed without its sequence.
    std::optional<Shown> clickEntry(int index) {
        std::optional<Shown> shown;
        // Polls until the window is in front: it opens inside the click.
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            auto* form = qobject_cast<Tsendsongform*>(QApplication::activeModalWidget());
            if (form == nullptr) {
                return;
            }
            guard.stop();
            const QPixmap pic = form->findChild<QLabel*>("PIC1")->pixmap();
            shown =
                Shown{form->findChild<QLabel*>("ZILB")->text(),
                      form->findChild<QLabel*>("FYLB")->text(), form->windowTitle(), !pic.isNull()};
            form->close();
        });
        guard.start(0);
        QListWidgetItem* item = list()->item(index);
        const QPoint at = list()->visualItemRect(item).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        guard.stop();
        return shown;
    }
};

TEST_F(LiteracyWindow, ShowsTheChaptersAndTheFirstChaptersCharactersInNumberOrder) {
    addChapter(sz, 2, "第二章");
    addChapter(sz, 1, "第一章");
    addItem(sz, {3, "三", "第一章"});
    addItem(sz, {1, "一", "第一章"});
    addItem(sz, {2, "二", "第一章"});
    addItem(sz, {4, "人", "第二章"});
    open();
    EXPECT_EQ(window->windowTitle(), "识字教学->发音识字，小朋友快快来学哦");
    EXPECT_EQ(chapterNames(), QStringList({"第一章", "第二章"}));
    EXPECT_EQ(chapters()->currentText(), "第一章");
    EXPECT_EQ(entries(), QStringList({"一", "二", "三"}));
    EXPECT_EQ(list()->toolTip(), "请点击字进行发音学字");
    EXPECT_EQ(panel(0), "->发音识字，小朋友快快来学哦");
    EXPECT_EQ(window->findChild<QToolButton*>("zsb")->text(), "编辑字");
    // The shared dataset is left holding the chapter's items.
    EXPECT_EQ(dm->ALLQuery.recordCount(), 3);
}

// Previous / next chapter with n chapters, starting at index start.
struct StepCase {
    int chapters;
    int start;
    bool next;
    int expected; // -1: nothing selected
};

class LiteracySteps : public LiteracyWindow, public ::testing::WithParamInterface<StepCase> {};

TEST_P(LiteracySteps, NeverWrapAround) {
    const StepCase c = GetParam();
    for (int i = 0; i < c.chapters; ++i) {
        addChapter(sz, i + 1, QStringLiteral("章%1").arg(i));
        addItem(sz, {i + 1, QStringLiteral("字%1").arg(i), QStringLiteral("章%1").arg(i)});
    }
    open();
    if (c.start >= 0) {
        chapters()->setCurrentIndex(c.start);
        static_cast<TszmainForm*>(window.data())->LoadChapterItems();
    }
    QTest::mouseClick(child<QToolButton>(c.next ? "DownSb" : "UpSb"), Qt::LeftButton);
    EXPECT_EQ(chapters()->currentIndex(), c.expected);
    if (c.expected >= 0) {
        EXPECT_EQ(entries(), QStringList{QStringLiteral("字%1").arg(c.expected)});
    } else {
        EXPECT_TRUE(entries().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Chapters, LiteracySteps,
                         ::testing::Values(StepCase{0, -1, true, -1}, StepCase{0, -1, false, -1},
                                           StepCase{1, 0, true, 0}, StepCase{1, 0, false, 0},
                                           StepCase{2, 0, true, 1}, StepCase{2, 1, true, 1},
                                           StepCase{2, 1, false, 0}, StepCase{2, 0, false, 0},
                                           StepCase{3, 1, true, 2}, StepCase{3, 1, false, 0}));

TEST_F(LiteracyWindow, WithoutChaptersEverythingIsEmptyAndClicksDoNothing) {
    open();
    EXPECT_EQ(chapters()->count(), 0);
    EXPECT_EQ(chapters()->currentText(), "");
    EXPECT_EQ(list()->count(), 0);
    static_cast<TszmainForm*>(window.data())->UpdateStatusBar();
    EXPECT_EQ(panel(1), "  现在章节:");
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(LiteracyWindow, AClickOnTheEmptyBackgroundOpensNothing) {
    addChapter(sz, 1, "一章");
    addItem(sz, {1, "大", "一章"});
    open();
    list()->item(0)->setSelected(true);
    bool opened = false;
    QTimer guard; // ends with the test when nothing opens
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    guard.start(0);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->viewport()->rect().bottomRight() - QPoint(5, 5));
    EXPECT_FALSE(opened);
    EXPECT_TRUE(list()->selectedItems().isEmpty());
}

TEST_F(LiteracyWindow, AClickShowsTheCharacterItsLineAndPictureOnlyWhenFlaggedAndPresent) {
    addChapter(sz, 1, "一章");
    const QByteArray bmp = bmpBytes(8, 8);
    addItem(sz, {1, "大", "一章", "da4 大人", "", "http://x/da.swf", "有", bmp});
    addItem(sz, {2, "小", "一章", "xiao3", "", "", "", bmp}); // placeholder kept, no flag
    addItem(sz, {3, "人", "一章", "", "", "", "有", {}});     // flag without data
    addItem(sz, {4, "口", "一章", "", "", "", "有", QByteArray("BM garbage")});
    open();
    const auto big = clickEntry(0);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->character, "大");
    EXPECT_EQ(big->pronunciation, "发音+词组: da4 大人");
    EXPECT_EQ(big->caption, "课件网址:http://x/da.swf");
    EXPECT_TRUE(big->picture);
    EXPECT_EQ(t.services.state.CurrentCoursewareAddress, "http://x/da.swf");
    for (int i : {1, 2, 3}) {
        const auto shown = clickEntry(i);
        ASSERT_TRUE(shown) << i;
        EXPECT_FALSE(shown->picture) << i;
    }
    EXPECT_EQ(clickEntry(1)->caption, "课件网址:");
    EXPECT_EQ(clickEntry(2)->pronunciation, "发音+词组: ");
    EXPECT_EQ(list()->selectedItems().value(0), list()->item(2)) << "the character stays selected";
}

TEST_F(LiteracyWindow, NamesDifferingOnlyInLetterCaseFindTheFirstInNumberOrder) {
    addChapter(sz, 1, "ABC");
    addItem(sz, {7, "ab", "ABC", "second", soundFile("b.wav")});
    addItem(sz, {3, "AB", "ABC", "first", soundFile("a.wav")});
    open();
    EXPECT_EQ(entries(), QStringList({"AB", "ab"}));
    for (int i : {0, 1}) {
        const auto shown = clickEntry(i);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->pronunciation, "发音+词组: first") << i;
        EXPECT_EQ(t.services.state.CurrentSoundFile, dir.filePath("a.wav"));
    }
}

TEST_F(LiteracyWindow, NamesWithQuotesDashesSemicolonsAndBlanksAreBoundNotSpliced) {
    const QStringList names = {"O'k", " a--b ", "x;drop table ZJ;", "\"q\""};
    for (int i = 0; i < names.size(); ++i) {
        addChapter(sz, i + 1, names[i]);
        addItem(sz, {i + 1, QStringLiteral("z%1").arg(i), names[i]});
    }
    addItem(sz, {9, "zz", "a--b"}); // the chapter without its blanks is another chapter
    open();
    for (int i = 0; i < names.size(); ++i) {
        chapters()->setCurrentIndex(i);
        static_cast<TszmainForm*>(window.data())->LoadChapterItems();
        EXPECT_EQ(entries(), QStringList{QStringLiteral("z%1").arg(i)}) << names[i].toStdString();
    }
}

TEST_F(LiteracyWindow, AfterAnEditorClosedByItsCloseBoxClicksStillFindTheShownItems) {
    addChapter(sz, 1, "一章");
    addItem(sz, {1, "大", "一章", "da"});
    addItem(sz, {2, "小", "二章", "xiao"});
    open();
    // An editor borrowed the shared dataset and left it holding the chapters.
    sz.openChapters(dm->ALLQuery);
    const auto shown = clickEntry(0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->pronunciation, "发音+词组: da");
}

TEST_F(LiteracyWindow, ReloadShowsTheFirstChapterAgainWithTheStoredItems) {
    addChapter(sz, 1, "一章");
    addChapter(sz, 2, "二章");
    addItem(sz, {1, "大", "一章"});
    open();
    chapters()->setCurrentIndex(1);
    window->LoadChapterItems();
    addItem(sz, {2, "人", "一章"});
    window->ReloadChapters();
    EXPECT_EQ(chapters()->currentIndex(), 0);
    EXPECT_EQ(entries(), QStringList({"大", "人"}));
}

TEST_F(LiteracyWindow, TwentyFiveCharactersWithLongLinesAllListed) {
    addChapter(sz, 1, "一章");
    for (int i = 1; i <= 25; ++i) {
        addItem(sz, {i, QStringLiteral("字%1").arg(i), "一章", QString(300, QChar(u'拼'))});
    }
    open();
    EXPECT_EQ(list()->count(), 25);
    const auto shown = clickEntry(24);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->character, "字25");
}

TEST_F(LiteracyWindow, EditButtonsCallTheirOpenersWithTheWindowAndHelpOpensModally) {
    open();
    QStringList calls;
    window->setEditorOpeners(
        {[&](LearningWindow& w) { calls << "chapters:" + w.module().moduleCode.toString(); },
         [&](LearningWindow& w) { calls << "items:" + w.module().itemTable.toString(); }});
    QTest::mouseClick(child<QToolButton>("zjsb"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("zsb"), Qt::LeftButton);
    EXPECT_EQ(calls, QStringList({"chapters:sz", "items:szSound"}));

    QString help;
    onNextModal([&](QWidget* modal) {
        help = modal->objectName();
        modal->close();
    });
    QTest::mouseClick(child<QToolButton>("HELPSB"), Qt::LeftButton);
    EXPECT_EQ(help, "TMYHLPForm");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(t.sound.lines().isEmpty()) << "literacy does not stop a sound for its help";
}

TEST_F(LiteracyWindow, QuitStopsTheSoundAndCloses) {
    open();
    QTest::mouseClick(child<QToolButton>("QuitSb"), Qt::LeftButton);
    EXPECT_EQ(t.sound.lines(), QStringList{"stop"});
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull());
}

TEST_F(LiteracyWindow, CharactersAreListItemsToAssistiveTechnology) {
    addChapter(sz, 1, "一章");
    addItem(sz, {1, "大", "一章"});
    addItem(sz, {2, "小", "一章"});
    open();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->role(), QAccessible::List);
    QStringList names;
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface* entry = view->child(i);
        EXPECT_EQ(entry->role(), QAccessible::ListItem);
        names << entry->text(QAccessible::Name);
    }
    EXPECT_EQ(names, QStringList({"大", "小"}));
}

// The clock panel on fixed moments: zero padding, every weekday, the long time format.
struct ClockCase {
    QDateTime moment;
    const char* expected;
};

class StatusClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(StatusClock, ReadsAsTheDesktopWritesIt) {
    EXPECT_EQ(statusClockText(GetParam().moment), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Moments, StatusClock,
    ::testing::Values(ClockCase{{QDate(2026, 12, 6), QTime(0, 0, 0)},
                                "当前时间:  2026年12月06日  0:00:00    星期日"},
                      ClockCase{{QDate(2026, 12, 7), QTime(9, 5, 7)},
                                "当前时间:  2026年12月07日  9:05:07    星期一"},
                      ClockCase{{QDate(2026, 12, 8), QTime(23, 59, 59)},
                                "当前时间:  2026年12月08日  23:59:59    星期二"},
                      ClockCase{{QDate(2026, 1, 7), QTime(12, 0, 1)},
                                "当前时间:  2026年01月07日  12:00:01    星期三"},
                      ClockCase{{QDate(2027, 2, 4), QTime(10, 10, 10)},
                                "当前时间:  2027年02月04日  10:10:10    星期四"},
                      ClockCase{{QDate(2026, 5, 1), QTime(1, 2, 3)},
                                "当前时间:  2026年05月01日  1:02:03    星期五"},
                      ClockCase{{QDate(2026, 12, 12), QTime(8, 0, 9)},
                                "当前时间:  2026年12月12日  8:00:09    星期六"}));

TEST_F(LiteracyWindow, StatusBarFollowsTheChapterAndTheClockAtEachTick) {
    addChapter(sz, 1, "一章");
    addChapter(sz, 2, "二章");
    open();
    QDateTime now(QDate(2026, 12, 8), QTime(9, 5, 7));
    window->setDateTimeSource([&] { return now; });
    auto* clock = child<QTimer>("Timer1");
    EXPECT_TRUE(clock->isActive());
    EXPECT_EQ(clock->interval(), 1000);
    chapters()->setCurrentIndex(1);
    window->Timer1Timer();
    EXPECT_EQ(panel(1), "  现在章节:二章");
    EXPECT_EQ(panel(2), "当前时间:  2026年12月08日  9:05:07    星期二");
    now = now.addSecs(1);
    window->Timer1Timer();
    EXPECT_EQ(panel(2), "当前时间:  2026年12月08日  9:05:08    星期二");
}

} // namespace
} // namespace tx::test
