#include "arithmetic/ArithmeticQuiz.h"

namespace tx {

QString markText(Mark mark) {
    switch (mark) {
    case Mark::Right:
        return QStringLiteral("√");
    case Mark::Revealed:
        return QStringLiteral("Ⅹ");
    case Mark::None:
        break;
    }
    return {};
}

void ArithmeticQuiz::startSet() {
    marks_.fill(Mark::None);
    score_ = 0;
}

void ArithmeticQuiz::setExercise(const Exercise& exercise) {
    exercise_ = exercise;
    open_ = true;
}

ArithmeticQuiz::Outcome ArithmeticQuiz::answer(int chosen, bool revealed) {
    if (!open_) {
        return Outcome::Ignored;
    }
    if (chosen != exercise_.result) {
        return Outcome::Wrong;
    }
    open_ = false;
    return revealed ? Outcome::Revealed : Outcome::Right;
}

int ArithmeticQuiz::recordMark(Mark mark) {
    for (int position = 0; position < SetSize; ++position) {
        if (marks_[position] == Mark::None) {
            marks_[position] = mark;
            if (mark == Mark::Right) {
                score_ += PointsPerExercise;
            }
            return position;
        }
    }
    return -1;
}

} // namespace tx
