#pragma once

class QAbstractItemView;
class QAccessibleInterface;
class QModelIndex;
class QString;
class QObject;

namespace tx {

// The item views whose items a user clicks (QListWidget, QTreeWidget and their subclasses):
// each shown item is an accessible list or tree item with its text, and its Press acts as a
// mouse click on it, through the program's one press queue (pressLater). Qt's own
// interface for these views only offers to select an item. Answers nullptr for any other
// class, so the factory can ask it first.
QAccessibleInterface* itemViewAccessible(const QString& className, QObject* object);

// What a click on the item does: the item is scrolled into view and the left button goes
// down and up on its middle, so the view and any filter on it see a mouse click.
void clickItem(QAbstractItemView* view, const QModelIndex& index);

} // namespace tx
