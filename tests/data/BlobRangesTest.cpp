#include "DataFixture.h"
#include "data/Connection.h"
#include "data/Dataset.h"

#include <gtest/gtest.h>

namespace tx::test {
namespace {

using Ranges = QList<QPair<qint64, qint64>>;

// Pieces of a picture, read without the rest of it.
class BlobRanges : public ::testing::Test {
protected:
    static constexpr int kPicture = 4 * 1024 * 1024;

    void SetUp() override {
        createDatabase(
            file, shippedDatabase(true) +
                      QStringList{"INSERT INTO szSound (字号, 字名, 章节) VALUES (1, 'a', 'c')",
                                  QString("INSERT INTO szSound (字号, 字名, 章节, PIC) VALUES "
                                          "(2, 'b', 'c', CAST(zeroblob(%1) || x'0102' AS "
                                          "BLOB))")
                                      .arg(kPicture)});
        connection.open(file);
        items.setSql("select * from szSound order by 字号");
        items.open();
    }

    QTemporaryDir dir;
    QString file = dir.filePath("edusz.mdb");
    Connection connection;
    Dataset items{connection};
};

TEST_F(BlobRanges, PiecesOfAStoredPictureAreClippedAtItsEnds) {
    items.next();
    Field& pic = items.fieldByName("PIC");
    EXPECT_EQ(pic.byteSize(), kPicture + 2);
    const QList<QByteArray> parts = pic.readByteRanges(
        Ranges{{0, 4}, {kPicture, 2}, {kPicture + 1, 10}, {kPicture + 5, 3}, {-5, 3}, {100, 0}});
    ASSERT_EQ(parts.size(), 6);
    EXPECT_EQ(parts[0], QByteArray(4, '\0'));
    EXPECT_EQ(parts[1], QByteArray("\x01\x02", 2));
    EXPECT_EQ(parts[2], QByteArray("\x02", 1));
    EXPECT_EQ(parts[3], QByteArray());
    EXPECT_EQ(parts[4], QByteArray(3, '\0'));
    EXPECT_EQ(parts[5], QByteArray());
}

TEST_F(BlobRanges, NullAndPendingValuesAnswerFromWhatTheFieldHolds) {
    Field& pic = items.fieldByName("PIC");
    EXPECT_EQ(pic.byteSize(), 0);
    EXPECT_EQ(pic.readByteRanges(Ranges{{0, 4}}), QList<QByteArray>{QByteArray()});
    items.edit();
    pic.setBytes("BMxyz");
    EXPECT_EQ(pic.byteSize(), 5);
    EXPECT_EQ(pic.readByteRanges(Ranges{{2, 2}, {4, 9}}),
              (QList<QByteArray>{QByteArray("xy"), QByteArray("z")}));
    items.cancel();
}

} // namespace
} // namespace tx::test
