#include "arithmetic/YsmyhlpForm.h"

namespace tx {

namespace {
TYSMYHLPForm* openHelp = nullptr;
}

QStringList TYSMYHLPForm::usageLines() {
    return {
        QStringLiteral("               "),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral("                   使用说明(请把声音音量放大)"),
        QStringLiteral(""),
        QStringLiteral("  1.按<开始练习>,即可开始练习算数了"),
        QStringLiteral("  2.在练习期间可以随意选择是加法运算还是减法运算"),
        QStringLiteral("  3.每次记分以5题为标准,20分一题."),
        QStringLiteral("    每次等题目发音完毕后,小朋友即可按最下面的数字符号确定你的答案"),
        QStringLiteral("  4.如果答对了系统会加分20分;如果不知道答案请按<提示答案>,"),
        QStringLiteral("    则本题没有得分"),
        QStringLiteral("  5.按<下一题>继续下一题的练习..."),
        QStringLiteral("    "),
        QStringLiteral(""),
        QStringLiteral("  注意:"),
        QStringLiteral("   1 每次题目开始时,小朋友必须等题目发音完毕后,才可以选择答案"),
        QStringLiteral("   "),
        QStringLiteral(""),
    };
}

TYSMYHLPForm::TYSMYHLPForm(QWidget* parent)
    : UsageHelpWindow(QStringLiteral("使用说明"), QSize(456, 474), QPoint(156, 72), usageLines(),
                      parent) {
    setObjectName(QStringLiteral("TYSMYHLPForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    openHelp = this;
}

TYSMYHLPForm::~TYSMYHLPForm() {
    if (openHelp == this) {
        openHelp = nullptr;
    }
}

TYSMYHLPForm* currentArithmeticHelp() {
    return openHelp;
}

} // namespace tx
