#include "LessonFixture.h"
#include "lessons/TextLessonForm.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace tx::test {
namespace {

// The poem or English window (by the test's parameter) on a small library.
class TextLessonWindow : public LessonFixture,
                         public ::testing::WithParamInterface<const LessonModule*> {
protected:
    const LessonModule& m() const { return *GetParam(); }

    TextLessonForm* open() {
        if (&m() == &xs) {
            return openWindow<TxsmainForm>();
        }
        return openWindow<TXYYMAINForm>();
    }
    TextLessonForm* form() { return static_cast<TextLessonForm*>(window.data()); }
    QTreeWidget* tree() { return child<QTreeWidget>("Tree1"); }
    QString shownText() { return child<QPlainTextEdit>("me1")->toPlainText(); }
    bool pictureShown() { return !child<QLabel>("PIC1")->pixmap().isNull(); }
    int selectedIndex() {
        const auto selected = tree()->selectedItems();
        return selected.isEmpty() ? -1 : tree()->indexOfTopLevelItem(selected.first());
    }
    QStringList entries() {
        QStringList names;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            names << tree()->topLevelItem(i)->text(0);
        }
        return names;
    }
    void changeChapter(int index) {
        child<QComboBox>("CB1")->setCurrentIndex(index);
        form()->CB1Change();
    }
    void clickEntry(int index) {
        const QRect r = tree()->visualItemRect(tree()->topLevelItem(index));
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Two chapters with items and an empty third one.
    void library() {
        addChapter(m(), 1, "甲");
        addChapter(m(), 2, "乙");
        addChapter(m(), 3, "空");
        addItem(m(),
                {2, "Two", "甲", "二\r\n两行", soundFile("two.wav"), "", "有", bmpBytes(6, 6)});
        addItem(m(), {1, "One", "甲", "一", "", "http://x/one.swf"});
        addItem(m(), {3, "Three", "甲", "三", dir.filePath("missing.wav")});
        addItem(m(), {4, "Four", "乙", "四"});
    }
};

TEST_P(TextLessonWindow, OnShowTheFirstItemOfTheFirstChapterIsShownAndSelected) {
    library();
    t.services.state.CurrentCoursewareAddress = "left over";
    open();
    EXPECT_EQ(window->windowTitle(), m().windowCaption.toString());
    EXPECT_EQ(tree()->toolTip(), m().treeHint.toString());
    EXPECT_EQ(tree()->width(), m().treeWidth);
    EXPECT_EQ(child<QToolButton>("XYSSB")->text(), m().nextItemCaption.toString());
    EXPECT_EQ(entries(), QStringList({"One", "Two", "Three"}));
    EXPECT_EQ(selectedIndex(), 0);
    EXPECT_EQ(shownText(), "一");
    EXPECT_EQ(t.services.state.CurrentCoursewareAddress, "http://x/one.swf");
    EXPECT_FALSE(pictureShown());
}

TEST_P(TextLessonWindow, AChapterWithoutItemsKeepsThePreviousTextAndPicture) {
    library();
    open();
    clickEntry(1);
    EXPECT_EQ(shownText(), "二\n两行");
    EXPECT_TRUE(pictureShown());
    changeChapter(2);
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(shownText(), "二\n两行");
    EXPECT_TRUE(pictureShown());
    changeChapter(1);
    EXPECT_EQ(entries(), QStringList{"Four"});
    EXPECT_EQ(selectedIndex(), 0);
    EXPECT_EQ(shownText(), "四");
    EXPECT_FALSE(pictureShown());
}

TEST_P(TextLessonWindow, NextAndPreviousStopAtTheEndsWithoutMessage) {
    library();
    open();
    auto* next = child<QToolButton>("XYSSB");
    auto* previous = child<QToolButton>("SYSSB");
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(selectedIndex(), 0);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(selectedIndex(), 2);
    EXPECT_EQ(shownText(), "三");
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(selectedIndex(), 2);
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(shownText(), "二\n两行");
    EXPECT_TRUE(t.dialogs.messages().empty());
}

TEST_P(TextLessonWindow, WithNothingSelectedReadNextAndPreviousWarn) {
    library();
    open();
    changeChapter(2);
    for (const char* name : {"LDSB", "XYSSB", "SYSSB"}) {
        QTest::mouseClick(child<QToolButton>(name), Qt::LeftButton);
    }
    ASSERT_EQ(t.dialogs.messages().size(), 3u);
    for (const auto& message : t.dialogs.messages()) {
        EXPECT_EQ(message.text, m().nothingSelected.toString());
        EXPECT_EQ(message.caption, "注意");
        EXPECT_EQ(message.icon, MessageIcon::Warning);
    }
}

TEST_P(TextLessonWindow, ArrowKeysShowTheNeighbourAndTheTreeMovesItsSelection) {
    library();
    open();
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key_Up);
    EXPECT_EQ(shownText(), "一");
    EXPECT_EQ(selectedIndex(), 0);
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(shownText(), "二\n两行");
    EXPECT_EQ(selectedIndex(), 1);
    QTest::keyClick(tree(), Qt::Key_End);
    EXPECT_EQ(selectedIndex(), 2);
    EXPECT_EQ(shownText(), "二\n两行") << "End moves the selection but shows nothing new";
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(selectedIndex(), 2);
    EXPECT_EQ(shownText(), "二\n两行");
}

