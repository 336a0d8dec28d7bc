#include "RecipeFixture.h"

#include "recipes/RecipePictures.h"
#include "recipes/TmyfoodForm.h"
#include "recipes/TmyfoodaddForm.h"
#include "widgets/TFlatSpeedButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

namespace tx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const QString kAllColumns = QStringLiteral(
    "菜名,最爱,时间段,菜系分类,口味分类,材料分类,家庭分类,材料,材料1,做法,做法1,simg");
const QString kDuplicate = QStringLiteral("菜名不能相同,已经存在这个菜名了,请检查！");
const QString kSaveFailed = QStringLiteral("储存出错，请检查");

class RecipeEditorTest : public RecipeFixture {
protected:
    // Opens the editor from the browser (modifying: on the recipe of that name) and runs
    // steps while it is up; it is closed afterwards if still open.
    void withEditor(const QString& modifying, const std::function<void(TmyfoodaddForm*)>& steps) {
        if (!browser)
            openBrowser();
        if (!modifying.isEmpty())
            selectRecipe(browser, modifying);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QPointer<TmyfoodaddForm> editor =
                qobject_cast<TmyfoodaddForm*>(QApplication::activeModalWidget());
            seen = editor != nullptr;
            if (!editor)
                return;
            steps(editor);
            if (editor)
                editor->close();
        });
        child<TFlatSpeedButton>(browser, modifying.isEmpty() ? "AddSb" : "ModifySb")->click();
        EXPECT_TRUE(seen);
    }
    void save(TmyfoodaddForm* editor) {
        auto* add = child<QPushButton>(editor, "AddBtn");
        (add->isVisible() ? add : child<QPushButton>(editor, "ModifyBtn"))->click();
    }
    void setName(TmyfoodaddForm* editor, const QString& name) {
        child<QLineEdit>(editor, "ed1")->setText(name);
    }
    QStringList stored() { return test::storedRecipes(databaseFile(), kAllColumns); }
};

TEST_F(RecipeEditorTest, OffersTheFixedListsWithoutTypingAndEachPictureBesideItsButton) {
    withEditor({}, [this](TmyfoodaddForm* editor) {
        EXPECT_EQ(editor->windowTitle(), "[菜] 信息管理操作");
        for (const RecipeViewInfo& info : recipeViews()) {
            auto* box = child<QComboBox>(editor, info.editorName);
            EXPECT_FALSE(box->isEditable());
            QStringList items;
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
            EXPECT_EQ(items, editorValues(info.view)) << info.editorName;
            EXPECT_EQ(box->currentIndex(), 0);
        }
        const RecipePictures pictures;
        for (int n = 2; n <= 15; ++n) {
            auto* rb = child<QRadioButton>(editor, QStringLiteral("RB%1").arg(n));
            EXPECT_EQ(rb->isChecked(), n == 2);
            EXPECT_EQ(rb->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                      pictures.image(n).convertToFormat(QImage::Format_ARGB32))
                << n;
        }
        EXPECT_TRUE(child<QWidget>(editor, "AddBtn")->isVisible());
        EXPECT_FALSE(child<QWidget>(editor, "ModifyBtn")->isVisible());
    });
}

TEST_F(RecipeEditorTest, ANewRecipeWithTheDefaultsIsStoredAndShownInTheTree) {
    withEditor({}, [this](TmyfoodaddForm* editor) {
        setName(editor, "白粥");
        save(editor);
    });
    EXPECT_THAT(stored(),
                ElementsAre("白粥|一般|没分类|没分类|没分类|没分类|不是幼儿园菜谱||否||否|2"));
    EXPECT_EQ(currentRecipeEditor(), nullptr);
    EXPECT_FALSE(child<QTreeWidget>(browser, "tree2")
                     ->findItems("白粥", Qt::MatchExactly | Qt::MatchRecursive)
                     .isEmpty());
}

TEST_F(RecipeEditorTest, EnteredValuesAreStoredWithCrLfLineBreaksAndFlags) {
    withEditor({}, [this](TmyfoodaddForm* editor) {
        setName(editor, "Tom's \"鱼\" -- 汤");
        child<QComboBox>(editor, "AIHAOSB")->setCurrentText("最爱");
        child<QComboBox>(editor, "YEYSB")->setCurrentText("幼儿园午餐");
        child<QComboBox>(editor, "TIMESB")->setCurrentText("午餐");
        child<QComboBox>(editor, "CAISB")->setCurrentText("粤菜");
        child<QComboBox>(editor, "KOUWEISB")->setCurrentText("鲜香");
        child<QComboBox>(editor, "SHICAISB")->setCurrentText("鱼类");
        child<QPlainTextEdit>(editor, "RE1")->setPlainText("鲫鱼\n豆腐");
        child<QRadioButton>(editor, "RB15")->setChecked(true);
        save(editor);
    });
    EXPECT_THAT(stored(), ElementsAre("Tom's \"鱼\" -- 汤|最爱|午餐|粤菜|鲜香|鱼类|幼儿园午餐|"
                                      "鲫鱼\r\n豆腐|是||否|15"));
}

