#include "ContentTestSupport.h"
#include "Database.h"
#include "Library.h"
#include "Recipes.h"
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "data/UpgradeSchema.h"
#include "platform/Gbk.h"
#include "platform/Services.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iconv.h>

using namespace tx::content;
using namespace tx::content::test;

namespace {

// What must hold for any starter database: sounds that play, pictures that decode,
// the editors' limits, numbers unique and the orders of the chapter and item queries.
void checkDatabase(const QString& path) {
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString() << " is missing";
    DbReader r(path);
    ASSERT_EQ(r.rows("select * from SYS").size(), 1);
    for (const ModuleInfo& m : modules()) {
        SCOPED_TRACE(m.itemTable);
        const QString number = QString::fromUtf8(m.numberField);
        const QString name = QString::fromUtf8(m.nameField);
        const auto chapters =
            r.rows(QStringLiteral("select * from %1 order by 章号").arg(m.chapterTable));
        ASSERT_FALSE(chapters.isEmpty());
        QSet<QString> chapterNames;
        qlonglong previous = 0;
        for (const QVariantMap& c : chapters) {
            EXPECT_GT(c["章号"].toLongLong(), previous)
                << "chapter numbers not unique or not ordered";
            previous = c["章号"].toLongLong();
            EXPECT_FALSE(chapterNames.contains(c["章节"].toString()));
            chapterNames.insert(c["章节"].toString());
        }
        int itemCount = 0;
        for (const QVariantMap& c : chapters) {
            const QString chapter = c["章节"].toString();
            const auto items = r.rows(QStringLiteral("select * from %1 where 章节=? order by %2")
                                          .arg(m.itemTable, number),
                                      {chapter});
            EXPECT_LE(items.size(), m.itemLimit) << chapter.toStdString();
            QSet<QString> names;
            qlonglong previousItem = 0;
            for (const QVariantMap& item : items) {
                const QString n = item[name].toString();
                SCOPED_TRACE(n.toStdString());
                EXPECT_GT(item[number].toLongLong(), previousItem);
                previousItem = item[number].toLongLong();
                EXPECT_FALSE(n.isEmpty());
                EXPECT_FALSE(names.contains(n.toCaseFolded())) << "name twice in its chapter";
                names.insert(n.toCaseFolded());
                if (m.nameByteLimit > 0) {
                    EXPECT_LE(tx::gbkByteLength(n), m.nameByteLimit);
                }
                if (m.textRequired) {
                    EXPECT_FALSE(item[m.textField].toString().trimmed().isEmpty());
                }
                const QString sound = item["声音"].toString();
                if (!sound.isEmpty()) {
                    EXPECT_TRUE(isPcmWav(sound)) << sound.toStdString();
                }
                if (item["图片"] == "有") {
                    const QImage image = decodeBmp(item["PIC"]);
                    EXPECT_FALSE(image.isNull());
                    EXPECT_GE(image.width(), 200);
                    EXPECT_GE(image.height(), 200);
                }
                EXPECT_LE(item["课件地址"].toString().size(), 150);
            }
            itemCount += int(items.size());
        }
        const auto all =
            r.rows(QStringLiteral("select count(*) as n, count(distinct %2) as d from %1")
                       .arg(m.itemTable, number));
        EXPECT_EQ(all[0]["n"], all[0]["d"]) << "item numbers not unique";
        EXPECT_EQ(all[0]["n"].toInt(), itemCount) << "items whose chapter does not exist";
    }
}

// One fresh starter database for the tests of this file (building draws every picture).
const QString& freshStarter() {
    static QTemporaryDir dir;
    static const QString db = [] {
        const QString path = dir.path() + "/edusz.mdb";
        writeDatabase(readLibrary(TX_CONTENT_SOURCES), path, TX_PROGRAM_DIR, false);
        return path;
    }();
    return db;
}

QString sourceFile(const char* name) {
    return QStringLiteral(TX_CONTENT_SOURCES) + u'/' + QString::fromUtf8(name);
}

// The recipe book finds names with only A-Z ignoring case.
QString latinFolded(QString name) {
    for (QChar& c : name)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return name;
}

TEST(StarterLibrary, AFreshBuildHoldsEveryRuleAndEveryLiteracyItemHasAPicture) {
    const QString& db = freshStarter();
    checkDatabase(db);
    DbReader r(db);
    // Pointer-mapped, so that reading the columns after a picture skips its pages.
    EXPECT_EQ(r.rows("PRAGMA auto_vacuum")[0].first().toInt(), 2);
    for (const QVariantMap& item : r.rows("select * from szSound"))
        EXPECT_EQ(item["图片"], "有") << item["字名"].toString().toStdString();
    for (const char* table : {"szSound", "xsSound", "xyySound"})
        for (const QVariantMap& item : r.rows(QStringLiteral("select * from ") + table)) {
            EXPECT_FALSE(item["声音"].toString().isEmpty());
        }
}

// The program's documents are GBK: every character must be one GBK has.
bool inGbk(const QString& text) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    return ok;
}