TEST_P(TextLessonWindow, DoubleClickShowsStopsThenPlays) {
    library();
    open();
    t.sound.clear();
    const QRect r = tree()->visualItemRect(tree()->topLevelItem(1));
    // A double click arrives as press, release, double click, release.
    QTest::mousePress(tree()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseRelease(tree()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseRelease(tree()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(t.sound.lines(), QStringList({"stop", "play " + dir.filePath("two.wav")}));
    EXPECT_EQ(t.services.state.CurrentSoundFile, dir.filePath("two.wav"));
}

TEST_P(TextLessonWindow, AClickInTheTreeShowsTheSelectedItemAgainAndStopsTheSound) {
    library();
    open();
    clickEntry(1);
    QTest::mouseClick(child<QToolButton>("LDSB"), Qt::LeftButton);
    t.sound.clear();
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                      tree()->viewport()->rect().bottomLeft() + QPoint(5, -5));
    EXPECT_EQ(t.sound.lines(), QStringList{"stop"});
    EXPECT_EQ(shownText(), "二\n两行");
}

TEST_P(TextLessonWindow, AMissingRecordingBlinksFourTimesAndIsGoneFrom2800Ms) {
    library();
    open();
    clickEntry(2);
    t.sound.clear();
    QTest::mouseClick(child<QToolButton>("LDSB"), Qt::LeftButton);
    EXPECT_TRUE(t.sound.lines().isEmpty());
    auto* label = child<QLabel>("ldshow");
    auto* blink = child<QTimer>("Timer4");
    EXPECT_EQ(label->text(), "没有录制声音哦");
    EXPECT_EQ(blink->interval(), 400);
    QString seen = label->isVisible() ? "1" : "0";
    while (blink->isActive()) {
        form()->Timer4Timer();
        seen += label->isVisible() ? "1" : "0";
        ASSERT_LE(seen.size(), 20);
    }
    // One character per 400 ms, from 0 ms: seen at 0, 0.8, 1.6 and 2.4 s, gone from 2.8 s.
    EXPECT_EQ(seen, "10101010");

    // Starting again during a blink starts it over.
    QTest::mouseClick(child<QToolButton>("LDSB"), Qt::LeftButton);
    form()->Timer4Timer();
    form()->Timer4Timer();
    QTest::mouseClick(child<QToolButton>("LDSB"), Qt::LeftButton);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(t.services.state.blinkCounter, 0);
}

TEST_P(TextLessonWindow, NamesDifferingOnlyInLetterCaseFindTheFirstInItemOrder) {
    addChapter(m(), 1, "甲");
    addItem(m(), {5, "apple", "甲", "second"});
    addItem(m(), {2, "Apple", "甲", "first"});
    open();
    clickEntry(1);
    EXPECT_EQ(selectedIndex(), 1);
    EXPECT_EQ(shownText(), "first");
}

TEST_P(TextLessonWindow, CoursewareStartsEmptyAndFollowsTheShownItem) {
    addChapter(m(), 1, "甲");
    addItem(m(), {1, "A", "甲", "a"});
    addItem(m(), {2, "B", "甲", "b", "", "http://x/b.swf"});
    open();
    QTest::mouseClick(child<QToolButton>("KJSb"), Qt::LeftButton);
    ASSERT_EQ(t.dialogs.messageTexts(), QStringList{"没有课件网址,请检查哦！"});
    clickEntry(1);
    QString caption;
    onNextModal([&](QWidget* modal) {
        caption = modal->windowTitle();
        modal->close();
    });
    QTest::mouseClick(child<QToolButton>("KJSb"), Qt::LeftButton);
    EXPECT_EQ(caption, "课件:B     网址:http://x/b.swf");
}

TEST_P(TextLessonWindow, EditorsAndHelpStopTheSoundFirst) {
    open();
    int opened = 0;
    window->setEditorOpeners(
        {[&](LearningWindow&) { ++opened; }, [&](LearningWindow&) { ++opened; }});
    QTest::mouseClick(child<QToolButton>("zjsb"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("zsb"), Qt::LeftButton);
    QString help;
    onNextModal([&](QWidget* modal) {
        help = modal->objectName();
        modal->close();
    });
    QTest::mouseClick(child<QToolButton>("HELPSB"), Qt::LeftButton);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(help, m().helpWindow.toString());
    EXPECT_EQ(t.sound.lines().count("stop"), 4) << "show's reload, two editors, help";
}

TEST_P(TextLessonWindow, EntriesAreTreeItemsToAssistiveTechnology) {
    library();
    open();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(tree());
    ASSERT_NE(view, nullptr);
    QStringList names;
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface* entry = view->child(i);
        if (entry->role() == QAccessible::TreeItem) {
            names << entry->text(QAccessible::Name);
        }
    }
    EXPECT_EQ(names, QStringList({"One", "Two", "Three"}));
}

INSTANTIATE_TEST_SUITE_P(Modules, TextLessonWindow, ::testing::Values(&xs, &xyy),
                         [](const auto& info) {
                             return info.param->moduleCode.toString().toStdString();
                         });

} // namespace
} // namespace tx::test
