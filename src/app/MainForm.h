#pragma once

#include <QWidget>
#include <functional>

class QToolButton;
class QLabel;

namespace tx {

struct Services;
class BrowserControl;
class ErrorReport;
class Tdm;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    TMainForm(Services& services, const ErrorReport& errors, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Created after the window (the window touches no data while it is created).
    void setDataModule(Tdm* dm) { dm_ = dm; }
    // Where the module buttons lead; set by the program entry as the windows exist.
    void setModuleOpener(const QString& buttonName, std::function<void()> open);

    BrowserControl* browser() const { return WB1_; }

    void MINISBClick();
    void QuitSbClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    bool confirmQuit();
    QToolButton* makeToolButton(QWidget* parent, const char* name, const QString& caption,
                                const QString& hint);
    QToolButton* makeModuleButton(QWidget* parent, const char* name, const QString& caption,
                                  const QString& hint);
    void buildTopBand();
    void buildToolBar();
    void buildCentre();
    void buildMiddleBand();
    void buildBottom();

    Services& services_;
    const ErrorReport& errors_;
    Tdm* dm_ = nullptr;
    BrowserControl* WB1_ = nullptr;
    bool shown_ = false;
    bool quitting_ = false;
};

// The program-wide reference to the one main window.
extern TMainForm* MainForm;

} // namespace tx
