#include "LessonEditors.h"

#include "ChapterEditor.h"
#include "ItemEditor.h"
#include "LearningWindow.h"

#include <QPointer>

namespace tx {

namespace {

// The learning window outlives its modal editors; the guard only keeps a reload from
// reaching a window that is gone.
std::function<void()> reloadOf(LearningWindow& window) {
    return [window = QPointer<LearningWindow>(&window)] {
        if (window)
            window->ReloadChapters();
    };
}

} // namespace

LessonEditorOpeners lessonEditorOpeners() {
    LessonEditorOpeners openers;
    openers.chapterList = [](LearningWindow& window) {
        OpenChapterList(window.services(), window.module(), &window, reloadOf(window));
    };
    openers.itemList = [](LearningWindow& window) {
        OpenItemList(window.services(), window.module(), &window, reloadOf(window));
    };
    return openers;
}

} // namespace tx
