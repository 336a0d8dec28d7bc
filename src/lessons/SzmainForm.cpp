#include "lessons/SzmainForm.h"

#include "lessons/LessonHelpForms.h"
#include "lessons/Sendsongform.h"
#include "platform/Services.h"
#include "platform/WaitSeconds.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace tx {

namespace {

// ImageList1's one picture: a loudspeaker, 50x50.
QIcon loudspeakerIcon() {
    QPixmap pixmap(50, 50);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 215, 0), 3));
    painter.setBrush(QColor(255, 215, 0));
    const QPointF cone[] = {{6, 18}, {16, 18}, {28, 6}, {28, 44}, {16, 32}, {6, 32}};
    painter.drawPolygon(cone, 6);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(22, 13, 16, 24), -60 * 16, 120 * 16);
    painter.drawArc(QRectF(22, 5, 26, 40), -60 * 16, 120 * 16);
    return QIcon(pixmap);
}

} // namespace

TszmainForm::TszmainForm(Services& services, QWidget* parent)
    : LearningWindow(services, sz, parent) {
    setTopBarColor(QColor(192, 220, 192));

    ListView1 = new QListWidget(content());
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setToolTip(QStringLiteral("请点击字进行发音学字"));
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setWrapping(true);
    ListView1->setIconSize(QSize(50, 50));
    ListView1->setGridSize(QSize(150, 140));
    ListView1->setUniformItemSizes(true);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont font = ListView1->font();
    font.setPixelSize(56);
    font.setBold(true);
    ListView1->setFont(font);
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, Qt::red);
    // The selection stays visible when the view loses the focus.
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    ListView1->setPalette(palette);
    ListView1->viewport()->installEventFilter(this);
    ListView1->installEventFilter(this);
    connect(ListView1, &QListWidget::itemClicked, this, [this] { ListView1Click(); });

    auto* layout = new QVBoxLayout(content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListView1);
}

bool TszmainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A click on the empty background leaves no character selected.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (ListView1->itemAt(mouse->position().toPoint()) == nullptr) {
            ListView1->clearSelection();
            ListView1->setCurrentItem(nullptr);
        }
    } else if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            ListView1Click();
            return true;
        }
    }
    return LearningWindow::eventFilter(watched, event);
}

void TszmainForm::LoadChapterItems() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    loadItemsOfChapter();
    ListView1->clear();
    static const QIcon icon = loudspeakerIcon();
    for (const LessonItem& item : items()) {
        ListView1->addItem(new QListWidgetItem(icon, item.name));
    }
}

void TszmainForm::ListView1Click() {
    if (postponeWhileWaiting(this, [this] { ListView1Click(); })) {
        return;
    }
    const QList<QListWidgetItem*> selected = ListView1->selectedItems();
    if (ListView1->count() == 0 || selected.isEmpty()) {
        return;
    }
    const LessonItem* found = findItem(selected.first()->text());
    if (found == nullptr) {
        return;
    }
    const LessonItem item = *found;
    ProgramState& state = services().state;
    state.CurrentSoundFile = item.sound;
    state.CurrentCoursewareAddress = item.courseware;

    auto* form = new Tsendsongform(services(), this);
    const QImage picture = pictureOf(item, Tsendsongform::pictureBoxSize());
    if (!picture.isNull()) {
        form->setPicture(picture);
    }
    form->setCharacter(item.name);
    form->setPronunciation(QStringLiteral("发音+词组: ") + item.text);
    form->setWindowTitle(QStringLiteral("课件网址:") + state.CurrentCoursewareAddress);
    form->exec();
}

QDialog* TszmainForm::createHelpWindow() {
    return new TMYHLPForm(this);
}

} // namespace tx
