#include "widgets/ItemViewAccessible.h"

#include "widgets/WidgetAccessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

#include <vector>

namespace tx {

namespace {

class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemAccessible(QAbstractItemView* view, const QModelIndex& index, QAccessible::Role role)
        : view_(view), index_(index), role_(role) {}

    const QPersistentModelIndex& index() const { return index_; }

    bool isValid() const override {
        return view_ && index_.isValid() && index_.model() == view_->model();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QVector<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (t == QAccessible::Name) {
            const QVariant own = index_.data(Qt::AccessibleTextRole);
            return own.isValid() ? own.toString() : index_.data(Qt::DisplayRole).toString();
        }
        if (t == QAccessible::Description) {
            const QVariant own = index_.data(Qt::AccessibleDescriptionRole);
            return own.isValid() ? own.toString() : index_.data(Qt::ToolTipRole).toString();
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        QWidget* viewport = view_->viewport();
        const QRect shown = view_->visualRect(index_) & viewport->rect();
        if (shown.isEmpty())
            return {};
        return {viewport->mapToGlobal(shown.topLeft()), shown.size()};
    }

    QAccessible::Role role() const override { return role_; }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const Qt::ItemFlags flags = index_.flags();
        s.disabled = !(flags & Qt::ItemIsEnabled) || !view_->isEnabled();
        const QAbstractItemView::SelectionMode mode = view_->selectionMode();
        if (mode != QAbstractItemView::NoSelection && (flags & Qt::ItemIsSelectable)) {
            s.selectable = true;
            s.multiSelectable = mode != QAbstractItemView::SingleSelection;
            s.selected = view_->selectionModel() && view_->selectionModel()->isSelected(index_);
        }
        s.focusable = true;
        s.focused = view_->hasFocus() && view_->currentIndex() == index_;
        if (!view_->isVisible())
            s.invisible = true;
        else if (rect().isEmpty())
            s.offscreen = true;
        if (auto* tree = qobject_cast<QTreeView*>(view_.data());
            tree && index_.column() == 0 && index_.model()->hasChildren(index_)) {
            s.expandable = true;
            s.expanded = tree->isExpanded(index_);
            s.collapsed = !s.expanded;
        }
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        const QAccessible::State s = state();
        if (s.invalid || s.disabled)
            return {};
        QStringList names{pressAction()};
        if (s.selectable)
            names << toggleAction();
        return names;
    }

    void doAction(const QString& action) override {
        if (!isValid() || state().disabled)
            return;
        QPointer<QAbstractItemView> view = view_;
        QPersistentModelIndex index = index_;
        if (action == pressAction()) {
            pressLater(view_, [view, index] {
                if (view && index.isValid())
                    clickItem(view, index);
            });
        } else if (action == toggleAction()) {
            // Selects or unselects only, as Qt's own items do.
            pressLater(view_, [view, index] {
                if (!view || !index.isValid() || !view->selectionModel())
                    return;
                QItemSelectionModel* selection = view->selectionModel();
                if (selection->isSelected(index)) {
                    selection->select(index, QItemSelectionModel::Deselect);
                    return;
                }
                if (view->selectionMode() == QAbstractItemView::SingleSelection)
                    view->clearSelection();
                selection->select(index, QItemSelectionModel::Select);
            });
        }
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QAbstractItemView> view_;
    QPersistentModelIndex index_;
    QAccessible::Role role_;
};

// A list or tree whose children are its shown items, one per row and column, in the order
// and numbering Qt's views use when they announce focus and selection by child number (a
// tree counts its header first, also when it is hidden).
class ItemViewAccessibleImpl : public QAccessibleWidget {
public:
    ItemViewAccessibleImpl(QAbstractItemView* view, QAccessible::Role role,
                           QAccessible::Role itemRole)
        : QAccessibleWidget(view, role), itemRole_(itemRole) {}

    ~ItemViewAccessibleImpl() override {
        for (const Item& item : items_)
            QAccessible::deleteAccessibleInterface(item.id);
    }

    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(object()); }

