#include "lessons/LearningWindow.h"

#include "data/LatinCase.h"
#include "data/Tdm.h"
#include "lessons/LessonLook.h"
#include "lessons/LessonPicture.h"
#include "lessons/SzmainForm.h"
#include "lessons/TextLessonForm.h"
#include "platform/Services.h"
#include "platform/SoundService.h"
#include "platform/WaitSeconds.h"
#include "web/BrowserWindows.h"
#include "widgets/TLabel3D.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tx {

namespace {

QToolButton* makeToolButton(QWidget* parent, const char* name, const QString& caption,
                            const QString& hint, QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(72, 56);
    return button;
}

} // namespace

QString statusClockText(const QDateTime& moment) {
    static const QString weekdays = QStringLiteral("日一二三四五六");
    const QDate date = moment.date();
    return QStringLiteral("当前时间:  ") + date.toString(QStringLiteral("yyyy年MM月dd日")) +
           QStringLiteral("  ") + moment.time().toString(QStringLiteral("H:mm:ss")) +
           QStringLiteral("    星期") + weekdays.at(date.dayOfWeek() % 7);
}

LearningWindow::LearningWindow(Services& services, const LessonModule& module, QWidget* parent)
    : QDialog(parent), services_(services), module_(module),
      now_([] { return QDateTime::currentDateTime(); }) {
    setObjectName(module.learningWindow.toString());
    setWindowTitle(module.windowCaption.toString());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    QFont font = songFont();
    font.setPixelSize(12);
    setFont(font);
    // The outer frame sits just off an 800x600 screen, as the window is placed at -4,-4.
    move(-4, -4);
    resize(module.outerWidth - 8, module.outerHeight - 31);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    topBar_ = new QWidget(this);
    topBar_->setObjectName(QStringLiteral("TopBar"));
    topBar_->setFixedHeight(64);
    topBar_->setAutoFillBackground(true);
    buildTopBar();
    outer->addWidget(topBar_);
    content_ = new QWidget(this);
    outer->addWidget(content_, 1);
    buildStatusBar();
    outer->addWidget(Sb1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &LearningWindow::Timer1Timer);
    UpdateStatusBar();
    Timer1->start();
}

LearningWindow::~LearningWindow() = default;

void LearningWindow::buildTopBar() {
    auto* layout = new QHBoxLayout(topBar_);
    layout->setContentsMargins(12, 0, 4, 0);
    layout->setSpacing(2);

    Label3D7 = new TLabel3D(topBar_);
    Label3D7->setObjectName(QStringLiteral("Label3D7"));
    Label3D7->setText(module_.title.toString());
    QFont titleFont = songFont();
    titleFont.setPixelSize(24);
    titleFont.setBold(true);
    Label3D7->setFont(titleFont);
    setTextColor(Label3D7, QColor(0, 0, 255));
    layout->addWidget(Label3D7);
    layout->addSpacing(12);

    Label3D1 = new TLabel3D(topBar_);
    Label3D1->setObjectName(QStringLiteral("Label3D1"));
    Label3D1->setText(QStringLiteral("->您的广告位置"));
    QFont linkFont = songFont();
    linkFont.setPixelSize(14);
    linkFont.setUnderline(true);
    Label3D1->setFont(linkFont);
    setTextColor(Label3D1, QColor(255, 0, 0));
    Label3D1->setCursor(Qt::PointingHandCursor);
    connect(Label3D1, &TLabel3D::clicked, this, &LearningWindow::Label3D1Click);
    layout->addWidget(Label3D1);
    layout->addStretch(1);

    HELPSB = makeToolButton(topBar_, "HELPSB", QStringLiteral("使用方法"), {},
                            QStyle::SP_MessageBoxQuestion);
    zjsb = makeToolButton(topBar_, "zjsb", module_.chapterEditButton.toString(), {},
                          QStyle::SP_FileDialogDetailedView);
    zsb = makeToolButton(topBar_, "zsb", module_.itemEditButton.toString(), {},
                         QStyle::SP_FileDialogContentsView);
    UpSb = makeToolButton(topBar_, "UpSb", QStringLiteral("上一章节"),
                          QStringLiteral("查看上一章节"), QStyle::SP_ArrowUp);
    DownSb = makeToolButton(topBar_, "DownSb", QStringLiteral("下一章节"),
                            QStringLiteral("查看下一章节"), QStyle::SP_ArrowDown);
    CB1 = new QComboBox(topBar_);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setEditable(false);
    CB1->setMinimumWidth(110);
    QuitSb = makeToolButton(topBar_, "QuitSb", QStringLiteral("返回→"),
                            QStringLiteral("返回主界面"), QStyle::SP_ArrowBack);
    for (QWidget* w :
         {static_cast<QWidget*>(HELPSB), static_cast<QWidget*>(zjsb), static_cast<QWidget*>(zsb),
          static_cast<QWidget*>(UpSb), static_cast<QWidget*>(DownSb), static_cast<QWidget*>(CB1),
          static_cast<QWidget*>(QuitSb)}) {
        layout->addWidget(w);
    }
    connect(HELPSB, &QToolButton::clicked, this, &LearningWindow::HELPSBClick);
    connect(zjsb, &QToolButton::clicked, this, &LearningWindow::zjsbClick);
    connect(zsb, &QToolButton::clicked, this, &LearningWindow::zsbClick);
    connect(UpSb, &QToolButton::clicked, this, &LearningWindow::UpSbClick);
    connect(DownSb, &QToolButton::clicked, this, &LearningWindow::DownSbClick);
    connect(CB1, &QComboBox::activated, this, &LearningWindow::CB1Change);
    connect(QuitSb, &QToolButton::clicked, this, &LearningWindow::QuitSbClick);
}

