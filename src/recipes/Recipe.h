#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace tx {

// One row of table myfood, as the recipe book reads and writes it.
struct Recipe {
    QString name;          // 菜名
    QString favourite;     // 最爱
    QString mealTime;      // 时间段
    QString cuisine;       // 菜系分类
    QString taste;         // 口味分类
    QString ingredient;    // 材料分类
    QString kindergarten;  // 家庭分类
    QString ingredients;   // 材料
    QString ingredientsOn; // 材料1
    QString method;        // 做法
    QString methodOn;      // 做法1
    int picture = 2;       // simg
};

// The six groupings the tree can show, in the order the browser tests its radio buttons.
enum class RecipeView { Kindergarten, Favourite, MealTime, Cuisine, Taste, Ingredient };

struct RecipeViewInfo {
    RecipeView view;
    const char* radioName;  // the browser's radio button
    QString caption;        // its caption
    const char* editorName; // the editor's drop-down list
    QString editorCaption;  // the label above that list
    QString column;         // the grouping column of myfood
    QStringList values;     // the list, in tree order
};

inline constexpr int kRecipeViewCount = 6;
const std::array<RecipeViewInfo, kRecipeViewCount>& recipeViews();
const RecipeViewInfo& recipeView(RecipeView view);
// The editor offers the favourite levels in another order than the tree.
QStringList editorValues(RecipeView view);

inline constexpr int kCategoryPicture = 1;
inline constexpr int kFirstRecipePicture = 2;
inline constexpr int kLastRecipePicture = 15;
inline constexpr int kRecipeNameColumnWidth = 25;

// The stored simg text as a picture number; anything that is not a whole number from 2
// to 15 (empty, 0, 1, 16, text) is drawn and edited as picture 2.
int recipePicture(const QString& simg);

// The key under which names count as equal: Latin letters folded, everything else kept,
// as the engine's case-blind comparison does.
QString recipeNameKey(const QString& name);

// Texts and flags of myfood.
inline const QString kRecipeTable = QStringLiteral("myfood");
inline const QString kTreeSql = QStringLiteral("select * from  myfood  ");
inline const QString kYes = QStringLiteral("是");
inline const QString kNo = QStringLiteral("否");

} // namespace tx
