#pragma once

#include <QWidget>

namespace tx {

// A plain panel whose own surface answers a click: a left button released on it, not on
// one of its child controls. Assistive technology gets the same click as its Press.
class ClickablePanel : public QWidget {
    Q_OBJECT
public:
    explicit ClickablePanel(QWidget* parent = nullptr) : QWidget(parent) {}

    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace tx
