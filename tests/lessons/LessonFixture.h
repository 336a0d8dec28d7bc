#pragma once

#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "lessons/LearningWindow.h"
#include "lessons/LessonModule.h"
#include "platform/testing/TestServices.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <optional>

namespace tx::test {

// An item row as the test stores it; pic is stored as given (null: no data).
struct ItemRow {
    std::optional<int> number;
    QString name;
    QString chapter;
    QString text;
    QString sound;
    QString courseware;
    QString flag;
    QByteArray pic;
};

// The bytes of a BMP file of a w x h picture filled with one colour.
inline QByteArray bmpBytes(int w, int h, QColor colour = Qt::red) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A program folder with a content database of the shipped tables, the data module on
// it, and the test doubles of every platform service.
class LessonFixture : public ::testing::Test {
protected:
    LessonFixture() {
        installWidgetAccessibility();
        t.paths.setExecutablePath(dir.filePath("tongxue"));
        exec(QStringLiteral("insert into SYS values('2026-12-01', null, null)"));
    }
    ~LessonFixture() override {
        delete window.data();
        if (dm) {
            dm->DataModuleDestroy();
        }
    }

    void exec(const QString& sql, const std::function<void(sqlite3_stmt*)>& bind = {}) {
        sqlite3* db = open();
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        if (bind) {
            bind(st);
        }
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE) << sqlite3_errmsg(db);
        sqlite3_finalize(st);
    }

    void addChapter(const LessonModule& m, int number, const QString& name) {
        exec(QStringLiteral("insert into %1 values(?, ?)").arg(m.chapterTable),
             [&](sqlite3_stmt* st) {
                 sqlite3_bind_int(st, 1, number);
                 bindText(st, 2, name);
             });
    }

    void addItem(const LessonModule& m, const ItemRow& row) {
        exec(QStringLiteral("insert into %1 (%2, %3, %4, 章节, 声音, 课件地址, 图片, PIC) "
                            "values(?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(m.itemTable, m.numberField, m.nameField, m.textField),
             [&](sqlite3_stmt* st) {
                 if (row.number) {
                     sqlite3_bind_int(st, 1, *row.number);
                 }
                 bindText(st, 2, row.name);
                 bindText(st, 3, row.text);
                 bindText(st, 4, row.chapter);
                 bindText(st, 5, row.sound);
                 bindText(st, 6, row.courseware);
                 bindText(st, 7, row.flag);
                 if (!row.pic.isNull()) {
                     sqlite3_bind_blob(st, 8, row.pic.constData(), int(row.pic.size()),
                                       SQLITE_TRANSIENT);
                 }
             });
    }

    // Connects the data module (after the rows are in).
    void connectDm() {
        dm = std::make_unique<Tdm>(t.services);
        ASSERT_EQ(dm->DataModuleCreate(), QString());
        t.services.dm = dm.get();
    }

    // A sound file that exists in the program folder; answers its full path.
    QString soundFile(const QString& name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        return file.fileName();
    }

    template <typename W> W* openWindow() {
        connectDm();
        auto* w = new W(t.services);
        window = w;
        w->show();
        return w;
    }

    template <typename T = QWidget> T* child(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    TestServices t;
    QTemporaryDir dir;
    std::unique_ptr<Tdm> dm;
    QPointer<LearningWindow> window;

private:
    static void bindText(sqlite3_stmt* st, int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }

    sqlite3* open() {
        if (db_ == nullptr) {
            const QByteArray file = QFile::encodeName(dir.filePath("edusz.mdb"));
            sqlite3_open(file.constData(), &db_);
            for (const QString& sql : shippedSchemaStatements(true)) {
                sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
            }
        }
        return db_;
    }

public:
    LessonFixture(const LessonFixture&) = delete;
    LessonFixture& operator=(const LessonFixture&) = delete;

private:
    sqlite3* db_ = nullptr;

protected:
    // Closes the test's own handle when the fixture ends.
    struct Closer {
        sqlite3** db;
        ~Closer() { sqlite3_close(*db); }
    } closer_{&db_};
};

// Runs action on the modal window that opens next, once it is in front.
inline void onNextModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}

} // namespace tx::test
