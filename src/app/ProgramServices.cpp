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
#include "recipes/TmyfoodForm.h"
#include "web/BrowserWindows.h"
#include "web/DownloadPlacement.h"
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
    std::unique_ptr<DownloadPlacement> downloads;
};

ProgramServices::ProgramServices() : parts_(std::make_unique<Parts>()) {
    services_.sound = &parts_->sound;
    services_.clock = &parts_->clock;
    services_.dialogs = &parts_->dialogs;
    services_.registry = &parts_->registry;
    services_.browsers = &parts_->browsers;
    services_.externalBrowser = &parts_->externalBrowser;
    services_.paths = &parts_->paths;
    parts_->downloads = std::make_unique<DownloadPlacement>(
        parts_->paths.folder(), [this](QWidget* owner, const QString& text, bool failed) {
            services_.dialogs->messageBox(
                owner, text, failed ? QStringLiteral("注意") : QStringLiteral("信息"),
                failed ? MessageIcon::Warning : MessageIcon::Information, MessageButton::Ok);
        });
    parts_->browsers.setDownloadPlacement(parts_->downloads.get());
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
    mainForm.setModuleOpener(QStringLiteral("CAISB"),
                             [this, &mainForm] { OpenRecipeBook(services_, &mainForm); });
    mainForm.setModuleOpener(QStringLiteral("NEWSSB"),
                             [this, &mainForm] { OpenLinksDirectory(services_, &mainForm); });
}

} // namespace tx
