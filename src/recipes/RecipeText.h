#pragma once

#include <QString>

namespace tx {

class Dataset;
struct Recipe;

// The document the export writes and the print prints: LF LF "菜资料->" name, four LF,
// "1.材 料->" two LF, the ingredients, four LF, "2.做 法->" two LF, the method.
QString recipeDocumentText(const QString& name, const QString& ingredients, const QString& method);

// A memo as the text boxes show it (CR LF and lone CR become LF), and back as stored.
QString memoForDisplay(const QString& memo);
QString memoForStorage(const QString& text);

// The current row of a myfood result.
Recipe readRecipe(Dataset& query);
// Writes the columns the recipe book owns, in the order the editor and the import set
// them, into the pending row.
void writeRecipe(Dataset& query, const Recipe& recipe);

} // namespace tx
