#include "EditorGrid.h"

#include "data/Dataset.h"
#include "data/DatasetModel.h"
#include "lessons/LessonModule.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace tx {

namespace {

class EmphasisDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setBold(true);
        option->palette.setColor(QPalette::Text, Qt::red);
        option->palette.setColor(QPalette::HighlightedText, Qt::red);
    }
};

} // namespace

EditorGrid::EditorGrid(DatasetModel& model, std::span<const GridColumn> columns, QWidget* parent)
    : QTableView(parent), model_(model), columns_(columns) {
    setModel(&model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(20);
    emphasis_ = new EmphasisDelegate(this);
    model.followSelection(selectionModel());
    connect(&model, &QAbstractItemModel::modelReset, this, &EditorGrid::applyColumns);
    connect(&model, &QAbstractItemModel::layoutChanged, this, &EditorGrid::applyColumns);
    applyColumns();
}

void EditorGrid::applyColumns() {
    QHeaderView* header = horizontalHeader();
    const int count = model_.columnCount();
    for (int logical = 0; logical < count; ++logical) {
        setItemDelegateForColumn(logical, nullptr);
        header->setSectionHidden(logical, true);
    }
    int visual = 0;
    for (const GridColumn& column : columns_) {
        const QString name = column.field.toString();
        for (int logical = 0; logical < count; ++logical) {
            if (model_.headerData(logical, Qt::Horizontal)
                    .toString()
                    .compare(name, Qt::CaseInsensitive) != 0)
                continue;
            header->setSectionHidden(logical, false);
            header->moveSection(header->visualIndex(logical), visual++);
            header->resizeSection(logical, column.width);
            if (column.emphasised)
                setItemDelegateForColumn(logical, emphasis_);
            break;
        }
    }
}

} // namespace tx
