#include "widgets/ClickablePanel.h"

#include <QMouseEvent>

namespace tx {

void ClickablePanel::mouseReleaseEvent(QMouseEvent* event) {
    // A child that lets a release pass up to its parent was clicked itself, not beside.
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(at) && !childAt(at)) {
        emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace tx
