#include "ContentTestSupport.h"
#include "Database.h"
#include "Library.h"
#include "Recipes.h"
#include "Speech.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using namespace tx::content;
using namespace tx::content::test;

namespace {

using Sources = QMap<QString, QString>; // file name -> content

// A small library: chapters and items deliberately listed out of number order.
Sources fixture() {
    return {
        {"library.txt", "# fixture\n日期|2001-02-03\n"},
        {"sz.txt", "语音|cmn|110\n"
                   "章|2|动物\n"
                   "章|1|数字\n"
                   "字|12|二|数字|èr 二月|二.wav|🍎🍎\n"
                   "字|11|一|数字|yī 一个 一天|一.wav|🍎|http://example.org/a.swf\n"
                   "字|21|熊猫|动物|xióng māo 大熊猫|熊猫.wav|字\n"
                   "字|13|三|数字|sān||无\n"},
        {"xs.txt", "章|1|古诗\n"
                   "诗|1|静夜思|古诗|唐·李白/床前明月光，疑是地上霜。|静夜思.wav|🌙\n"},
        {"xyy.txt", "章|1|单词\n"
                    "语|1|apple|单词|苹果|apple.wav|🍎\n"},
        {"quiz.txt", "声|S1.wav|一\n"},
        {"recipes.txt", "菜|番茄炒蛋|最爱|午餐|家常菜|酸甜|蛋|幼儿园午餐|5\n"
                        "料|番茄2个\n"
                        "料|鸡蛋3个\n"
                        "法|炒熟\n"
                        "菜|DIY水果沙拉|喜爱|午点|西餐|酸甜|水果|幼儿园午点|12\n"
                        "料| 苹果|香蕉 \n"
                        "菜|白米饭|一般|没分类|没分类|没分类|主食|不是幼儿园菜谱|2\n"},
        {"qmtfood.txt", "日期|2001-03-04\n"
                        "菜|diy水果沙拉|最爱|早点|西餐|清香|水果|幼儿园加餐|13\n"
                        "料|草莓\n"
                        "法|切开\n"
                        "菜|小米粥|一般|早餐|家常菜|清淡|主食|幼儿园早餐|9\n"},
    };
}

void writeSources(const QString& dir, const Sources& sources) {
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        QFile f(dir + u'/' + it.key());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(it.value().toUtf8());
    }
}

class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(src());
        writeSources(src(), fixture());
    }
    QString src() const { return dir.path() + "/src"; }
    QString program() const { return dir.path() + "/program"; }
    QString db() const { return program() + "/edusz.mdb"; }

    QTemporaryDir dir;
};

TEST_F(BuilderTest, ChaptersAndItemsComeBackInNumberOrder) {
    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    DbReader r(db());

    const auto chapters = r.rows("select * from ZJ order by 章号");
    ASSERT_EQ(chapters.size(), 2);
    EXPECT_EQ(chapters[0]["章节"], "数字");
    EXPECT_EQ(chapters[1]["章节"], "动物");

    const auto items = r.rows("select * from szSound where 章节=? order by 字号", {"数字"});
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]["字号"], 11);
    EXPECT_EQ(items[0]["字名"], "一");
    EXPECT_EQ(items[0]["拼音词组"], "yī 一个 一天");
    EXPECT_EQ(items[0]["声音"], program() + "/字语音库/一.wav");
    EXPECT_EQ(items[0]["课件地址"], "http://example.org/a.swf");
    EXPECT_EQ(items[1]["字名"], "二");
    EXPECT_EQ(items[1]["课件地址"], "");
    EXPECT_EQ(items[2]["字名"], "三");
    EXPECT_EQ(items[2]["拼音词组"], "sān");
    EXPECT_EQ(items[2]["声音"], "");

    const auto poems = r.rows("select * from xsSound where 章节=? order by 诗号", {"古诗"});
    ASSERT_EQ(poems.size(), 1);
    EXPECT_EQ(poems[0]["诗"], "唐·李白\n床前明月光，疑是地上霜。");
    EXPECT_EQ(poems[0]["声音"], program() + "/诗语音库/静夜思.wav");
    const auto words = r.rows("select * from xyySound order by 语号");
    ASSERT_EQ(words.size(), 1);
    EXPECT_EQ(words[0]["汉语翻译"], "苹果");
    EXPECT_EQ(words[0]["声音"], program() + "/英语语音库/apple.wav");

    const auto sys = r.rows("select * from SYS");
    ASSERT_EQ(sys.size(), 1);
    EXPECT_EQ(sys[0]["日期"], "2001-02-03");
}

