#include "DataFixture.h"
#include "data/DatabaseError.h"
#include "data/Tdm.h"
#include "platform/ExecutableProgramPaths.h"
#include "platform/Services.h"
#include "platform/testing/MemoryRegistryStore.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

using namespace tx;
using namespace tx::test;

namespace {

class Startup : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MemoryRegistryStore registry;
    FixedProgramPaths paths{dir.filePath("tongxue")};
    Services services;
    QString db = dir.filePath("edusz.mdb");

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        services.registry = &registry;
        services.paths = &paths;
    }

    static void expectNothingOpen(const Tdm& dm) {
        EXPECT_FALSE(dm.ADOConnection1.isOpen());
        for (const Dataset* d :
             {static_cast<const Dataset*>(&dm.SYSTable), &dm.ALLQuery, &dm.goQuery, &dm.nameQuery})
            EXPECT_FALSE(d->isOpen()) << d->objectName().toStdString();
    }
};

void writeFile(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct BadFile {
    const char* name;
    std::function<void(const QString&)> make;
    const char* reason;
};

const BadFile kBadFiles[] = {
    {"missing", [](const QString&) {}, "file does not exist"},
    {"empty", [](const QString& f) { writeFile(f, {}); }, "file is empty"},
    {"garbage", [](const QString& f) { writeFile(f, QByteArray("Standard Jet DB").repeated(400)); },
     "file is not a database"},
    {"short header", [](const QString& f) { writeFile(f, QByteArray("SQLite format 3\0", 16)); },
     "file is truncated"},
    {"truncated",
     [](const QString& f) {
         createDatabase(f, shippedDatabase(true) << "INSERT INTO szSound (字号, PIC) VALUES "
                                                    "(1, randomblob(300000))");
         ASSERT_TRUE(QFile::resize(f, QFileInfo(f).size() / 2));
     },
     "file is truncated"},
    {"directory", [](const QString& f) { ASSERT_TRUE(QDir().mkpath(f)); }, "is a directory"},
};

} // namespace

TEST_F(Startup, BadDatabaseFileStopsWithOneReasonLineAndOpensNothing) {
    for (const BadFile& bad : kBadFiles) {
        SCOPED_TRACE(bad.name);
        QFile::remove(db);
        QDir(db).removeRecursively();
        bad.make(db);
        const bool existed = QFileInfo::exists(db);
        Tdm dm(services);
        const QString line = dm.DataModuleCreate();
        EXPECT_TRUE(line.startsWith("tongxue: cannot open database \"" + db + "\": "))
            << line.toStdString();
        EXPECT_TRUE(line.contains(bad.reason)) << line.toStdString();
        EXPECT_FALSE(line.contains('\n'));
        EXPECT_EQ(QFileInfo::exists(db), existed); // opening never creates
        expectNothingOpen(dm);
    }
}

TEST_F(Startup, FileWithoutWriteAccessIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser";
    createDatabase(db, shippedDatabase(true));
    ASSERT_TRUE(QFile::setPermissions(db, QFile::ReadOwner));
    Tdm dm(services);
    EXPECT_TRUE(dm.DataModuleCreate().contains("permission denied"));
    expectNothingOpen(dm);
}

TEST_F(Startup, RegistryThatCannotBeWrittenStopsBeforeTheDatabase) {
    createDatabase(db, shippedDatabase(true));
    registry.refuseOperation(0);
    Tdm dm(services);
    EXPECT_EQ(dm.DataModuleCreate(), "tongxue: cannot write the data source record for EDUqlyx");
    expectNothingOpen(dm);
}

TEST_F(Startup, OpensTheConnectionAndTheBoundDatasetsOnTheirDesignTexts) {
    createDatabase(db, shippedDatabase(true)
                           << "INSERT INTO ZJ VALUES (1, '第一章')"
                           << "INSERT INTO szSound (字号, 章节) VALUES (7, '第一章')");
    Tdm dm(services);
    EXPECT_EQ(dm.objectName(), "dm");
    EXPECT_FALSE(dm.ADOConnection1.isOpen()); // the constructor touches nothing
    ASSERT_EQ(dm.DataModuleCreate(), "");

    EXPECT_EQ(registry.read("Software\\ODBC\\ODBC.INI\\EDUqlyx", "DBQ")->text, db);
    EXPECT_EQ(dm.ADOConnection1.fileName(), db);
    const std::vector<Dataset*> order{&dm.SYSTable, &dm.ALLQuery, &dm.goQuery, &dm.nameQuery};
    EXPECT_EQ(dm.ADOConnection1.boundDatasets(), order);
    for (Dataset* d : order)
        EXPECT_TRUE(d->isOpen()) << d->objectName().toStdString();
    EXPECT_EQ(dm.SYSTable.tableName(), "SYS");
    EXPECT_EQ(dm.SYSTable.fieldByName("日期").asString(), "2004-05-01");
    EXPECT_EQ(dm.ALLQuery.sql(), "select * from ZJ");
    EXPECT_EQ(dm.ALLQuery.fieldByName("章节").asString(), "第一章");
    EXPECT_EQ(dm.goQuery.sql(), "select * from szSound");
    EXPECT_EQ(dm.goQuery.fieldByName("字号").asInteger(), 7);
    EXPECT_EQ(dm.nameQuery.sql(), "select * from ZJ");
    EXPECT_EQ(dm.ALLQueryds.rowCount(), 1);
    EXPECT_EQ(dm.goQueryds.headerData(0, Qt::Horizontal).toString(), "字号");

    dm.SYSTable.first();
    dm.SYSTable.edit();
    dm.SYSTable.fieldByName("日期").setAsString("2005-01-01");
    dm.SYSTable.post();
    EXPECT_EQ(queryColumn(db, "SELECT 日期 FROM SYS"), QVariantList{"2005-01-01"});

    QVariantList mode;
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(dm.ADOConnection1.handle(), "PRAGMA journal_mode", -1, &st, nullptr);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        mode << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    EXPECT_EQ(mode, QVariantList{"wal"});

    dm.DataModuleDestroy();
    expectNothingOpen(dm);
}

TEST_F(Startup, MissingShippedTableAtConnectClosesAgain) {
    createDatabase(db, {"CREATE TABLE ZJ (章号 INTEGER, 章节 TEXT)"});
    Tdm dm(services);
    const QString line = dm.DataModuleCreate();
    EXPECT_TRUE(line.startsWith("tongxue: cannot open database \"" + db + "\": "));
    EXPECT_TRUE(line.contains("no such table")) << line.toStdString();
    expectNothingOpen(dm);
}