// What the recipe book needs of any recipe table: values from the lists, a picture
// number, flags that tell whether the texts are empty, names unique as the book finds them.
void checkRecipes(const QList<QVariantMap>& rows) {
    QSet<QString> names;
    for (const QVariantMap& row : rows) {
        const QString name = row["菜名"].toString();
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(name.trimmed().isEmpty());
        EXPECT_LE(name.size(), 25);
        EXPECT_TRUE(inGbk(name)) << "a character GBK lacks";
        EXPECT_FALSE(names.contains(latinFolded(name))) << "name twice";
        names.insert(latinFolded(name));
        for (const RecipeList& list : recipeLists()) {
            EXPECT_TRUE(list.values.contains(row[list.column].toString())) << list.column;
        }
        bool number = false;
        const int simg = row["simg"].toString().toInt(&number);
        EXPECT_TRUE(number && simg >= 2 && simg <= 15) << row["simg"].toString().toStdString();
        EXPECT_FALSE(row["材料"].toString().isEmpty()) << "a real recipe lists its ingredients";
        EXPECT_FALSE(row["做法"].toString().isEmpty()) << "and its method";
        EXPECT_EQ(row["材料1"], "是");
        EXPECT_EQ(row["做法1"], "是");
        for (const char* text : {"材料", "做法"}) {
            // Line breaks as the program's editor writes them; text that GBK can carry.
            const QString t = row[text].toString();
            EXPECT_EQ(t.count(u'\n'), t.count(QStringLiteral("\r\n"))) << text;
            EXPECT_TRUE(inGbk(t)) << text << " holds a character GBK lacks";
        }
    }
}

TEST(StarterRecipes, SixtyRealRecipesUseEveryListValueAndEveryPicture) {
    DbReader r(freshStarter());
    const auto rows = r.rows("select * from myfood");
    EXPECT_GE(rows.size(), 60);
    checkRecipes(rows);
    for (const RecipeList& list : recipeLists()) {
        QSet<QString> used;
        for (const QVariantMap& row : rows)
            used.insert(row[list.column].toString());
        for (const QString& value : list.values)
            EXPECT_TRUE(used.contains(value)) << list.column << " " << value.toStdString();
    }
    QSet<QString> pictures;
    for (const QVariantMap& row : rows)
        pictures.insert(row["simg"].toString());
    EXPECT_EQ(pictures.size(), 14) << "pictures 2 to 15 each used";

    const auto sys = r.rows("select * from SYS");
    ASSERT_EQ(sys.size(), 1);
    EXPECT_EQ(sys[0]["日期"], readLibrary(TX_CONTENT_SOURCES).date);
}

TEST(StarterRecipes, TheProgramsUpgradeFindsTheTableCompleteAndTheSameAsItsOwn) {
    QTemporaryDir dir;
    const auto tableSql = [](const QString& path) {
        return DbReader(path).rows("select sql from sqlite_master where name='myfood'");
    };
    // The table as the program makes it in a database that has none.
    const QString own = dir.path() + "/own.mdb";
    {
        sqlite3* h = nullptr;
        ASSERT_EQ(sqlite3_open(own.toUtf8().constData(), &h), SQLITE_OK);
        for (const QString& sql : tx::shippedSchemaStatements(true))
            ASSERT_EQ(sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, nullptr),
                      SQLITE_OK);
        sqlite3_close(h);
    }
    const QString copy = dir.path() + "/edusz.mdb";
    ASSERT_TRUE(QFile::copy(freshStarter(), copy));
    for (const QString& path : {own, copy}) {
        tx::Services services;
        tx::Tdm dm(services);
        dm.ADOConnection1.open(path);
        tx::UpgradeSchema(dm, "myfood");
    }
    const auto ownSql = tableSql(own);
    ASSERT_EQ(ownSql.size(), 1);
    EXPECT_EQ(tableSql(copy), ownSql);
    EXPECT_EQ(tableSql(freshStarter()), ownSql) << "the upgrade added a column";
    EXPECT_EQ(DbReader(copy).rows("select * from myfood").size(),
              DbReader(freshStarter()).rows("select * from myfood").size());
}

