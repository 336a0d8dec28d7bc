#include "data/UpgradeSchema.h"
#include "DataFixture.h"
#include "data/DatabaseError.h"
#include "data/Tdm.h"
#include "platform/Services.h"

#include <gtest/gtest.h>

using namespace tx;
using namespace tx::test;

namespace {

const QStringList kRecipeColumns = {"菜名 varchar(25)",
                                    "家庭分类 varchar(15)",
                                    "菜系分类 varchar(15)",
                                    "口味分类 varchar(15)",
                                    "材料分类 varchar(15)",
                                    "最爱 varchar(15)",
                                    "时间段 varchar(15)",
                                    "simg varchar(15)",
                                    "属性1 varchar(15)",
                                    "材料1 varchar(15)",
                                    "做法1 varchar(15)",
                                    "图片1 varchar(15)",
                                    "属性 TEXT",
                                    "材料 TEXT",
                                    "做法 TEXT",
                                    "图片 BLOB"};

const QStringList kItemAdded = {"图片 varchar(15)", "PIC BLOB", "课件地址 varchar(150)"};

class Upgrade : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString db = dir.filePath("edusz.mdb");
    Services services;
    std::unique_ptr<Tdm> dm;

    void open(const QStringList& statements) {
        createDatabase(db, statements);
        dm = std::make_unique<Tdm>(services);
        dm->ADOConnection1.open(db);
    }
    QStringList lastColumns(const QString& table, int n) {
        return columnsOf(db, table).mid(columnsOf(db, table).size() - n);
    }
};

} // namespace

TEST_F(Upgrade, OldDatabaseGainsRecipeTableAndItemColumns) {
    open(shippedDatabase(false)
         << "INSERT INTO szSound (字号, 字名, 章节) VALUES (1, '人', '第一章')"
         << "INSERT INTO xsSound (诗号, 诗名, 诗) VALUES (2, '静夜思', '床前明月光\n疑是地上霜')"
         << "INSERT INTO xyySound (语号, 英语名) VALUES (3, 'apple')");
    UpgradeSchema(*dm, "myfood");

    EXPECT_EQ(columnsOf(db, "myfood"), kRecipeColumns);
    EXPECT_EQ(queryColumn(db, "SELECT count(*) FROM myfood"), QVariantList{0});
    for (const char* table : {"szSound", "xsSound", "xyySound"})
        EXPECT_EQ(lastColumns(table, 3), kItemAdded) << table;
    EXPECT_EQ(lastColumns("SYS", 2), (QStringList{"图片 varchar(15)", "PIC BLOB"}));

    // Rows keep their values; the new columns are empty.
    EXPECT_EQ(queryColumn(db, "SELECT 字号 || 字名 || 章节 FROM szSound"),
              QVariantList{"1人第一章"});
    EXPECT_EQ(queryColumn(db, "SELECT 诗 FROM xsSound"), QVariantList{"床前明月光\n疑是地上霜"});
    EXPECT_EQ(queryColumn(db, "SELECT 英语名 FROM xyySound"), QVariantList{"apple"});
    for (const char* table : {"szSound", "xsSound", "xyySound"})
        EXPECT_EQ(queryColumn(db, QString("SELECT count(*) FROM %1 WHERE 图片 IS NULL AND PIC IS "
                                          "NULL AND 课件地址 IS NULL")
                                      .arg(table)),
                  QVariantList{1});
    EXPECT_EQ(queryColumn(db, "SELECT 日期 FROM SYS"), QVariantList{"2004-05-01"});
    EXPECT_EQ(dm->goQuery.sql(), "ALTER table sys   ADD COLUMN PIC  IMAGE  ");
}

TEST_F(Upgrade, RecipeTableWithOnlyItsNameGainsTheOtherFifteen) {
    open(shippedDatabase(true) << "CREATE TABLE myfood (菜名 varchar(25))"
                               << "INSERT INTO myfood VALUES ('红烧肉')");
    UpgradeSchema(*dm, "myfood");
    EXPECT_EQ(columnsOf(db, "myfood"), kRecipeColumns);
    EXPECT_EQ(queryColumn(db, "SELECT 菜名 FROM myfood"), QVariantList{"红烧肉"});
}

TEST_F(Upgrade, SecondRunChangesNothing) {
    open(shippedDatabase(false));
    UpgradeSchema(*dm, "myfood");
    const QString once = schemaText(db);
    UpgradeSchema(*dm, "myfood");
    EXPECT_EQ(schemaText(db), once);
    EXPECT_EQ(dm->goQuery.sql(), "select * from sys  ");
}

