#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace tx::content {

// One fixed value list of the recipe book and the column that holds its values.
struct RecipeList {
    const char* column;
    QStringList values; // in the order the program shows them
};

// The six lists in the order of the fields of a "菜" line: 最爱, 时间段, 菜系分类,
// 口味分类, 材料分类, 家庭分类.
const QList<RecipeList>& recipeLists();

struct Recipe {
    QString name;
    QStringList categories; // one value per list of recipeLists(), same order
    int simg = 2;
    QString ingredients; // lines joined by CR LF, as the program's editor stores them
    QString method;
    int line = 0;
};

struct RecipeBook {
    QString file;
    QString date; // the update's SYS.日期; empty for the starter collection
    QList<Recipe> recipes;
};

// Reads a recipe source file (format in content/recipes.txt). With dated the file must
// carry one 日期 line, without it none. Every value must be one of its list, simg 2..15,
// names at most 25 characters and unique with Latin letters compared without case.
// Throws SourceError at the first fault.
RecipeBook readRecipes(const QString& path, bool dated);

// Creates myfood with the statements the program's start-up upgrade runs, so the
// table is the same as in a database the program upgraded itself.
void createRecipeTable(sqlite3* db);

// Appends the recipes to myfood; 材料1 and 做法1 say whether the texts are empty.
void insertRecipes(sqlite3* db, const QList<Recipe>& recipes);

// Writes a recipe update database (SYS with the book's date, and myfood) at path; the
// file appears complete or not at all, replacing an older one. Throws
// std::runtime_error on failure.
void writeRecipeUpdate(const RecipeBook& book, const QString& path);

} // namespace tx::content
