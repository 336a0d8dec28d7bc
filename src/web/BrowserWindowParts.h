#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QDialog;

namespace tx {

// A drawn logo: a rounded square in colour with one character on it.
QPixmap drawnLogo(const QColor& colour, const QString& character, int size);
// Maximised, only a close box in its title bar, freed when closed.
void setUpBrowserDialog(QDialog* dialog);

} // namespace tx
