#include "recipes/Recipe.h"

namespace tx {

namespace {

QStringList kindergartenList() {
    return {"不是幼儿园菜谱", "幼儿儿童菜谱", "幼儿园早餐",  "幼儿园早点",
            "幼儿园水果",     "幼儿园午餐",   "幼儿园午点",  "幼儿园晚餐",
            "幼儿园夜宵",     "幼儿园加餐",   "幼儿园节日餐"};
}

QStringList favouriteList() {
    return {"最爱", "喜爱", "一般"};
}

QStringList mealTimeList() {
    return {"没分类", "早餐", "早点", "午餐", "午点", "晚餐", "夜宵", "节日菜"};
}

QStringList cuisineList() {
    return {"没分类", "西餐", "瘦身菜谱", "湘菜", "川菜", "家常菜", "鲁菜", "苏菜",
            "粤菜",   "京菜", "浙菜",     "徽菜", "泸菜", "云南菜", "闽菜", "其他"};
}

QStringList tasteList() {
    return {"没分类", "香辣", "咸香", "鲜香", "清香", "咸鲜", "甜香", "香脆",
            "酱香",   "清淡", "香酥", "酸甜", "麻辣", "酸辣", "其他"};
}

QStringList ingredientList() {
    return {"没分类", "牛羊肉", "猪肉", "鸡肉", "海鲜河鲜", "绿叶素菜", "其他素菜",
            "鱼类",   "豆制品", "水果", "点心", "蛋",       "主食",     "其他"};
}

} // namespace

const std::array<RecipeViewInfo, kRecipeViewCount>& recipeViews() {
    static const std::array<RecipeViewInfo, kRecipeViewCount> views{{
        {RecipeView::Kindergarten, "YEYRB", QStringLiteral("幼儿园食谱专版"), "YEYSB",
         QStringLiteral("幼儿园食谱"), QStringLiteral("家庭分类"), kindergartenList()},
        {RecipeView::Favourite, "AIHAORB", QStringLiteral("按我家爱好"), "AIHAOSB",
         QStringLiteral("按我家爱好"), QStringLiteral("最爱"), favouriteList()},
        {RecipeView::MealTime, "TIMERB", QStringLiteral("按餐时间段"), "TIMESB",
         QStringLiteral("按餐时间段"), QStringLiteral("时间段"), mealTimeList()},
        {RecipeView::Cuisine, "CAIRB", QStringLiteral("按菜系属性"), "CAISB",
         QStringLiteral("按菜系属性"), QStringLiteral("菜系分类"), cuisineList()},
        {RecipeView::Taste, "KOUWEIRB", QStringLiteral("按口味属性"), "KOUWEISB",
         QStringLiteral("按口味属性"), QStringLiteral("口味分类"), tasteList()},
        {RecipeView::Ingredient, "SHICAIRB", QStringLiteral("按食材属性"), "SHICAISB",
         QStringLiteral("按食材属性"), QStringLiteral("材料分类"), ingredientList()},
    }};
    return views;
}

const RecipeViewInfo& recipeView(RecipeView view) {
    return recipeViews()[static_cast<size_t>(view)];
}

QStringList editorValues(RecipeView view) {
    if (view == RecipeView::Favourite)
        return {"一般", "最爱", "喜爱"};
    return recipeView(view).values;
}

int recipePicture(const QString& simg) {
    bool ok = false;
    const int n = simg.trimmed().toInt(&ok);
    return ok && n >= kFirstRecipePicture && n <= kLastRecipePicture ? n : kFirstRecipePicture;
}

QString recipeNameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

} // namespace tx
