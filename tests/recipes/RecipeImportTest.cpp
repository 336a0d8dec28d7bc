#include "RecipeFixture.h"

#include "data/DataFixture.h"

#include "recipes/TDOWNCAIForm.h"
#include "recipes/TmyfoodForm.h"
#include "widgets/TLabel3D.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidget>

namespace tx {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const QString kSuccess = QStringLiteral("操作成功,你下载的 [菜谱]资料 导入成功!");
const QString kColumns = QStringLiteral("菜名,最爱,材料,材料1,simg");

class RecipeImportTest : public RecipeFixture {
protected:
    RecipeImportTest() {
        addRecipes({{.name = "Pasta",
                     .favourite = "最爱",
                     .ingredients = "面",
                     .ingredientsOn = "是",
                     .simg = "3"}});
        openBrowser();
    }
    QString updateFile() const { return folder() + QStringLiteral("qmtfood.mdb"); }

    // A shown import window on the update file, its start-up done.
    QPointer<TDOWNCAIForm> openImport(const QString& file) {
        QPointer<TDOWNCAIForm> form = new TDOWNCAIForm(services, file, browser);
        form->show();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form;
    }
    QString caption(TDOWNCAIForm* form, const char* label) {
        return child<TLabel3D>(form, label)->caption();
    }
    // Imports through a fresh window.
    void importOnce() {
        QPointer<TDOWNCAIForm> form = openImport(updateFile());
        ASSERT_TRUE(form);
        form->UPCAISBClick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull());
    }
    QStringList treeNames() {
        QStringList names;
        auto* tree = child<QTreeWidget>(browser, "tree2");
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j)
                names << tree->topLevelItem(i)->child(j)->text(0);
        return names;
    }
};

