#include "data/ShippedSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Started from anywhere, the program works in its own folder, so that the recordings
// its database names relative to that folder are found.
TEST(WorkingFolder, IsTheProgramsFolderWhereverItWasStartedFrom) {
    QTemporaryDir programDir;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(programDir.isValid() && elsewhere.isValid());
    const QString exe = programDir.filePath("tongxue");
    ASSERT_TRUE(QFile::copy(TX_PROGRAM_EXE, exe));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(programDir.filePath("edusz.mdb")).constData(), &db),
              SQLITE_OK);
    for (const QString& sql : tx::shippedSchemaStatements(true)) {
        ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_exec(db, "insert into SYS (日期) values('2026-12-01')", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("TONGXUE_REGISTRY_FILE", programDir.filePath("registry.json"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(elsewhere.path());
    p.start(exe, {});
    ASSERT_TRUE(p.waitForStarted(30000));
    const QString cwdLink = QStringLiteral("/proc/%1/cwd").arg(p.processId());
    const QString wanted = QFileInfo(programDir.path()).canonicalFilePath();
    QString seen;
    // The folder is entered before the first window; give the start-up a moment.
    for (int i = 0; i < 200 && seen != wanted && p.state() == QProcess::Running; ++i) {
        QThread::msleep(50);
        seen = QFileInfo(cwdLink).symLinkTarget();
    }
    EXPECT_EQ(seen, wanted);
    p.kill();
    p.waitForFinished(30000);
}

} // namespace
