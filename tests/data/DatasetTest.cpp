#include "data/Dataset.h"
#include "DataFixture.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/DatasetModel.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace tx;
using namespace tx::test;

namespace {

class DatasetTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString db = dir.filePath("edusz.mdb");
    Connection connection;
    Dataset query{connection};

    void open(const QStringList& rows) {
        createDatabase(db, shippedDatabase(true) + rows);
        connection.open(db);
    }
    void run(const QString& sql) {
        query.setSql(sql);
        query.open();
    }
    QStringList column(const QString& name) {
        QStringList out;
        for (query.first(); !query.eof(); query.next())
            out << query.fieldByName(name).asString();
        return out;
    }
    QString tableText(const QString& table) {
        QStringList rows;
        for (const QVariant& v :
             queryColumn(db, QString("SELECT quote(字号)||quote(字名)||quote("
                                     "图片)||quote(课件地址) FROM %1 ORDER BY 1")
                                 .arg(table)))
            rows << v.toString();
        return rows.join('\n');
    }
};

const QStringList kChapterRows = {
    "INSERT INTO szSound (字号, 字名, 章节) VALUES (1, '甲', 'Abc')",
    "INSERT INTO szSound (字号, 字名, 章节) VALUES (2, '乙', 'abc')",
    "INSERT INTO szSound (字号, 字名, 章节) VALUES (3, '丙', 'ABC第一')",
    "INSERT INTO szSound (字号, 字名, 章节) VALUES (4, '丁', '第一章')",
    "INSERT INTO szSound (字号, 字名, 章节) VALUES (5, '戊', 'É')",
    "INSERT INTO szSound (字号, 字名, 章节) VALUES (6, '己', 'Ａbc')",
};

} // namespace

TEST_F(DatasetTest, ChapterConditionComparesLatinLettersWithoutCase) {
    open(kChapterRows);
    const std::pair<QString, QStringList> cases[] = {
        {"abc", {"甲", "乙"}}, {"ABC", {"甲", "乙"}}, {"abc第一", {"丙"}},
        {"第一章", {"丁"}},    {"第一", {}},          {"é", {}},
        {"É", {"戊"}},         {"ａbc", {}},
    };
    for (const auto& [chapter, names] : cases) {
        query.clearSql();
        query.addSql("select * from szSound where 章节=:zzj");
        query.addSql(" order by  字号");
        query.setParam("zzj", chapter);
        query.open();
        EXPECT_EQ(column("字名"), names) << chapter.toStdString();
        EXPECT_EQ(query.recordCount(), names.size());
    }
}

TEST_F(DatasetTest, LocateIgnoresLatinCaseOnlyAndKeepsTheRowWhenNotFound) {
    open(kChapterRows);
    run("select * from szSound order by 字号");
    const std::tuple<QString, QString, bool, int> cases[] = {
        {"章节", "aBC", true, 0},  {"章节", "第一章", true, 3}, {"章节", "é", false, 3},
        {"字号", "5", true, 4},    {"章节", "ａbc", false, 4},  {"字名", "丙", true, 2},
        {"字名", "丙 ", false, 2},
    };
    for (const auto& [field, text, found, row] : cases) {
        EXPECT_EQ(query.locate(field, text), found) << text.toStdString();
        EXPECT_EQ(query.recNo(), row) << text.toStdString();
    }
}

TEST_F(DatasetTest, FieldsAreFoundWithoutRegardToCase) {
    open({"INSERT INTO szSound (字号, PIC) VALUES (1, x'00')"});
    run("select * from szsound");
    EXPECT_EQ(query.fieldByName("pic").name(), "PIC");
    EXPECT_EQ(query.findField("Pic"), &query.fieldByName("PIC"));
    EXPECT_EQ(query.findField("nothing"), nullptr);
    EXPECT_THROW(query.fieldByName("nothing"), DatabaseError);
}

