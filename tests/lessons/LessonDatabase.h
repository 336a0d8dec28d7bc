#pragma once

#include "data/ShippedSchema.h"
#include "lessons/LessonModule.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <optional>

namespace tx::test {

// One item row as a test stores or reads it.
struct ItemRow {
    std::optional<int> number; // empty: null
    QString name;
    QString chapter;
    QString text;
    QString sound;
    QString courseware;
    QString flag;
    QByteArray pic; // null: no data
};

// A program folder whose content database has the shipped tables and its SYS row. Rows
// are written and read through the test's own SQLite handle, so checks see what is stored.
class LessonDatabase {
public:
    LessonDatabase() {
        const QByteArray file = QFile::encodeName(dir.filePath("edusz.mdb"));
        sqlite3_open(file.constData(), &db_);
        for (const QString& sql : shippedSchemaStatements(true))
            run(sql);
        run(QStringLiteral("insert into SYS values('2026-12-01', null, null)"));
    }
    ~LessonDatabase() { sqlite3_close(db_); }
    LessonDatabase(const LessonDatabase&) = delete;
    LessonDatabase& operator=(const LessonDatabase&) = delete;

    void run(const QString& sql, const std::function<void(sqlite3_stmt*)>& bind = {}) {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_) << " in " << sql.toStdString();
        if (bind)
            bind(st);
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE) << sqlite3_errmsg(db_);
        sqlite3_finalize(st);
    }

    void query(const QString& sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_);
        while (sqlite3_step(st) == SQLITE_ROW)
            row(st);
        sqlite3_finalize(st);
    }

    void addChapter(const LessonModule& m, int number, const QString& name) {
        run(QStringLiteral("insert into %1 values(?, ?)").arg(m.chapterTable),
            [&](sqlite3_stmt* st) {
                sqlite3_bind_int(st, 1, number);
                bindText(st, 2, name);
            });
    }

    void addItem(const LessonModule& m, const ItemRow& row) {
        run(QStringLiteral("insert into %1 (%2, %3, %4, 章节, 声音, 课件地址, 图片, PIC) "
                           "values(?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(m.itemTable, m.numberField, m.nameField, m.textField),
            [&](sqlite3_stmt* st) {
                if (row.number)
                    sqlite3_bind_int(st, 1, *row.number);
                bindText(st, 2, row.name);
                bindText(st, 3, row.text);
                bindText(st, 4, row.chapter);
                bindText(st, 5, row.sound);
                bindText(st, 6, row.courseware);
                bindText(st, 7, row.flag);
                if (!row.pic.isNull())
                    sqlite3_bind_blob(st, 8, row.pic.constData(), int(row.pic.size()),
                                      SQLITE_TRANSIENT);
            });
    }

    static void bindText(sqlite3_stmt* st, int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    static QString column(sqlite3_stmt* st, int index) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, index)));
    }

    QTemporaryDir dir; // the program folder

private:
    sqlite3* db_ = nullptr;
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
