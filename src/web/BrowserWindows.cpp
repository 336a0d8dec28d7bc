#include "BrowserWindows.h"

#include "platform/Browser.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "web/SiteListPanel.h"
#include "web/Sites.h"
#include "web/TWEBBIGForm.h"
#include "web/TZHUCE1Form.h"
#include "web/TzhucepayForm.h"

namespace tx {

namespace {

// Creates the window as the openers' table says; the caller loads the page and shows it.
TzhucepayForm* prepareGeneralBrowser(Services& services, QWidget* owner,
                                     const GeneralBrowserRequest& request) {
    auto* form = new TzhucepayForm(services, owner);
    if (!request.caption.isEmpty())
        form->setWindowTitle(request.caption);
    form->siteList()->setVisible(request.showSiteList);
    form->showBanner(request.banner);
    if (!request.markEntry.isEmpty())
        form->mark(request.markEntry);
    return form;
}

} // namespace

void OpenGeneralBrowser(Services& services, QWidget* owner, const GeneralBrowserRequest& request) {
    TzhucepayForm* form = prepareGeneralBrowser(services, owner, request);
    if (!request.address.isEmpty())
        form->browser()->navigate(request.address);
    form->exec();
}

void OpenMakerPageWindow(Services& services, QWidget* owner) {
    (new TZHUCE1Form(services, owner))->exec();
}

void OpenBigBrowser(Services& services, QWidget* owner, const QString& caption,
                    const QString& address) {
    auto* form = new TWEBBIGForm(services, owner);
    form->setWindowTitle(caption);
    form->browser()->navigate(address);
    form->exec();
}

void ShowCourseware(Services& services, QWidget* owner, const QString& name,
                    const QString& address) {
    GeneralBrowserRequest request;
    request.caption = QStringLiteral("课件:") + name + QStringLiteral("     网址:") + address;
    request.showSiteList = false;
    TzhucepayForm* form = prepareGeneralBrowser(services, owner, request);
    // Unchecked on purpose: even an empty address goes to the control, which says so.
    form->browser()->navigate(address);
    form->exec();
}

void OpenAdvertisingWindow(Services& services, QWidget* owner) {
    GeneralBrowserRequest request;
    request.caption = QStringLiteral("->您的广告位置->我们为您定做的特殊广告窗口 ");
    request.showSiteList = false;
    request.address = makerSiteAddress(services.paths->programDir(), MakerSite::Second,
                                       QStringLiteral("/guanggao.htm"));
    OpenGeneralBrowser(services, owner, request);
}

} // namespace tx
