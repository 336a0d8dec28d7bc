#include "widgets/AccessibleAnnounce.h"

#include <QAccessible>

namespace tx {

namespace {
AccessibleObserver g_observer = nullptr;
}

AccessibleObserver setAccessibleObserver(AccessibleObserver observer) {
    AccessibleObserver previous = g_observer;
    g_observer = observer;
    return previous;
}

void announce(QAccessibleEvent* event, bool sentByQt) {
    if (g_observer)
        g_observer(event);
    if (!sentByQt)
        QAccessible::updateAccessibility(event);
}

} // namespace tx