TEST_F(BuilderTest, PicturesAreBitmapsFlaggedWithYou) {
    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    DbReader r(db());
    int pictures = 0;
    for (const char* table : {"szSound", "xsSound", "xyySound"}) {
        for (const QVariantMap& row : r.rows(QStringLiteral("select * from ") + table)) {
            if (row["图片"] == "有") {
                const QImage image = decodeBmp(row["PIC"]);
                ASSERT_FALSE(image.isNull()) << table;
                EXPECT_GE(image.width(), 200);
                EXPECT_GE(image.height(), 200);
                ++pictures;
            } else {
                EXPECT_EQ(row["图片"], "");
                EXPECT_FALSE(row["PIC"].isValid()) << "a row without picture holds PIC data";
            }
        }
    }
    EXPECT_EQ(pictures, 5);
    const auto none = r.rows("select * from szSound where 字号=13");
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0]["图片"], "");
}

TEST_F(BuilderTest, TheDatabaseRefusesASecondItemNumber) {
    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(db().toUtf8().constData(), &h), SQLITE_OK);
    EXPECT_NE(sqlite3_exec(h, "insert into szSound (字号, 字名) values (11, 'x')", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    EXPECT_NE(
        sqlite3_exec(h, "insert into ZJ (章号, 章节) values (1, 'x')", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(h);
}

TEST_F(BuilderTest, RecipesGoIntoMyfoodWithFlagsSayingWhetherTheTextsAreEmpty) {
    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    DbReader r(db());
    const auto rows = r.rows("select rowid, * from myfood order by rowid");
    ASSERT_EQ(rows.size(), 3);
    struct Expected {
        const char* name;
        QStringList categories; // 最爱, 时间段, 菜系分类, 口味分类, 材料分类, 家庭分类
        const char* simg;
        const char* ingredients;
        const char* ingredientsFlag;
        const char* method;
        const char* methodFlag;
    };
    const Expected expected[] = {
        {"番茄炒蛋",
         {"最爱", "午餐", "家常菜", "酸甜", "蛋", "幼儿园午餐"},
         "5",
         "番茄2个\r\n鸡蛋3个",
         "是",
         "炒熟",
         "是"},
        {"DIY水果沙拉",
         {"喜爱", "午点", "西餐", "酸甜", "水果", "幼儿园午点"},
         "12",
         "苹果|香蕉",
         "是",
         "",
         "否"},
        {"白米饭",
         {"一般", "没分类", "没分类", "没分类", "主食", "不是幼儿园菜谱"},
         "2",
         "",
         "否",
         "",
         "否"},
    };
    const QStringList columns{"最爱", "时间段", "菜系分类", "口味分类", "材料分类", "家庭分类"};
    for (int i = 0; i < 3; ++i) {
        const QVariantMap& row = rows[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(row["菜名"], e.name);
        for (int c = 0; c < columns.size(); ++c)
            EXPECT_EQ(row[columns[c]], e.categories[c]) << columns[c].toStdString();
        EXPECT_EQ(row["simg"], e.simg) << "stored as its decimal text";
        EXPECT_EQ(row["材料"].toString(), e.ingredients);
        EXPECT_EQ(row["材料1"], e.ingredientsFlag);
        EXPECT_EQ(row["做法"].toString(), e.method);
        EXPECT_EQ(row["做法1"], e.methodFlag);
        for (const char* unused : {"属性", "属性1", "图片", "图片1"})
            EXPECT_FALSE(row[unused].isValid()) << unused;
    }
}

TEST_F(BuilderTest, WithoutRecipeSourcesMyfoodIsThereAndEmpty) {
    ASSERT_TRUE(QFile::remove(src() + "/recipes.txt"));
    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    EXPECT_EQ(DbReader(db()).rows("select * from myfood").size(), 0);
}

TEST_F(BuilderTest, TheToolWritesTheUpdateAndLeavesTheUsersDatabaseAlone) {
    QDir().mkpath(program());
    {
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("edited by the user");
    }
    const QString update = program() + "/site/first/qmtfood.edu";
    QProcess tool;
    const QStringList args{"--sources", src(),          "--program-dir",   program(), "--db",
                           db(),        "--if-missing", "--recipe-update", update};
    tool.start(TX_MKDB, args);
    ASSERT_TRUE(tool.waitForFinished(-1));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    {
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "edited by the user");
    }
    {
        DbReader r(update);
        const auto sys = r.rows("select * from SYS");
        ASSERT_EQ(sys.size(), 1);
        EXPECT_EQ(sys[0]["日期"], "2001-03-04");
        const auto rows = r.rows("select * from myfood order by rowid");
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[0]["菜名"], "diy水果沙拉");
        EXPECT_EQ(rows[0]["家庭分类"], "幼儿园加餐");
        EXPECT_EQ(rows[0]["simg"], "13");
        EXPECT_EQ(rows[1]["材料1"], "否");
        EXPECT_EQ(rows[1]["做法1"], "否");
        EXPECT_EQ(r.rows("select name from sqlite_master where type='table' order by name").size(),
                  2)
            << "SYS and myfood only";
    }

    // A newer source replaces the old update, leaving nothing else behind.
    Sources changed = fixture();
    changed["qmtfood.txt"] = "日期|2001-05-06\n菜|粥|一般|早餐|家常菜|清淡|主食|幼儿园早餐|9\n";
    writeSources(src(), changed);
    tool.start(TX_MKDB, args);
    ASSERT_TRUE(tool.waitForFinished(-1));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(DbReader(update).rows("select 日期 from SYS")[0]["日期"], "2001-05-06");
    EXPECT_EQ(DbReader(update).rows("select * from myfood").size(), 1);
    EXPECT_EQ(QDir(program() + "/site/first").entryList(QDir::Files | QDir::Hidden),
              QStringList{"qmtfood.edu"});

    // A fault in the update's source stops the tool and keeps the last good update.
    changed["qmtfood.txt"] = "菜|粥|一般|早餐|家常菜|清淡|主食|幼儿园早餐|9\n";
    writeSources(src(), changed);
    tool.start(TX_MKDB, args);
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains("missing 日期"));
    EXPECT_EQ(DbReader(update).rows("select 日期 from SYS")[0]["日期"], "2001-05-06");
}

TEST_F(BuilderTest, AnUpdateThatCannotBePlacedThrowsAndLeavesNoPart) {
    const QString blocked = program() + "/qmtfood.edu";
    QDir().mkpath(blocked + "/in-the-way");
    const RecipeBook book = readRecipes(src() + "/qmtfood.txt", true);
    EXPECT_THROW(writeRecipeUpdate(book, blocked), std::runtime_error);
    EXPECT_EQ(QDir(program()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"qmtfood.edu"});
}

TEST_F(BuilderTest, IfMissingLeavesAnExistingDatabaseAlone) {
    QDir().mkpath(program());
    {
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("edited by the user");
    }
    EXPECT_FALSE(writeDatabase(readLibrary(src()), db(), program(), true));
    QFile f(db());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "edited by the user");
    f.close();

    EXPECT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    EXPECT_EQ(DbReader(db()).rows("select * from ZJ").size(), 2);
    EXPECT_EQ(QDir(program()).entryList(QDir::Files | QDir::Hidden), QStringList{"edusz.mdb"});
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

void run(sqlite3* h, const char* sql) {
    ASSERT_EQ(sqlite3_exec(h, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
}

TEST_F(BuilderTest, ARebuiltDatabaseTakesNoStaleLogOfTheOldOne) {
    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    // A chapter written to the old database's log only, the log kept as a crash leaves it.
    QByteArray wal, shm;
    {
        sqlite3* h = nullptr;
        ASSERT_EQ(sqlite3_open(db().toUtf8().constData(), &h), SQLITE_OK);
        run(h, "PRAGMA journal_mode=WAL");
        run(h, "PRAGMA wal_autocheckpoint=0");
        run(h, "insert into ZJ (章号, 章节) values (99, '旧')");
        wal = readAll(db() + "-wal");
        shm = readAll(db() + "-shm");
        sqlite3_close(h);
    }
    ASSERT_FALSE(wal.isEmpty());
    writeAll(db() + "-wal", wal);
    writeAll(db() + "-shm", shm);
    const QString copy = program() + "/copy.mdb";
    ASSERT_TRUE(QFile::copy(db(), copy));
    writeAll(copy + "-wal", wal);
    EXPECT_EQ(DbReader(copy).rows("select * from ZJ where 章号=99").size(), 1)
        << "the log does not hold the stale chapter";
    for (const QString& f : QDir(program()).entryList({"copy.mdb*"}, QDir::Files))
        QFile::remove(program() + u'/' + f);

    ASSERT_TRUE(writeDatabase(readLibrary(src()), db(), program(), false));
    EXPECT_EQ(QDir(program()).entryList(QDir::Files | QDir::Hidden), QStringList{"edusz.mdb"});
    {
        DbReader r(db());
        EXPECT_EQ(r.rows("select * from ZJ where 章号=99").size(), 0);
        EXPECT_EQ(r.rows("select * from ZJ").size(), 2);
        EXPECT_EQ(r.rows("select * from szSound").size(), 4);
        const auto check = r.rows("pragma integrity_check");
        ASSERT_EQ(check.size(), 1);
        EXPECT_EQ(check[0]["integrity_check"], "ok");
    }
}

TEST(SpokenText, SaysTheNameThenTheWordsOrThePoem) {
    const Module sz{modules()[0], {}, {}, {}, {}};
    const Module xs{modules()[1], {}, {}, {}, {}};
    const Module xyy{modules()[2], {}, {}, {}, {}};
    EXPECT_EQ(spokenText(sz, Item{1, "一", "数字", "yī 一个 一天", {}, {}, {}, 0}),
              "一。一个，一天。");
    EXPECT_EQ(spokenText(sz, Item{2, "三", "数字", "sān", {}, {}, {}, 0}), "三");
    EXPECT_EQ(spokenText(xs, Item{1, "画", "古诗", "唐·王维\n远看山有色", {}, {}, {}, 0}),
              "画。唐 王维 远看山有色");
    EXPECT_EQ(spokenText(xyy, Item{1, "Good night.", "日常用语", "晚安。", {}, {}, {}, 0}),
              "Good night.");
}

// A bad line stops the build at that line of that file.
struct BadSource {
    const char* name;
    const char* file;
    QString content;
    int line;
    const char* reason;
};

void PrintTo(const BadSource& c, std::ostream* os) {
    *os << c.name;
}

QString manyItems(int n) {
    QString s = "章|1|数字\n";
    for (int i = 1; i <= n; ++i)
        s += QStringLiteral("字|%1|%2|数字|||无\n").arg(i).arg(QChar(0x4e00 + i));
    return s;
}

const BadSource kBadSources[] = {
    {"DuplicateItemNumber", "sz.txt", "章|1|数字\n字|1|一|数字|||无\n\n字|1|二|数字|||无\n", 4,
     "duplicate 字号 1"},
    {"ThreeCharacterLiteracyName", "sz.txt", "章|1|数字\n字|1|大熊猫|数字|||无\n", 2,
     "6 GBK bytes, more than 4"},
    {"FiveLatinLetters", "sz.txt", "章|1|数字\n字|1|apple|数字|||无\n", 2, "more than 4"},
    {"MissingPictureField", "sz.txt", "章|1|数字\n# comment\n字|1|一|数字|yī|一.wav\n", 3,
     "missing field 图片"},
    {"MissingChapterName", "xs.txt", "章|1\n", 1, "missing field 章节"},
    {"TooManyFields", "xyy.txt", "章|1|单词\n语|1|cat|单词|猫|cat.wav|🐱|http://a|x\n", 2,
     "too many fields"},
    {"DuplicateChapterNumber", "sz.txt", "章|1|数字\n章|1|动物\n", 2, "duplicate 章号 1"},
    {"DuplicateChapterName", "xs.txt", "章|1|古诗\n章|2|古诗\n", 2, "duplicate 章节"},
    {"ChapterNotDefined", "sz.txt", "章|1|数字\n字|1|一|动物|||无\n", 2, "not defined"},
    {"DuplicateNameInChapterIgnoringCase", "xyy.txt",
     "章|1|单词\n语|1|apple|单词|苹果||无\n语|2|Apple|单词|苹果||无\n", 3, "duplicate name"},
    {"TwentySixLiteracyItems", "sz.txt", manyItems(26), 27, "more than 25 items"},
    {"TwentyOnePoems", "xs.txt",
     [] {
         QString s = "章|1|古诗\n";
         for (int i = 1; i <= 21; ++i)
             s += QStringLiteral("诗|%1|诗%1|古诗|文||无\n").arg(i);
         return s;
     }(),
     22, "more than 20 items"},
    {"EmptyPoem", "xs.txt", "章|1|古诗\n诗|1|静夜思|古诗|||无\n", 2, "empty 诗"},
    {"EmptyTranslation", "xyy.txt", "章|1|单词\n语|1|cat|单词| ||无\n", 2, "empty 汉语翻译"},
    {"NumberNotWhole", "sz.txt", "章|1|数字\n字|x1|一|数字|||无\n", 2, "not a positive"},
    {"SoundUsedTwice", "sz.txt", "章|1|数字\n字|1|一|数字||a.wav|无\n字|2|二|数字||A.wav|无\n", 3,
     "used twice"},
    {"SoundNotWav", "sz.txt", "章|1|数字\n字|1|一|数字||a.mp3|无\n", 2, "not a .wav"},
    {"UnknownKind", "xyy.txt", "章|1|单词\n词|1|cat|单词|猫||无\n", 2, "unknown line kind"},
    {"NoDate", "library.txt", "# nothing\n", 1, "missing 日期"},
    {"QuizSoundTwice", "quiz.txt", "声|S1.wav|一\n声|S1.wav|一\n", 2, "used twice"},
    {"RecipeValueOutsideItsList", "recipes.txt", "菜|粥|一般|早餐|家常菜|清淡|主食|幼儿园|9\n", 1,
     "家庭分类 \"幼儿园\" is not in its list"},
    {"RecipeValueOfAnotherList", "recipes.txt", "\n菜|粥|早餐|早餐|家常菜|清淡|主食|幼儿园早餐|9\n",
     2, "最爱 \"早餐\""},
    {"RecipePictureNotANumber", "recipes.txt",
     "菜|粥|一般|早餐|西餐|清淡|主食|幼儿园早餐|9\n"
     "菜|面|一般|早餐|家常菜|清淡|主食|幼儿园早餐|x\n",
     2, "simg \"x\""},
    {"RecipePictureOne", "recipes.txt", "菜|粥|一般|早餐|家常菜|清淡|主食|幼儿园早餐|1\n", 1,
     "not a picture number 2..15"},
    {"RecipePictureSixteen", "recipes.txt", "菜|粥|一般|早餐|家常菜|清淡|主食|幼儿园早餐|16\n", 1,
     "not a picture number 2..15"},
    {"RecipeNameOf26Characters", "recipes.txt",
     QStringLiteral("菜|%1|一般|早餐|家常菜|清淡|主食|幼儿园早餐|9\n").arg(QString(26, u'粥')), 1,
     "longer than 25 characters"},
    {"RecipeNameTwiceIgnoringLatinCase", "recipes.txt",
     "菜|ABC汤|一般|午餐|家常菜|清淡|猪肉|幼儿园午餐|7\n菜|abc汤|一般|午餐|家常菜|清淡|猪肉|"
     "幼儿园午餐|7\n",
     2, "already on line 1"},
    {"RecipeMissingField", "recipes.txt", "菜|粥|一般|早餐|家常菜|清淡|主食|9\n", 1,
     "expected 8 fields after 菜, found 7"},
    {"IngredientsBeforeAnyRecipe", "recipes.txt", "料|米\n", 1, "before the first 菜"},
    {"DateInTheStarterRecipes", "recipes.txt", "日期|2001-01-01\n", 1, "belongs to the update"},
};

class BadSourceTest : public ::testing::TestWithParam<BadSource> {};

TEST_P(BadSourceTest, StopsNamingFileAndLine) {
    const BadSource& c = GetParam();
    QTemporaryDir dir;
    Sources sources = fixture();
    sources[c.file] = c.content;
    writeSources(dir.path(), sources);
    try {
        readLibrary(dir.path());
        FAIL() << "accepted";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.file, dir.path() + u'/' + c.file);
        EXPECT_EQ(e.line, c.line);
        EXPECT_TRUE(e.reason.contains(QString::fromUtf8(c.reason))) << e.what();
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(
            QStringLiteral("%1/%2:%3: ").arg(dir.path(), c.file).arg(c.line)))
            << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BadSourceTest, ::testing::ValuesIn(kBadSources),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LimitsTest, TwentyFiveItemsAndTwoCharacterNamesAreAccepted) {
    QTemporaryDir dir;
    Sources sources = fixture();
    sources["sz.txt"] = manyItems(24) + "字|99|熊猫|数字|||无\n";
    writeSources(dir.path(), sources);
    EXPECT_EQ(readLibrary(dir.path()).modules[0].items.size(), 25);
}

TEST(LimitsTest, RecipeNamesOfTwentyFiveCharactersAndFullWidthLettersAreAccepted) {
    QTemporaryDir dir;
    Sources sources = fixture();
    sources["recipes.txt"] =
        QStringLiteral("菜|%1|一般|早餐|家常菜|清淡|主食|幼儿园早餐|15\n").arg(QString(25, u'粥')) +
        "菜|ABC汤|一般|午餐|家常菜|清淡|猪肉|幼儿园午餐|7\n"
        "菜|ＡＢＣ汤|一般|午餐|家常菜|清淡|猪肉|幼儿园午餐|7\n";
    writeSources(dir.path(), sources);
    const Library lib = readLibrary(dir.path());
    ASSERT_EQ(lib.recipes.size(), 3);
    EXPECT_EQ(lib.recipes[0].simg, 15);
    QTemporaryDir out;
    ASSERT_TRUE(writeDatabase(lib, out.path() + "/edusz.mdb", out.path(), false))
        << "the column takes 25 characters";
}

TEST(RecipeUpdateSource, NeedsExactlyOneDate) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/qmtfood.txt";
    for (const auto& [content, line, reason] :
         {std::tuple{"菜|粥|一般|早餐|家常菜|清淡|主食|幼儿园早餐|9\n", 1, "missing 日期"},
          std::tuple{"日期|2001-01-01\n日期|2001-01-02\n", 2, "second 日期 line (first on line 1)"},
          std::tuple{"日期|\n", 1, "expected 日期|<date>"}}) {
        writeSources(dir.path(), {{"qmtfood.txt", QString::fromUtf8(content)}});
        try {
            readRecipes(path, true);
            ADD_FAILURE() << "accepted " << content;
        } catch (const SourceError& e) {
            EXPECT_EQ(e.line, line) << content;
            EXPECT_TRUE(e.reason.contains(QString::fromUtf8(reason))) << e.what();
        }
    }
}

TEST_F(BuilderTest, TheToolStopsWithFileAndLineAndWritesNothing) {
    Sources bad = fixture();
    bad["sz.txt"] = "章|1|数字\n字|1|大熊猫|数字|||无\n";
    writeSources(src(), bad);
    QProcess tool;
    tool.start(TX_MKDB, {"--sources", src(), "--program-dir", program(), "--speak", "--db", db()});
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(tool.exitCode(), 1);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_TRUE(err.contains(src() + "/sz.txt:2: ")) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(program()));

    writeSources(src(), fixture());
    tool.start(TX_MKDB, {"--sources", src(), "--program-dir", program(), "--db", db()});
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(DbReader(db()).rows("select * from szSound").size(), 4);
}

