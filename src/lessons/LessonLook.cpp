#include "LessonLook.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace tx {

QFont songFont(const QString& family) {
    QFont font;
    font.setFamilies({family, QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")});
    return font;
}

QFont songFont(int pixels, bool bold, const QString& family) {
    QFont font = songFont(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

} // namespace tx
