#include "lessons/LessonHelpForms.h"

namespace tx {

QStringList TMYHLPForm::usageLines() {
    return {
        QStringLiteral("               "),
        QStringLiteral(""),
        QStringLiteral("             使用说明(请把声音音量放大)"),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral("  1.先根据教学需要编辑章节,如:第一章,第二章..."),
        QStringLiteral("  2.每个章节可以安排最多25个字来学习,每个字的录音必须先"),
        QStringLiteral("    制作好,然后在编辑字时就可以选择*.wav文件"),
        QStringLiteral("  3.在主界面只要小朋友点击字,它就会弹出一个窗口,系统会自动"),
        QStringLiteral("    发音3次,小朋友这时可以跟着发音一起读,一起学字了,"),
        QStringLiteral("    3次发音完成后,窗口会自动关闭,"),
        QStringLiteral("    接着小朋友再按另一个字继续学..."),
        QStringLiteral("  "),
        QStringLiteral(""),
        QStringLiteral("  注意："),
        QStringLiteral("   1  声音文件可以自己灵活录制,然后才可以编辑字"),
        QStringLiteral("      如:先录音好字<一> ,声音文件保存在安装目录下<字语音库/一.WAV>,然后在"),
        QStringLiteral("      编辑字(新增或修改，如：<一> )时选择<字语音库/一.WAV>就可以了"),
        QStringLiteral("   "),
        QStringLiteral("   2  第一次使用时,本程序有自带库,你只需在编辑(修改)字（如：<一> ）时"),
        QStringLiteral("      选择目录<字语音库/一.WAV >里对应的声音文件就可以开始试用使用了 "),
        QStringLiteral("   "),
        QStringLiteral("   3  编辑章节时, 章号或章节名称都不能重复"),
        QStringLiteral("      编辑字时,字号或字都不能重复   "),
        QStringLiteral("   "),
        QStringLiteral(""),
    };
}

TMYHLPForm::TMYHLPForm(QWidget* parent)
    : UsageHelpWindow(QStringLiteral("使用方法"), QSize(479, 467), QPoint(159, 83), usageLines(),
                      parent) {
    setObjectName(QStringLiteral("TMYHLPForm"));
    setAttribute(Qt::WA_DeleteOnClose);
}

QStringList TxsMYHLPForm::usageLines() {
    return {
        QStringLiteral("               "),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral("              使用说明(请把声音音量放大)"),
        QStringLiteral(""),
        QStringLiteral("  1.先根据教学需要编辑章节,如:古诗,现代诗..."),
        QStringLiteral("  2.每个章节可以安排最多20首诗来学习,每首诗的录音必须先"),
        QStringLiteral("    制作好,然后在编辑诗时就可以选择*.wav文件"),
        QStringLiteral("  3.在主界面只要小朋友点击诗名,就会显示诗的内容,如果想"),
        QStringLiteral("    发音朗读,可按<朗读>按钮(或者双击左边的诗名就可自动朗读),"),
        QStringLiteral("    小朋友这时可以跟着语音一起朗读,一起学诗了,"),
        QStringLiteral("    接着小朋友可按<上一首>或<下一首>继续学诗了..."),
        QStringLiteral("  "),
        QStringLiteral(""),
        QStringLiteral("  注意:"),
        QStringLiteral("   1  声音文件可以自己灵活录制,然后才可以编辑诗"),
        QStringLiteral(
            "      如:先录音好诗<静夜思> , 声音文件保存在安装目录下<诗语音库/静夜思.WAV>,然"),
        QStringLiteral(
            "      后在编辑诗(新增或修改,如：<静夜思> )时选择<诗语音库/静夜思.WAV>就可以了"),
        QStringLiteral(""),
        QStringLiteral("   2  第一次使用时,本程序有自带库,你只需在编辑(修改)诗（如：<静夜思> ）时"),
        QStringLiteral("      选择目录<诗语音库/静夜思.WAV >里对应的声音文件就可以开始试用使用了 "),
        QStringLiteral("   "),
        QStringLiteral("   3  编辑章节时, 章号或章节名称都不能重复"),
        QStringLiteral("      编辑诗时,诗号或诗名都不能重复"),
        QStringLiteral("   "),
        QStringLiteral(""),
    };
}

TxsMYHLPForm::TxsMYHLPForm(QWidget* parent)
    : UsageHelpWindow(QStringLiteral("使用说明"), QSize(527, 501), QPoint(131, 58), usageLines(),
                      parent) {
    setObjectName(QStringLiteral("TxsMYHLPForm"));
    setAttribute(Qt::WA_DeleteOnClose);
}

QStringList TxyyMYHLPForm::usageLines() {
    return {
        QStringLiteral("               "),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral("              使用说明(请把声音音量放大)"),
        QStringLiteral(""),
        QStringLiteral("  1.先根据教学需要编辑章节,如:单词,日常用语..."),
        QStringLiteral("  2.每章节可以安排最多20句英语来学习,每句英语的录音必须先"),
        QStringLiteral("    制作好,然后在编辑英语时就可以选择*.wav文件"),
        QStringLiteral("  3.在主界面只要小朋友点击英语名,就会显示英语的汉语翻译,如果想"),
        QStringLiteral("    发音朗读,可按<朗读>按钮(或者双击左边的英语名就可自动朗读),"),
        QStringLiteral("    小朋友这时可以跟着语音一起朗读,一起学英语了,"),
        QStringLiteral("    接着小朋友可按<上一句>或<下一句>继续学英语了..."),
        QStringLiteral("  "),
        QStringLiteral(""),
        QStringLiteral("  注意:"),
        QStringLiteral("   1  声音文件可以自己灵活录制,然后才可以编辑英语"),
        QStringLiteral("      如:先录音好英语<FATHER> , 声音文件保存在安装目录下<英语语音库"),
        QStringLiteral("      /FATHER.WAV>,然后在编辑英语(新增或修改，如：<FATHER> )时"),
        QStringLiteral("      选择<英语语音库/FATHER.WAV>就可以了"),
        QStringLiteral(""),
        QStringLiteral(
            "   2  第一次使用时,本程序有自带库,你只需在编辑(修改)英语（如：< FATHER > ）时"),
        QStringLiteral(
            "      选择目录<英语语音库/FATHER.WAV >里对应的声音文件就可以开始试用使用了 "),
        QStringLiteral("   "),
        QStringLiteral("   3  编辑章节时, 章号或章节名称都不能重复"),
        QStringLiteral("      编辑英语时,语号或英语名都不能重复"),
        QStringLiteral(""),
        QStringLiteral(""),
    };
}

TxyyMYHLPForm::TxyyMYHLPForm(QWidget* parent)
    : UsageHelpWindow(QStringLiteral("使用说明"), QSize(520, 495), QPoint(153, 59), usageLines(),
                      parent) {
    setObjectName(QStringLiteral("TxyyMYHLPForm"));
    setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace tx