TEST_F(BuilderTest, RecordingsAreRemadeOnlyWhenTheirTextChanges) {
    if (QString(TX_ESPEAK).isEmpty())
        GTEST_SKIP() << "espeak-ng not installed";
    const QList<SpeechJob> jobs = speechJobs(readLibrary(src()), program());
    ASSERT_EQ(jobs.size(), 6); // three literacy items with sound, one poem, one word, one quiz
    SpeechResult first = speak(jobs, TX_ESPEAK, 3);
    EXPECT_EQ(first.made, 6);
    for (const SpeechJob& job : jobs)
        EXPECT_TRUE(isPcmWav(job.path)) << job.path.toStdString();
    EXPECT_TRUE(isPcmWav(program() + "/S1.wav"));

    SpeechResult second = speak(jobs, TX_ESPEAK, 3);
    EXPECT_EQ(second.made, 0);
    EXPECT_EQ(second.kept, 6);

    QList<SpeechJob> changed = jobs;
    changed[0].text = "二。二月，十二。";
    QFile::remove(jobs[1].path);
    SpeechResult third = speak(changed, TX_ESPEAK, 3);
    EXPECT_EQ(third.made, 2);
    EXPECT_EQ(third.kept, 4);
}

TEST_F(BuilderTest, AnUnknownVoiceStopsBeforeAnyRecording) {
    if (QString(TX_ESPEAK).isEmpty())
        GTEST_SKIP() << "espeak-ng not installed";
    const QList<SpeechJob> good = {{program() + "/a.wav", "cmn", 120, "一"},
                                   {program() + "/b.wav", "en-us+f2", 120, "two"}};
    EXPECT_EQ(speak(good, TX_ESPEAK, 2).made, 2);
    const QList<SpeechJob> bad = {{program() + "/c.wav", "cmn", 120, "三"},
                                  {program() + "/d.wav", "no-such-voice", 120, "x"}};
    EXPECT_THROW(speak(bad, TX_ESPEAK, 2), std::runtime_error);
    EXPECT_FALSE(QFileInfo::exists(program() + "/c.wav"));
}

