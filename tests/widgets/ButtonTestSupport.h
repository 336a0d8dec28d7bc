#pragma once

#include "widgets/TFlatSpeedButton.h"

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <memory>

namespace tx::test {

// Distinct colours for every role, so that a pixel tells which role painted it.
inline void paintRoles(TFlatSpeedButton& b) {
    b.setColor(QColor(10, 10, 10));
    b.setColorFocused(QColor(20, 20, 20));
    b.setColorDown(QColor(30, 30, 30));
    b.setColorBorder(QColor(40, 40, 40));
    b.setColorHighLight(QColor(50, 50, 50));
    b.setColorShadow(QColor(60, 60, 60));
}

// A shown, active window holding buttons side by side, with the mouse parked outside it.
struct ButtonWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();

    TFlatSpeedButton* add(int x, int width = 40, int height = 30) {
        auto* b = new TFlatSpeedButton(window.get());
        b->setGeometry(x, 10, width, height);
        b->show();
        return b;
    }

    bool show() {
        QCursor::setPos(0, 0);
        window->setGeometry(100, 100, 400, 100);
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowExposed(window.get()) &&
               QTest::qWaitForWindowActive(window.get());
    }
};

} // namespace tx::test
