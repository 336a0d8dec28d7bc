#include "Database.h"

#include "Pictures.h"
#include "Speech.h"
#include "data/ShippedSchema.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>
#include <unistd.h>

namespace tx::content {

namespace {

class Db {
public:
    explicit Db(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            fail("cannot create");
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    [[noreturn]] void fail(const char* what) const {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_));
    }

    void exec(const QString& sql) {
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql.toStdString().c_str());
    }

    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// One prepared INSERT whose values are bound in column order.
class Insert {
public:
    Insert(Db& db, const QString& table, const QStringList& columns) : db_(db) {
        QStringList names, marks;
        for (const QString& c : columns) {
            names << '"' + c + '"';
            marks << "?";
        }
        const QByteArray sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                   .arg(table, names.join(", "), marks.join(", "))
                                   .toUtf8();
        if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &stmt_, nullptr) != SQLITE_OK)
            db.fail(sql.constData());
    }
    ~Insert() { sqlite3_finalize(stmt_); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    Insert& operator<<(int v) {
        sqlite3_bind_int(stmt_, ++n_, v);
        return *this;
    }
    Insert& operator<<(const QString& v) {
        const QByteArray utf8 = v.toUtf8();
        sqlite3_bind_text(stmt_, ++n_, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert& operator<<(const QByteArray& blob) {
        if (blob.isEmpty())
            sqlite3_bind_null(stmt_, ++n_);
        else
            sqlite3_bind_blob(stmt_, ++n_, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void run() {
        if (sqlite3_step(stmt_) != SQLITE_DONE)
            db_.fail("insert");
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        n_ = 0;
    }

private:
    Db& db_;
    sqlite3_stmt* stmt_ = nullptr;
    int n_ = 0;
};

void fill(Db& db, const Library& library, const QString& programDir) {
    // A rollback journal is gone once the transaction commits: the finished file then
    // stands alone, with no -wal of its own to carry along.
    db.exec("PRAGMA journal_mode=DELETE");
    // With the pointer map of incremental vacuum, a read of the columns that follow a
    // picture skips the picture's pages instead of walking them (a chapter of 25 photos
    // lists in milliseconds, not seconds).
    db.exec("PRAGMA auto_vacuum=INCREMENTAL");
    db.exec("BEGIN");
    for (const QString& sql : shippedSchemaStatements(true))
        db.exec(sql);
    for (const Module& m : library.modules) {
        const ModuleInfo& info = m.info;
        Insert chapter(db, info.chapterTable, {"章号", "章节"});
        for (const Chapter& c : m.chapters) {
            chapter << c.number << c.name;
            chapter.run();
        }
        Insert item(db, info.itemTable,
                    {info.numberField, info.nameField, info.textField, "章节", "声音", "图片",
                     "PIC", "课件地址"});
        for (const Item& i : m.items) {
            const QByteArray picture = renderPicture(i.picture, i.name);
            item << i.number << i.name << i.text << i.chapter << soundPath(m, i, programDir)
                 << QString(picture.isEmpty() ? "" : "有") << picture << i.courseware;
            item.run();
        }
    }
    createRecipeTable(db.handle());
    insertRecipes(db.handle(), library.recipes);
    Insert sys(db, "SYS", {"日期"});
    sys << library.date;
    sys.run();
    db.exec("COMMIT");
}

} // namespace

bool writeDatabase(const Library& library, const QString& dbPath, const QString& programDir,
                   bool ifMissing) {
    const QFileInfo target(dbPath);
    if (ifMissing && target.exists())
        return false;
    QDir().mkpath(target.absolutePath());
    const QString temp =
        target.absolutePath() + "/." + target.fileName() + ".part" + QString::number(getpid());
    const std::filesystem::path tempPath = temp.toStdString();
    const std::filesystem::path finalPath = target.absoluteFilePath().toStdString();
    // SQLite's companions of a database file, which belong to that file alone.
    const auto companion = [](const std::filesystem::path& p, const char* suffix) {
        return std::filesystem::path(p.string() + suffix);
    };
    const auto removeTemp = [&] {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            std::filesystem::remove(companion(tempPath, suffix));
    };
    removeTemp();
    try {
        {
            Db db(temp);
            fill(db, library, programDir);
        }
        std::error_code ec;
        if (ifMissing) {
            // A link fails when the file appeared meanwhile: never replace one.
            std::filesystem::create_hard_link(tempPath, finalPath, ec);
            removeTemp();
            if (ec == std::errc::file_exists)
                return false;
        } else {
            // The old database's log would be replayed into the new file on its next
            // opening.
            for (const char* suffix : {"-wal", "-shm"})
                if (std::filesystem::remove(companion(finalPath, suffix), ec); ec)
                    throw std::runtime_error("cannot remove " +
                                             companion(finalPath, suffix).string() + ": " +
                                             ec.message());
            std::filesystem::rename(tempPath, finalPath, ec);
            if (!ec)
                removeTemp();
        }
        if (ec)
            throw std::runtime_error("cannot create " + finalPath.string() + ": " + ec.message());
    } catch (...) {
        removeTemp();
        throw;
    }
    return true;
}

} // namespace tx::content
