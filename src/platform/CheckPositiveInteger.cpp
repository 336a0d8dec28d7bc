#include "CheckPositiveInteger.h"

#include "Dialogs.h"
#include "IntegerText.h"

#include <QLineEdit>

namespace tx {

bool CheckPositiveInteger(Dialogs& dialogs, QLineEdit* box) {
    if (parseInt32(box->text()))
        return true;
    dialogs.messageBox(box->window(), QStringLiteral("此编辑框只能输入正整数"),
                       QStringLiteral("注意"), MessageIcon::Warning, MessageButton::Ok);
    box->clear();
    box->setFocus();
    return false;
}

} // namespace tx
