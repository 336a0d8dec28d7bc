#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The built program, started from a folder of its own, must stop at once with one line
// on standard error when it cannot reach its database or its data source record.
struct Case {
    const char* label;
    QByteArray database; // contents of edusz.mdb; null = no file
    bool unwritableRegistry;
    const char* mentions;
};

class StartupFailureTest : public ::testing::TestWithParam<Case> {};

TEST_P(StartupFailureTest, ExitsWithOneLineAndCreatesNothing) {
    const Case& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString exe = dir.filePath("tongxue");
    ASSERT_TRUE(QFile::copy(TX_PROGRAM_EXE, exe));
    const QString db = dir.filePath("edusz.mdb");
    if (!c.database.isNull()) {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.database);
    }
    QString registry = dir.filePath("registry.json");
    if (c.unwritableRegistry) {
        QFile blocker(dir.filePath("blocker"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        registry = dir.filePath("blocker/registry.json");
    }

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TONGXUE_REGISTRY_FILE", registry);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(exe, {});
    ASSERT_TRUE(p.waitForFinished(60000));

    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QStringList lines = QString::fromLocal8Bit(p.readAllStandardError())
                                  .split('\n', Qt::SkipEmptyParts)
                                  .filter("tongxue:");
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains(c.mentions)) << lines[0].toStdString();
    EXPECT_EQ(QFile::exists(db), !c.database.isNull()) << "opening never creates the file";
    if (!c.database.isNull()) {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.database) << "the file is left as it was";
    }
}

QByteArray truncatedDatabase() {
    QByteArray header("SQLite format 3", 16);
    header.append(QByteArray(84, '\0'));
    header[16] = 0x10; // page size 4096
    header[17] = 0x00;
    header[31] = 9; // says nine pages, holds less than one
    return header;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupFailureTest,
    ::testing::Values(Case{"missing", QByteArray(), false, "edusz.mdb"},
                      Case{"empty", QByteArray(""), false, "edusz.mdb"},
                      Case{"not a database", QByteArray("this is not a database, just text\n"),
                           false, "edusz.mdb"},
                      Case{"truncated", truncatedDatabase(), false, "edusz.mdb"},
                      Case{"registry unwritable", QByteArray(), true, "EDUqlyx"}),
    [](const auto& info) {
        std::string s = info.param.label;
        std::replace(s.begin(), s.end(), ' ', '_');
        return s;
    });

} // namespace
