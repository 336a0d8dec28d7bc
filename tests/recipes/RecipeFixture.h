#pragma once

#include "data/Tdm.h"
#include "platform/testing/TestServices.h"
#include "recipes/TmyfoodForm.h"

#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <gmock/gmock.h>

#include <memory>
#include <ostream>
#include <vector>

class QTreeWidget;

// Readable failures: texts print as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tx {

// One stored recipe; a null QVariant stores null.
struct RecipeRow {
    QVariant name{};
    QVariant favourite = QStringLiteral("一般");
    QVariant mealTime = QStringLiteral("没分类");
    QVariant cuisine = QStringLiteral("没分类");
    QVariant taste = QStringLiteral("没分类");
    QVariant ingredient = QStringLiteral("没分类");
    QVariant kindergarten = QStringLiteral("不是幼儿园菜谱");
    QVariant ingredients{};
    QVariant ingredientsOn = QStringLiteral("否");
    QVariant method{};
    QVariant methodOn = QStringLiteral("否");
    QVariant simg = QStringLiteral("2");
};

namespace test {

// Appends rows to table myfood of a database file, bypassing the program's engine.
void insertRecipes(const QString& file, const std::vector<RecipeRow>& rows);
// Column values of myfood in table order, each row's values joined by '|'.
QStringList storedRecipes(const QString& file, const QString& columns = QStringLiteral("菜名"));
QString storedDate(const QString& file);
// An update file: SYS with one date and a myfood table holding rows.
void createUpdateFile(const QString& file, const QString& date, const std::vector<RecipeRow>& rows);
// The tree as lines: a category "name[picture]", a recipe "  name[picture]".
QStringList treeLines(const QTreeWidget& tree);

} // namespace test

// A program folder in a temporary directory with an upgraded content database, the
// data module connected to it and every platform service a test double.
class RecipeFixture : public ::testing::Test {
protected:
    RecipeFixture();
    ~RecipeFixture() override;

    QString folder() const { return dir.path() + u'/'; }
    QString databaseFile() const { return folder() + QStringLiteral("edusz.mdb"); }
    void addRecipes(const std::vector<RecipeRow>& rows) {
        test::insertRecipes(databaseFile(), rows);
    }
    // A shown recipe browser (its tree built).
    TmyfoodForm* openBrowser();
    template <typename T = QWidget> T* child(QWidget* form, const QString& name) {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    // Clicks the recipe node of that name (the first found).
    void selectRecipe(TmyfoodForm* form, const QString& name);

    QTemporaryDir dir;
    TestServices test;
    Services& services = test.services;
    std::unique_ptr<Tdm> dm;
    QPointer<TmyfoodForm> browser;
};

} // namespace tx
