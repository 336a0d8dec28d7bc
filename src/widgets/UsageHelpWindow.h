#pragma once

#include <QDialog>
#include <QPoint>
#include <QSize>
#include <QStringList>

class QPlainTextEdit;

namespace tx {

// A modal window with only the close box, holding nothing but a read-only text area
// ("ME1") filled with the given lines exactly as they are.
class UsageHelpWindow : public QDialog {
    Q_OBJECT
public:
    UsageHelpWindow(const QString& caption, QSize outerSize, QPoint position,
                    const QStringList& lines, QWidget* parent);

    QPlainTextEdit* textArea() const { return text_; }
    QStringList lines() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* text_;
    QSize outerSize_;
    bool sized_ = false;
};

} // namespace tx
