#include "DataFixture.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace tx;
using namespace tx::test;

namespace {

// Errors that reached the program-wide report (this test's application stands in for it).
QStringList g_reported;

class ReportingApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QCoreApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            g_reported << QString::fromUtf8(e.what());
            return false;
        }
    }
};

class EngineTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString db = dir.filePath("edusz.mdb");
    Connection connection;
    Dataset items{connection};

    void create(const QStringList& rows) { createDatabase(db, shippedDatabase(true) + rows); }
    void openWith(const QStringList& rows) {
        create(rows);
        connection.open(db);
    }
    static QString item(int number, const QString& name, const QString& chapter = "第一章") {
        return QString("INSERT INTO szSound (字号, 字名, 章节, 图片) VALUES (%1, '%2', '%3', '有')")
            .arg(number)
            .arg(name, chapter);
    }
    QStringList names(Dataset& ds) {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.fieldByName("字名").asString();
        return out;
    }
    QStringList stored(const QString& sql) {
        QStringList out;
        for (const QVariant& v : queryColumn(db, sql))
            out << v.toString();
        return out;
    }
    QByteArray fileBytes(const QString& f) {
        QFile file(f);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// A function that raises for one value, to make a step fail in the middle of a walk.
void failOnThree(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_int(argv[0]) == 3)
        sqlite3_result_error(context, "damaged page", -1);
    else
        sqlite3_result_int(context, 1);
}

} // namespace

TEST_F(EngineTest, OpenReportsTheStatementsErrorAndAFailedWalkLeavesNoPartialResult) {
    openWith({item(1, "一"), item(2, "二"), item(3, "三"), item(4, "四")});
    items.setSql("select * from noSuchTable");
    EXPECT_THROW(items.open(), DatabaseError);
    EXPECT_FALSE(items.isOpen());

    ASSERT_EQ(sqlite3_create_function(connection.handle(), "fails_on_three", 1, SQLITE_UTF8,
                                      nullptr, failOnThree, nullptr, nullptr),
              SQLITE_OK);
    items.setSql("select * from szSound where fails_on_three(字号) order by 字号");
    EXPECT_THROW(items.open(), DatabaseError);
    EXPECT_TRUE(items.failure().contains("damaged page")) << items.failure().toStdString();
    // Two rows were read before the failure; none may be seen as the whole chapter.
    EXPECT_THROW(items.eof(), DatabaseError);
    EXPECT_THROW(items.recordCount(), DatabaseError);
    EXPECT_THROW(items.fieldByName("字名"), DatabaseError);
    EXPECT_THROW(items.locate("字名", "一"), DatabaseError);

    items.setSql("select * from szSound order by 字号");
    items.open();
    EXPECT_EQ(names(items), QStringList({"一", "二", "三", "四"}));
}

TEST_F(EngineTest, WalkingRowsReadsNoPictureBytesAndAPictureIsReadWhenAsked) {
    const int kPicture = 6 * 1024 * 1024;
    QStringList rows;
    for (int i = 1; i <= 5; ++i)
        rows << item(i, QString::number(i)) + QString(";UPDATE szSound SET PIC = CAST(zeroblob(%1) "
                                                      "|| x'%2' AS BLOB), 课件地址 = 'a%3.swf' "
                                                      "WHERE 字号 = %3")
                                                  .arg(kPicture)
                                                  .arg(i, 2, 10, QChar('0'))
                                                  .arg(i);
    openWith(rows);

    sqlite3_int64 current = 0, highest = 0;
    sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &highest, 1);
    items.setSql("select * from szSound where 章节=:zzj order by 字号");
    items.setParam("zzj", "第一章");
    items.open();
    QStringList addresses;
    for (items.first(); !items.eof(); items.next())
        addresses << items.fieldByName("课件地址").asString();
    EXPECT_EQ(names(items), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(addresses, QStringList({"a1.swf", "a2.swf", "a3.swf", "a4.swf", "a5.swf"}));
    sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &highest, 0);
    sqlite3_int64 walked = highest;
    EXPECT_LT(walked, kPicture / 2) << "picture bytes were read while walking";

    ASSERT_TRUE(items.locate("字名", "4"));
    const QByteArray picture = items.fieldByName("PIC").asBytes();
    ASSERT_EQ(picture.size(), kPicture + 1);
    EXPECT_EQ(picture.back(), '\x04');
    EXPECT_EQ(picture.count('\0'), kPicture);
}

