#pragma once

#include "recipes/Recipe.h"

class QTreeWidget;

namespace tx {

class Dataset;
class RecipePictures;

// Item data role of a tree node holding its picture number (1 for a category).
inline constexpr int kRecipePictureRole = 0x0100 + 1;

// Fills the tree with the view's categories in list order and, under each, the recipes
// whose grouping column equals the category exactly, in the order the query returns
// them. Leaves query open on the recipe table. When the query fails the categories stay
// without recipes and the error is raised.
void fillRecipeTree(QTreeWidget& tree, Dataset& query, RecipeView view,
                    const RecipePictures& pictures);

} // namespace tx
