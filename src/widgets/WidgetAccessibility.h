#pragma once

class QObject;
class QAccessibleInterface;
class QString;

namespace tx {

// Makes the drawn widgets (TFlatSpeedButton, TLabel3D) known to assistive technology.
// Call once after the application object exists; further calls do nothing.
void installWidgetAccessibility();

// The factory installWidgetAccessibility() registers.
QAccessibleInterface* widgetAccessibleFactory(const QString& className, QObject* object);

} // namespace tx