TEST_F(EngineTest, AFieldKeptAcrossAReopenReadsTheNewResultOrFailsClearly) {
    openWith({item(1, "一"), item(2, "二")});
    items.setSql("select * from szSound order by 字号");
    items.open();
    Field& name = items.fieldByName("字名");
    Field& picture = items.fieldByName("PIC");

    items.close();
    EXPECT_THROW(name.asString(), DatabaseError);
    EXPECT_THROW(name.setAsString("x"), DatabaseError);

    items.setSql("select 字号, 字名 from szSound order by 字号 desc");
    items.open();
    EXPECT_EQ(name.asString(), "二");
    EXPECT_THROW(picture.asBytes(), DatabaseError);
    EXPECT_EQ(&items.fieldByName("字名"), &name);

    items.setSql("select * from szSound order by 字号");
    items.open();
    EXPECT_EQ(name.asString(), "一");
    EXPECT_TRUE(picture.asBytes().isEmpty());
}

TEST_F(EngineTest, ReadOnlyConnectionLeavesTheFileAndItsFolderAsTheyWere) {
    const QString folder = dir.filePath("download");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString update = folder + "/qmtfood.mdb";
    createDatabase(update,
                   {"PRAGMA journal_mode=WAL", "CREATE TABLE myfood (菜名 TEXT, 材料 TEXT)",
                    "INSERT INTO myfood VALUES ('Diy水果沙拉', '苹果')",
                    "CREATE TABLE SYS (日期 TEXT)", "INSERT INTO SYS VALUES ('2026-12-01')"});
    ASSERT_TRUE(QFile::setPermissions(update, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray before = fileBytes(update);
    const QStringList listing = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

    {
        Connection second;
        second.openReadOnly(update);
        EXPECT_TRUE(second.isReadOnly());
        Dataset food(second, "select * from myfood");
        food.open();
        EXPECT_EQ(food.fieldByName("菜名").asString(), "Diy水果沙拉");
        food.edit();
        food.fieldByName("材料").setAsString("香蕉");
        EXPECT_THROW(food.post(), DatabaseError);
        food.cancel();
        EXPECT_THROW(second.execute("DELETE FROM myfood"), DatabaseError);
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), listing);
    }
    EXPECT_EQ(fileBytes(update), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), listing);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // The first connection is not disturbed by a bad second file.
    openWith({item(1, "一")});
    const QString garbage = dir.filePath("garbage.mdb");
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    for (const QString& bad : {garbage, dir.filePath("missing.mdb"), QString(folder)}) {
        Connection second;
        EXPECT_THROW(second.openReadOnly(bad), DatabaseError) << bad.toStdString();
        EXPECT_FALSE(second.isOpen());
    }
    items.setSql("select * from szSound");
    items.open();
    EXPECT_EQ(names(items), QStringList({"一"}));
}

TEST_F(EngineTest, AWriteAheadLogLeftByACrashIsRecoveredAtOpen) {
    // A crash in the middle of a checkpoint leaves a header that promises pages the
    // file does not have yet; they are still in the log.
    const QString live = dir.filePath("live.mdb");
    createDatabase(live, shippedDatabase(true));
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(live).constData(), &writer), SQLITE_OK);
    sqlite3_exec(writer, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0", nullptr, nullptr,
                 nullptr);
    for (int i = 1; i <= 200; ++i)
        sqlite3_exec(writer, item(i, QString("字%1").arg(i)).toUtf8().constData(), nullptr, nullptr,
                     nullptr);
    ASSERT_TRUE(QFile::copy(live, db));
    ASSERT_TRUE(QFile::copy(live + "-wal", db + "-wal"));
    sqlite3_close(writer);
    {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray header = f.read(100);
        header[28] = 0x00, header[29] = 0x01, header[30] = 0x00, header[31] = 0x00; // 65536 pages
        f.seek(0);
        f.write(header);
    }

    connection.open(db);
    items.setSql("select count(*) AS n from szSound");
    items.open();
    EXPECT_EQ(items.fieldByName("n").asInteger(), 200);
}

