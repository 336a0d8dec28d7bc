#include "ErrorReport.h"
#include "MainForm.h"
#include "ProgramServices.h"
#include "data/Tdm.h"
#include "platform/ProgramPaths.h"
#include "web/WebRendering.h"
#include "widgets/WidgetAccessibility.h"

#include <QDir>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    // Chromium refuses to start its sandbox as root, and the set-up runs as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    tx::TxApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tongxue"));
    // The title is not the display name: Qt would append it to every window's caption.
    tx::chooseWebRendering();

    tx::installWidgetAccessibility();

    tx::ProgramServices platform;
    tx::Services& services = platform.services();
    // Recordings and quiz sounds are named relative to the program's folder, which is
    // portable: it is the working directory however the program was started.
    if (!QDir::setCurrent(services.paths->folder()))
        std::fprintf(stderr, "tongxue: cannot enter the program folder %s\n",
                     services.paths->folder().toLocal8Bit().constData());
    tx::ErrorReport errors(*services.dialogs);
    app.setErrorReport(&errors);

    tx::TMainForm mainForm(services, errors);
    tx::Tdm dm(services);
    if (const QString failure = dm.DataModuleCreate(); !failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
        return 1;
    }
    mainForm.setDataModule(&dm);
    services.dm = &dm;
    platform.connectModules(mainForm);

    mainForm.show();
    const int status = QApplication::exec();
    app.setErrorReport(nullptr);
    return status;
}
