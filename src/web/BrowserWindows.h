#pragma once

#include <QString>

class QWidget;

namespace tx {

struct Services;

// How an opener sets up the general browser window before it loads its page.
struct GeneralBrowserRequest {
    enum class Banner { None, DQPL, ETPL, ZXXPL };
    QString caption; // empty: the window's own caption
    bool showSiteList = true;
    Banner banner = Banner::None;
    QString markEntry; // objectName of a site-list entry to mark ("RB14", "GG", ...), or empty
    QString address;   // page loaded last; empty: only the marked entry's page
};

// The general browser window TzhucepayForm, shown modally over owner.
void OpenGeneralBrowser(Services& services, QWidget* owner, const GeneralBrowserRequest& request);
// The maker's page window TZHUCE1Form.
void OpenMakerPageWindow(Services& services, QWidget* owner);
// The large browser window TWEBBIGForm with a caption and a page.
void OpenBigBrowser(Services& services, QWidget* owner, const QString& caption,
                    const QString& address);
// Flash courseware (.swf) by web address or local path, in the general browser window.
void ShowCourseware(Services& services, QWidget* owner, const QString& name,
                    const QString& address);
// The action of every "->您的广告位置" label.
void OpenAdvertisingWindow(Services& services, QWidget* owner);

} // namespace tx
