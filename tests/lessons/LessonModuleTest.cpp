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

namespace tx::test {
namespace {

// A picture red above and blue below, as a BMP file image.
QByteArray twoColours(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(Qt::red);
    for (int y = h / 2; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixelColor(x, y, Qt::blue);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

class StoredPictures : public LessonFixture {};

TEST_F(StoredPictures, ALargePictureComesBackReducedTheRightWayUp) {
    addItem(sz, {1, "大", "一章", "", "", "", "有", withHeader(twoColours(900, 700))});
    addItem(sz, {2, "小", "一章", "", "", "", "有", twoColours(100, 80)});
    addItem(sz, {3, "断", "一章", "", "", "", "有", twoColours(900, 700).left(5000)});
    connectDm();
    const QSize box(158, 139);
    LessonItem big;
    big.name = "大";
    big.rowKey = 1;
    big.pictureFlag = "有";
    const QImage reduced = readLessonPicture(dm->ADOConnection1, sz, big, box);
    EXPECT_EQ(reduced.size(), QSize(316, 278));
    EXPECT_EQ(reduced.pixelColor(10, 5), QColor(Qt::red));
    EXPECT_EQ(reduced.pixelColor(10, 270), QColor(Qt::blue));

    LessonItem small = big;
    small.name = "小";
    small.rowKey = 2;
    EXPECT_EQ(readLessonPicture(dm->ADOConnection1, sz, small, box).size(), QSize(100, 80));

    LessonItem truncated = big;
    truncated.name = "断";
    truncated.rowKey = 3;
    EXPECT_TRUE(readLessonPicture(dm->ADOConnection1, sz, truncated, box).isNull());

    LessonItem renamed = big;
    renamed.name = "别";
    EXPECT_TRUE(readLessonPicture(dm->ADOConnection1, sz, renamed, box).isNull())
        << "another item now holds the number";
}

} // namespace
} // namespace tx::test
