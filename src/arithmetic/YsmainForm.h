#pragma once

#include "arithmetic/ArithmeticQuiz.h"
#include "arithmetic/ExerciseDraw.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QRadioButton;
class QTimer;
class QToolButton;

namespace tx {

struct Services;
class TFlatSpeedButton;
class TLabel3D;

// The arithmetic quiz: spoken exercises up to 10, answered on ten number buttons,
// marked and scored in sets of five.
class TYSMAINForm : public QDialog {
    Q_OBJECT

public:
    explicit TYSMAINForm(Services& services, QWidget* parent = nullptr);
    ~TYSMAINForm() override;

    // Replaces the clock-based seed of each exercise's engine.
    void setSeedSource(SeedSource source);

    static const QColor RightMarkColor;
    static const QColor RevealedMarkColor;

public slots:
    void STARTSBClick();
    // SB1Click … SB10Click: the answer n.
    void SBClick(int n);
    void SHOWSBClick();
    void NEXTsbClick();
    void Timer2Timer();
    void Timer3Timer();
    void HELPSBClick();
    void QuitSbClick();
    void Label3D1Click();

signals:
    // The advertising label was clicked; the owner opens the advertising page.
    void advertisingRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTopBar(QWidget* bar);
    void buildContent(QWidget* content);

    // ADDRB / DELRB toggled: a newly checked kind starts a new set of it.
    void OperationToggled(Operation operation, bool checked);
    void StartSet(Operation operation);
    void NewAdditionExercise();
    void NewSubtractionExercise();
    void newExercise(Operation operation);
    void CheckAnswer(bool revealed);
    void RecordMark(Mark mark);
    void speakExercise(QTimer* timer, const QString& operatorSound);
    void play(const QString& name);
    void wait(int seconds);
    Operation checkedOperation() const;

    Services& services_;
    SeedSource seedSource_;
    ArithmeticQuiz quiz_;
    int chosenAnswer_ = 0;

    TLabel3D* Label3D7 = nullptr;
    TLabel3D* Label3D1 = nullptr;
    QToolButton* HELPSB = nullptr;
    QToolButton* QuitSb = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QLabel*, ArithmeticQuiz::SetSize> markPanels_{};
    QLabel* fENSHULB = nullptr;
    TFlatSpeedButton* STARTSB = nullptr;
    QRadioButton* ADDRB = nullptr;
    QRadioButton* DELRB = nullptr;
    QLabel* FIRSTLB = nullptr;
    QLabel* fhlb = nullptr;
    QLabel* SECONDLB = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* ANSWERLB = nullptr;
    std::array<TFlatSpeedButton*, 10> answerButtons_{};
    TFlatSpeedButton* SHOWSB = nullptr;
    TFlatSpeedButton* NEXTsb = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
};

// The quiz window while it is open, otherwise null.
TYSMAINForm* currentArithmeticQuiz();

// Creates the quiz owned by owner and shows it modally; it frees itself when closed.
// openAdvertising, when given, answers the advertising label.
void OpenArithmeticQuiz(Services& services, QWidget* owner,
                        const std::function<void()>& openAdvertising = {});

} // namespace tx
