#pragma once

#include <QFont>
#include <QString>

class QColor;
class QWidget;

namespace tx {

// The learning windows' Song typeface; SimSun and Noto Serif CJK stand in where the
// named family is missing.
QFont songFont(const QString& family = QStringLiteral("宋体"));
QFont songFont(int pixels, bool bold, const QString& family = QStringLiteral("宋体"));

// Coloured text of a label or a group box title.
void setTextColor(QWidget* widget, const QColor& color);

} // namespace tx
