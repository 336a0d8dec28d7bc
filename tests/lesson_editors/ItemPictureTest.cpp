#include "EditorFixture.h"
#include "platform/BitmapCodec.h"
#include "support/JpegWriter.h"

#include <QBuffer>
#include <QLabel>
#include <QTableView>

namespace tx::test {
namespace {

using tx::testing::JpegKind;
using tx::testing::makeJpeg;

// Pictures are the same in every module: the literacy dialog stands for all three.
class ItemPicture : public EditorFixture {
protected:
    void SetUp() override {
        addChapter(sz, 1, "数字");
        stored = bmpToBmp24(placeholderBmp());
        stored[60] = 'x'; // a recognisable stored picture
        addItem(sz, {1, "一", "数字", "yi", "", "", "有", stored});
        addItem(sz, {2, "二", "数字", "er", "", "", "", placeholderBmp()});
        list = itemList(sz);
        jpegPath = writeFile("photo.jpg", makeJpeg(33, 17, JpegKind::Progressive, [](int x, int) {
                                 return x < 16 ? 0xff0000u : 0x0000ffu;
                             }));
    }

    ItemDialog* open(ItemDialog::Mode mode, int row = 0) {
        child<QTableView>(list, "db1")->selectRow(row);
        auto* d = newItemDialog(t.services, sz, mode, "数字", list);
        if (mode == ItemDialog::Mode::Modify) {
            ItemDialog::Item i;
            i.number = dm->goQuery.fieldByName("字号").asString();
            i.name = dm->goQuery.fieldByName("字名").asString();
            if (dm->goQuery.fieldByName("图片").asString() == "有")
                i.picture = dm->goQuery.fieldByName("PIC").asBytes();
            d->setItem(i);
        }
        d->show();
        return d;
    }

    void choose(ItemDialog* d, const QString& path, int filterIndex = 1) {
        t.dialogs.answerFile(path, filterIndex);
        d->simg1Click();
    }

    bool pictureShown(ItemDialog* d) {
        const QLabel* pic = child<QLabel>(d, "PIC1");
        return !pic->pixmap().isNull();
    }

