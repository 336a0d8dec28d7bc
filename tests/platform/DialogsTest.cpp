#include "platform/QtDialogs.h"
#include "platform/testing/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

namespace tx {
namespace {

// Runs act on the modal window as soon as one is shown (polled from the event loop that
// the modal window runs).
void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            QPointer<QWidget> shown = w;
            act(w);
            // A dialog still open after the act would hang the test: fail and close it.
            QTimer::singleShot(3000, w, [shown] {
                if (QWidget* still = QApplication::activeModalWidget()) {
                    ADD_FAILURE() << "modal window still open: " << still->metaObject()->className()
                                  << " " << still->windowTitle().toStdString();
                    if (auto* box = qobject_cast<QMessageBox*>(still))
                        std::cerr << "  message: " << box->text().toStdString() << "\n";
                    if (auto* fd = qobject_cast<QFileDialog*>(shown.data()))
                        std::cerr << "  selected: " << fd->selectedFiles().join(u'|').toStdString()
                                  << "\n";
                    still->close();
                    if (shown && shown != still)
                        shown->close();
                }
            });
        }
    });
    timer->start(10);
}

// Types a name into the file dialog's name box, as a user does (selectFile leaves the
// box alone while it has the focus).
void typeName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

TEST(QtDialogsMessage, ShowsCaptionTextIconAndButtonsAndAnswersTheOnePressed) {
    QWidget owner;
    owner.show();
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget* parent = nullptr;
    whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        parent = box->parentWidget();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        buttons.sort();
        buttonWithText(box, QStringLiteral("否(&N)"))->click();
    });
    QtDialogs dialogs;
    const int answer =
        dialogs.messageBox(&owner, QStringLiteral("欢迎使用本系统，确定要退出吗?"),
                           QStringLiteral("系统信息"), MessageIcon::Question, Yes | No);
    EXPECT_EQ(answer, int(No));
    EXPECT_EQ(caption, QStringLiteral("系统信息"));
    EXPECT_EQ(text, QStringLiteral("欢迎使用本系统，确定要退出吗?"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(parent, &owner);
    QStringList expected{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")};
    expected.sort();
    EXPECT_EQ(buttons, expected);
}

TEST(QtDialogsMessage, IconsMapAndEnterTakesTheFirstButton) {
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::Warning, QMessageBox::Warning},
        {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::None, QMessageBox::NoIcon}};
    for (const auto& [ours, qt] : icons) {
        QMessageBox::Icon seen = QMessageBox::NoIcon;
        whenModal([&seen](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            seen = box->icon();
            box->defaultButton()->click();
        });
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.messageBox(nullptr, QStringLiteral("t"), QStringLiteral("c"), ours,
                                     Ok | Cancel),
                  int(Ok));
        EXPECT_EQ(seen, qt);
    }
}

TEST(QtDialogsMessage, EscapeAnswersCancelElseNo) {
    for (const auto& [offered, expected] :
         {std::pair{Ok | Cancel, int(Cancel)}, std::pair{Yes | No, int(No)},
          std::pair{int(Ok), int(Ok)}}) {
        whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.messageBox(nullptr, QStringLiteral("t"), QStringLiteral("注意"),
                                     MessageIcon::Warning, offered),
                  expected);
    }
}

