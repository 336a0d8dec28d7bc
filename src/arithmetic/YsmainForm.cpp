#include "arithmetic/YsmainForm.h"

#include "arithmetic/YsmyhlpForm.h"
#include "platform/Services.h"
#include "platform/SoundService.h"
#include "platform/WaitSeconds.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tx {

const QColor TYSMAINForm::RightMarkColor{255, 0, 0};
const QColor TYSMAINForm::RevealedMarkColor{0, 128, 0};

namespace {

TYSMAINForm* openQuiz = nullptr;

const QColor kTopBarColor{192, 220, 192};
const QColor kContentColor{236, 246, 236};
const QColor kBoardColor{30, 30, 30};
const QColor kBlue{0, 0, 255};
const QColor kRed{255, 0, 0};
const QColor kGreen{0, 128, 0};
const QColor kBoardGreen{0, 200, 0};
const QColor kYellow{255, 255, 0};
const QColor kAqua{0, 255, 255};
const QColor kOrange{255, 160, 0};

const QString kOpen = QStringLiteral("?");

QFont boldPixelFont(int pixels) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void setBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font,
                  const QColor& color, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    if (name != nullptr) {
        label->setObjectName(QString::fromLatin1(name));
    }
    label->setFont(font);
    setTextColor(label, color);
    label->setGeometry(geometry);
    return label;
}

TFlatSpeedButton* makeOrangeButton(QWidget* parent, const char* name, const QString& caption,
                                   const QString& hint, const QRect& geometry) {
    auto* button = new TFlatSpeedButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCaption(caption);
    button->setToolTip(hint);
    button->setColor(kOrange);
    button->setFont(boldPixelFont(16));
    button->setGeometry(geometry);
    return button;
}

QString soundOf(int number) {
    return QStringLiteral("S%1.wav").arg(number);
}

} // namespace