TEST(RecipeUpdate, TwentyLaterRecipesSomeNamedAsStarterOnesInOtherLetterCase) {
    QTemporaryDir dir;
    const QString update = dir.path() + "/qmtfood.edu";
    writeRecipeUpdate(readRecipes(sourceFile("qmtfood.txt"), true), update);
    {
        QFile f(update);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray header = f.read(100);
        ASSERT_TRUE(header.startsWith("SQLite format 3"));
        // A rollback-journal database: a read-only connection needs no side files.
        EXPECT_EQ(header[18], 1);
        EXPECT_EQ(header[19], 1);
    }
    DbReader r(update);
    const auto rows = r.rows("select * from myfood");
    EXPECT_EQ(rows.size(), 20);
    checkRecipes(rows);

    const auto sys = r.rows("select * from SYS");
    ASSERT_EQ(sys.size(), 1);
    const QString starterDate = readLibrary(TX_CONTENT_SOURCES).date;
    EXPECT_GT(sys[0]["日期"].toString(), starterDate) << "ISO dates compare as text";

    QHash<QString, QString> starter; // folded -> name
    for (const QVariantMap& row : DbReader(freshStarter()).rows("select 菜名 from myfood"))
        starter.insert(latinFolded(row["菜名"].toString()), row["菜名"].toString());
    int caseVariants = 0;
    int exactRepeats = 0;
    for (const QVariantMap& row : rows) {
        const QString name = row["菜名"].toString();
        if (!starter.contains(latinFolded(name)))
            continue;
        if (starter[latinFolded(name)] == name)
            ++exactRepeats;
        else
            ++caseVariants;
    }
    EXPECT_GE(caseVariants, 2) << "the import must skip them";
    EXPECT_EQ(exactRepeats, 0);
    EXPECT_GE(rows.size() - caseVariants, 15) << "most of the update is new";
}

TEST(RecipeUpdate, TheBuildOffersTheCurrentUpdateOnTheOfflineRecipePage) {
    const QString offered = QStringLiteral(TX_PROGRAM_DIR) + "/site/first/qmtfood.edu";
    ASSERT_TRUE(QFileInfo::exists(offered));
    const RecipeBook source = readRecipes(sourceFile("qmtfood.txt"), true);
    DbReader r(offered);
    EXPECT_EQ(r.rows("select 日期 from SYS").value(0)["日期"], source.date);
    QStringList names;
    for (const QVariantMap& row : r.rows("select 菜名 from myfood order by rowid"))
        names << row["菜名"].toString();
    QStringList expected;
    for (const Recipe& recipe : source.recipes)
        expected << recipe.name;
    EXPECT_EQ(names, expected);

    QFile page(sourceFile("../site/first/myfood.htm"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(html.contains(R"(href="qmtfood.edu")")) << "the download link";
    EXPECT_TRUE(html.contains(source.date)) << "the page names the update it offers";
}

TEST(StarterLibrary, QuizSoundsArePcmWavsInTheProgramFolder) {
    for (const char* name :
         {"S1.wav", "S2.wav", "S3.wav", "S4.wav", "S5.wav", "S6.wav", "S7.wav", "S8.wav", "S9.wav",
          "S10.wav", "ja.wav", "jIAN.wav", "dy.wav", "cuo.wav", "CM.wav"})
        EXPECT_TRUE(isPcmWav(QStringLiteral(TX_PROGRAM_DIR) + u'/' + name)) << name;
}

int countIf(const Module& m, bool (*pred)(const Item&, const Module&)) {
    int n = 0;
    for (const Item& i : m.items)
        n += pred(i, m);
    return n;
}

bool hasChapter(const Module& m, const char* name) {
    for (const Chapter& c : m.chapters)
        if (c.name == QString::fromUtf8(name))
            return true;
    return false;
}

TEST(StarterLibrary, SourcesHoldEnoughToTeach) {
    const Library lib = readLibrary(TX_CONTENT_SOURCES);
    ASSERT_EQ(lib.modules.size(), 3);
    const Module& sz = lib.modules[0];
    const Module& xs = lib.modules[1];
    const Module& xyy = lib.modules[2];
    EXPECT_GE(sz.chapters.size(), 4);
    EXPECT_GE(sz.items.size(), 60);
    for (const Item& i : sz.items) {
        // Pinyin first, then at least one word.
        const QStringList parts = i.text.split(u' ', Qt::SkipEmptyParts);
        EXPECT_GE(parts.size(), 2) << i.name.toStdString();
        EXPECT_NE(parts.value(0).front().script(), QChar::Script_Han) << i.name.toStdString();
    }
    EXPECT_GE(xs.chapters.size(), 2);
    EXPECT_TRUE(hasChapter(xs, "古诗"));
    EXPECT_GE(xs.items.size(), 12);
    for (const Item& i : xs.items)
        EXPECT_GE(i.text.count(u'\n'), 2) << i.name.toStdString(); // poet and verse lines
    EXPECT_TRUE(hasChapter(xyy, "单词"));
    EXPECT_TRUE(hasChapter(xyy, "日常用语"));
    const int sentences =
        countIf(xyy, [](const Item& i, const Module&) { return i.chapter == "日常用语"; });
    EXPECT_GE(sentences, 10);
    EXPECT_GE(xyy.items.size() - sentences, 30);
    EXPECT_FALSE(lib.date.isEmpty());
    EXPECT_EQ(lib.quiz.size(), 15);
}

} // namespace
