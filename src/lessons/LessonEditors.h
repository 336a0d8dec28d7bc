#pragma once

#include "lessons/LessonModule.h"

namespace tx {

// The learning windows' edit buttons open the module's chapter list and item list; the
// lists' return buttons reload the learning window's chapters.
LessonEditorOpeners lessonEditorOpeners();

} // namespace tx
