#include "lessons/Sendsongform.h"

#include "lessons/LessonLook.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/SoundService.h"
#include "platform/WaitSeconds.h"
#include "web/BrowserWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tx {

namespace {} // namespace

Tsendsongform::Tsendsongform(Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("Tsendsongform"));
    setWindowTitle(QStringLiteral("小朋友,跟着发音一起来学字哦"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(songFont(12, false));
    move(90, 105);
    setFixedSize(577 - 8, 405 - 31);

    FYLB = new QLabel(QStringLiteral("发音："), this);
    FYLB->setObjectName(QStringLiteral("FYLB"));
    FYLB->setFont(songFont(19, true));
    FYLB->setGeometry(16, 10, 540, 30);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(16, 48, 249, 201);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Panel1->setPalette(black);
    Panel1->setAutoFillBackground(true);

    ZILB = new QLabel(QStringLiteral("我"), Panel1);
    ZILB->setObjectName(QStringLiteral("ZILB"));
    ZILB->setAlignment(Qt::AlignCenter);
    ZILB->setFont(songFont(96, true));
    setTextColor(ZILB, Qt::red);
    ZILB->setGeometry(Panel1->rect().adjusted(2, 2, -2, -2));

    NOLB = new QLabel(QStringLiteral("此字没有录音,请录制声音进行教学"), this);
    NOLB->setObjectName(QStringLiteral("NOLB"));
    NOLB->setFont(songFont(14, false));
    setTextColor(NOLB, Qt::blue);
    NOLB->setGeometry(16, 262, 300, 22);
    NOLB->hide();

    GroupBox1 = new QGroupBox(QStringLiteral("在线幼儿课件FALSH教学"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(290, 48, 262, 300);

    KJSb = new QToolButton(GroupBox1);
    KJSb->setObjectName(QStringLiteral("KJSb"));
    KJSb->setText(QStringLiteral("在线课件浏览 go->"));
    KJSb->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
    KJSb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    KJSb->setGeometry(40, 24, 180, 64);
    connect(KJSb, &QToolButton::clicked, this, &Tsendsongform::KJSbClick);

    GroupBox3 = new QGroupBox(QStringLiteral("图片框"), GroupBox1);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    setTextColor(GroupBox3, Qt::blue);
    GroupBox3->setGeometry(43, 104, 176, 165);

    PIC1 = new QLabel(GroupBox3);
    PIC1->setObjectName(QStringLiteral("PIC1"));
    PIC1->setGeometry(QRect(QPoint(9, 18), pictureBoxSize()));
    PIC1->setScaledContents(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &Tsendsongform::Timer1Timer);
    Timer1->start();
}

void Tsendsongform::setCharacter(const QString& character) {
    ZILB->setText(character);
}

void Tsendsongform::setPronunciation(const QString& line) {
    FYLB->setText(line);
}

void Tsendsongform::setPicture(const QImage& picture) {
    // Scaled once to the box, so that repaints never touch the full-size bitmap.
    PIC1->setPixmap(QPixmap::fromImage(
        picture.scaled(PIC1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void Tsendsongform::Timer1Timer() {
    Timer1->stop();
    if (started_) {
        return;
    }
    started_ = true;
    const QString sound = services_.state.CurrentSoundFile;
    if (sound.isEmpty() || !QFileInfo(sound).isFile()) {
        NOLB->show();
        return;
    }
    running_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    services_.sound->play(sound);
    WaitSeconds(*services_.clock, 3);
    services_.sound->play(sound);
    WaitSeconds(*services_.clock, 4);
    QApplication::restoreOverrideCursor();
    running_ = false;
    if (closeAfterSequence_) {
        close();
    }
}

void Tsendsongform::KJSbClick() {
    if (postponeWhileWaiting(this, [this] { KJSbClick(); })) {
        return;
    }
    const QString address = services_.state.CurrentCoursewareAddress;
    if (address.isEmpty()) {
        services_.dialogs->messageBox(this, QStringLiteral("没有课件网址,请检查哦！"),
                                      QStringLiteral("注意"), MessageIcon::Warning,
                                      MessageButton::Ok);
        return;
    }
    ShowCourseware(services_, this, ZILB->text(), address);
}

void Tsendsongform::mousePressEvent(QMouseEvent* event) {
    // Labels pass their clicks on to the window; only the free surface counts.
    pressedOnSurface_ = childAt(event->position().toPoint()) == nullptr;
    QDialog::mousePressEvent(event);
}

void Tsendsongform::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedOnSurface_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint()) &&
                       childAt(event->position().toPoint()) == nullptr;
    pressedOnSurface_ = false;
    QDialog::mouseReleaseEvent(event);
    if (click) {
        FormClick();
    }
}

void Tsendsongform::FormClick() {
    close();
}

void Tsendsongform::closeEvent(QCloseEvent* event) {
    // The sequence runs inside this window's handler: the window goes when it returns.
    if (running_ || isWaiting()) {
        event->ignore();
        if (running_) {
            closeAfterSequence_ = true;
        } else {
            postponeWhileWaiting(this, [this] { close(); });
        }
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace tx