TEST_F(RecipeEditorTest, RefusedNamesKeepTheDialogOpenWithItsInput) {
    addRecipes({{.name = "Pasta"}});
    struct Case {
        QString name;
        QString message;
        MessageIcon icon;
    };
    const Case cases[] = {
        {"", "菜名不能为空！", MessageIcon::Warning},
        {"pASTA", kDuplicate, MessageIcon::Warning},
        {QString(26, u'菜'), kSaveFailed, MessageIcon::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        test.dialogs.clear();
        withEditor({}, [&](TmyfoodaddForm* editor) {
            setName(editor, c.name);
            child<QPlainTextEdit>(editor, "RE2")->setPlainText("做法");
            save(editor);
            EXPECT_EQ(currentRecipeEditor(), editor);
            EXPECT_EQ(child<QLineEdit>(editor, "ed1")->text(), c.name);
            EXPECT_EQ(child<QPlainTextEdit>(editor, "RE2")->toPlainText(), "做法");
            ASSERT_EQ(test.dialogs.messages().size(), 1u);
            EXPECT_EQ(test.dialogs.messages()[0].text, c.message);
            EXPECT_EQ(test.dialogs.messages()[0].caption, "注意");
            EXPECT_EQ(test.dialogs.messages()[0].icon, c.icon);
            // 放弃 after the refusal leaves the table as it was.
            child<QPushButton>(editor, "DelSb")->click();
        });
        EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("Pasta"));
    }
}

TEST_F(RecipeEditorTest, ANameOfBlanksAndOneOfTwentyFiveCharactersAreAccepted) {
    for (const QString& name : {QStringLiteral("   "), QString(25, u'菜')}) {
        withEditor({}, [&](TmyfoodaddForm* editor) {
            setName(editor, name);
            save(editor);
        });
    }
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("   ", QString(25, u'菜')));
}

TEST_F(RecipeEditorTest, ModifyModeChecksTheNameOnlyWhenItChangedExactly) {
    addRecipes({{.name = "Pasta", .favourite = "最爱"}, {.name = "白粥"}});
    struct Case {
        QString newName;
        bool refused;
    };
    const Case cases[] = {{"Pasta", false}, {"PASTA", true}, {"白粥", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newName.toStdString());
        test.dialogs.clear();
        withEditor("Pasta", [&](TmyfoodaddForm* editor) {
            setName(editor, c.newName);
            child<QComboBox>(editor, "AIHAOSB")->setCurrentText("喜爱");
            save(editor);
        });
        EXPECT_EQ(test.dialogs.messageTexts(), c.refused ? QStringList{kDuplicate} : QStringList{});
    }
    EXPECT_THAT(test::storedRecipes(databaseFile(), "菜名,最爱"),
                ElementsAre("Pasta|喜爱", "白粥|一般"));
}

TEST_F(RecipeEditorTest, ModifyingChangesOnlyItsRowAndClearsTheFlagOfAnEmptiedText) {
    addRecipes({{.name = "甲", .cuisine = "外星菜", .ingredients = "米", .ingredientsOn = "是"},
                {.name = "乙", .ingredients = "面", .ingredientsOn = "是"}});
    withEditor("甲", [this](TmyfoodaddForm* editor) {
        EXPECT_EQ(child<QPlainTextEdit>(editor, "RE1")->toPlainText(), "米");
        child<QPlainTextEdit>(editor, "RE1")->clear();
        save(editor);
    });
    EXPECT_THAT(test::storedRecipes(databaseFile(), "菜名,菜系分类,材料,材料1"),
                ElementsAre("甲|||否", "乙|没分类|面|是"));
    selectRecipe(browser, "甲");
    EXPECT_EQ(child<QPlainTextEdit>(browser, "RE1")->toPlainText(), "");
}

TEST_F(RecipeEditorTest, AFailedModificationIsCancelledAndTheNextAttemptSucceeds) {
    addRecipes({{.name = "甲"}, {.name = "乙"}});
    withEditor("甲", [this](TmyfoodaddForm* editor) {
        setName(editor, QString(30, u'长'));
        save(editor);
        EXPECT_EQ(test.dialogs.messageTexts(), QStringList{kSaveFailed});
        setName(editor, "丙");
        save(editor);
    });
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("丙", "乙"));
}

TEST_F(RecipeEditorTest, AMegabyteOfMethodIsStoredWhole) {
    const QString method = QString(1024 * 1024 / 2, u'炖');
    withEditor({}, [&](TmyfoodaddForm* editor) {
        setName(editor, "大锅菜");
        child<QPlainTextEdit>(editor, "RE2")->setPlainText(method);
        save(editor);
    });
    EXPECT_THAT(test::storedRecipes(databaseFile(), "做法"), ElementsAre(method));
}

} // namespace
} // namespace tx
