#pragma once

#include <QDialog>

class QToolButton;

namespace tx {

class BrowserControl;
class SiteListPanel;
struct Services;

// The maker's page window: four product tiles, then the site list above the browser.
class TZHUCE1Form : public QDialog {
    Q_OBJECT
public:
    static constexpr int PanelHeight = 390;

    TZHUCE1Form(Services& services, QWidget* parent);
    ~TZHUCE1Form() override;

    BrowserControl* browser() const { return WB1; }
    SiteListPanel* siteList() const { return QMTPL; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Services& services_;
    QString makerHome_;
    SiteListPanel* QMTPL = nullptr;
    BrowserControl* WB1 = nullptr;
    bool shown_ = false;
};

extern TZHUCE1Form* ZHUCE1Form;

} // namespace tx
