#include "BrowserWindowParts.h"

#include <QDialog>
#include <QPainter>

namespace tx {

QPixmap drawnLogo(const QColor& colour, const QString& character, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(130));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    QFont f = p.font();
    f.setPixelSize(size * 3 / 5);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, character);
    return pm;
}

void setUpBrowserDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    // The size to come back to; resizing after maximising would undo it.
    dialog->resize(1024, 720);
    dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
}

} // namespace tx
