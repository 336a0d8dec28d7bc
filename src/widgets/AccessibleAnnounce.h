#pragma once

class QAccessibleEvent;

namespace tx {

// Every accessibility announcement of the drawn widgets passes here, so that it can be
// observed also where no assistive technology is running (Qt drops events then).
using AccessibleObserver = void (*)(QAccessibleEvent* event);
AccessibleObserver setAccessibleObserver(AccessibleObserver observer);

// Tells the observer and the accessibility bus. sentByQt: Qt's own widget code has sent
// the event already; only the observer is told.
void announce(QAccessibleEvent* event, bool sentByQt = false);

} // namespace tx