TEST_F(DatasetTest, DuplicateNumbersAreRefusedAndLeaveTheTableAlone) {
    open({});
    const std::pair<const char*, const char*> tables[] = {
        {"ZJ", "章号"},      {"xsZJ", "章号"},    {"xyyZJ", "章号"},
        {"szSound", "字号"}, {"xsSound", "诗号"}, {"xyySound", "语号"},
    };
    for (const auto& [table, number] : tables) {
        SCOPED_TRACE(table);
        run(QString("select * from %1").arg(table));
        for (const char* n : {"1", "2"}) {
            query.append();
            query.fieldByName(number).setAsString(n);
            query.post();
        }
        query.append();
        query.fieldByName(number).setAsString("1");
        EXPECT_THROW(query.post(), DatabaseError);
        EXPECT_EQ(query.state(), Dataset::State::Insert); // pending until cancelled
        query.cancel();
        query.first();
        query.edit();
        query.fieldByName(number).setAsString(" 2");
        EXPECT_THROW(query.post(), DatabaseError);
        query.cancel();
        EXPECT_EQ(queryColumn(db, QString("SELECT %1 FROM %2 ORDER BY 1").arg(number, table)),
                  (QVariantList{1, 2}));
    }
}

TEST_F(DatasetTest, ValueLongerThanItsWidthFailsTheWholePost) {
    open({"INSERT INTO szSound (字号, 字名) VALUES (1, '人')"});
    const std::tuple<const char*, int, bool> cases[] = {
        {"图片", 15, true}, {"图片", 16, false}, {"课件地址", 150, true}, {"课件地址", 151, false}};
    for (const auto& [column, length, fits] : cases) {
        for (const QChar c : {QChar(u'有'), QChar(u'a')}) {
            SCOPED_TRACE(std::string(column) + " " + std::to_string(length));
            const QString before = tableText("szSound");
            run("select * from szSound");
            query.edit();
            query.fieldByName("字名").setAsString("改");
            query.fieldByName(column).setAsString(QString(length, c));
            if (fits) {
                query.post();
                EXPECT_EQ(query.fieldByName(column).asString(), QString(length, c));
            } else {
                EXPECT_THROW(query.post(), DatabaseError);
                EXPECT_EQ(query.fieldByName(column).asString(), QString(length, c));
                query.cancel();
                EXPECT_EQ(tableText("szSound"), before); // 字名 unchanged too
            }
        }
    }
}

TEST_F(DatasetTest, TextInWholeNumberColumnConverts) {
    open({});
    const std::pair<QString, QVariant> cases[] = {
        {" 12", 12},      {"+3", 3},       {"-4", -4},       {"0", 0},
        {"", QVariant()}, {"1x", "fails"}, {"12 ", "fails"}, {"2147483648", "fails"},
        {"一", "fails"},
    };
    run("select * from szSound");
    for (const auto& [text, stored] : cases) {
        SCOPED_TRACE(text.toStdString());
        query.append();
        query.fieldByName("字号").setAsString(text);
        query.fieldByName("字名").setAsString(text);
        if (stored == QVariant("fails")) {
            EXPECT_THROW(query.post(), DatabaseError);
            query.cancel();
            EXPECT_EQ(queryColumn(db, "SELECT count(*) FROM szSound WHERE 字名 = " +
                                          QString("'%1'").arg(text)),
                      QVariantList{0});
            continue;
        }
        query.post();
        EXPECT_EQ(query.fieldByName("字号").isNull(), stored.isNull());
        EXPECT_EQ(query.fieldByName("字号").asInteger(), stored.toInt());
        EXPECT_EQ(queryColumn(
                      db, QString("SELECT typeof(字号) FROM szSound WHERE 字名 = '%1'").arg(text)),
                  QVariantList{stored.isNull() ? "null" : "integer"});
    }
}