    QByteArray stored;
    QString jpegPath;
    ItemListWindow* list = nullptr;
};

TEST_F(ItemPicture, JpegIsStoredAsFullSizeBitmap) {
    ItemDialog* d = open(ItemDialog::Mode::Add);
    choose(d, jpegPath);
    EXPECT_EQ(t.dialogs.fileRequests().back().filter, "(*.jpg)|*.jpg|(*.bmp)|*.bmp");
    EXPECT_TRUE(pictureShown(d));
    // The chosen file may go away before the save: the dialog holds the picture.
    QFile::remove(jpegPath);
    setText(d, "numed", "3");
    setText(d, "nameed", "三");
    d->AddBtnClick();
    EXPECT_EQ(messages(), QStringList());
    const auto saved = item(sz, "三");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->flag, "有");
    EXPECT_TRUE(saved->pic.startsWith("BM"));
    EXPECT_EQ(saved->pic.size(), bmp24FileSize(33, 17));
    EXPECT_EQ(bmp24Size(saved->pic), QSize(33, 17));
}

TEST_F(ItemPicture, WindowsKeepBeingServedWhileAPictureIsDecoded) {
    ItemDialog* d = open(ItemDialog::Mode::Add);
    bool servedDuringDecode = false;
    bool decoding = true;
    QMetaObject::invokeMethod(
        d, [&] { servedDuringDecode = decoding; }, Qt::QueuedConnection);
    choose(d, jpegPath);
    decoding = false;
    EXPECT_TRUE(servedDuringDecode);
    EXPECT_EQ(bmp24Size(d->picture()), QSize(33, 17));
}

TEST_F(ItemPicture, BmpWithTheSecondFilterEntry) {
    QImage image(5, 4, QImage::Format_Indexed8);
    image.setColorCount(2);
    image.setColor(0, qRgb(0, 0, 0));
    image.setColor(1, qRgb(0, 200, 0));
    image.fill(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    ItemDialog* d = open(ItemDialog::Mode::Add);
    choose(d, writeFile("p.bmp", bytes), 2);
    EXPECT_EQ(bmp24Size(d->picture()), QSize(5, 4));
    // The same BMP read with the JPEG entry is refused.
    choose(d, writeFile("p2.bmp", bytes), 1);
    EXPECT_EQ(messages(), QStringList{"选择图象格式不对"});
    EXPECT_EQ(bmp24Size(d->picture()), QSize(5, 4));
}

TEST_F(ItemPicture, UnreadablePicturesKeepThePreviousOne) {
    const QByteArray good =
        makeJpeg(16, 16, JpegKind::Baseline, [](int, int) { return 0x00ff00u; });
    struct Case {
        const char* name;
        QByteArray bytes;
        int filter;
    };
    const Case cases[] = {
        {"truncated jpeg", good.left(good.size() / 2), 1},
        {"claims 60000x60000", testing::jpegHeaderClaiming(60000, 60000), 1},
        {"text as bmp", QByteArray("not a picture"), 2},
        {"truncated bmp", placeholderBmp().left(100), 2},
    };
    ItemDialog* d = open(ItemDialog::Mode::Modify);
    const QByteArray before = d->picture();
    ASSERT_FALSE(before.isEmpty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.dialogs.clear();
        choose(d, writeFile("bad.pic", c.bytes), c.filter);
        EXPECT_EQ(messages(), QStringList{"选择图象格式不对"});
        EXPECT_EQ(lastMessage().caption, "信息");
        EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
        EXPECT_EQ(d->picture(), before);
    }
    t.dialogs.clear();
    choose(d, dir.filePath("missing.jpg"));
    EXPECT_EQ(messages(), QStringList{"选择图象格式不对"});
    d->ModifyBtnClick();
    EXPECT_EQ(item(sz, "一")->pic, stored);
}

TEST_F(ItemPicture, ClearedPictureLeavesThePlaceholderOnModifyOnly) {
    ItemDialog* d = open(ItemDialog::Mode::Modify);
    EXPECT_TRUE(pictureShown(d));
    d->cimg2Click();
    EXPECT_FALSE(pictureShown(d));
    d->ModifyBtnClick();
    auto saved = item(sz, "一");
    EXPECT_EQ(saved->flag, "");
    EXPECT_EQ(saved->pic, placeholderBmp());
    EXPECT_EQ(saved->pic.size(), 246);

    // A new item without a picture has no picture data at all.
    d = open(ItemDialog::Mode::Add);
    setText(d, "numed", "3");
    setText(d, "nameed", "三");
    d->AddBtnClick();
    EXPECT_EQ(item(sz, "三")->flag, "");
    EXPECT_TRUE(item(sz, "三")->pic.isNull());

    // An item without data keeps none when saved without a picture.
    run("update szSound set PIC = null where 字号 = 2");
    list->CB1Change();
    d = open(ItemDialog::Mode::Modify, 1);
    ASSERT_EQ(textOf(d, "nameed"), "二");
    d->ModifyBtnClick();
    EXPECT_TRUE(item(sz, "二")->pic.isNull());
}

TEST_F(ItemPicture, RestoreBringsBackTheStoredPicture) {
    ItemDialog* d = open(ItemDialog::Mode::Modify);
    d->cimg2Click();
    d->himg1Click();
    EXPECT_EQ(d->picture(), stored);
    choose(d, jpegPath);
    EXPECT_EQ(bmp24Size(d->picture()), QSize(33, 17));
    d->himg1Click();
    EXPECT_EQ(d->picture(), stored);
    d->ModifyBtnClick();
    EXPECT_EQ(item(sz, "一")->pic, stored);
    EXPECT_EQ(item(sz, "一")->flag, "有");

    // In add mode it takes the picture of the item selected in the list, if flagged.
    d = open(ItemDialog::Mode::Add, 0);
    d->himg1Click();
    EXPECT_EQ(d->picture(), stored);
    d->close();
    d = open(ItemDialog::Mode::Add, 1);
    d->himg1Click();
    EXPECT_TRUE(d->picture().isEmpty()); // flag empty: the placeholder is no picture
}

TEST_F(ItemPicture, StoredPictureWithBlockHeaderIsKeptUnlessChanged) {
    QByteArray headed("\x01\x00\x00\x01", 4);
    const quint32 rest = quint32(stored.size());
    headed.append(reinterpret_cast<const char*>(&rest), 4);
    headed.append(stored);
    run("update szSound set PIC = ? where 字号 = 1", [&](sqlite3_stmt* st) {
        sqlite3_bind_blob(st, 1, headed.constData(), int(headed.size()), SQLITE_TRANSIENT);
    });
    list->CB1Change();
    ItemDialog* d = open(ItemDialog::Mode::Modify);
    EXPECT_EQ(d->picture(), stored);
    setText(d, "PYED", "new text");
    d->ModifyBtnClick();
    EXPECT_EQ(item(sz, "一")->pic, headed);
    EXPECT_EQ(item(sz, "一")->text, "new text");
}

} // namespace
} // namespace tx::test
