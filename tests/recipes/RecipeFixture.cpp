#include "RecipeFixture.h"

#include "data/DataFixture.h"
#include "data/UpgradeSchema.h"
#include "recipes/RecipeTree.h"
#include "recipes/TmyfoodForm.h"
#include "widgets/WidgetAccessibility.h"

#include <QFile>
#include <QTest>
#include <QTreeWidget>
#include <sqlite3.h>

namespace tx {

namespace test {

namespace {

const char* const kColumns[] = {"菜名",     "最爱", "时间段", "菜系分类", "口味分类", "材料分类",
                                "家庭分类", "材料", "材料1",  "做法",     "做法1",    "simg"};

void bind(sqlite3_stmt* st, int index, const QVariant& value) {
    if (value.isNull()) {
        sqlite3_bind_null(st, index);
    } else {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(st, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
}

} // namespace

void insertRecipes(const QString& file, const std::vector<RecipeRow>& rows) {
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    QStringList names, marks;
    for (const char* c : kColumns) {
        names << QStringLiteral("\"%1\"").arg(QString::fromUtf8(c));
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO myfood (%1) VALUES (%2)")
                               .arg(names.join(','), marks.join(','))
                               .toUtf8();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    for (const RecipeRow& r : rows) {
        const QVariant values[] = {r.name,          r.favourite,  r.mealTime,     r.cuisine,
                                   r.taste,         r.ingredient, r.kindergarten, r.ingredients,
                                   r.ingredientsOn, r.method,     r.methodOn,     r.simg};
        for (int i = 0; i < 12; ++i)
            bind(st, i + 1, values[i]);
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE) << sqlite3_errmsg(db);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QStringList storedRecipes(const QString& file, const QString& columns) {
    QStringList parts;
    for (const QString& c : columns.split(u','))
        parts << QStringLiteral("ifnull(\"%1\",'<null>')").arg(c.trimmed());
    QStringList out;
    for (const QVariant& v :
         queryColumn(file, QStringLiteral("SELECT %1 FROM myfood ORDER BY rowid")
                               .arg(parts.join(QStringLiteral(" || '|' || ")))))
        out << v.toString();
    return out;
}

QString storedDate(const QString& file) {
    const QVariantList dates = queryColumn(file, QStringLiteral("SELECT 日期 FROM SYS"));
    return dates.isEmpty() ? QStringLiteral("<no row>") : dates.first().toString();
}

void createUpdateFile(const QString& file, const QString& date,
                      const std::vector<RecipeRow>& rows) {
    createDatabase(file, {QStringLiteral("CREATE TABLE SYS (日期 TEXT)"),
                          QStringLiteral("INSERT INTO SYS VALUES ('%1')").arg(date),
                          QStringLiteral("CREATE TABLE myfood (菜名 varchar(25), 家庭分类 "
                                         "varchar(15), 菜系分类 varchar(15), 口味分类 "
                                         "varchar(15), 材料分类 varchar(15), 最爱 varchar(15), "
                                         "时间段 varchar(15), simg varchar(15), 属性1 text, 材料1 "
                                         "varchar(15), 做法1 varchar(15), 图片1 text, 属性 text, "
                                         "材料 text, 做法 text, 图片 blob)")});
    insertRecipes(file, rows);
}

QStringList treeLines(const QTreeWidget& tree) {
    QStringList lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* category = tree.topLevelItem(i);
        lines << QStringLiteral("%1[%2]").arg(category->text(0),
                                              category->data(0, kRecipePictureRole).toString());
        for (int j = 0; j < category->childCount(); ++j) {
            const QTreeWidgetItem* recipe = category->child(j);
            lines << QStringLiteral("  %1[%2]")
                         .arg(recipe->text(0), recipe->data(0, kRecipePictureRole).toString());
        }
    }
    return lines;
}

} // namespace test

RecipeFixture::RecipeFixture() {
    installWidgetAccessibility();
    test.paths.setExecutablePath(folder() + QStringLiteral("tongxue"));
    test::createDatabase(databaseFile(), test::shippedDatabase(true));
    dm = std::make_unique<Tdm>(services);
    services.dm = dm.get();
    const QString failure = dm->DataModuleCreate();
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
    UpgradeSchema(*dm, QStringLiteral("myfood"));
}

RecipeFixture::~RecipeFixture() {
    delete browser.data();
    dm.reset();
}

TmyfoodForm* RecipeFixture::openBrowser() {
    browser = new TmyfoodForm(services);
    browser->show();
    return browser;
}

void RecipeFixture::selectRecipe(TmyfoodForm* form, const QString& name) {
    auto* tree = child<QTreeWidget>(form, QStringLiteral("tree2"));
    const QList<QTreeWidgetItem*> found =
        tree->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive);
    for (QTreeWidgetItem* item : found)
        if (item->parent() != nullptr) {
            tree->scrollToItem(item);
            const QRect place = tree->visualItemRect(item);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
            return;
        }
    ADD_FAILURE() << "no recipe node " << name.toStdString();
}

} // namespace tx
