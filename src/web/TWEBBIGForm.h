#pragma once

#include <QDialog>

namespace tx {

class BrowserControl;
struct Services;

// The large browser window: only the browser; the opener sets the caption.
class TWEBBIGForm : public QDialog {
    Q_OBJECT
public:
    TWEBBIGForm(Services& services, QWidget* parent);
    ~TWEBBIGForm() override;
    BrowserControl* browser() const { return WB1; }

private:
    BrowserControl* WB1 = nullptr;
};

extern TWEBBIGForm* WEBBIGForm;

} // namespace tx
