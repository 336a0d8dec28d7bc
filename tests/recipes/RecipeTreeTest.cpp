#include "RecipeFixture.h"

#include "data/Dataset.h"
#include "recipes/Recipe.h"
#include "recipes/TmyfoodForm.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace tx {
namespace {

using ::testing::ElementsAreArray;

// Every category of a list as tree lines, each followed by the recipes given for it.
QStringList categoriesWith(RecipeView view, const std::map<QString, QStringList>& recipes = {}) {
    QStringList lines;
    for (const QString& value : recipeView(view).values) {
        lines << value + QStringLiteral("[1]");
        if (auto found = recipes.find(value); found != recipes.end())
            for (const QString& r : found->second)
                lines << QStringLiteral("  ") + r;
    }
    return lines;
}

class RecipeTreeTest : public RecipeFixture {
protected:
    QStringList treeFor(RecipeView view) {
        if (!browser)
            openBrowser();
        QTest::mouseClick(child<QRadioButton>(browser, recipeView(view).radioName), Qt::LeftButton);
        return test::treeLines(*child<QTreeWidget>(browser, QStringLiteral("tree2")));
    }
};

TEST_F(RecipeTreeTest, ListsHoldTheirValuesInOrder) {
    const QStringList counts[] = {{"不是幼儿园菜谱", "幼儿园节日餐"},
                                  {"最爱", "一般"},
                                  {"没分类", "节日菜"},
                                  {"没分类", "其他"},
                                  {"没分类", "其他"},
                                  {"没分类", "其他"}};
    const int sizes[] = {11, 3, 8, 16, 15, 14};
    for (int i = 0; i < kRecipeViewCount; ++i) {
        const QStringList& values = recipeViews()[size_t(i)].values;
        EXPECT_EQ(values.size(), sizes[i]) << i;
        EXPECT_EQ(values.first(), counts[i].first());
        EXPECT_EQ(values.last(), counts[i].last());
        for (const QString& v : values)
            EXPECT_LE(v.size(), 15);
    }
    EXPECT_EQ(recipeView(RecipeView::Favourite).values, QStringList({"最爱", "喜爱", "一般"}));
    EXPECT_EQ(editorValues(RecipeView::Favourite), QStringList({"一般", "最爱", "喜爱"}));
}

TEST_F(RecipeTreeTest, EmptyTableShowsEveryCategoryOfEveryView) {
    for (const RecipeViewInfo& info : recipeViews()) {
        SCOPED_TRACE(info.radioName);
        EXPECT_THAT(treeFor(info.view), ElementsAreArray(categoriesWith(info.view)));
    }
}

TEST_F(RecipeTreeTest, OpensOnTheFavouriteViewAndLeavesTheQueryOpenOnTheRecipes) {
    addRecipes({{.name = "番茄炒蛋", .favourite = "最爱", .simg = "7"}});
    openBrowser();
    EXPECT_TRUE(child<QRadioButton>(browser, "AIHAORB")->isChecked());
    EXPECT_THAT(
        test::treeLines(*child<QTreeWidget>(browser, "tree2")),
        ElementsAreArray(categoriesWith(RecipeView::Favourite, {{"最爱", {"番茄炒蛋[7]"}}})));
    EXPECT_TRUE(dm->goQuery.isOpen());
    EXPECT_EQ(dm->goQuery.sql(), "select * from  myfood  ");
}

// Each row: the stored values of one recipe and where each view shows it.
TEST_F(RecipeTreeTest, RecipesSitUnderExactlyTheirListedValues) {
    addRecipes({
        {.name = "蒸鸡蛋羹",
         .favourite = "最爱",
         .mealTime = "早餐",
         .cuisine = "家常菜",
         .taste = "咸鲜",
         .ingredient = "蛋",
         .kindergarten = "幼儿园早餐",
         .simg = "7"},
        // Outside every list: trailing blank, empty, null, other letter case, unknown.
        {.name = "Pasta",
         .favourite = "最爱 ",
         .mealTime = "",
         .cuisine = QVariant(),
         .taste = "其它",
         .ingredient = "主食",
         .kindergarten = "幼儿园早餐",
         .simg = "3"},
        {.name = "清炒菠菜",
         .favourite = "最爱",
         .mealTime = "午餐",
         .cuisine = "家常菜",
         .taste = "清淡",
         .ingredient = "绿叶素菜",
         .kindergarten = "幼儿园午餐",
         .simg = "11"},
    });
    const std::pair<RecipeView, std::map<QString, QStringList>> expected[] = {
        {RecipeView::Favourite, {{"最爱", {"蒸鸡蛋羹[7]", "清炒菠菜[11]"}}}},
        {RecipeView::MealTime, {{"早餐", {"蒸鸡蛋羹[7]"}}, {"午餐", {"清炒菠菜[11]"}}}},
        {RecipeView::Cuisine, {{"家常菜", {"蒸鸡蛋羹[7]", "清炒菠菜[11]"}}}},
        {RecipeView::Taste, {{"咸鲜", {"蒸鸡蛋羹[7]"}}, {"清淡", {"清炒菠菜[11]"}}}},
        {RecipeView::Ingredient,
         {{"蛋", {"蒸鸡蛋羹[7]"}}, {"主食", {"Pasta[3]"}}, {"绿叶素菜", {"清炒菠菜[11]"}}}},
        {RecipeView::Kindergarten,
         {{"幼儿园早餐", {"蒸鸡蛋羹[7]", "Pasta[3]"}}, {"幼儿园午餐", {"清炒菠菜[11]"}}}},
    };
    for (const auto& [view, recipes] : expected) {
        SCOPED_TRACE(recipeView(view).radioName);
        EXPECT_THAT(treeFor(view), ElementsAreArray(categoriesWith(view, recipes)));
    }
}

TEST_F(RecipeTreeTest, RecipesOfOneValueComeInTheQuerysOrder) {
    addRecipes({{.name = "乙", .cuisine = "西餐"},
                {.name = "甲", .cuisine = "西餐"},
                {.name = "丙", .cuisine = "西餐"},
                {.name = "丁"}});
    EXPECT_THAT(
        treeFor(RecipeView::Cuisine),
        ElementsAreArray(categoriesWith(
            RecipeView::Cuisine, {{"没分类", {"丁[2]"}}, {"西餐", {"乙[2]", "甲[2]", "丙[2]"}}})));
}

TEST_F(RecipeTreeTest, PictureNumbersOutsideTwoToFifteenDrawPictureTwo) {
    const std::pair<QVariant, int> cases[] = {
        {"2", 2},  {"9", 9}, {"15", 15},      {"0", 2},   {"1", 2},
        {"16", 2}, {"", 2},  {QVariant(), 2}, {"abc", 2}, {" 5", 5},
    };
    std::vector<RecipeRow> rows;
    QStringList expected;
    int n = 0;
    for (const auto& [simg, picture] : cases) {
        const QString name = QStringLiteral("菜%1").arg(++n);
        rows.push_back({.name = name, .favourite = "喜爱", .simg = simg});
        expected << QStringLiteral("%1[%2]").arg(name).arg(picture);
    }
    addRecipes(rows);
    EXPECT_THAT(treeFor(RecipeView::Favourite),
                ElementsAreArray(categoriesWith(RecipeView::Favourite, {{"喜爱", expected}})));
    for (const QTreeWidgetItem* item : child<QTreeWidget>(browser, "tree2")
                                           ->findItems("", Qt::MatchContains | Qt::MatchRecursive))
        EXPECT_FALSE(item->icon(0).isNull()) << item->text(0).toStdString();
}

TEST_F(RecipeTreeTest, SwitchingTheViewEmptiesTheDetailsAndDropsTheSelection) {
    addRecipes({{.name = "红烧肉",
                 .favourite = "最爱",
                 .ingredients = "五花肉",
                 .ingredientsOn = "是",
                 .method = "慢炖",
                 .methodOn = "是"}});
    openBrowser();
    selectRecipe(browser, "红烧肉");
    ASSERT_EQ(child<QLabel>(browser, "CAIPL")->text(), "红烧肉");
    treeFor(RecipeView::Taste);
    auto* tree = child<QTreeWidget>(browser, "tree2");
    EXPECT_TRUE(tree->selectedItems().isEmpty());
    EXPECT_EQ(child<QLabel>(browser, "CAIPL")->text(), "");
    EXPECT_EQ(child<QPlainTextEdit>(browser, "RE1")->toPlainText(), "");
    EXPECT_EQ(child<QPlainTextEdit>(browser, "RE2")->toPlainText(), "");
    EXPECT_TRUE(child<QRadioButton>(browser, "KOUWEIRB")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(browser, "AIHAORB")->isChecked());
}

TEST_F(RecipeTreeTest, AFailingQueryLeavesTheCategoriesAndRaises) {
    openBrowser();
    dm->goQuery.close();
    dm->ADOConnection1.execute(QStringLiteral("DROP TABLE myfood"));
    EXPECT_ANY_THROW(browser->BuildRecipeTree());
    EXPECT_THAT(test::treeLines(*child<QTreeWidget>(browser, "tree2")),
                ElementsAreArray(categoriesWith(RecipeView::Favourite)));
}

TEST_F(RecipeTreeTest, TreeShowsItsCaptionsReadOnlyWithItsLookAndHint) {
    openBrowser();
    auto* tree = child<QTreeWidget>(browser, "tree2");
    EXPECT_EQ(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(tree->indentation(), 19);
    EXPECT_EQ(tree->font().pixelSize(), 14);
    EXPECT_EQ(tree->toolTip(), "请先选择 [菜] 名称 进行操作");
    EXPECT_EQ(browser->windowTitle(), "幼儿园食谱专版+幼儿菜谱专版+家庭菜谱");
    for (const RecipeViewInfo& info : recipeViews())
        EXPECT_EQ(child<QRadioButton>(browser, info.radioName)->text(), info.caption);
}

} // namespace
} // namespace tx
