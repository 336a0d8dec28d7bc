#include "ContentTestSupport.h"
#include "Database.h"
#include "Library.h"
#include "platform/Gbk.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(StarterLibrary, AFreshBuildHoldsEveryRuleAndEveryLiteracyItemHasAPicture) {
    QTemporaryDir dir;
    const QString db = dir.path() + "/edusz.mdb";
    ASSERT_TRUE(writeDatabase(readLibrary(TX_CONTENT_SOURCES), db, TX_PROGRAM_DIR, false));
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