TEST_F(RecipeImportTest, ShowsBothDatesAndImportsOnlyNewNamesFirstRowWinning) {
    test::createUpdateFile(updateFile(), "2030-05-01",
                           {{.name = "PASTA",
                             .favourite = "一般",
                             .ingredients = "别的",
                             .ingredientsOn = "是",
                             .simg = "9"},
                            {.name = "Soup", .favourite = "喜爱", .simg = "4"},
                            {.name = "soup", .favourite = "一般", .simg = "5"},
                            {.name = "豆浆",
                             .favourite = "最爱",
                             .ingredients = "黄豆",
                             .ingredientsOn = "否",
                             .simg = "14"}});
    QPointer<TDOWNCAIForm> form = openImport(updateFile());
    ASSERT_TRUE(form);
    EXPECT_EQ(caption(form, "LB2"), "2030-05-01");
    EXPECT_EQ(caption(form, "LB3"), "2004-05-01");
    EXPECT_EQ(form->windowTitle(), "导入最新的 [菜谱]资料");
    const QString record = QStringLiteral("Software\\ODBC\\ODBC.INI\\FOODqlyx");
    EXPECT_EQ(test.registry.read(record, "DBQ"), RegistryValue::fromText(updateFile()));
    EXPECT_EQ(test.registry.read(record, "FIL"), RegistryValue::fromText("FOODqlyx;"));
    form->UPCAISBClick();
    EXPECT_THAT(test.dialogs.messageTexts(), ElementsAre(kSuccess));
    EXPECT_EQ(test.dialogs.messages()[0].caption, "信息");
    EXPECT_EQ(test.dialogs.messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(test::storedDate(databaseFile()), "2030-05-01");
    EXPECT_THAT(test::storedRecipes(databaseFile(), kColumns),
                ElementsAre("Pasta|最爱|面|是|3", "Soup|喜爱||否|4", "豆浆|最爱|黄豆|否|14"));
    EXPECT_THAT(treeNames(), ElementsAre("Pasta", "豆浆", "Soup"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());

    // Again: nothing new, the date set all the same, the same success.
    test.dialogs.clear();
    importOnce();
    EXPECT_THAT(test.dialogs.messageTexts(), ElementsAre(kSuccess));
    EXPECT_EQ(test::storedRecipes(databaseFile()).size(), 3);
}

TEST_F(RecipeImportTest, AnOlderUpdateIsImportedAndItsDateTaken) {
    test::createUpdateFile(updateFile(), "1999-01-01", {{.name = "白粥"}});
    importOnce();
    EXPECT_EQ(test::storedDate(databaseFile()), "1999-01-01");
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("Pasta", "白粥"));
}

TEST_F(RecipeImportTest, AReadOnlyUpdateFileIsImportedAndLeftAsItWas) {
    test::createUpdateFile(updateFile(), "2030-05-01", {{.name = "白粥"}});
    QFile::setPermissions(updateFile(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile original(updateFile());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    importOnce();
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("Pasta", "白粥"));
    QFile after(updateFile());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_FALSE(QFile::exists(updateFile() + "-wal"));
    EXPECT_FALSE(QFile::exists(updateFile() + "-shm"));
    EXPECT_FALSE(QFile::exists(updateFile() + "-journal"));
}

TEST_F(RecipeImportTest, ThousandsOfUpdateRecipesAllArrive) {
    std::vector<RecipeRow> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back(
            {.name = QStringLiteral("菜%1").arg(i), .simg = QString::number(2 + i % 14)});
    rows.push_back({.name = "pasta"});
    test::createUpdateFile(updateFile(), "2030-05-01", rows);
    importOnce();
    const QStringList names = test::storedRecipes(databaseFile());
    ASSERT_EQ(names.size(), 3001);
    EXPECT_EQ(names[1], "菜0");
    EXPECT_EQ(names.last(), "菜2999");
}

TEST_F(RecipeImportTest, AFailureInTheMiddleStoresNothing) {
    // The content table refuses a name over 25 characters; the update's table takes it.
    test::createUpdateFile(updateFile(), "2030-05-01",
                           {{.name = "白粥"}, {.name = QString(30, u'长')}, {.name = "豆浆"}});
    QPointer<TDOWNCAIForm> form = openImport(updateFile());
    ASSERT_TRUE(form);
    EXPECT_ANY_THROW(form->UPCAISBClick());
    EXPECT_FALSE(form.isNull());
    EXPECT_EQ(test::storedDate(databaseFile()), "2004-05-01");
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("Pasta"));
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
    // No dataset shows what was rolled back.
    EXPECT_EQ(dm->goQuery.recordCount(), 1);
    dm->SYSTable.first();
    EXPECT_EQ(dm->SYSTable.fieldByName("日期").asString(), "2004-05-01");
    browser->BuildRecipeTree();
    EXPECT_THAT(treeNames(), ElementsAre("Pasta"));
}

struct DamagedCase {
    const char* label;
    std::function<void(const QString&)> make;
    const char* reason; // part of the message
};

class DamagedUpdateTest : public RecipeImportTest,
                          public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedUpdateTest, IsReportedTheWindowClosesAndTheProgramGoesOn) {
    GetParam().make(updateFile());
    QPointer<TDOWNCAIForm> form = openImport(updateFile());
    EXPECT_TRUE(form.isNull());
    ASSERT_EQ(test.dialogs.messages().size(), 1u);
    const auto& message = test.dialogs.messages()[0];
    EXPECT_EQ(message.caption, "注意");
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_THAT(message.text.toStdString(), HasSubstr("无法读取下载的 [菜谱]资料文件 qmtfood.mdb"));
    EXPECT_THAT(message.text.toStdString(), HasSubstr(GetParam().reason));
    EXPECT_EQ(test::storedDate(databaseFile()), "2004-05-01");
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("Pasta"));
    ASSERT_FALSE(browser.isNull());
    browser->BuildRecipeTree();
    EXPECT_THAT(treeNames(), ElementsAre("Pasta"));
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedUpdateTest,
    ::testing::Values(
        DamagedCase{"Missing", [](const QString&) {}, "cannot open database"},
        DamagedCase{"NotADatabase", [](const QString& f) { writeBytes(f, QByteArray(4096, 'x')); },
                    "cannot open database"},
        DamagedCase{"Empty", [](const QString& f) { writeBytes(f, {}); }, "file is empty"},
        DamagedCase{"NoRecipeTable",
                    [](const QString& f) {
                        test::createUpdateFile(f, "2030-01-01", {});
                        test::createDatabase(f, {"DROP TABLE myfood"});
                    },
                    "myfood"},
        DamagedCase{"NoSysTable",
                    [](const QString& f) {
                        test::createUpdateFile(f, "2030-01-01", {});
                        test::createDatabase(f, {"DROP TABLE SYS"});
                    },
                    "SYS"},
        DamagedCase{"NoDate",
                    [](const QString& f) {
                        test::createUpdateFile(f, "2030-01-01", {});
                        test::createDatabase(f, {"DELETE FROM SYS"});
                    },
                    "SYS"},
        DamagedCase{"NoSimgColumn",
                    [](const QString& f) {
                        test::createUpdateFile(f, "2030-01-01", {});
                        test::createDatabase(f, {"ALTER TABLE myfood DROP COLUMN simg"});
                    },
                    "simg"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RecipeImportTest, WithoutADataSourceRecordTheDatesStayAndAnImportIsReported) {
    test::createUpdateFile(updateFile(), "2030-05-01", {{.name = "白粥"}});
    test.registry.setWritable(false);
    QPointer<TDOWNCAIForm> form = openImport(updateFile());
    ASSERT_TRUE(form);
    EXPECT_EQ(caption(form, "LB2"), "日期");
    EXPECT_EQ(caption(form, "LB3"), "日期");
    EXPECT_ANY_THROW(form->UPCAISBClick());
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("Pasta"));
    delete form.data();
}

} // namespace
} // namespace tx