TEST_F(DatasetTest, TextWithQuotesSemicolonsAndCommentsIsStoredVerbatim) {
    open({"INSERT INTO ZJ VALUES (1, 'x')"});
    const QStringList texts = {"it's",
                               "say \"hi\"",
                               "a; b;",
                               "-- not a comment",
                               "'); DROP TABLE szSound; --",
                               "行一\n行二\r\n\t末",
                               ":zzj ?",
                               "\\' OR '1'='1"};
    int number = 1;
    for (const QString& text : texts) {
        run("select * from szSound");
        query.append();
        query.fieldByName("字号").setAsInteger(number++);
        for (const char* f : {"字名", "拼音词组", "章节", "声音", "课件地址"})
            query.fieldByName(f).setAsString(text);
        query.post();

        query.setSql("select * from szSound where 章节=:zzj");
        query.setParam(":ZZJ", text);
        query.open();
        ASSERT_EQ(query.recordCount(), 1) << text.toStdString();
        for (const char* f : {"字名", "拼音词组", "章节", "声音", "课件地址"})
            EXPECT_EQ(query.fieldByName(f).asString().toUtf8(), text.toUtf8());
    }
    EXPECT_EQ(queryColumn(db, "SELECT count(*) FROM szSound"), QVariantList{texts.size()});
}

TEST_F(DatasetTest, BlobsRoundTripByteForByte) {
    open({});
    QByteArray picture(200 * 1024, '\0');
    for (char& b : picture)
        b = char(QRandomGenerator::global()->bounded(256));
    picture.prepend(QByteArray("BM\0\0", 4));
    run("select * from szSound");
    query.append();
    query.fieldByName("字号").setAsInteger(1);
    query.fieldByName("PIC").setBytes(picture);
    query.fieldByName("图片").setAsString("有");
    query.post();
    query.reopen();
    EXPECT_EQ(query.fieldByName("PIC").asBytes(), picture);
    EXPECT_EQ(queryColumn(db, "SELECT PIC FROM szSound"), QVariantList{picture});
    query.edit();
    query.fieldByName("PIC").setBytes({});
    query.post();
    EXPECT_TRUE(query.fieldByName("PIC").isNull());
    EXPECT_EQ(query.fieldByName("PIC").asString(), "");
}

TEST_F(DatasetTest, PostKeepsTheRowCurrentAndReopenShowsTheOrder) {
    open({"INSERT INTO szSound (字号, 字名) VALUES (5, '五')",
          "INSERT INTO szSound (字号, 字名) VALUES (1, '一')",
          "INSERT INTO szSound (字号, 字名) VALUES (3, '三')"});
    run("select * from szSound order by 字号");
    QSignalSpy changed(&query, &Dataset::changed);
    query.append();
    query.fieldByName("字号").setAsString(" 2");
    query.fieldByName("字名").setAsString("二");
    query.post();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(query.fieldByName("字号").asString(), "2");
    EXPECT_EQ(query.fieldByName("字名").asString(), "二");
    query.reopen();
    EXPECT_EQ(query.recNo(), 0);
    EXPECT_EQ(column("字名"), (QStringList{"一", "二", "三", "五"}));
}

TEST_F(DatasetTest, DeleteRemovesTheCurrentRowOnly) {
    open({"INSERT INTO szSound (字号, 字名) VALUES (1, '一')",
          "INSERT INTO szSound (字号, 字名) VALUES (2, '二')",
          "INSERT INTO szSound (字号, 字名) VALUES (3, '三')"});
    run("select * from szSound order by 字号");
    ASSERT_TRUE(query.locate("字名", "二"));
    query.remove();
    EXPECT_EQ(query.fieldByName("字名").asString(), "三");
    query.remove();
    EXPECT_EQ(query.fieldByName("字名").asString(), "一");
    EXPECT_EQ(queryColumn(db, "SELECT 字名 FROM szSound"), QVariantList{"一"});
    query.remove();
    EXPECT_TRUE(query.eof());
    EXPECT_THROW(query.remove(), DatabaseError);
}