TEST_F(BuilderTest, ASpeakerThatFailsIsReportedAndLeavesNoFile) {
    if (QString(TX_ESPEAK).isEmpty())
        GTEST_SKIP() << "espeak-ng not installed";
    // Lists the real voices, then fails to speak.
    const QString failing = dir.path() + "/failing-espeak";
    {
        QFile f(failing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n[ \"$1\" = --voices ] && exec " TX_ESPEAK " --voices\nexit 3\n");
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }
    const QList<SpeechJob> jobs = {{program() + "/a.wav", "cmn", 120, "一"},
                                   {program() + "/b.wav", "cmn", 120, "二"}};
    for (const QString& speaker : {failing, QStringLiteral("/nonexistent/espeak-ng")}) {
        EXPECT_THROW(speak(jobs, speaker, 2), std::runtime_error) << speaker.toStdString();
        EXPECT_EQ(QDir(program()).entryList(QDir::Files | QDir::Hidden), QStringList{})
            << speaker.toStdString();
    }
}

} // namespace

namespace {

// A stand-in for espeak-ng whose recording is a WAV header followed by the text it was
// given, so that tests can tell which text a file holds.
QString fakeSpeaker(const QString& dir) {
    const QString path = dir + "/fake-espeak";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("#!/bin/sh\n"
            "if [ \"$1\" = --voices ]; then\n"
            "  echo 'Pty Language       Age/Gender VoiceName          File          Other'\n"
            "  echo ' 5  cmn             M  Chinese_Mandarin   sit/cmn       (zh-cmn 5)'\n"
            "  exit 0\n"
            "fi\n"
            // -v voice -s rate -w out text
            "{ printf 'RIFF0000WAVEfmt '; printf '%064d' 0; printf '%s' \"$7\"; } > \"$6\"\n");
    f.setPermissions(f.permissions() | QFile::ExeOwner);
    return path;
}

class RecordingTest : public BuilderTest {
protected:
    void SetUp() override {
        BuilderTest::SetUp();
        speaker = fakeSpeaker(dir.path());
        ASSERT_FALSE(speaker.isEmpty());
        jobs = {{program() + "/a.wav", "cmn", 120, "一"}, {program() + "/b.wav", "cmn", 120, "二"}};
    }
    SpeechResult speakAll() { return speak(jobs, speaker, 2); }

