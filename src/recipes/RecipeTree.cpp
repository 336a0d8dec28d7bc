#include "recipes/RecipeTree.h"

#include "data/Dataset.h"
#include "recipes/RecipePictures.h"

#include <QHash>
#include <QTreeWidget>
#include <utility>
#include <vector>

namespace tx {

void fillRecipeTree(QTreeWidget& tree, Dataset& query, RecipeView view,
                    const RecipePictures& pictures) {
    tree.clear();
    const RecipeViewInfo& info = recipeView(view);
    QList<QTreeWidgetItem*> categories;
    QHash<QString, int> byCaption;
    for (const QString& value : info.values) {
        auto* node = new QTreeWidgetItem(QStringList{value});
        node->setIcon(0, pictures.icon(kCategoryPicture));
        node->setData(0, kRecipePictureRole, kCategoryPicture);
        byCaption.insert(value, int(categories.size()));
        categories << node;
    }
    tree.addTopLevelItems(categories);

    query.setSql(kTreeSql);
    query.open();
    // One walk that sorts each row to its node gives every node its recipes in query order.
    Field& group = query.fieldByName(info.column);
    Field& name = query.fieldByName(QStringLiteral("菜名"));
    Field& simg = query.fieldByName(QStringLiteral("simg"));
    std::vector<QList<QTreeWidgetItem*>> children(size_t(categories.size()));
    struct Unplaced {
        std::vector<QList<QTreeWidgetItem*>>& lists;
        ~Unplaced() {
            for (auto& list : lists)
                qDeleteAll(list);
        }
    } unplaced{children};
    for (query.first(); !query.eof(); query.next()) {
        const auto found = byCaption.constFind(group.asString());
        if (found == byCaption.constEnd())
            continue;
        const int picture = recipePicture(simg.asString());
        auto* node = new QTreeWidgetItem(QStringList{name.asString()});
        node->setIcon(0, pictures.icon(picture));
        node->setData(0, kRecipePictureRole, picture);
        children[size_t(*found)] << node;
    }
    for (qsizetype i = 0; i < categories.size(); ++i)
        categories[i]->addChildren(std::exchange(children[size_t(i)], {}));
}

} // namespace tx