TEST_F(Upgrade, ColumnUnderAnotherLetterCaseCountsAsPresent) {
    open(QStringList{"CREATE TABLE ZJ (章号 INTEGER UNIQUE, 章节 TEXT)",
                     "CREATE TABLE szsound (字号 INTEGER UNIQUE, 字名 TEXT, 章节 TEXT, pic BLOB)",
                     "CREATE TABLE xsSound (诗号 INTEGER UNIQUE, Pic BLOB, 图片 TEXT)",
                     "CREATE TABLE XYYSOUND (语号 INTEGER UNIQUE, pIC BLOB, 课件地址 TEXT)",
                     "CREATE TABLE sys (日期 TEXT, pic BLOB)",
                     "CREATE TABLE MYFOOD (菜名 TEXT, SIMG TEXT)"});
    UpgradeSchema(*dm, "myfood");
    EXPECT_EQ(columnsOf(db, "szsound"),
              (QStringList{"字号 INTEGER", "字名 TEXT", "章节 TEXT", "pic BLOB", "图片 varchar(15)",
                           "课件地址 varchar(150)"}));
    EXPECT_EQ(columnsOf(db, "xsSound"),
              (QStringList{"诗号 INTEGER", "Pic BLOB", "图片 TEXT", "课件地址 varchar(150)"}));
    EXPECT_EQ(columnsOf(db, "XYYSOUND"),
              (QStringList{"语号 INTEGER", "pIC BLOB", "课件地址 TEXT", "图片 varchar(15)"}));
    EXPECT_EQ(columnsOf(db, "sys"), (QStringList{"日期 TEXT", "pic BLOB", "图片 varchar(15)"}));
    EXPECT_EQ(columnsOf(db, "MYFOOD").filter("simg", Qt::CaseInsensitive),
              QStringList{"SIMG TEXT"});
}

namespace {

struct MissingTable {
    const char* table;
    QStringList present; // table.column that the steps before the failure added
    QStringList absent;  // table.column of the steps after it
};

const MissingTable kMissing[] = {
    {"szSound", {"myfood.图片"}, {"xsSound.图片", "SYS.图片"}},
    {"xsSound", {"szSound.图片"}, {"xyySound.图片", "szSound.PIC", "SYS.PIC"}},
    {"xyySound", {"xsSound.图片"}, {"szSound.PIC", "szSound.课件地址"}},
    {"SYS", {"szSound.课件地址", "xyySound.课件地址", "xyySound.PIC"}, {}},
};

bool hasColumn(const QString& file, const QString& tableDotColumn) {
    const QStringList parts = tableDotColumn.split('.');
    for (const QString& c : columnsOf(file, parts[0]))
        if (c.section(' ', 0, 0) == parts[1])
            return true;
    return false;
}

} // namespace

TEST_F(Upgrade, MissingShippedTableStopsAtItsStep) {
    for (const MissingTable& m : kMissing) {
        SCOPED_TRACE(m.table);
        QFile::remove(db);
        open(shippedDatabase(false) << QString("DROP TABLE %1").arg(m.table));
        try {
            UpgradeSchema(*dm, "myfood");
            ADD_FAILURE() << "no error";
        } catch (const DatabaseError& e) {
            EXPECT_TRUE(e.message().contains("no such table", Qt::CaseInsensitive))
                << e.message().toStdString();
        }
        for (const QString& c : m.present)
            EXPECT_TRUE(hasColumn(db, c)) << c.toStdString();
        for (const QString& c : m.absent)
            EXPECT_FALSE(hasColumn(db, c)) << c.toStdString();
        dm.reset();
    }
}

TEST_F(Upgrade, TableExistsIgnoresLetterCaseAndSystemTables) {
    open(shippedDatabase(true) << "CREATE VIEW chapters AS SELECT * FROM ZJ");
    const std::pair<const char*, bool> cases[] = {
        {"zj", true},      {"SZSOUND", true},        {"Chapters", true},
        {"myfood", false}, {"sqlite_master", false}, {"ZJ ", false}};
    for (const auto& [name, exists] : cases)
        EXPECT_EQ(TableExists(*dm, name), exists) << name;
    EXPECT_FALSE(dm->ADOConnection1.tableNames().join(',').contains("sqlite_"));
}

TEST_F(Upgrade, EnsureColumnAcceptsOnlyItsTwoWidths) {
    open(shippedDatabase(false));
    EnsureColumn(*dm, "szSound", "课件地址", 150);
    EXPECT_EQ(lastColumns("szSound", 1), QStringList{"课件地址 varchar(150)"});
    EXPECT_THROW(EnsureColumn(*dm, "szSound", "新", 20), std::invalid_argument);
}