    int childCount() const override { return headerCount() + int(shownRows().size()) * columns(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0)
            return nullptr;
        if (index < headerCount())
            return QAccessible::queryAccessibleInterface(treeHeader());
        index -= headerCount();
        const std::vector<QModelIndex> rows = shownRows();
        const int cols = columns();
        if (cols == 0 || index >= int(rows.size()) * cols)
            return nullptr;
        const QModelIndex row = rows[size_t(index / cols)];
        return itemFor(cols == 1 ? row : row.siblingAtColumn(index % cols));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        if (headerCount() > 0 && child->object() == treeHeader())
            return 0;
        for (const Item& item : items_) {
            if (item.iface != child)
                continue;
            if (!item.iface->isValid())
                return -1;
            return positionOf(item.iface->index());
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        QWidget* viewport = view()->viewport();
        const QPoint at = viewport->mapFromGlobal(QPoint(x, y));
        if (!viewport->rect().contains(at))
            return QAccessibleWidget::childAt(x, y);
        const QModelIndex index = view()->indexAt(at);
        return index.isValid() ? itemFor(index) : nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view()->currentIndex();
        if (!view()->hasFocus() || !current.isValid())
            return nullptr;
        return itemFor(current);
    }

private:
    struct Item {
        QAccessible::Id id;
        ItemAccessible* iface;
    };

    QHeaderView* treeHeader() const {
        auto* tree = qobject_cast<QTreeView*>(view());
        return tree ? tree->header() : nullptr;
    }
    int columns() const {
        const QAbstractItemModel* model = view()->model();
        if (!model)
            return 0;
        if (qobject_cast<QTreeView*>(view()))
            return model->columnCount(view()->rootIndex());
        return 1;
    }
    int headerCount() const { return treeHeader() ? columns() : 0; }

    // The rows as they are shown, top to bottom; a tree's collapsed branches are left out.
    std::vector<QModelIndex> shownRows() const {
        std::vector<QModelIndex> rows;
        const QAbstractItemModel* model = view()->model();
        if (!model)
            return rows;
        if (auto* tree = qobject_cast<QTreeView*>(view())) {
            addShown(*tree, *model, view()->rootIndex(), rows);
            return rows;
        }
        auto* list = qobject_cast<QListView*>(view());
        const int column = list ? list->modelColumn() : 0;
        const QModelIndex root = view()->rootIndex();
        for (int r = 0; r < model->rowCount(root); ++r)
            if (!list || !list->isRowHidden(r))
                rows.push_back(model->index(r, column, root));
        return rows;
    }
    static void addShown(const QTreeView& tree, const QAbstractItemModel& model,
                         const QModelIndex& parent, std::vector<QModelIndex>& rows) {
        for (int r = 0; r < model.rowCount(parent); ++r) {
            if (tree.isRowHidden(r, parent))
                continue;
            const QModelIndex index = model.index(r, 0, parent);
            rows.push_back(index);
            if (tree.isExpanded(index))
                addShown(tree, model, index, rows);
        }
    }

    int positionOf(const QModelIndex& index) const {
        const std::vector<QModelIndex> rows = shownRows();
        const int cols = columns();
        for (size_t r = 0; r < rows.size(); ++r)
            if (rows[r].row() == index.row() && rows[r].parent() == index.parent())
                return headerCount() + int(r) * cols + (cols == 1 ? 0 : index.column());
        return -1;
    }

    // One interface per item for as long as the item lives; those of removed items go.
    ItemAccessible* itemFor(const QModelIndex& index) const {
        for (auto it = items_.begin(); it != items_.end();) {
            if (it->iface->isValid() && it->iface->index() == index)
                return it->iface;
            if (!it->iface->isValid()) {
                QAccessible::deleteAccessibleInterface(it->id);
                it = items_.erase(it);
            } else {
                ++it;
            }
        }
        auto* iface = new ItemAccessible(view(), index, itemRole_);
        items_.push_back({QAccessible::registerAccessibleInterface(iface), iface});
        return iface;
    }

    QAccessible::Role itemRole_;
    mutable std::vector<Item> items_;
};

} // namespace

QAccessibleInterface* itemViewAccessible(const QString& className, QObject* object) {
    // Asked from the most derived class upwards: the first answer wins.
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto* list = qobject_cast<QListWidget*>(object))
        return new ItemViewAccessibleImpl(list, QAccessible::List, QAccessible::ListItem);
    if (auto* tree = qobject_cast<QTreeWidget*>(object))
        return new ItemViewAccessibleImpl(tree, QAccessible::Tree, QAccessible::TreeItem);
    return nullptr;
}

void clickItem(QAbstractItemView* view, const QModelIndex& item) {
    const QPersistentModelIndex index(item);
    view->scrollTo(index);
    QWidget* viewport = view->viewport();
    const QRect shown = view->visualRect(index) & viewport->rect();
    if (shown.isEmpty())
        return;
    const QPointF at = shown.center();
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QPointer<QWidget> alive(viewport);
    QApplication::sendEvent(viewport, &press);
    // The press may have changed the items or closed the view, as a real one may.
    if (!alive || !index.isValid())
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

} // namespace tx
