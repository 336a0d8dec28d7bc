#pragma once

#include <QString>

class QPushButton;
class QToolButton;
class QWidget;

namespace tx {

struct Services;
class Tdm;

// Message boxes of the editors: refusals and questions captioned "注意".
void warn(Services& services, QWidget* owner, const QString& text);
void reportSaveFailure(Services& services, QWidget* owner, const QString& text);
bool confirmDelete(Services& services, QWidget* owner);

Tdm& dataModule(Services& services);

// The list windows' bar buttons, and the dialogs' push buttons, which Enter never presses
// (it moves the focus from box to box).
QToolButton* toolButton(QWidget* parent, const char* name, const QString& caption);
QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption);

// A file chosen inside the program's folder is kept relative to it, so that the folder
// still works when copied to another computer (the program runs in its folder, where
// relative paths resolve); anything else is kept as it is.
QString programRelativePath(const QString& programFolder, const QString& path);

} // namespace tx
