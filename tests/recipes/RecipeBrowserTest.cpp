#include "RecipeFixture.h"

#include "platform/RtfWriter.h"
#include "recipes/RecipeText.h"
#include "recipes/TDOWNCAIForm.h"
#include "recipes/TmyfoodForm.h"
#include "recipes/TmyfoodaddForm.h"
#include "widgets/TFlatSpeedButton.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace tx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const QString kChooseFirst = QStringLiteral("在导出之前,请先选择菜名可!");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The plain text an independent RTF reader finds in the file.
QString independentRtfText(const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral("python3"),
                 {QStringLiteral(TX_RECIPES_TEST_DIR "/rtf_text.py"), path});
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QString::fromUtf8(reader.readAllStandardOutput());
}

// Runs action; while its modal window is up, hands it to inside, then closes it.
template <typename Window>
void whileModal(const std::function<void()>& action, const std::function<void(Window*)>& inside) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<Window*>(QApplication::activeModalWidget());
        seen = w != nullptr;
        if (w) {
            inside(w);
            if (QApplication::activeModalWidget() == w)
                w->close();
        }
    });
    action();
    EXPECT_TRUE(seen);
}

class RecipeBrowserTest : public RecipeFixture {
protected:
    void click(const QString& name) {
        auto* button = child<TFlatSpeedButton>(browser, name);
        button->click();
    }
    QString detail(const char* name) {
        if (QString::fromLatin1(name) == "CAIPL")
            return child<QLabel>(browser, "CAIPL")->text();
        return child<QPlainTextEdit>(browser, name)->toPlainText();
    }
};

