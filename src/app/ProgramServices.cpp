#include "ProgramServices.h"

#include "MainForm.h"

#include "arithmetic/YsmainForm.h"
#include "platform/DesktopExternalBrowser.h"
#include "platform/ExecutableProgramPaths.h"
#include "platform/FileRegistryStore.h"
#include "platform/QtDialogs.h"
#include "platform/SdlSoundService.h"
#include "platform/SystemClock.h"
#include "web/BrowserWindows.h"
#include "web/WebAllForm.h"
#include "web/WebEngineBrowser.h"
#include <QApplication>
#include <QDir>

namespace tx {

struct ProgramServices::Parts {
    ExecutableProgramPaths paths;
    SdlSoundService sound;
    SystemClock clock;
    QtDialogs dialogs;
    FileRegistryStore registry;
    WebEngineBrowserFactory browsers{QDir(paths.programDir()).filePath(QStringLiteral("ruffle"))};
    DesktopExternalBrowser externalBrowser;
};

ProgramServices::ProgramServices() : parts_(std::make_unique<Parts>()) {
    services_.sound = &parts_->sound;
    services_.clock = &parts_->clock;
    services_.dialogs = &parts_->dialogs;
    services_.registry = &parts_->registry;
    services_.browsers = &parts_->browsers;
    services_.externalBrowser = &parts_->externalBrowser;
    services_.paths = &parts_->paths;
}

ProgramServices::~ProgramServices() = default;

void ProgramServices::connectModules(TMainForm& mainForm) {
    mainForm.setModuleOpener(QStringLiteral("SSSB"), [this, &mainForm] {
        OpenArithmeticQuiz(services_, &mainForm, [this] {
            OpenAdvertisingWindow(services_, QApplication::activeModalWidget());
        });
    });
    mainForm.setModuleOpener(QStringLiteral("NEWSSB"),
                             [this, &mainForm] { OpenLinksDirectory(services_, &mainForm); });
}

} // namespace tx
