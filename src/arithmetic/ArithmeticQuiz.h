#pragma once

#include "arithmetic/ExerciseDraw.h"

#include <QString>
#include <array>

namespace tx {

enum class Mark { None, Right, Revealed };

// "√" for a right answer, "Ⅹ" for a revealed one, empty for none.
QString markText(Mark mark);

// The exercise in hand and the set of five it belongs to, without any display.
class ArithmeticQuiz {
public:
    static constexpr int SetSize = 5;
    static constexpr int PointsPerExercise = 20;

    enum class Outcome { Ignored, Wrong, Right, Revealed };

    // Empties the marks and the score.
    void startSet();
    // The exercise becomes open for answers.
    void setExercise(const Exercise& exercise);

    // A child's answer (revealed false) or the hint (revealed true, chosen = result).
    // Only an open exercise takes answers; a right or revealed one closes it.
    Outcome answer(int chosen, bool revealed);

    // Gives the mark to the first unmarked exercise of the set, -1 when all are marked.
    int recordMark(Mark mark);

    const Exercise& exercise() const { return exercise_; }
    bool isOpen() const { return open_; }
    Mark mark(int position) const { return marks_.at(position); }
    bool setComplete() const { return marks_.back() != Mark::None; }
    int score() const { return score_; }

private:
    Exercise exercise_;
    bool open_ = false;
    std::array<Mark, SetSize> marks_{};
    int score_ = 0;
};

} // namespace tx
