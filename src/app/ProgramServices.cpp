#include "ProgramServices.h"

#include "MainForm.h"

#include "arithmetic/YsmainForm.h"
#include "lessons/LearningWindow.h"
#include "lessons/LessonEditors.h"
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

namespace tx {

struct ProgramServices::Parts {
    SdlSoundService sound;
    SystemClock clock;
    QtDialogs dialogs;
    FileRegistryStore registry;
    WebEngineBrowserFactory browsers;
    DesktopExternalBrowser externalBrowser;
    ExecutableProgramPaths paths;
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

namespace {

// What the learning windows' "编辑章节" and item-edit buttons open.
LessonEditorOpeners lessonEditors() {
    return lessonEditorOpeners();
}

} // namespace

void ProgramServices::connectModules(TMainForm& mainForm) {
    const std::pair<const char*, const LessonModule*> lessons[] = {
        {"szsb", &sz}, {"xssb", &xs}, {"xyysb", &xyy}};
    for (const auto& [button, module] : lessons) {
        mainForm.setModuleOpener(QString::fromLatin1(button), [this, &mainForm, module] {
            OpenLearningWindow(services_, *module, &mainForm, lessonEditors());
        });
    }
    mainForm.setModuleOpener(QStringLiteral("SSSB"), [this, &mainForm] {
        OpenArithmeticQuiz(services_, &mainForm, [this] {
            OpenAdvertisingWindow(services_, QApplication::activeModalWidget());
        });
    });
    mainForm.setModuleOpener(QStringLiteral("NEWSSB"),
                             [this, &mainForm] { OpenLinksDirectory(services_, &mainForm); });
}

} // namespace tx
