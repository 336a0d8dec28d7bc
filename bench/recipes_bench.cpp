// Recipe tree build and recipe import on large recipe tables.
#include "data/Connection.h"
#include "data/Dataset.h"
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "data/Transaction.h"
#include "data/UpgradeSchema.h"
#include "platform/Services.h"
#include "recipes/RecipeImport.h"
#include "recipes/RecipePictures.h"
#include "recipes/RecipeText.h"
#include "recipes/RecipeTree.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>

namespace {

const QString kCategories[] = {"最爱", "喜爱", "一般"};

void exec(sqlite3* db, const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        fprintf(stderr, "%s: %s\n", qPrintable(sql), error);
        std::exit(1);
    }
}

// count recipes named prefix + number, spread over the lists, with short texts.
void insertRecipes(sqlite3* db, int count, const QString& prefix) {
    exec(db, "BEGIN");
    for (int i = 0; i < count; ++i)
        exec(db, QString("INSERT INTO myfood (菜名, 最爱, 时间段, 菜系分类, 口味分类, 材料分类, "
                         "家庭分类, 材料, 材料1, 做法, 做法1, simg) VALUES ('%1%2', '%3', '午餐', "
                         "'家常菜', '咸鲜', '猪肉', '幼儿园午餐', '猪肉200克\r\n青菜', '是', "
                         "'切块\r\n炒熟', '是', '%4')")
                     .arg(prefix)
                     .arg(i)
                     .arg(kCategories[i % 3])
                     .arg(2 + i % 14));
    exec(db, "COMMIT");
}

sqlite3* openFile(const QString& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    return db;
}

// A content database with an upgraded recipe table of count recipes.
struct Content {
    explicit Content(int count) {
        file = dir.filePath("edusz.mdb");
        sqlite3* db = openFile(file);
        for (const QString& sql : tx::shippedSchemaStatements(true))
            exec(db, sql);
        exec(db, "INSERT INTO SYS (日期) VALUES ('2004-05-01')");
        sqlite3_close(db);
        dm = std::make_unique<tx::Tdm>(services);
        dm->ADOConnection1.open(file);
        dm->SYSTable.open();
        tx::UpgradeSchema(*dm, "myfood");
        dm->goQuery.close();
        db = openFile(file);
        insertRecipes(db, count, "Recipe");
        sqlite3_close(db);
    }
    QTemporaryDir dir;
    QString file;
    tx::Services services;
    std::unique_ptr<tx::Tdm> dm;
};

void BM_BuildRecipeTree(benchmark::State& state) {
    Content content(int(state.range(0)));
    const tx::RecipePictures pictures;
    QTreeWidget tree;
    for (auto _ : state)
        tx::fillRecipeTree(tree, content.dm->goQuery, tx::RecipeView::Favourite, pictures);
    int recipes = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        recipes += tree.topLevelItem(i)->childCount();
    if (recipes != state.range(0))
        state.SkipWithError("the tree lost recipes");
}
BENCHMARK(BM_BuildRecipeTree)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

// An update file of 3000 recipes; every tenth has the name of a stored one in other case.
struct Update {
    Update() {
        file = dir.filePath("qmtfood.mdb");
        sqlite3* db = openFile(file);
        exec(db, "CREATE TABLE SYS (日期 TEXT)");
        exec(db, "INSERT INTO SYS VALUES ('2030-05-01')");
        exec(db, "CREATE TABLE myfood (菜名 varchar(25), 家庭分类 varchar(15), 菜系分类 "
                 "varchar(15), 口味分类 varchar(15), 材料分类 varchar(15), 最爱 varchar(15), "
                 "时间段 varchar(15), simg varchar(15), 属性1 text, 材料1 varchar(15), 做法1 "
                 "varchar(15), 图片1 text, 属性 text, 材料 text, 做法 text, 图片 blob)");
        insertRecipes(db, 3000, "New");
        exec(db, "UPDATE myfood SET 菜名 = 'RECIPE' || substr(菜名, 4) WHERE rowid % 10 = 0");
        sqlite3_close(db);
        connection.openReadOnly(file);
    }
    QTemporaryDir dir;
    QString file;
    tx::Connection connection;
};

constexpr int kStored = 3000;

// What the import would copy, and how many rows the content holds afterwards.
void check(benchmark::State& state, tx::Tdm& dm) {
    tx::Dataset count(dm.ADOConnection1, "select * from myfood");
    count.open();
    if (count.recordCount() != kStored + 2700)
        state.SkipWithError("the import copied a wrong number of recipes");
}

void restore(tx::Tdm& dm) {
    dm.goQuery.close();
    dm.ADOConnection1.execute(QString("DELETE FROM myfood WHERE rowid > %1").arg(kStored));
}

void BM_ImportRecipes(benchmark::State& state) {
    Content content(kStored);
    Update update;
    tx::Tdm& dm = *content.dm;
    tx::Dataset source(update.connection, "select * from myfood ");
    for (auto _ : state) {
        tx::Transaction transaction(dm.ADOConnection1);
        dm.goQuery.setSql(tx::kTreeSql);
        dm.goQuery.open();
        source.open();
        tx::importNewRecipes(dm.goQuery, source);
        transaction.commit();
        dm.goQuery.close();
        dm.goQuery.open();
        state.PauseTiming();
        check(state, dm);
        restore(dm);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportRecipes)->Unit(benchmark::kMillisecond);

// The reference: find each update recipe by a walk of the table, copy it, post it on its
// own and re-read the whole table before the next one.
void BM_ImportRecipesRereadingPerRecipe(benchmark::State& state) {
    Content content(kStored);
    Update update;
    tx::Tdm& dm = *content.dm;
    tx::Dataset source(update.connection, "select * from myfood ");
    for (auto _ : state) {
        dm.goQuery.setSql(tx::kTreeSql);
        dm.goQuery.open();
        source.open();
        for (source.first(); !source.eof(); source.next()) {
            const tx::Recipe recipe = tx::readRecipe(source);
            if (dm.goQuery.locate("菜名", recipe.name))
                continue;
            dm.goQuery.append();
            tx::writeRecipe(dm.goQuery, recipe);
            dm.goQuery.post();
            dm.goQuery.close();
            dm.goQuery.open();
        }
        state.PauseTiming();
        check(state, dm);
        restore(dm);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportRecipesRereadingPerRecipe)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