TEST_F(EngineTest, RolledBackTwoTableChangeStoresNothingAndShowsWhatIsStored) {
    openWith({"INSERT INTO ZJ (章号, 章节) VALUES (1, '第一章')", item(1, "一"), item(2, "二"),
              "CREATE TRIGGER refuse BEFORE UPDATE ON szSound WHEN NEW.字号 = 2 "
              "BEGIN SELECT RAISE(ABORT, 'refused'); END"});
    Dataset chapters(connection, "select * from ZJ");
    chapters.open();
    items.setSql("select * from szSound where 章节=:zzj order by 字号");
    items.setParam("zzj", "第一章");
    items.open();

    const auto rename = [&] {
        Transaction transaction(connection);
        chapters.edit();
        chapters.fieldByName("章节").setAsString("新名");
        chapters.post();
        for (items.first(); !items.eof(); items.next()) {
            items.edit();
            items.fieldByName("章节").setAsString("新名");
            items.post();
        }
        transaction.commit();
    };
    EXPECT_THROW(rename(), DatabaseError);

    EXPECT_EQ(stored("SELECT 章节 FROM ZJ"), QStringList({"第一章"}));
    EXPECT_EQ(stored("SELECT 章节 FROM szSound ORDER BY 字号"), QStringList({"第一章", "第一章"}));
    EXPECT_EQ(chapters.fieldByName("章节").asString(), "第一章");
    EXPECT_EQ(items.state(), Dataset::State::Browse);
    EXPECT_EQ(items.fieldByName("章节").asString(), "第一章");
    EXPECT_EQ(names(items), QStringList({"一", "二"}));

    // Committed, the same change is stored as a whole.
    connection.execute("DROP TRIGGER refuse");
    items.open();
    rename();
    EXPECT_EQ(stored("SELECT 章节 FROM ZJ"), QStringList({"新名"}));
    EXPECT_EQ(stored("SELECT 章节 FROM szSound"), QStringList({"新名", "新名"}));
}

TEST_F(EngineTest, AWriteNeverHitsARowThatTookTheReadRowsPlace) {
    openWith({item(1, "一"), item(2, "二"), item(3, "三"),
              "UPDATE szSound SET PIC = randomblob(1000) WHERE 字号 = 3"});
    items.setSql("select * from szSound order by 字号");
    items.open();
    ASSERT_TRUE(items.locate("字名", "三"));

    // Another dataset deletes the last row and inserts one, which reuses its rowid.
    Dataset other(connection, "select * from szSound where 字号 = 3");
    other.open();
    other.remove();
    other.append();
    other.fieldByName("字号").setAsInteger(9);
    other.fieldByName("字名").setAsString("九");
    other.post();
    other.edit();
    other.fieldByName("PIC").setBytes(QByteArray(1000, 'x'));
    other.post();
    ASSERT_EQ(stored("SELECT rowid FROM szSound WHERE 字号 = 9"), QStringList({"3"}));

    items.edit();
    items.fieldByName("字名").setAsString("改");
    EXPECT_THROW(items.post(), DatabaseError);
    items.cancel();
    EXPECT_THROW(items.remove(), DatabaseError);
    EXPECT_THROW(items.fieldByName("PIC").asBytes(), DatabaseError);
    EXPECT_EQ(stored("SELECT 字名 FROM szSound ORDER BY 字号"), QStringList({"一", "二", "九"}));

    // The row still as read is written as before.
    ASSERT_TRUE(items.locate("字名", "二"));
    items.edit();
    items.fieldByName("字名").setAsString("贰");
    items.post();
    EXPECT_EQ(stored("SELECT 字名 FROM szSound ORDER BY 字号"), QStringList({"一", "贰", "九"}));
}

TEST_F(EngineTest, GridSelectionIsTheCurrentRowAndAFailedReadReachesTheReport) {
    openWith({item(1, "一"), item(2, "二"), item(3, "三")});
    DatasetModel model(items);
    QItemSelectionModel selection(&model);
    model.followSelection(&selection);
    items.setSql("select * from szSound order by 字号");
    items.open();
    EXPECT_EQ(selection.currentIndex().row(), 0);

    selection.setCurrentIndex(model.index(2, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(items.recNo(), 2);
    EXPECT_EQ(items.fieldByName("字名").asString(), "三");
    items.reopen();
    EXPECT_EQ(selection.currentIndex().row(), 0);
    EXPECT_EQ(items.recNo(), 0);

    ASSERT_EQ(sqlite3_create_function(connection.handle(), "fails_on_three", 1, SQLITE_UTF8,
                                      nullptr, failOnThree, nullptr, nullptr),
              SQLITE_OK);
    items.setSql("select * from szSound where fails_on_three(字号)");
    EXPECT_THROW(items.open(), DatabaseError);
    g_reported.clear();
    EXPECT_EQ(model.rowCount(), 0); // never thrown into the view
    QCoreApplication::processEvents();
    ASSERT_EQ(g_reported.size(), 1);
    EXPECT_TRUE(g_reported[0].contains("damaged page")) << g_reported[0].toStdString();
}

int main(int argc, char** argv) {
    ReportingApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
