#include "Database.h"
#include "Library.h"
#include "Speech.h"
#include "data/Tdm.h"
#include "lessons/Sendsongform.h"
#include "lessons/SzmainForm.h"
#include "platform/testing/TestServices.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace tx::test {
namespace {

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + '/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(file, target)) << target.toStdString();
    }
}

// Restores the working directory the test found.
struct KeepWorkingDirectory {
    QString saved = QDir::currentPath();
    ~KeepWorkingDirectory() { QDir::setCurrent(saved); }
};

// The starter library copied to another place and its original removed: a character
// still finds its recording, through the folder the program works in.
TEST(MovedProgramFolder, ACharacterStillSounds) {
    KeepWorkingDirectory keep;
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    const content::Library library = content::readLibrary(TX_CONTENT_SOURCES);
    content::writeDatabase(library, first.filePath("edusz.mdb"), first.path(), false);
    // Stand-ins for the recordings, where the build puts them.
    for (const content::Module& m : library.modules) {
        for (const content::Item& item : m.items) {
            const QString stored = content::storedSoundPath(m, item);
            if (stored.isEmpty()) {
                continue;
            }
            ASSERT_TRUE(QDir::isRelativePath(stored)) << stored.toStdString();
            QDir(first.path()).mkpath(QFileInfo(stored).path());
            QFile wav(first.filePath(stored));
            ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
            wav.write("RIFF");
        }
    }
    const QString moved = second.filePath("童学三步通");
    copyTree(first.path(), moved);
    first.remove();

    TestServices t;
    t.paths.setExecutablePath(moved + "/tongxue");
    ASSERT_TRUE(QDir::setCurrent(t.paths.folder())); // as the program does at start
    Tdm dm(t.services);
    ASSERT_EQ(dm.DataModuleCreate(), QString());
    t.services.dm = &dm;
    {
        TszmainForm window(t.services);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        auto* list = window.findChild<QListWidget*>("ListView1");
        ASSERT_GT(list->count(), 0);
        list->item(0)->setSelected(true);
        bool nolb = true;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<Tsendsongform*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            form->Timer1Timer();
            nolb = form->findChild<QLabel*>("NOLB")->isVisible();
            form->close();
        });
        window.ListView1Click();
        EXPECT_FALSE(nolb);
        ASSERT_FALSE(t.sound.lines().isEmpty());
        const QString played = t.sound.lines().first().mid(5);
        EXPECT_TRUE(played.startsWith(u"字语音库/")) << played.toStdString();
        EXPECT_TRUE(QFileInfo(played).isFile());
    }
    dm.DataModuleDestroy();
}

} // namespace
} // namespace tx::test
