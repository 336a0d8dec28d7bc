#include "LessonFixture.h"
#include "lessons/LessonHelpForms.h"

#include <QPlainTextEdit>

namespace tx::test {
namespace {

// The texts as one block each, blanks and empty lines kept.
const char* const kLiteracy = R"(               

             使用说明(请把声音音量放大)


  1.先根据教学需要编辑章节,如:第一章,第二章...
  2.每个章节可以安排最多25个字来学习,每个字的录音必须先
    制作好,然后在编辑字时就可以选择*.wav文件
  3.在主界面只要小朋友点击字,它就会弹出一个窗口,系统会自动
    发音3次,小朋友这时可以跟着发音一起读,一起学字了,
    3次发音完成后,窗口会自动关闭,
    接着小朋友再按另一个字继续学...
  

  注意：
   1  声音文件可以自己灵活录制,然后才可以编辑字
      如:先录音好字<一> ,声音文件保存在安装目录下<字语音库/一.WAV>,然后在
      编辑字(新增或修改，如：<一> )时选择<字语音库/一.WAV>就可以了
   
   2  第一次使用时,本程序有自带库,你只需在编辑(修改)字（如：<一> ）时
      选择目录<字语音库/一.WAV >里对应的声音文件就可以开始试用使用了 
   
   3  编辑章节时, 章号或章节名称都不能重复
      编辑字时,字号或字都不能重复   
   
)";

const char* const kPoems = R"(               





              使用说明(请把声音音量放大)

  1.先根据教学需要编辑章节,如:古诗,现代诗...
  2.每个章节可以安排最多20首诗来学习,每首诗的录音必须先
    制作好,然后在编辑诗时就可以选择*.wav文件
  3.在主界面只要小朋友点击诗名,就会显示诗的内容,如果想
    发音朗读,可按<朗读>按钮(或者双击左边的诗名就可自动朗读),
    小朋友这时可以跟着语音一起朗读,一起学诗了,
    接着小朋友可按<上一首>或<下一首>继续学诗了...
  

  注意:
   1  声音文件可以自己灵活录制,然后才可以编辑诗
      如:先录音好诗<静夜思> , 声音文件保存在安装目录下<诗语音库/静夜思.WAV>,然
      后在编辑诗(新增或修改,如：<静夜思> )时选择<诗语音库/静夜思.WAV>就可以了

   2  第一次使用时,本程序有自带库,你只需在编辑(修改)诗（如：<静夜思> ）时
      选择目录<诗语音库/静夜思.WAV >里对应的声音文件就可以开始试用使用了 
   
   3  编辑章节时, 章号或章节名称都不能重复
      编辑诗时,诗号或诗名都不能重复
   
)";

const char* const kEnglish = R"(               


              使用说明(请把声音音量放大)

  1.先根据教学需要编辑章节,如:单词,日常用语...
  2.每章节可以安排最多20句英语来学习,每句英语的录音必须先
    制作好,然后在编辑英语时就可以选择*.wav文件
  3.在主界面只要小朋友点击英语名,就会显示英语的汉语翻译,如果想
    发音朗读,可按<朗读>按钮(或者双击左边的英语名就可自动朗读),
    小朋友这时可以跟着语音一起朗读,一起学英语了,
    接着小朋友可按<上一句>或<下一句>继续学英语了...
  

  注意:
   1  声音文件可以自己灵活录制,然后才可以编辑英语
      如:先录音好英语<FATHER> , 声音文件保存在安装目录下<英语语音库
      /FATHER.WAV>,然后在编辑英语(新增或修改，如：<FATHER> )时
      选择<英语语音库/FATHER.WAV>就可以了

   2  第一次使用时,本程序有自带库,你只需在编辑(修改)英语（如：< FATHER > ）时
      选择目录<英语语音库/FATHER.WAV >里对应的声音文件就可以开始试用使用了 
   
   3  编辑章节时, 章号或章节名称都不能重复
      编辑英语时,语号或英语名都不能重复

)";

struct HelpCase {
    const char* name;
    std::function<UsageHelpWindow*()> make;
    const char* caption;
    QSize size;
    QPoint position;
    const char* text;
    int lines;
};

class LessonHelp : public ::testing::TestWithParam<HelpCase> {};

TEST_P(LessonHelp, ShowsItsLinesExactlyInAYellowReadOnlyArea) {
    const HelpCase& c = GetParam();
    std::unique_ptr<UsageHelpWindow> help(c.make());
    help->setAttribute(Qt::WA_DeleteOnClose, false);
    help->show();
    EXPECT_EQ(help->objectName(), c.name);
    EXPECT_EQ(help->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(help->frameGeometry().size(), c.size);
    EXPECT_EQ(help->pos(), c.position);
    const QStringList expected = QString::fromUtf8(c.text).split(u'\n');
    ASSERT_EQ(expected.size(), c.lines);
    EXPECT_EQ(help->lines(), expected);
    EXPECT_EQ(help->textArea()->toPlainText().split(u'\n'), expected);
    EXPECT_TRUE(help->textArea()->isReadOnly());
    EXPECT_EQ(help->textArea()->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(help->textArea()->objectName(), "ME1");
}

INSTANTIATE_TEST_SUITE_P(Windows, LessonHelp,
                         ::testing::Values(HelpCase{"TMYHLPForm",
                                                    [] { return new TMYHLPForm; },
                                                    "使用方法",
                                                    {479, 467},
                                                    {159, 83},
                                                    kLiteracy,
                                                    26},
                                           HelpCase{"TxsMYHLPForm",
                                                    [] { return new TxsMYHLPForm; },
                                                    "使用说明",
                                                    {527, 501},
                                                    {131, 58},
                                                    kPoems,
                                                    29},
                                           HelpCase{"TxyyMYHLPForm",
                                                    [] { return new TxyyMYHLPForm; },
                                                    "使用说明",
                                                    {520, 495},
                                                    {153, 59},
                                                    kEnglish,
                                                    27}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tx::test
