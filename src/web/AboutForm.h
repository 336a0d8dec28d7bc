#pragma once

#include <QDialog>

namespace tx {

struct Services;
class TLabel3D;
class TFlatSpeedButton;

// The About window: frameless, the maker's name, site address and logo; OK or Esc closes.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    TAboutForm(Services& services, QWidget* owner);
    ~TAboutForm() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Services& services_;
};

// The program-wide reference to the open About window, or null.
extern TAboutForm* AboutForm;

// What the main window's ABOUTSB does.
void OpenAboutWindow(Services& services, QWidget* owner);

} // namespace tx
