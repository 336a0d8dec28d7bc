#pragma once

#include "widgets/UsageHelpWindow.h"

#include <QStringList>

namespace tx {

// How the literacy window is used, from its "使用方法" button.
class TMYHLPForm : public UsageHelpWindow {
    Q_OBJECT
public:
    explicit TMYHLPForm(QWidget* parent = nullptr);
    static QStringList usageLines();
};

// How the poem window is used.
class TxsMYHLPForm : public UsageHelpWindow {
    Q_OBJECT
public:
    explicit TxsMYHLPForm(QWidget* parent = nullptr);
    static QStringList usageLines();
};

// How the English window is used.
class TxyyMYHLPForm : public UsageHelpWindow {
    Q_OBJECT
public:
    explicit TxyyMYHLPForm(QWidget* parent = nullptr);
    static QStringList usageLines();
};

} // namespace tx
