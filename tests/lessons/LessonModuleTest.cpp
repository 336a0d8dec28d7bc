#include "LessonFixture.h"
#include "lessons/LessonPicture.h"

#include <QtEndian>

namespace tx::test {
namespace {

TEST(LessonModules, LiteracyRunsTheQueriesAsWritten) {
    EXPECT_EQ(sz.chapterQuery(), "select * from ZJ order by 章号");
    EXPECT_EQ(sz.itemQuery(),
              QStringList({"select * from szSound where 章节=:zzj", " order by  字号"}));
    EXPECT_EQ(sz.allItemsQuery(), "select * from szsound order by 字号");
    EXPECT_EQ(sz.allChaptersQuery(), "select * from zj");
    EXPECT_EQ(sz.chapterItemsQuery(), "select * from szSound where 章节=:zzj");
    EXPECT_EQ(sz.renamedChapterItemsQuery(), "select * from szSound  where  章节=:zjname");
}

TEST(LessonModules, PoemsAndEnglishUseTheirOwnTablesAndOrder) {
    EXPECT_EQ(xs.chapterQuery(), "select * from xsZJ order by 章号");
    EXPECT_EQ(xs.itemQuery().join(""), "select * from xsSound where 章节=:zzj order by  诗号");
    EXPECT_EQ(xyy.itemQuery().join(""), "select * from xyySound where 章节=:zzj order by  语号");
    EXPECT_EQ(xyy.renamedChapterItemsQuery(), "select * from xyySound  where  章节=:zjname");
    for (const LessonModule* m : {&sz, &xs, &xyy}) {
        EXPECT_EQ(m->itemGridColumns.front().field, m->numberField);
        EXPECT_EQ(m->itemGridColumns[1].field, m->nameField);
        EXPECT_TRUE(m->itemGridColumns[1].emphasised);
        EXPECT_EQ(m->itemGridColumns.back().field, u"声音");
    }
    EXPECT_EQ(sz.itemGridColumns.size(), 7u);
    EXPECT_EQ(xyy.itemGridColumns[1].width, 230);
}

// A stored picture with the 8-byte header in front of the bitmap.
QByteArray withHeader(const QByteArray& bmp, quint16 count = 1, quint16 type = 0x0100,
                      qint64 sizeDelta = 0) {
    QByteArray header(8, '\0');
    auto* p = reinterpret_cast<uchar*>(header.data());
    qToLittleEndian<quint16>(count, p);
    qToLittleEndian<quint16>(type, p + 2);
    qToLittleEndian<quint32>(quint32(bmp.size() + sizeDelta), p + 4);
    return header + bmp;
}

TEST(LessonPictures, TheHeaderIsSkippedOnlyWhenItIsExactlyThere) {
    const QByteArray bmp = bmpBytes(4, 3);
    EXPECT_EQ(pictureBitmapBytes(bmp), bmp);
    EXPECT_EQ(pictureBitmapBytes(withHeader(bmp)), bmp);
    for (const QByteArray& kept :
         {withHeader(bmp, 2), withHeader(bmp, 1, 0x0200), withHeader(bmp, 1, 0x0100, 1),
          withHeader(bmp, 1, 0x0100, -1), QByteArray("\x01\x00\x00\x01", 4), QByteArray()}) {
        EXPECT_EQ(pictureBitmapBytes(kept), kept);
    }
    EXPECT_EQ(decodeLessonPicture(withHeader(bmp)).size(), QSize(4, 3));
    EXPECT_EQ(decodeLessonPicture(bmp).pixelColor(0, 0), QColor(Qt::red));
}

QByteArray withInfo(QByteArray bmp, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, reinterpret_cast<uchar*>(bmp.data()) + offset);
    return bmp;
}

TEST(LessonPictures, DamagedDataGivesNoPicture) {
    const QByteArray bmp = bmpBytes(40, 30);
    const QByteArray damaged[] = {
        QByteArray(),
        QByteArray("BM"),
        bmp.left(bmp.size() / 2),                      // truncated pixel rows
        bmp.left(20),                                  // truncated header
        QByteArray("\xff\xd8\xff\xe0 JFIF jpeg", 15),  // not a bitmap
        withInfo(bmp, 18, 1 << 30),                    // width claims a billion pixels
        withInfo(withInfo(bmp, 18, 60000), 22, 60000), // 3.6 gigapixels in a few bytes
        withInfo(bmp, 18, -40),                        // negative width
        withInfo(bmp, 10, bmp.size() + 10),            // pixels after the end
        withHeader(bmp.left(60)),
    };
    for (const QByteArray& data : damaged) {
        EXPECT_TRUE(decodeLessonPicture(data).isNull()) << data.size();
    }
}

} // namespace
} // namespace tx::test
