// Builds the starter library: recordings in the program folder and edusz.mdb.
#include "Database.h"
#include "Library.h"
#include "Recipes.h"
#include "Speech.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QThread>
#include <cstdio>

using namespace tx::content;

namespace {

// A build step without a desktop session: Qt's note about XDG_RUNTIME_DIR is noise.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (!msg.startsWith("QStandardPaths:"))
        std::fprintf(stderr, "%s%s\n", type >= QtCriticalMsg ? "tx_mkdb: " : "", qPrintable(msg));
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietHandler);
    // Pictures are drawn without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser cli;
    cli.setApplicationDescription("Builds the starter library from its text sources.");
    cli.addHelpOption();
    const QCommandLineOption sources("sources", "Folder of the text sources.", "dir");
    const QCommandLineOption programDir("program-dir", "The program folder.", "dir");
    const QCommandLineOption db("db", "Database to write.", "path");
    const QCommandLineOption ifMissing("if-missing", "Leave an existing database alone.");
    const QCommandLineOption speakOpt("speak", "Make the recordings that are missing or stale.");
    const QCommandLineOption espeak("espeak", "The espeak-ng program.", "path", "espeak-ng");
    const QCommandLineOption jobs("jobs", "Parallel espeak processes.", "n",
                                  QString::number(QThread::idealThreadCount() + 1));
    const QCommandLineOption recipeUpdate(
        "recipe-update", "Recipe update database to write from qmtfood.txt.", "path");
    cli.addOptions({sources, programDir, db, ifMissing, speakOpt, espeak, jobs, recipeUpdate});
    cli.process(app);
    if (!cli.isSet(sources) || !cli.isSet(programDir)) {
        std::fprintf(stderr, "tx_mkdb: --sources and --program-dir are required\n");
        return 2;
    }
    const QString program = QDir(cli.value(programDir)).absolutePath();

    Library library;
    RecipeBook update;
    try {
        library = readLibrary(cli.value(sources));
        if (cli.isSet(recipeUpdate))
            update = readRecipes(cli.value(sources) + "/qmtfood.txt", true);
    } catch (const SourceError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    try {
        if (cli.isSet(speakOpt)) {
            const SpeechResult r =
                speak(speechJobs(library, program), cli.value(espeak), cli.value(jobs).toInt());
            if (r.made > 0 || r.left > 0)
                std::printf("tx_mkdb: %d recordings made, %d up to date, %d not ours left alone\n",
                            r.made, r.kept, r.left);
        }
        if (cli.isSet(db)) {
            if (writeDatabase(library, cli.value(db), program, cli.isSet(ifMissing)))
                std::printf("tx_mkdb: wrote %s\n", qPrintable(cli.value(db)));
        }
        if (cli.isSet(recipeUpdate)) {
            writeRecipeUpdate(update, cli.value(recipeUpdate));
            std::printf("tx_mkdb: wrote %s\n", qPrintable(cli.value(recipeUpdate)));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tx_mkdb: %s\n", e.what());
        return 2;
    }
    return 0;
}
