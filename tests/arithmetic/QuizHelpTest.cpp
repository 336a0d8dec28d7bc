#include "QuizFixture.h"
#include "arithmetic/YsmyhlpForm.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QToolButton>

namespace tx {
namespace {

TEST(ArithmeticHelp, ShowsItsCaptionGeometryAndLinesExactly) {
    TYSMYHLPForm help;
    help.show();
    EXPECT_EQ(help.windowTitle(), "使用说明");
    EXPECT_EQ(help.frameGeometry().size(), QSize(456, 474));
    EXPECT_EQ(help.pos(), QPoint(156, 72));
    const QStringList lines = help.lines();
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[0], QString(15, ' '));
    EXPECT_EQ(lines[4], "                   使用说明(请把声音音量放大)");
    EXPECT_EQ(lines[9], "    每次等题目发音完毕后,小朋友即可按最下面的数字符号确定你的答案");
    EXPECT_EQ(lines[13], QString(4, ' '));
    EXPECT_EQ(lines[16], "   1 每次题目开始时,小朋友必须等题目发音完毕后,才可以选择答案");
    EXPECT_EQ(lines[17], QString(3, ' '));
    for (int empty : {1, 2, 3, 5, 14, 18}) {
        EXPECT_EQ(lines[empty], "") << empty;
    }
    EXPECT_EQ(lines, TYSMYHLPForm::usageLines());
    EXPECT_TRUE(help.textArea()->isReadOnly());
}

TEST_F(QuizFixture, HelpOpensModallyAndClosingReturnsToTheQuizAsItWas) {
    start();
    const Snapshot before = snapshot();
    const size_t plays = sound.plays.size();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        TYSMYHLPForm* help = currentArithmeticHelp();
        ASSERT_NE(help, nullptr);
        seen = QApplication::activeModalWidget() == help;
        help->close();
    });
    click("HELPSB");
    EXPECT_TRUE(seen);
    EXPECT_EQ(currentArithmeticHelp(), nullptr);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(sound.plays.size(), plays);
    EXPECT_TRUE(form->isVisible());
}

} // namespace
} // namespace tx
