#include "lessons/TextLessonForm.h"

#include "lessons/LessonHelpForms.h"
#include "lessons/LessonLook.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/SoundService.h"
#include "platform/WaitSeconds.h"
#include "web/BrowserWindows.h"

#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace tx {

namespace {

constexpr int kBlinkSteps = 7;

// ImageList1's one 16x16 icon: a note.
QIcon entryIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 160), 2));
    painter.setBrush(QColor(0, 0, 160));
    painter.drawEllipse(QRectF(2, 10, 6, 5));
    painter.drawLine(QPointF(8, 12), QPointF(8, 2));
    painter.drawLine(QPointF(8, 2), QPointF(13, 5));
    return QIcon(pixmap);
}

QToolButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        QStyle::StandardPixmap icon, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TextLessonForm::TextLessonForm(Services& services, const LessonModule& module, QWidget* parent)
    : LearningWindow(services, module, parent) {
    setStopsSoundBeforeOpening(true);
    setTopBarColor(palette().color(QPalette::Button));
    QWidget* area = content();
    const int height = module.outerHeight - 31 - 64 - 24;
    const int treeWidth = module.treeWidth;

    Tree1 = new QTreeWidget(area);
    Tree1->setObjectName(QStringLiteral("Tree1"));
    Tree1->setGeometry(0, 0, treeWidth, height);
    Tree1->setHeaderHidden(true);
    Tree1->setRootIsDecorated(false);
    Tree1->setIndentation(19);
    Tree1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree1->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree1->setExpandsOnDoubleClick(false);
    Tree1->setToolTip(module.treeHint.toString());
    Tree1->setFont(songFont(16, true, QStringLiteral("新宋体")));
    QPalette treePalette = Tree1->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        treePalette.setColor(QPalette::Inactive, role, treePalette.color(QPalette::Active, role));
    }
    Tree1->setPalette(treePalette);
    Tree1->installEventFilter(this);
    Tree1->viewport()->installEventFilter(this);

    const int beside = treeWidth + 4;
    XYSSB = makeButton(area, "XYSSB", module.nextItemCaption.toString(), QStyle::SP_ArrowDown,
                       QRect(beside, 40, 60, 56));
    SYSSB = makeButton(area, "SYSSB", module.previousItemCaption.toString(), QStyle::SP_ArrowUp,
                       QRect(beside, 110, 60, 56));
    connect(XYSSB, &QToolButton::clicked, this, &TextLessonForm::XYSSBClick);
    connect(SYSSB, &QToolButton::clicked, this, &TextLessonForm::SYSSBClick);

    const int right = beside + 66;
    const int rightWidth = 800 - right - 4;
    me1 = new QPlainTextEdit(area);
    me1->setObjectName(QStringLiteral("me1"));
    me1->setReadOnly(true);
    me1->setGeometry(right, 4, rightWidth, height - 190);
    me1->setFont(songFont(35, false));
    QPalette textPalette = me1->palette();
    textPalette.setColor(QPalette::Base, QColor(204, 255, 204));
    textPalette.setColor(QPalette::Text, Qt::black);
    me1->setPalette(textPalette);

    const int lower = height - 178;
    KJSb = makeButton(area, "KJSb", QStringLiteral("在线课件浏览 go->"), QStyle::SP_DesktopIcon,
                      QRect(right, lower + 8, 120, 64));
    connect(KJSb, &QToolButton::clicked, this, &TextLessonForm::KJSbClick);
    LDSB = makeButton(area, "LDSB", QStringLiteral("朗读"), QStyle::SP_MediaVolume,
                      QRect(right, lower + 84, 120, 56));
    connect(LDSB, &QToolButton::clicked, this, &TextLessonForm::LDSBClick);
    ldshow = new QLabel(QStringLiteral("没有录制声音哦"), area);
    ldshow->setObjectName(QStringLiteral("ldshow"));
    setTextColor(ldshow, Qt::blue);
    ldshow->setGeometry(right, lower + 146, 140, 20);
    ldshow->hide();

    GroupBox3 = new QGroupBox(QStringLiteral("图片框"), area);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    setTextColor(GroupBox3, Qt::blue);
    GroupBox3->setGeometry(800 - 4 - 176, lower, 176, 165);
    PIC1 = new QLabel(GroupBox3);
    PIC1->setObjectName(QStringLiteral("PIC1"));
    PIC1->setGeometry(9, 18, 158, 139);
    PIC1->setScaledContents(true);

    Timer4 = new QTimer(this);
    Timer4->setObjectName(QStringLiteral("Timer4"));
    Timer4->setInterval(400);
    connect(Timer4, &QTimer::timeout, this, &TextLessonForm::Timer4Timer);
}

void TextLessonForm::FormShow() {
    services().state.CurrentCoursewareAddress.clear();
    LearningWindow::FormShow();
}

void TextLessonForm::LoadChapterItems() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    loadItemsOfChapter();
    Tree1->clear();
    if (items().empty()) {
        return;
    }
    static const QIcon icon = entryIcon();
    QList<QTreeWidgetItem*> entries;
    for (const LessonItem& item : items()) {
        auto* entry = new QTreeWidgetItem(QStringList{item.name});
        entry->setIcon(0, icon);
        entries << entry;
    }
    Tree1->addTopLevelItems(entries);
    me1->clear();
    Tree1->setFocus();
    selectEntry(0);
    ShowItem(Tree1->topLevelItem(0)->text(0));
}