TEST_F(DatasetTest, ChangingTheTextClosesAndMissingParameterFails) {
    open({});
    run("select * from ZJ");
    QSignalSpy closed(&query, &Dataset::closed);
    query.addSql("order by 章号");
    EXPECT_FALSE(query.isOpen());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(query.sql(), "select * from ZJ\norder by 章号");
    query.setSql("select * from ZJ where 章节=:zzj");
    EXPECT_THROW(query.open(), DatabaseError);
    EXPECT_THROW(run("select * from nothing"), DatabaseError);
    EXPECT_THROW(run("select 1; drop table ZJ"), DatabaseError);
    EXPECT_EQ(queryColumn(db, "SELECT count(*) FROM sqlite_master WHERE name = 'ZJ'"),
              QVariantList{1});
}

TEST_F(DatasetTest, ResultWithoutOneSourceTableIsReadOnly) {
    open({"INSERT INTO ZJ VALUES (1, '一')", "INSERT INTO szSound (字号, 章节) VALUES (1, '一')"});
    for (const char* sql : {"select count(*) as n from ZJ",
                            "select ZJ.章号, szSound.字号 from ZJ join szSound on ZJ.章节 = "
                            "szSound.章节",
                            "select distinct 章节 from szSound",
                            "select 章节, count(*) as n from szSound group by 章节",
                            "select 章节 from szSound group by 章节"}) {
        run(sql);
        EXPECT_EQ(query.sourceTable(), "") << sql;
        EXPECT_THROW(query.edit(), DatabaseError) << sql;
        EXPECT_THROW(query.append(), DatabaseError) << sql;
    }
    run("select 章节 from szSound s where s.字号 = 1");
    EXPECT_EQ(query.sourceTable(), "szSound");
    EXPECT_THROW(query.fieldByName("章节").setAsString("x"), DatabaseError); // not editing
}

TEST_F(DatasetTest, TableDatasetEditsTheSystemRow) {
    open({});
    TableDataset sys(connection, "SYS");
    sys.open();
    sys.first();
    EXPECT_EQ(sys.fieldByName("日期").asString(), "2004-05-01");
    sys.edit();
    sys.fieldByName("日期").setAsString("2006-06-06");
    sys.post();
    EXPECT_EQ(queryColumn(db, "SELECT 日期 FROM sys"), QVariantList{"2006-06-06"});
}

TEST_F(DatasetTest, ModelFollowsTheDataset) {
    open({"INSERT INTO ZJ VALUES (2, '二')", "INSERT INTO ZJ VALUES (1, '一')"});
    DatasetModel model(query);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    EXPECT_EQ(model.rowCount(), 0);
    run("select * from ZJ order by 章号");
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "章节");
    EXPECT_EQ(model.index(0, 1).data().toString(), "一");
    EXPECT_EQ(model.index(1, 0).data().toString(), "2");
    query.remove();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, 1).data().toString(), "二");
    query.close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_GE(resets.count(), 3);
}

TEST_F(DatasetTest, WriteOnTheConnectionDoesNotDisturbAResultBeingRead) {
    open({"INSERT INTO szSound (字号, 字名) VALUES (1, '一')",
          "INSERT INTO szSound (字号, 字名) VALUES (2, '二')"});
    Dataset reader(connection, "select * from szSound");
    reader.open();
    EXPECT_EQ(reader.fieldByName("字名").asString(), "一"); // one row read so far
    run("select * from szSound");
    query.append();
    query.fieldByName("字号").setAsInteger(3);
    query.post();
    query.setSql("ALTER table szSound   ADD COLUMN 备注  memo  ");
    query.execSql();
    QStringList names;
    for (; !reader.eof(); reader.next())
        names << reader.fieldByName("字名").asString();
    EXPECT_EQ(names, (QStringList{"一", "二"}));
    reader.reopen();
    EXPECT_EQ(reader.recordCount(), 3);
    EXPECT_NE(reader.findField("备注"), nullptr);
}