TEST_F(RecipeBrowserTest, OpensModallyOverItsOwnerWithItsTreeBuiltAndQuitCloses) {
    addRecipes({{.name = "白粥", .favourite = "最爱"}});
    QWidget owner;
    bool seen = false;
    QStringList tree;
    QTimer::singleShot(0, [&] {
        TmyfoodForm* book = currentRecipeBrowser();
        if (book == nullptr) {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        seen = QApplication::activeModalWidget() == book && book->parentWidget() == &owner;
        tree = test::treeLines(*book->findChild<QTreeWidget*>("tree2"));
        book->findChild<TFlatSpeedButton*>("QuitSb")->click();
    });
    OpenRecipeBook(services, &owner);
    EXPECT_TRUE(seen);
    EXPECT_THAT(tree, ElementsAre("最爱[1]", "  白粥[2]", "喜爱[1]", "一般[1]"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(currentRecipeBrowser(), nullptr);
}

TEST_F(RecipeBrowserTest, AClickedRecipeShowsItsTextsOnlyWhenTheirFlagsSayYes) {
    addRecipes({{.name = "番茄炒蛋",
                 .ingredients = "番茄2个\r\n鸡蛋3个",
                 .ingredientsOn = "是",
                 .method = "先炒蛋\r\n再炒番茄",
                 .methodOn = "是"},
                {.name = "白粥",
                 .ingredients = "大米",
                 .ingredientsOn = "否",
                 .method = "熬煮",
                 .methodOn = "是"}});
    openBrowser();
    selectRecipe(browser, "番茄炒蛋");
    EXPECT_EQ(detail("CAIPL"), "番茄炒蛋");
    EXPECT_EQ(detail("RE1"), "番茄2个\n鸡蛋3个");
    EXPECT_EQ(detail("RE2"), "先炒蛋\n再炒番茄");
    selectRecipe(browser, "白粥");
    EXPECT_EQ(detail("CAIPL"), "白粥");
    EXPECT_EQ(detail("RE1"), "");
    EXPECT_EQ(detail("RE2"), "熬煮");
}

TEST_F(RecipeBrowserTest, ACategoryClickChangesNothingAndModifyAndDeleteThenDoNothing) {
    addRecipes({{.name = "白粥", .method = "熬煮", .methodOn = "是"}});
    openBrowser();
    selectRecipe(browser, "白粥");
    auto* tree = child<QTreeWidget>(browser, "tree2");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(tree->topLevelItem(0)).center());
    EXPECT_EQ(detail("CAIPL"), "白粥");
    EXPECT_EQ(detail("RE2"), "熬煮");
    click("ModifySb");
    click("DelSb");
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
    EXPECT_EQ(currentRecipeEditor(), nullptr);
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("白粥"));
}

TEST_F(RecipeBrowserTest, DeleteAsksAndRemovesOnlyThatRecipeUnlessAnsweredNo) {
    addRecipes({{.name = "甲"}, {.name = "乙"}, {.name = "丙"}});
    openBrowser();
    selectRecipe(browser, "乙");
    test.dialogs.answerMessage(MessageButton::No);
    click("DelSb");
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("甲", "乙", "丙"));
    selectRecipe(browser, "乙");
    test.dialogs.answerMessage(MessageButton::Yes);
    click("DelSb");
    ASSERT_EQ(test.dialogs.messages().size(), 2u);
    const auto& asked = test.dialogs.messages().back();
    EXPECT_EQ(asked.text, "确定要进行删除操作吗?");
    EXPECT_EQ(asked.caption, "注意");
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    EXPECT_EQ(asked.buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_THAT(test::storedRecipes(databaseFile()), ElementsAre("甲", "丙"));
    EXPECT_TRUE(
        child<QTreeWidget>(browser, "tree2")->findItems("乙", Qt::MatchRecursive).isEmpty());
}

TEST_F(RecipeBrowserTest, ModifyOpensTheEditorFilledWithTheRecipe) {
    addRecipes({{.name = "Pizza",
                 .favourite = "喜爱",
                 .mealTime = "晚餐",
                 .cuisine = "湘湘菜",
                 .taste = "酸甜",
                 .ingredient = "主食",
                 .kindergarten = "幼儿园加餐",
                 .ingredients = "面粉",
                 .ingredientsOn = "否",
                 .method = "烤\r\n切",
                 .methodOn = "是",
                 .simg = "16"}});
    openBrowser();
    selectRecipe(browser, "Pizza");
    whileModal<TmyfoodaddForm>(
        [this] { click("ModifySb"); },
        [this](TmyfoodaddForm* editor) {
            EXPECT_EQ(services.state.OriginalRecipeName, "Pizza");
            EXPECT_EQ(child<QLineEdit>(editor, "ed1")->text(), "Pizza");
            EXPECT_EQ(child<QComboBox>(editor, "AIHAOSB")->currentText(), "喜爱");
            EXPECT_EQ(child<QComboBox>(editor, "TIMESB")->currentText(), "晚餐");
            EXPECT_EQ(child<QComboBox>(editor, "CAISB")->currentIndex(), -1);
            EXPECT_EQ(child<QComboBox>(editor, "KOUWEISB")->currentText(), "酸甜");
            EXPECT_EQ(child<QComboBox>(editor, "SHICAISB")->currentText(), "主食");
            EXPECT_EQ(child<QComboBox>(editor, "YEYSB")->currentText(), "幼儿园加餐");
            EXPECT_EQ(child<QPlainTextEdit>(editor, "RE1")->toPlainText(), "");
            EXPECT_EQ(child<QPlainTextEdit>(editor, "RE2")->toPlainText(), "烤\n切");
            EXPECT_TRUE(child<QRadioButton>(editor, "RB2")->isChecked());
            EXPECT_FALSE(child<QWidget>(editor, "AddBtn")->isVisible());
            EXPECT_TRUE(child<QWidget>(editor, "ModifyBtn")->isVisible());
        });
}

TEST_F(RecipeBrowserTest, ExportAndPrintWithoutAShownRecipeOnlySayWhy) {
    addRecipes({{.name = "白粥"}});
    openBrowser();
    selectRecipe(browser, "白粥");
    QTest::mouseClick(child<QRadioButton>(browser, "TIMERB"), Qt::LeftButton);
    bool asked = false;
    browser->setPrinterSetup([&](QPrinter&, QWidget*) { return asked = true; });
    click("OUTSB");
    click("Printsb");
    EXPECT_THAT(test.dialogs.messageTexts(), ElementsAre(kChooseFirst, kChooseFirst));
    EXPECT_EQ(test.dialogs.messages().front().icon, MessageIcon::Warning);
    EXPECT_THAT(test.dialogs.fileRequests(), IsEmpty());
    EXPECT_FALSE(asked);
}

TEST_F(RecipeBrowserTest, CancellingTheSaveDialogWritesNothing) {
    addRecipes({{.name = "白粥"}});
    openBrowser();
    selectRecipe(browser, "白粥");
    test.dialogs.cancelFile();
    click("OUTSB");
    ASSERT_EQ(test.dialogs.fileRequests().size(), 1u);
    const auto& request = test.dialogs.fileRequests().front();
    EXPECT_EQ(request.proposedName, "菜资料     白粥");
    EXPECT_EQ(request.filter, "*.doc|*.doc");
    EXPECT_EQ(request.defaultExtension, "*.doc");
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
}

struct ExportCase {
    const char* label;
    RecipeRow row;
    QString document;
};

class RecipeExportTest : public RecipeBrowserTest,
                         public ::testing::WithParamInterface<ExportCase> {};

TEST_P(RecipeExportTest, AnIndependentReaderFindsTheParagraphsAndChineseText) {
    addRecipes({GetParam().row});
    openBrowser();
    selectRecipe(browser, GetParam().row.name.toString());
    const QString path = folder() + QStringLiteral("菜.doc");
    test.dialogs.answerFile(path);
    click("OUTSB");
    EXPECT_THAT(test.dialogs.messageTexts(), ElementsAre("导出此菜信息完成!!!"));
    EXPECT_EQ(test.dialogs.messages().front().caption, "注意");
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg936")) << bytes.left(80).toStdString();
    // 宋体 in the font table, in its GBK bytes, with the GB2312 character set; 9 points.
    EXPECT_TRUE(bytes.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;"));
    EXPECT_TRUE(bytes.contains("\\fs18"));
    EXPECT_EQ(independentRtfText(path), GetParam().document);
}

INSTANTIATE_TEST_SUITE_P(
    Recipes, RecipeExportTest,
    ::testing::Values(ExportCase{"Empty",
                                 {.name = "白粥"},
                                 "\n\n菜资料->白粥\n\n\n\n1.材 料->\n\n\n\n\n\n2.做 法->\n\n"},
                      ExportCase{
                          "Full",
                          {.name = "Tom's {鱼}\\汤",
                           .ingredients = "鲫鱼1条\r\n豆腐 200g\r\n😀葱",
                           .ingredientsOn = "是",
                           .method = "煎鱼\r\n\r\n加水炖20分钟",
                           .methodOn = "是"},
                          "\n\n菜资料->Tom's {鱼}\\汤\n\n\n\n1.材 料->\n\n鲫鱼1条\n豆腐 200g\n😀葱"
                          "\n\n\n\n2.做 法->\n\n煎鱼\n\n加水炖20分钟"},
                      ExportCase{"FlagNo",
                                 {.name = "白粥",
                                  .ingredients = "大米",
                                  .ingredientsOn = "否",
                                  .method = "熬",
                                  .methodOn = "是"},
                                 "\n\n菜资料->白粥\n\n\n\n1.材 料->\n\n\n\n\n\n2.做 法->\n\n熬"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RecipeBrowserTest, AnExportThatCannotBeWrittenRaisesAndClaimsNoSuccess) {
    addRecipes({{.name = "白粥"}});
    openBrowser();
    selectRecipe(browser, "白粥");
    test.dialogs.answerFile(folder() + QStringLiteral("no such folder/菜.doc"));
    EXPECT_ANY_THROW(browser->OUTSBClick());
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
}

TEST_F(RecipeBrowserTest, PrintingToAPdfFilePrintsTheExportsText) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is needed";
    addRecipes({{.name = "蒸鸡蛋羹",
                 .ingredients = "鸡蛋2个\r\n温水",
                 .ingredientsOn = "是",
                 .method = "打散蒸10分钟",
                 .methodOn = "是"}});
    openBrowser();
    selectRecipe(browser, "蒸鸡蛋羹");
    const QString pdf = folder() + QStringLiteral("recipe.pdf");
    browser->setPrinterSetup([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    click("Printsb");
    QProcess reader;
    reader.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForFinished(30000));
    // The PDF's text map may name a radical form of a character (⽔ for 水): compare in
    // compatibility form.
    QStringList lines;
    for (const QString& line : QString::fromUtf8(reader.readAllStandardOutput())
                                   .normalized(QString::NormalizationForm_KC)
                                   .split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    EXPECT_THAT(lines, ElementsAre("菜资料->蒸鸡蛋羹", "1.材 料->", "鸡蛋2个", "温水", "2.做 法->",
                                   "打散蒸10分钟", "1")); // the page number
}

TEST_F(RecipeBrowserTest, CancellingThePrintDialogPrintsNothing) {
    addRecipes({{.name = "白粥"}});
    openBrowser();
    selectRecipe(browser, "白粥");
    int asked = 0;
    browser->setPrinterSetup([&](QPrinter&, QWidget*) {
        ++asked;
        return false;
    });
    click("Printsb");
    EXPECT_EQ(asked, 1);
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
}

TEST_F(RecipeBrowserTest, ImportWithoutAnUpdateFileSaysSoAndOpensTheDownloadPage) {
    openBrowser();
    whileModal<QDialog>([this] { click("UPCAISB"); },
                        [](QDialog* page) { EXPECT_EQ(page->objectName(), "TzhucepayForm"); });
    EXPECT_THAT(test.dialogs.messageTexts(),
                ElementsAre("在 [目录 \"童学三步通\"]中 没有找到 qmtfood.edu ,你可以先进行 "
                            "下载[菜谱] 操作"));
    ASSERT_FALSE(test.browsers.allAddresses().isEmpty());
    EXPECT_TRUE(test.browsers.allAddresses().last().endsWith("/myfood.htm"))
        << test.browsers.allAddresses().last().toStdString();
    EXPECT_EQ(currentRecipeImport(), nullptr);
}

TEST_F(RecipeBrowserTest, ImportFindsTheUpdateFileUnderEitherName) {
    for (const char* name : {"qmtfood.edu", "qmtfood.mdb"}) {
        SCOPED_TRACE(name);
        test::createUpdateFile(folder() + QString::fromLatin1(name), "2030-01-01", {});
        EXPECT_EQ(recipeUpdateFile(services), folder() + QString::fromLatin1(name));
    }
    openBrowser();
    test.browsers.clear();
    whileModal<TDOWNCAIForm>([this] { click("UPCAISB"); }, [](TDOWNCAIForm*) {});
    EXPECT_THAT(test.browsers.allAddresses(), IsEmpty());
    EXPECT_THAT(test.dialogs.messages(), IsEmpty());
}

TEST_F(RecipeBrowserTest, DownloadOpensTheRecipePageWithTheMakersEntryMarked) {
    openBrowser();
    test.browsers.clear();
    whileModal<QDialog>(
        [this] { click("DOWNSB"); },
        [this](QDialog* page) { EXPECT_TRUE(child<QRadioButton>(page, "RB11")->isChecked()); });
    const QStringList addresses = test.browsers.allAddresses();
    ASSERT_GE(addresses.size(), 2);
    EXPECT_TRUE(addresses.last().endsWith("/myfood.htm"));
    EXPECT_EQ(child<TFlatSpeedButton>(browser, "DOWNSB")->toolTip(),
              "请将下载的最新菜谱文件  qmtfood.edu  放在 [目录 \"童学三步通\"]中");
}

} // namespace
} // namespace tx
