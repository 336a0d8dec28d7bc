#include "EditorFixture.h"
#include "lessons/LearningWindow.h"
#include "lessons/LessonEditors.h"
#include "lessons/SzmainForm.h"

#include <QComboBox>
#include <QTest>
#include <QToolButton>

namespace tx::test {
namespace {

// The learning window's edit buttons open the lists; leaving a list by 返回→ reloads
// the learning window's chapters, leaving it by the close box does not.
class LearningWindowReturn : public EditorFixture {
protected:
    void SetUp() override {
        addChapter(sz, 2, "数字");
        addItem(sz, {1, "一", "数字", "yi"});
        connectDm();
        window = new TszmainForm(t.services);
        window->setEditorOpeners(lessonEditorOpeners());
        window->show();
        chooser = window->findChild<QComboBox*>("CB1");
        ASSERT_NE(chooser, nullptr);
    }
    void TearDown() override { delete window.data(); }

    QStringList chapterChoices() const {
        QStringList names;
        for (int i = 0; i < chooser->count(); ++i)
            names << chooser->itemText(i);
        return names;
    }

    // Presses the edit button; in the list that opens a chapter is added behind its
    // back, and the list is left by its return button or its close box.
    QString leave(const char* button, bool byReturnButton) {
        QString opened;
        onNextModal([&](QWidget* list) {
            opened = className(list);
            addChapter(sz, 1, "新章");
            if (byReturnButton)
                QTest::mouseClick(child(list, "quitsb"), Qt::LeftButton);
            else
                list->close();
        });
        QTest::mouseClick(window->findChild<QToolButton*>(button), Qt::LeftButton);
        return opened;
    }

    QPointer<LearningWindow> window;
    QComboBox* chooser = nullptr;
};

TEST_F(LearningWindowReturn, ChapterListReturnButtonReloads) {
    EXPECT_EQ(chapterChoices(), QStringList{"数字"});
    EXPECT_EQ(leave("zjsb", true), "TZJFORM");
    EXPECT_EQ(chapterChoices(), QStringList({"新章", "数字"}));
    EXPECT_EQ(chooser->currentText(), "新章");
}

TEST_F(LearningWindowReturn, ChapterListCloseBoxDoesNotReload) {
    EXPECT_EQ(leave("zjsb", false), "TZJFORM");
    EXPECT_EQ(chapterChoices(), QStringList{"数字"});
}

TEST_F(LearningWindowReturn, ItemListReturnButtonReloads) {
    EXPECT_EQ(leave("zsb", true), "TSzsoundForm");
    EXPECT_EQ(chapterChoices(), QStringList({"新章", "数字"}));
}

TEST_F(LearningWindowReturn, ItemListCloseBoxDoesNotReload) {
    EXPECT_EQ(leave("zsb", false), "TSzsoundForm");
    EXPECT_EQ(chapterChoices(), QStringList{"数字"});
    // The learning window still finds its items among the chapter it shows.
    EXPECT_NE(window->findItem("一"), nullptr);
}

} // namespace
} // namespace tx::test
