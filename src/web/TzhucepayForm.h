#pragma once

#include "web/BrowserWindows.h"

#include <QDialog>

class QRadioButton;

namespace tx {

class BrowserControl;
class SiteListPanel;

// The general browser window: site list, partner banners (at most one shown), browser.
class TzhucepayForm : public QDialog {
    Q_OBJECT
public:
    using Banner = GeneralBrowserRequest::Banner;

    TzhucepayForm(Services& services, QWidget* parent);
    ~TzhucepayForm() override;

    BrowserControl* browser() const { return WB1; }
    Services& services() const { return services_; }
    SiteListPanel* siteList() const { return QMTPL; }
    // Shows that banner and hides the others.
    void showBanner(Banner banner);
    // Marks the entry of that objectName in the site list or in ZXXPL.
    bool mark(const QString& entry);

    static QString defaultCaption();

private:
    QWidget* makeBanner(const char* name);
    void buildETPL();
    void buildDQPL();
    void buildZXXPL();

    Services& services_;
    SiteListPanel* QMTPL = nullptr;
    QWidget* ETPL = nullptr;
    QWidget* DQPL = nullptr;
    QWidget* ZXXPL = nullptr;
    QRadioButton* zxxzy = nullptr;
    QRadioButton* SRYLW = nullptr;
    QRadioButton* ZXXKJ = nullptr;
    BrowserControl* WB1 = nullptr;
};

// The open general browser window, or null.
extern TzhucepayForm* zhucepayForm;

} // namespace tx