    QString speaker;
    QList<SpeechJob> jobs;
};

TEST_F(RecordingTest, ATeachersRecordingSurvivesATextChange) {
    EXPECT_EQ(speakAll().made, 2);
    ASSERT_TRUE(readAll(jobs[0].path).endsWith("一"));
    const QByteArray teachers = "RIFF0000WAVE the teacher's own voice, not from espeak";
    writeAll(jobs[0].path, teachers);

    jobs[0].text = "一个";
    jobs[1].text = "二月";
    const SpeechResult changed = speakAll();
    EXPECT_EQ(changed.made, 1);
    EXPECT_EQ(changed.left, 1);
    EXPECT_EQ(readAll(jobs[0].path), teachers);
    EXPECT_TRUE(readAll(jobs[1].path).endsWith("二月"));

    // Still the teacher's on the next build, and with yet another text.
    jobs[0].text = "一天";
    EXPECT_EQ(speakAll().left, 1);
    EXPECT_EQ(readAll(jobs[0].path), teachers);

    // Only a missing file is made anew.
    ASSERT_TRUE(QFile::remove(jobs[0].path));
    const SpeechResult remade = speakAll();
    EXPECT_EQ(remade.made, 1);
    EXPECT_EQ(remade.kept, 1);
    EXPECT_TRUE(readAll(jobs[0].path).endsWith("一天"));
    EXPECT_EQ(QDir(program()).entryList({"*.part"}, QDir::Files), QStringList{});
}

TEST_F(RecordingTest, WithoutItsStampAFileIsKeptAndOnlyAFreshRecordingIsAdopted) {
    EXPECT_EQ(speakAll().made, 2);
    const QByteArray teachers = "a teacher's recording";
    writeAll(jobs[1].path, teachers);
    ASSERT_TRUE(QFile::remove(program() + "/.tx-voice-stamps"));

    const SpeechResult lost = speakAll();
    EXPECT_EQ(lost.made, 0);
    EXPECT_EQ(lost.kept, 1); // a.wav equals what would be spoken now
    EXPECT_EQ(lost.left, 1);
    EXPECT_EQ(readAll(jobs[1].path), teachers);

    jobs[0].text = "一个";
    jobs[1].text = "二月";
    const SpeechResult changed = speakAll();
    EXPECT_EQ(changed.made, 1);
    EXPECT_EQ(changed.left, 1);
    EXPECT_TRUE(readAll(jobs[0].path).endsWith("一个"));
    EXPECT_EQ(readAll(jobs[1].path), teachers);
}

TEST_F(RecordingTest, AnUntouchedRecordingIsRemadeWhenItsTextChanges) {
    EXPECT_EQ(speakAll().made, 2);
    const SpeechResult same = speakAll();
    EXPECT_EQ(same.made, 0);
    EXPECT_EQ(same.kept, 2);
    jobs[1].rate = 130;
    jobs[0].text = "一个";
    const SpeechResult changed = speakAll();
    EXPECT_EQ(changed.made, 2);
    EXPECT_EQ(changed.left, 0);
    EXPECT_TRUE(readAll(jobs[0].path).endsWith("一个"));
}

} // namespace
