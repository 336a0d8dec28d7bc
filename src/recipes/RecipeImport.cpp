#include "recipes/RecipeImport.h"

#include "data/Dataset.h"
#include "recipes/Recipe.h"
#include "recipes/RecipeText.h"

#include <QSet>

namespace tx {

int importNewRecipes(Dataset& target, Dataset& source) {
    const QString nameColumn = QStringLiteral("菜名");
    QSet<QString> present;
    Field& existing = target.fieldByName(nameColumn);
    for (target.first(); !target.eof(); target.next())
        present.insert(recipeNameKey(existing.asString()));
    int appended = 0;
    for (source.first(); !source.eof(); source.next()) {
        const Recipe recipe = readRecipe(source);
        const QString key = recipeNameKey(recipe.name);
        if (present.contains(key))
            continue;
        target.append();
        writeRecipe(target, recipe);
        target.post();
        present.insert(key);
        ++appended;
    }
    return appended;
}

} // namespace tx
