#pragma once

#include <QDialog>
#include <QImage>

class QFrame;
class QGroupBox;
class QLabel;
class QTimer;
class QToolButton;

namespace tx {

struct Services;

// The pronunciation window: a character very large with its pinyin line and picture; half
// a second after it opens it plays the character's recording twice, three seconds apart.
class Tsendsongform : public QDialog {
    Q_OBJECT

public:
    explicit Tsendsongform(Services& services, QWidget* parent = nullptr);

    void setCharacter(const QString& character);
    void setPronunciation(const QString& line);
    void setPicture(const QImage& picture);
    // PIC1, which the picture is stretched to fill.
    static QSize pictureBoxSize() { return {158, 139}; }
    // Whether the pronunciation sequence is running now.
    bool sequenceRunning() const { return running_; }

public slots:
    void Timer1Timer();
    void KJSbClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormClick();

    Services& services_;
    bool started_ = false;
    bool running_ = false;
    bool closeAfterSequence_ = false;
    bool pressedOnSurface_ = false;

    QLabel* FYLB = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* ZILB = nullptr;
    QLabel* NOLB = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QToolButton* KJSb = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* PIC1 = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace tx
