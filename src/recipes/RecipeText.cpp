#include "recipes/RecipeText.h"

#include "data/Dataset.h"
#include "recipes/Recipe.h"

namespace tx {

QString recipeDocumentText(const QString& name, const QString& ingredients, const QString& method) {
    return QStringLiteral("\n\n菜资料->") + name + QStringLiteral("\n\n\n\n1.材 料->\n\n") +
           ingredients + QStringLiteral("\n\n\n\n2.做 法->\n\n") + method;
}

QString memoForDisplay(const QString& memo) {
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString memoForStorage(const QString& text) {
    QString memo = memoForDisplay(text);
    memo.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return memo;
}

Recipe readRecipe(Dataset& query) {
    const auto text = [&query](const char* column) {
        return query.fieldByName(QString::fromUtf8(column)).asString();
    };
    Recipe r;
    r.name = text("菜名");
    r.favourite = text("最爱");
    r.mealTime = text("时间段");
    r.cuisine = text("菜系分类");
    r.taste = text("口味分类");
    r.ingredient = text("材料分类");
    r.kindergarten = text("家庭分类");
    r.ingredients = text("材料");
    r.ingredientsOn = text("材料1");
    r.method = text("做法");
    r.methodOn = text("做法1");
    r.picture = recipePicture(text("simg"));
    return r;
}

void writeRecipe(Dataset& query, const Recipe& r) {
    const auto set = [&query](const char* column, const QString& value) {
        query.fieldByName(QString::fromUtf8(column)).setAsString(value);
    };
    set("菜名", r.name);
    set("最爱", r.favourite);
    set("时间段", r.mealTime);
    set("菜系分类", r.cuisine);
    set("口味分类", r.taste);
    set("材料分类", r.ingredient);
    set("家庭分类", r.kindergarten);
    set("材料", r.ingredients);
    set("材料1", r.ingredientsOn);
    set("做法", r.method);
    set("做法1", r.methodOn);
    query.fieldByName(QStringLiteral("simg")).setAsInteger(r.picture);
}

} // namespace tx