class QtFileDialogs : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"tone.wav", "pic.bmp", "pic.jpg"}) {
            QFile f(dir.filePath(QString::fromUtf8(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        saved = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(saved); }
    QTemporaryDir dir;
    QString saved;
};

TEST_F(QtFileDialogs, OpenTakesTheDefaultExtensionForANameWithoutOne) {
    QStringList filters;
    whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        dialog->setDirectory(dir.path());
        typeName(dialog, QStringLiteral("tone"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QtDialogs dialogs;
    const QString path =
        dialogs.openFile(nullptr, QStringLiteral("*.wav|*.wav"), QStringLiteral("*.wav"));
    EXPECT_EQ(path, dir.filePath(QStringLiteral("tone.wav")));
    EXPECT_EQ(filters, QStringList({QStringLiteral("*.wav (*.wav)")}));
}

TEST_F(QtFileDialogs, OpenTellsTheSelectedFilterEntry) {
    whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        dialog->setDirectory(dir.path());
        dialog->selectNameFilter(dialog->nameFilters().value(1));
        typeName(dialog, QStringLiteral("pic.bmp"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QtDialogs dialogs;
    const FileChoice c =
        dialogs.chooseOpenFile(nullptr, QStringLiteral("(*.jpg)|*.jpg|(*.bmp)|*.bmp"), QString());
    EXPECT_EQ(c.path, dir.filePath(QStringLiteral("pic.bmp")));
    EXPECT_EQ(c.filterIndex, 2);
}

TEST_F(QtFileDialogs, CancelAnswersEmpty) {
    whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.openFile(nullptr, QStringLiteral("*.swf|*.swf"), QStringLiteral("*.swf")),
              QString());
    whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialogs.saveFile(nullptr, QStringLiteral("*.doc|*.doc"), QStringLiteral("*.doc"),
                               QStringLiteral("x")),
              QString());
}

TEST_F(QtFileDialogs, SaveProposesTheNameAndAppendsTheDefaultExtension) {
    const QString proposed = QStringLiteral("菜资料     红烧肉");
    QStringList shown;
    whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->selectedFiles();
        static_cast<QDialog*>(dialog)->accept();
    });
    QtDialogs dialogs;
    const QString path =
        dialogs.saveFile(nullptr, QStringLiteral("*.doc|*.doc"), QStringLiteral("*.doc"), proposed);
    ASSERT_EQ(shown.size(), 1);
    // The dialog starts in a folder of its own choosing (no starting folder is set).
    EXPECT_TRUE(QFileInfo(shown.first()).fileName().startsWith(proposed))
        << shown.first().toStdString();
    EXPECT_EQ(QFileInfo(path).fileName(), proposed + QStringLiteral(".doc"));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(shown.first()).absolutePath());
}

TEST(QtDialogsHelpers, FiltersAndExtensions) {
    EXPECT_EQ(QtDialogs::toQtFilters(QStringLiteral("*.wav|*.wav")),
              QStringList({QStringLiteral("*.wav (*.wav)")}));
    EXPECT_EQ(QtDialogs::toQtFilters(QStringLiteral("(*.jpg)|*.jpg|(*.bmp)|*.bmp")),
              QStringList({QStringLiteral("(*.jpg) (*.jpg)"), QStringLiteral("(*.bmp) (*.bmp)")}));
    EXPECT_EQ(QtDialogs::toQtFilters(QStringLiteral("Pictures|*.jpg;*.bmp|All|*.*")),
              QStringList({QStringLiteral("Pictures (*.jpg *.bmp)"), QStringLiteral("All (*)")}));
    EXPECT_EQ(QtDialogs::toQtFilters(QStringLiteral("Sounds (*.wav);;All (*)")),
              QStringList({QStringLiteral("Sounds (*.wav)"), QStringLiteral("All (*)")}));
    EXPECT_EQ(QtDialogs::toQtFilters(QString()), QStringList());

    EXPECT_EQ(QtDialogs::normalExtension(QStringLiteral("*.wav")), QStringLiteral("wav"));
    EXPECT_EQ(QtDialogs::normalExtension(QStringLiteral(".doc")), QStringLiteral("doc"));
    EXPECT_EQ(QtDialogs::normalExtension(QStringLiteral("swf")), QStringLiteral("swf"));
    EXPECT_EQ(QtDialogs::normalExtension(QStringLiteral("*.*")), QString());

    EXPECT_EQ(QtDialogs::withDefaultExtension(QStringLiteral("/a/b"), QStringLiteral("*.doc")),
              QStringLiteral("/a/b.doc"));
    EXPECT_EQ(QtDialogs::withDefaultExtension(QStringLiteral("/a/b.rtf"), QStringLiteral("*.doc")),
              QStringLiteral("/a/b.rtf"));
    EXPECT_EQ(QtDialogs::withDefaultExtension(QStringLiteral("/a.d/b"), QStringLiteral("doc")),
              QStringLiteral("/a.d/b.doc"));
    EXPECT_EQ(QtDialogs::withDefaultExtension(QString(), QStringLiteral("doc")), QString());
}

TEST(ScriptedDialogsTest, RecordsEverythingAndAnswersFromTheScript) {
    ScriptedDialogs dialogs;
    QWidget owner;
    // Defaults: the first offered of Yes and Ok; files cancel.
    EXPECT_EQ(dialogs.messageBox(&owner, QStringLiteral("a"), QStringLiteral("注意"),
                                 MessageIcon::Question, Yes | No),
              int(Yes));
    EXPECT_EQ(dialogs.messageBox(nullptr, QStringLiteral("b"), QStringLiteral("信息"),
                                 MessageIcon::Information, Ok | Cancel),
              int(Ok));
    EXPECT_EQ(dialogs.messageBox(nullptr, QStringLiteral("c"), QStringLiteral("c"),
                                 MessageIcon::None, No),
              int(No));
    EXPECT_EQ(dialogs.openFile(&owner, QStringLiteral("*.wav|*.wav"), QStringLiteral("*.wav")),
              QString());
    // Scripted answers, in order.
    dialogs.answerMessage(No);
    dialogs.answerFile(QStringLiteral("/tmp/a.bmp"), 2);
    dialogs.answerFile(QStringLiteral("/tmp/r.doc"));
    EXPECT_EQ(dialogs.messageBox(&owner, QStringLiteral("d"), QStringLiteral("注意"),
                                 MessageIcon::Question, Yes | No),
              int(No));
    const FileChoice c =
        dialogs.chooseOpenFile(&owner, QStringLiteral("(*.jpg)|*.jpg|(*.bmp)|*.bmp"), {});
    EXPECT_EQ(c.path, QStringLiteral("/tmp/a.bmp"));
    EXPECT_EQ(c.filterIndex, 2);
    EXPECT_EQ(dialogs.saveFile(&owner, QStringLiteral("*.doc|*.doc"), QStringLiteral("*.doc"),
                               QStringLiteral("菜资料     x")),
              QStringLiteral("/tmp/r.doc"));
    EXPECT_EQ(dialogs.pendingAnswers(), 0);

    ASSERT_EQ(dialogs.messages().size(), 4u);
    EXPECT_EQ(dialogs.messageTexts(), QStringList({"a", "b", "c", "d"}));
    const auto& m = dialogs.messages()[0];
    EXPECT_EQ(m.owner.data(), &owner);
    EXPECT_EQ(m.caption, QStringLiteral("注意"));
    EXPECT_EQ(m.icon, MessageIcon::Question);
    EXPECT_EQ(m.buttons, Yes | No);
    EXPECT_EQ(m.answer, int(Yes));
    ASSERT_EQ(dialogs.fileRequests().size(), 3u);
    const auto& save = dialogs.fileRequests()[2];
    EXPECT_EQ(save.kind, ScriptedDialogs::FileKind::Save);
    EXPECT_EQ(save.filter, QStringLiteral("*.doc|*.doc"));
    EXPECT_EQ(save.defaultExtension, QStringLiteral("*.doc"));
    EXPECT_EQ(save.proposedName, QStringLiteral("菜资料     x"));
    EXPECT_EQ(save.answer, QStringLiteral("/tmp/r.doc"));
    EXPECT_EQ(dialogs.fileRequests()[0].answer, QString());
}

} // namespace
} // namespace tx