void LearningWindow::setTopBarColor(const QColor& color) {
    QPalette palette = topBar_->palette();
    palette.setColor(QPalette::Window, color);
    topBar_->setPalette(palette);
}

void LearningWindow::buildStatusBar() {
    Sb1 = new QStatusBar(this);
    Sb1->setObjectName(QStringLiteral("Sb1"));
    Sb1->setSizeGripEnabled(false);
    const int widths[3] = {200, 250, 200};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(Sb1);
        panel->setObjectName(QStringLiteral("Sb1Panel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(i == 0 ? QFrame::Raised : QFrame::Sunken);
        Sb1->addWidget(panel);
        panels_[i] = panel;
    }
    panels_[0]->setText(module_.statusPanel.toString());
}

void LearningWindow::UpdateStatusBar() {
    const QString chapter = QStringLiteral("  现在章节:") + CB1->currentText();
    const QString clock = statusClockText(now_());
    // Unchanged text is not set again, so an idle window repaints once a second at most.
    if (panels_[1]->text() != chapter) {
        panels_[1]->setText(chapter);
    }
    if (panels_[2]->text() != clock) {
        panels_[2]->setText(clock);
    }
}

void LearningWindow::Timer1Timer() {
    UpdateStatusBar();
}

void LearningWindow::ReloadChapters() {
    if (stopsSoundBeforeOpening_) {
        stopSound();
    }
    CB1->clear();
    Dataset& query = services_.dm->ALLQuery;
    module_.openChapters(query);
    QStringList names;
    for (query.first(); !query.eof(); query.next()) {
        names << readChapter(query).name;
    }
    CB1->addItems(names);
    CB1->setCurrentIndex(names.isEmpty() ? -1 : 0);
    LoadChapterItems();
}

void LearningWindow::loadItemsOfChapter() {
    Dataset& query = services_.dm->ALLQuery;
    module_.openItems(query, CB1->currentText());
    items_.clear();
    for (query.first(); !query.eof(); query.next()) {
        items_.push_back(readItem(query, module_));
    }
}

const LessonItem* LearningWindow::findItem(const QString& name) const {
    for (const LessonItem& item : items_) {
        if (equalsIgnoringLatinCase(item.name, name)) {
            return &item;
        }
    }
    return nullptr;
}

QImage LearningWindow::pictureOf(const LessonItem& item, QSize fit) {
    return readLessonPicture(services_.dm->ADOConnection1, module_, item, fit);
}

void LearningWindow::stopSound() {
    services_.sound->stop();
}

void LearningWindow::UpSbClick() {
    if (CB1->count() < 2 || CB1->currentIndex() <= 0) {
        return;
    }
    CB1->setCurrentIndex(CB1->currentIndex() - 1);
    LoadChapterItems();
}

void LearningWindow::DownSbClick() {
    if (CB1->count() < 2 || CB1->currentIndex() >= CB1->count() - 1) {
        return;
    }
    CB1->setCurrentIndex(CB1->currentIndex() + 1);
    LoadChapterItems();
}

void LearningWindow::CB1Change() {
    LoadChapterItems();
}

bool LearningWindow::postpone(void (LearningWindow::*handler)()) {
    return postponeWhileWaiting(this, [this, handler] { (this->*handler)(); });
}

void LearningWindow::HELPSBClick() {
    if (postpone(&LearningWindow::HELPSBClick)) {
        return;
    }
    if (stopsSoundBeforeOpening_) {
        stopSound();
    }
    QDialog* help = createHelpWindow();
    help->exec();
}

void LearningWindow::zjsbClick() {
    if (postpone(&LearningWindow::zjsbClick)) {
        return;
    }
    if (stopsSoundBeforeOpening_) {
        stopSound();
    }
    if (openers_.chapterList) {
        openers_.chapterList(*this);
    }
}

void LearningWindow::zsbClick() {
    if (postpone(&LearningWindow::zsbClick)) {
        return;
    }
    if (stopsSoundBeforeOpening_) {
        stopSound();
    }
    if (openers_.itemList) {
        openers_.itemList(*this);
    }
}

void LearningWindow::QuitSbClick() {
    if (postpone(&LearningWindow::QuitSbClick)) {
        return;
    }
    stopSound();
    close();
}

void LearningWindow::Label3D1Click() {
    if (postpone(&LearningWindow::Label3D1Click)) {
        return;
    }
    OpenAdvertisingWindow(services_, this);
}

void LearningWindow::FormShow() {
    ReloadChapters();
}

void LearningWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void LearningWindow::keyPressEvent(QKeyEvent* event) {
    // Only the return button and the close box leave a learning window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LearningWindow::closeEvent(QCloseEvent* event) {
    // A handler below a running wait still needs this window: close once it returns.
    if (isWaiting()) {
        event->ignore();
        postponeWhileWaiting(this, [this] { close(); });
        return;
    }
    QDialog::closeEvent(event);
}

void OpenLearningWindow(Services& services, const LessonModule& module, QWidget* owner,
                        const LessonEditorOpeners& openers) {
    LearningWindow* window = nullptr;
    if (&module == &sz) {
        window = new TszmainForm(services, owner);
    } else if (&module == &xs) {
        window = new TxsmainForm(services, owner);
    } else {
        window = new TXYYMAINForm(services, owner);
    }
    window->setEditorOpeners(openers);
    window->exec();
}

} // namespace tx
