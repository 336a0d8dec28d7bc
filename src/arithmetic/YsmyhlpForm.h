#pragma once

#include "widgets/UsageHelpWindow.h"

#include <QStringList>

namespace tx {

// How the arithmetic quiz is used, shown from its "使用方法" button.
class TYSMYHLPForm : public UsageHelpWindow {
    Q_OBJECT

public:
    explicit TYSMYHLPForm(QWidget* parent = nullptr);
    ~TYSMYHLPForm() override;

    static QStringList usageLines();
};

// The help window while it is open, otherwise null.
TYSMYHLPForm* currentArithmeticHelp();

} // namespace tx