TYSMAINForm::TYSMAINForm(Services& services, QWidget* parent)
    : QDialog(parent), services_(services), seedSource_(clockSeedSource()) {
    setObjectName(QStringLiteral("TYSMAINForm"));
    setWindowTitle(QStringLiteral("幼儿算数->有趣的幼儿算数教学，小朋友快快来学哦"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(800, 578);
    setWindowState(Qt::WindowMaximized);
    setBackground(this, kContentColor);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* bar = new QWidget(this);
    bar->setFixedHeight(64);
    setBackground(bar, kTopBarColor);
    buildTopBar(bar);
    outer->addWidget(bar);

    // The controls keep their 800-pixel design positions, centred on a larger screen.
    auto* content = new QWidget(this);
    content->setFixedSize(800, 578 - 64);
    buildContent(content);
    outer->addWidget(content, 0, Qt::AlignHCenter | Qt::AlignTop);
    outer->addStretch(1);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(300);
    connect(Timer2, &QTimer::timeout, this, &TYSMAINForm::Timer2Timer);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(300);
    connect(Timer3, &QTimer::timeout, this, &TYSMAINForm::Timer3Timer);

    openQuiz = this;
}

TYSMAINForm::~TYSMAINForm() {
    if (openQuiz == this) {
        openQuiz = nullptr;
    }
}

void TYSMAINForm::buildTopBar(QWidget* bar) {
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(16, 0, 8, 0);

    Label3D7 = new TLabel3D(bar);
    Label3D7->setObjectName(QStringLiteral("Label3D7"));
    Label3D7->setText(QStringLiteral("幼儿算数"));
    Label3D7->setBevel(TLabel3DBevel::bvLowered);
    Label3D7->setFont(boldPixelFont(24));
    setTextColor(Label3D7, kBlue);
    layout->addWidget(Label3D7);
    layout->addSpacing(24);

    Label3D1 = new TLabel3D(bar);
    Label3D1->setObjectName(QStringLiteral("Label3D1"));
    Label3D1->setText(QStringLiteral("->您的广告位置"));
    Label3D1->setBevel(TLabel3DBevel::bvLowered);
    QFont linkFont;
    linkFont.setPixelSize(14);
    linkFont.setUnderline(true);
    Label3D1->setFont(linkFont);
    setTextColor(Label3D1, kRed);
    Label3D1->setCursor(Qt::PointingHandCursor);
    connect(Label3D1, &TLabel3D::clicked, this, &TYSMAINForm::Label3D1Click);
    layout->addWidget(Label3D1);
    layout->addStretch(1);

    HELPSB = new QToolButton(bar);
    HELPSB->setObjectName(QStringLiteral("HELPSB"));
    HELPSB->setText(QStringLiteral("使用方法"));
    HELPSB->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    connect(HELPSB, &QToolButton::clicked, this, &TYSMAINForm::HELPSBClick);

    QuitSb = new QToolButton(bar);
    QuitSb->setObjectName(QStringLiteral("QuitSb"));
    QuitSb->setText(QStringLiteral("返回→"));
    QuitSb->setToolTip(QStringLiteral("返回主界面"));
    QuitSb->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    connect(QuitSb, &QToolButton::clicked, this, &TYSMAINForm::QuitSbClick);

    for (QToolButton* button : {HELPSB, QuitSb}) {
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(QSize(24, 24));
        button->setFixedSize(72, 56);
        layout->addWidget(button);
    }
}

void TYSMAINForm::buildContent(QWidget* content) {
    Label1 = makeLabel(content, "Label1", QStringLiteral("你的得分"), boldPixelFont(21), kGreen,
                       QRect(40, 24, 100, 32));

    static const char* const panelNames[] = {"pl0", "PL1", "PL2", "PL3", "PL4"};
    for (int i = 0; i < ArithmeticQuiz::SetSize; ++i) {
        QLabel* panel = makeLabel(content, panelNames[i], QString(), boldPixelFont(29),
                                  i == 0 ? kRed : kGreen, QRect(150 + i * 52, 14, 46, 46));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        setBackground(panel, kAqua);
        markPanels_[i] = panel;
    }

    fENSHULB = makeLabel(content, "fENSHULB", QStringLiteral("0分"), boldPixelFont(21), kRed,
                         QRect(425, 24, 100, 32));

    STARTSB = makeOrangeButton(content, "STARTSB", QStringLiteral("开始练习"),
                               QStringLiteral("快快开始练习吧"), QRect(590, 12, 150, 50));
    connect(STARTSB, &TFlatSpeedButton::clicked, this, &TYSMAINForm::STARTSBClick);

    ADDRB = new QRadioButton(QStringLiteral("+加法运算"), content);
    ADDRB->setObjectName(QStringLiteral("ADDRB"));
    ADDRB->setGeometry(210, 78, 170, 30);
    DELRB = new QRadioButton(QStringLiteral("-减法运算"), content);
    DELRB->setObjectName(QStringLiteral("DELRB"));
    DELRB->setGeometry(440, 78, 170, 30);
    for (QRadioButton* radio : {ADDRB, DELRB}) {
        radio->setFont(boldPixelFont(14));
        setTextColor(radio, kGreen);
        radio->setEnabled(false);
    }
    ADDRB->setChecked(true);
    connect(ADDRB, &QRadioButton::toggled, this,
            [this](bool checked) { OperationToggled(Operation::Addition, checked); });
    connect(DELRB, &QRadioButton::toggled, this,
            [this](bool checked) { OperationToggled(Operation::Subtraction, checked); });

    auto* board = new QWidget(content);
    board->setGeometry(40, 118, 720, 130);
    setBackground(board, kBoardColor);
    const QFont big = boldPixelFont(56);
    const auto underlined = [&](const char* name, const QColor& color, int x, const QString& text) {
        makeLabel(board, nullptr, QStringLiteral("_______"), big, color, QRect(x, 30, 150, 80))
            ->setAlignment(Qt::AlignCenter);
        QLabel* label = makeLabel(board, name, text, big, color, QRect(x, 20, 150, 80));
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    FIRSTLB = underlined("FIRSTLB", kYellow, 30, QString());
    fhlb = makeLabel(board, "fhlb", QStringLiteral("+"), big, kBoardGreen, QRect(200, 20, 70, 80));
    fhlb->setAlignment(Qt::AlignCenter);
    SECONDLB = underlined("SECONDLB", kYellow, 280, QString());
    Label4 =
        makeLabel(board, "Label4", QStringLiteral("="), big, kBoardGreen, QRect(450, 20, 70, 80));
    Label4->setAlignment(Qt::AlignCenter);
    ANSWERLB = underlined("ANSWERLB", kRed, 530, kOpen);

    for (int n = 1; n <= 10; ++n) {
        auto* button = new TFlatSpeedButton(content);
        button->setObjectName(QStringLiteral("SB%1").arg(n));
        button->setCaption(QString::number(n));
        button->setColor(kAqua);
        button->setFont(boldPixelFont(35));
        button->setFontColor(kRed);
        const int row = (n - 1) / 5;
        const int column = (n - 1) % 5;
        button->setGeometry(140 + column * 110, 268 + row * 80, 90, 68);
        button->setEnabled(false);
        connect(button, &TFlatSpeedButton::clicked, this, [this, n] { SBClick(n); });
        answerButtons_[n - 1] = button;
    }

    SHOWSB = makeOrangeButton(content, "SHOWSB", QStringLiteral("提示答案"),
                              QStringLiteral("不会的时候可以提示答案哦，这样才可以进行下一题"),
                              QRect(210, 440, 160, 48));
    SHOWSB->setEnabled(false);
    connect(SHOWSB, &TFlatSpeedButton::clicked, this, &TYSMAINForm::SHOWSBClick);
    NEXTsb = makeOrangeButton(content, "NEXTsb", QStringLiteral("下一题"),
                              QStringLiteral("进行下一题练习"), QRect(430, 440, 160, 48));
    NEXTsb->setEnabled(false);
    connect(NEXTsb, &TFlatSpeedButton::clicked, this, &TYSMAINForm::NEXTsbClick);
}

void TYSMAINForm::setSeedSource(SeedSource source) {
    seedSource_ = std::move(source);
}

Operation TYSMAINForm::checkedOperation() const {
    return ADDRB->isChecked() ? Operation::Addition : Operation::Subtraction;
}

void TYSMAINForm::STARTSBClick() {
    STARTSB->setEnabled(false);
    ADDRB->setEnabled(true);
    DELRB->setEnabled(true);
    SHOWSB->setEnabled(true);
    for (TFlatSpeedButton* button : answerButtons_) {
        button->setEnabled(true);
    }
    StartSet(checkedOperation());
}

void TYSMAINForm::OperationToggled(Operation operation, bool checked) {
    if (!checked) {
        return;
    }
    StartSet(operation);
}

void TYSMAINForm::StartSet(Operation operation) {
    quiz_.startSet();
    fENSHULB->setText(QStringLiteral("0分"));
    for (QLabel* panel : markPanels_) {
        panel->clear();
    }
    ANSWERLB->setText(kOpen);
    if (operation == Operation::Addition) {
        NewAdditionExercise();
    } else {
        NewSubtractionExercise();
    }
}

void TYSMAINForm::NewAdditionExercise() {
    newExercise(Operation::Addition);
}

void TYSMAINForm::NewSubtractionExercise() {
    newExercise(Operation::Subtraction);
}

void TYSMAINForm::newExercise(Operation operation) {
    std::mt19937 engine(seedSource_());
    const bool addition = operation == Operation::Addition;
    ANSWERLB->setText(kOpen);
    fhlb->setText(addition ? QStringLiteral("+") : QStringLiteral("-"));
    FIRSTLB->clear();
    SECONDLB->clear();
    NEXTsb->setEnabled(false);

    const Exercise exercise = drawExercise(operation, engine);
    FIRSTLB->setText(QString::number(exercise.first));
    SECONDLB->setText(QString::number(exercise.second));
    quiz_.setExercise(exercise);

    // A sequence still pending for the previous exercise would speak this one with the
    // other operator.
    (addition ? Timer3 : Timer2)->stop();
    (addition ? Timer2 : Timer3)->start();
}

void TYSMAINForm::Timer2Timer() {
    speakExercise(Timer2, QStringLiteral("ja.wav"));
}

void TYSMAINForm::Timer3Timer() {
    speakExercise(Timer3, QStringLiteral("jIAN.wav"));
}

void TYSMAINForm::speakExercise(QTimer* timer, const QString& operatorSound) {
    // Nothing else runs during a wait: a tick then is taken up by a later one.
    if (isWaiting()) {
        return;
    }
    timer->stop();
    const Exercise exercise = quiz_.exercise();
    wait(1);
    play(soundOf(exercise.first));
    wait(3);
    play(operatorSound);
    wait(3);
    play(soundOf(exercise.second));
    wait(3);
    play(QStringLiteral("dy.wav"));
}

void TYSMAINForm::SBClick(int n) {
    if (!quiz_.isOpen()) {
        return;
    }
    chosenAnswer_ = n;
    CheckAnswer(false);
}

void TYSMAINForm::SHOWSBClick() {
    if (!quiz_.isOpen()) {
        return;
    }
    chosenAnswer_ = quiz_.exercise().result;
    CheckAnswer(true);
}

void TYSMAINForm::CheckAnswer(bool revealed) {
    const ArithmeticQuiz::Outcome outcome = quiz_.answer(chosenAnswer_, revealed);
    if (outcome == ArithmeticQuiz::Outcome::Ignored) {
        return;
    }
    if (outcome == ArithmeticQuiz::Outcome::Wrong) {
        play(QStringLiteral("cuo.wav"));
        return;
    }
    const int result = quiz_.exercise().result;
    ANSWERLB->setText(QString::number(result));
    play(soundOf(result));
    Mark mark = Mark::Revealed;
    if (outcome == ArithmeticQuiz::Outcome::Right) {
        mark = Mark::Right;
        wait(3);
        play(QStringLiteral("CM.wav"));
    }
    NEXTsb->setEnabled(true);
    RecordMark(mark);
}

void TYSMAINForm::RecordMark(Mark mark) {
    const int position = quiz_.recordMark(mark);
    if (position >= 0) {
        QLabel* panel = markPanels_[position];
        panel->setText(markText(mark));
        setTextColor(panel, mark == Mark::Right ? RightMarkColor : RevealedMarkColor);
    }
    fENSHULB->setText(QStringLiteral("%1分").arg(quiz_.score()));
}

void TYSMAINForm::NEXTsbClick() {
    if (quiz_.setComplete()) {
        StartSet(checkedOperation());
    } else {
        newExercise(checkedOperation());
    }
}

void TYSMAINForm::HELPSBClick() {
    auto* help = new TYSMYHLPForm(this);
    help->exec();
}

void TYSMAINForm::QuitSbClick() {
    close();
}

void TYSMAINForm::Label3D1Click() {
    emit advertisingRequested();
}

void TYSMAINForm::play(const QString& name) {
    services_.sound->play(name);
}

void TYSMAINForm::wait(int seconds) {
    WaitSeconds(*services_.clock, seconds);
}

void TYSMAINForm::closeEvent(QCloseEvent* event) {
    // A handler is still running below the wait; it must not lose its window.
    if (isWaiting()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TYSMAINForm::keyPressEvent(QKeyEvent* event) {
    // Only QuitSb leaves the quiz; Escape must not close it behind a child's back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TYSMAINForm* currentArithmeticQuiz() {
    return openQuiz;
}

void OpenArithmeticQuiz(Services& services, QWidget* owner,
                        const std::function<void()>& openAdvertising) {
    auto* form = new TYSMAINForm(services, owner);
    if (openAdvertising) {
        QObject::connect(form, &TYSMAINForm::advertisingRequested, form, openAdvertising);
    }
    form->exec();
}

} // namespace tx
