#pragma once

#include <functional>

class QObject;
class QAccessibleInterface;
class QString;
class QWidget;

namespace tx {

// Makes the drawn widgets (TFlatSpeedButton, TLabel3D) known to assistive technology and
// gives every button of the program, Qt's own included, and every item of its clickable
// lists and trees (see ItemViewAccessible.h) the same "Press": it returns at once and the
// control then acts as a click would (see pressLater). Call once after the
// application object exists, before any window; further calls do nothing.
void installWidgetAccessibility();

// The factory installWidgetAccessibility() registers.
QAccessibleInterface* widgetAccessibleFactory(const QString& className, QObject* object);

// What every press through assistive technology does: it is queued and click runs later
// from the event loop, in the order of the presses, after any running wait (WaitSeconds),
// and only if control still exists and its window is not blocked by a modal one, as for a
// mouse click. The caller (the accessibility bus) gets its answer at once, so no modal
// window or wait of a handler runs inside it.
void pressLater(QWidget* control, std::function<void()> click);

} // namespace tx