QTreeWidgetItem* TextLessonForm::selectedEntry() const {
    const QList<QTreeWidgetItem*> selected = Tree1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TextLessonForm::selectEntry(int index) {
    QTreeWidgetItem* entry = Tree1->topLevelItem(index);
    Tree1->setCurrentItem(entry);
    entry->setSelected(true);
}

void TextLessonForm::ShowItem(const QString& name) {
    ProgramState& state = services().state;
    state.CurrentCoursewareAddress.clear();
    if (Tree1->topLevelItemCount() == 0 || selectedEntry() == nullptr) {
        return;
    }
    const LessonItem* found = findItem(name);
    if (found == nullptr) {
        return;
    }
    const LessonItem item = *found;
    me1->setPlainText(item.text);
    state.CurrentCoursewareAddress = item.courseware;
    PIC1->clear();
    const QImage picture = pictureOf(item, PIC1->size());
    if (!picture.isNull()) {
        PIC1->setPixmap(QPixmap::fromImage(
            picture.scaled(PIC1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    stopSound();
}

void TextLessonForm::Tree1Click() {
    QTreeWidgetItem* entry = selectedEntry();
    ShowItem(entry != nullptr ? entry->text(0) : QString());
}

void TextLessonForm::warnNothingSelected() {
    services().dialogs->messageBox(this, module().nothingSelected.toString(),
                                   QStringLiteral("注意"), MessageIcon::Warning, MessageButton::Ok);
}

void TextLessonForm::LDSBClick() {
    QTreeWidgetItem* entry = selectedEntry();
    if (entry == nullptr) {
        warnNothingSelected();
        return;
    }
    const LessonItem* item = findItem(entry->text(0));
    ProgramState& state = services().state;
    state.CurrentSoundFile = item != nullptr ? item->sound : QString();
    if (!state.CurrentSoundFile.isEmpty() && QFileInfo(state.CurrentSoundFile).isFile()) {
        services().sound->play(state.CurrentSoundFile);
        return;
    }
    state.blinkCounter = 0;
    ldshow->show();
    Timer4->start();
}

void TextLessonForm::Timer4Timer() {
    ldshow->setVisible(!ldshow->isVisible());
    int& counter = services().state.blinkCounter;
    ++counter;
    if (counter >= kBlinkSteps) {
        ldshow->hide();
        Timer4->stop();
    }
}

void TextLessonForm::XYSSBClick() {
    QTreeWidgetItem* entry = selectedEntry();
    if (entry == nullptr) {
        warnNothingSelected();
        return;
    }
    const int index = Tree1->indexOfTopLevelItem(entry);
    if (index >= Tree1->topLevelItemCount() - 1) {
        return;
    }
    selectEntry(index + 1);
    ShowItem(Tree1->topLevelItem(index + 1)->text(0));
}

void TextLessonForm::SYSSBClick() {
    QTreeWidgetItem* entry = selectedEntry();
    if (entry == nullptr) {
        warnNothingSelected();
        return;
    }
    const int index = Tree1->indexOfTopLevelItem(entry);
    if (index <= 0) {
        return;
    }
    selectEntry(index - 1);
    ShowItem(Tree1->topLevelItem(index - 1)->text(0));
}

void TextLessonForm::KJSbClick() {
    const QString address = services().state.CurrentCoursewareAddress;
    if (address.isEmpty()) {
        services().dialogs->messageBox(this, QStringLiteral("没有课件网址,请检查哦！"),
                                       QStringLiteral("注意"), MessageIcon::Warning,
                                       MessageButton::Ok);
        return;
    }
    QTreeWidgetItem* entry = selectedEntry();
    ShowCourseware(services(), this, entry != nullptr ? entry->text(0) : QString(), address);
}

void TextLessonForm::Tree1KeyDown(int key) {
    QTreeWidgetItem* entry = selectedEntry();
    if (Tree1->topLevelItemCount() == 0 || entry == nullptr) {
        return;
    }
    const int index = Tree1->indexOfTopLevelItem(entry);
    if (key == Qt::Key_Up && index > 0) {
        ShowItem(Tree1->topLevelItem(index - 1)->text(0));
    } else if (key == Qt::Key_Down && index < Tree1->topLevelItemCount() - 1) {
        ShowItem(Tree1->topLevelItem(index + 1)->text(0));
    }
}

bool TextLessonForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Tree1 && event->type() == QEvent::KeyPress) {
        // Shown first; the tree then moves its selection as usual.
        Tree1KeyDown(static_cast<QKeyEvent*>(event)->key());
    } else if (watched == Tree1->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            // The first click of the pair has shown the item; now read it aloud.
            releaseEndsDoubleClick_ = true;
            LDSBClick();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (releaseEndsDoubleClick_) {
                releaseEndsDoubleClick_ = false;
            } else {
                // The press has already moved the selection to the clicked entry.
                Tree1Click();
            }
        }
    }
    return LearningWindow::eventFilter(watched, event);
}

QDialog* TextLessonForm::createHelpWindow() {
    if (&module() == &xs) {
        return new TxsMYHLPForm(this);
    }
    return new TxyyMYHLPForm(this);
}

} // namespace tx
