#include "BrowserWindows.h"

#include "platform/Browser.h"
#include "platform/ProgramPaths.h"
#include "platform/Services.h"
#include "web/SiteListPanel.h"
#include "web/Sites.h"
#include "web/TWEBBIGForm.h"
#include "web/TZHUCE1Form.h"
#include "web/TzhucepayForm.h"

#include <QPointer>
#include <QVariant>

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

// Marks the courseware window an owner keeps, hidden, between movies.
constexpr char kKeptCoursewareWindow[] = "txKeptCoursewareWindow";

TzhucepayForm* keptCoursewareWindow(Services& services, QWidget* owner) {
    if (!owner)
        return nullptr;
    for (auto* form : owner->findChildren<TzhucepayForm*>(Qt::FindDirectChildrenOnly))
        if (form->property(kKeptCoursewareWindow).toBool() && form->isHidden() &&
            &form->services() == &services)
            return form;
    return nullptr;
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
    // A window shown again costs a fraction of a new one, whose first drawing sets up the
    // engine's view anew and keeps the movie waiting: the owner keeps its courseware
    // window, hidden, for the next movie. It opens as a new one would.
    QPointer<TzhucepayForm> form = keptCoursewareWindow(services, owner);
    if (form) {
        form->setWindowTitle(request.caption);
        form->setWindowState(form->windowState() | Qt::WindowMaximized);
        zhucepayForm = form;
    } else {
        form = prepareGeneralBrowser(services, owner, request);
        if (owner) {
            form->setAttribute(Qt::WA_DeleteOnClose, false);
            form->setProperty(kKeptCoursewareWindow, true);
        }
    }
    // Unchecked on purpose: even an empty address goes to the control, which says so.
    form->browser()->navigate(address);
    form->exec();
    // Closed: a kept window is no longer the open one.
    if (form && zhucepayForm == form)
        zhucepayForm = nullptr;
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
