#include "Recipes.h"

#include "Library.h"
#include "data/AccessDialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>
#include <unistd.h>

namespace tx::content {

const QList<RecipeList>& recipeLists() {
    static const QList<RecipeList> all = {
        {"最爱", {"最爱", "喜爱", "一般"}},
        {"时间段", {"没分类", "早餐", "早点", "午餐", "午点", "晚餐", "夜宵", "节日菜"}},
        {"菜系分类",
         {"没分类", "西餐", "瘦身菜谱", "湘菜", "川菜", "家常菜", "鲁菜", "苏菜", "粤菜", "京菜",
          "浙菜", "徽菜", "泸菜", "云南菜", "闽菜", "其他"}},
        {"口味分类",
         {"没分类", "香辣", "咸香", "鲜香", "清香", "咸鲜", "甜香", "香脆", "酱香", "清淡", "香酥",
          "酸甜", "麻辣", "酸辣", "其他"}},
        {"材料分类",
         {"没分类", "牛羊肉", "猪肉", "鸡肉", "海鲜河鲜", "绿叶素菜", "其他素菜", "鱼类", "豆制品",
          "水果", "点心", "蛋", "主食", "其他"}},
        {"家庭分类",
         {"不是幼儿园菜谱", "幼儿儿童菜谱", "幼儿园早餐", "幼儿园早点", "幼儿园水果", "幼儿园午餐",
          "幼儿园午点", "幼儿园晚餐", "幼儿园夜宵", "幼儿园加餐", "幼儿园节日餐"}},
    };
    return all;
}

namespace {

constexpr int kNameLimit = 25; // characters of 菜名 varchar(25)
const QString kLineBreak = QStringLiteral("\r\n");

// The recipe book finds names as the Access engine does: only A-Z ignore case.
QString nameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return key;
}

class Db {
public:
    explicit Db(sqlite3* db) : db_(db) {}
    [[noreturn]] void fail(const QString& what) const {
        throw std::runtime_error(what.toStdString() + ": " + sqlite3_errmsg(db_));
    }
    void exec(const QString& sql) const {
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }

private:
    sqlite3* db_;
};

} // namespace

RecipeBook readRecipes(const QString& path, bool dated) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw SourceError(path, 0, QStringLiteral("cannot read the file: ") + f.errorString());
    const QStringList raw = QString::fromUtf8(f.readAll()).split(u'\n');

    RecipeBook book{path, {}, {}};
    int dateLine = 0;
    QHash<QString, int> names; // key -> line
    const QList<RecipeList>& lists = recipeLists();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const int number = int(i + 1);
        const QString text = raw[i].trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        QStringList fields = text.split(u'|');
        for (QString& field : fields)
            field = field.trimmed();
        const auto fail = [&](const QString& reason) { throw SourceError(path, number, reason); };
        const QString kind = fields[0];
        if (kind == "日期") {
            if (!dated)
                fail("日期 belongs to the update's file; the starter's date is in library.txt");
            if (dateLine)
                fail(QStringLiteral("second 日期 line (first on line %1)").arg(dateLine));
            if (fields.size() != 2 || fields[1].isEmpty())
                fail("expected 日期|<date>");
            book.date = fields[1];
            dateLine = number;
        } else if (kind == "菜") {
            const qsizetype expected = 2 + lists.size() + 1;
            if (fields.size() != expected)
                fail(QStringLiteral("expected %1 fields after 菜, found %2")
                         .arg(expected - 1)
                         .arg(fields.size() - 1));
            Recipe r;
            r.name = fields[1];
            r.line = number;
            if (r.name.isEmpty())
                fail("empty 菜名");
            if (r.name.size() > kNameLimit)
                fail(QStringLiteral("菜名 \"%1\" is longer than %2 characters")
                         .arg(r.name)
                         .arg(kNameLimit));
            if (const auto seen = names.constFind(nameKey(r.name)); seen != names.cend())
                fail(QStringLiteral("菜名 \"%1\" already on line %2 (letter case ignored)")
                         .arg(r.name)
                         .arg(*seen));
            names.insert(nameKey(r.name), number);
            for (qsizetype l = 0; l < lists.size(); ++l) {
                const QString& value = fields[2 + l];
                if (!lists[l].values.contains(value))
                    fail(QStringLiteral("%1 \"%2\" is not in its list")
                             .arg(QString::fromUtf8(lists[l].column), value));
                r.categories << value;
            }
            bool ok = false;
            r.simg = fields.last().toInt(&ok);
            if (!ok || r.simg < 2 || r.simg > 15)
                fail(
                    QStringLiteral("simg \"%1\" is not a picture number 2..15").arg(fields.last()));
            book.recipes << r;
        } else if (kind == "料" || kind == "法") {
            if (book.recipes.isEmpty())
                fail(kind + " before the first 菜 line");
            if (fields.size() < 2)
                fail("empty " + kind + " line");
            // The texts may hold "|" themselves.
            const QString line = text.mid(text.indexOf(u'|') + 1).trimmed();
            QString& target =
                kind == "料" ? book.recipes.last().ingredients : book.recipes.last().method;
            target += (target.isEmpty() ? QString() : kLineBreak) + line;
        } else {
            fail(QStringLiteral("unknown line kind \"%1\" (expected %2菜, 料 or 法)")
                     .arg(kind, dated ? "日期, " : ""));
        }
    }
    if (dated && !dateLine)
        throw SourceError(path, 1, "missing 日期 line");
    return book;
}

void createRecipeTable(sqlite3* db) {
    const Db d(db);
    // The start-up upgrade's statements, through the same translation the program uses.
    d.exec(translateAccessStatement("create table myfood (菜名 varchar(25))"));
    for (const char* column : {"家庭分类", "菜系分类", "口味分类", "材料分类", "最爱", "时间段",
                               "simg", "属性1", "材料1", "做法1", "图片1"})
        d.exec(translateAccessStatement(QStringLiteral("ALTER table  myfood  ADD COLUMN ") +
                                        QString::fromUtf8(column) +
                                        QStringLiteral("  varchar(15)  ")));
    for (const char* column : {"属性", "材料", "做法"})
        d.exec(translateAccessStatement(QStringLiteral("ALTER table  myfood  ADD COLUMN ") +
                                        QString::fromUtf8(column) + QStringLiteral("  memo  ")));
    d.exec(translateAccessStatement("ALTER table myfood   ADD COLUMN 图片  IMAGE  "));
}

void insertRecipes(sqlite3* db, const QList<Recipe>& recipes) {
    const Db d(db);
    QStringList columns{"\"菜名\""};
    for (const RecipeList& list : recipeLists())
        columns << '"' + QString::fromUtf8(list.column) + '"';
    columns << "\"simg\""
            << "\"材料\""
            << "\"材料1\""
            << "\"做法\""
            << "\"做法1\"";
    const QByteArray sql = QStringLiteral("INSERT INTO myfood (%1) VALUES (%2)")
                               .arg(columns.join(", "), QStringList(columns.size(), "?").join(", "))
                               .toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        d.fail(QString::fromUtf8(sql));
    const auto flag = [](const QString& text) {
        return text.isEmpty() ? QStringLiteral("否") : QStringLiteral("是");
    };
    try {
        for (const Recipe& r : recipes) {
            QList<QByteArray> values{r.name.toUtf8()};
            for (const QString& v : r.categories)
                values << v.toUtf8();
            values << QByteArray::number(r.simg) << r.ingredients.toUtf8()
                   << flag(r.ingredients).toUtf8() << r.method.toUtf8() << flag(r.method).toUtf8();
            for (int i = 0; i < values.size(); ++i)
                sqlite3_bind_text(st, i + 1, values[i].constData(), int(values[i].size()),
                                  SQLITE_TRANSIENT);
            if (sqlite3_step(st) != SQLITE_DONE)
                d.fail(QStringLiteral("recipe \"%1\"").arg(r.name));
            sqlite3_reset(st);
        }
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
}

void writeRecipeUpdate(const RecipeBook& book, const QString& path) {
    const QFileInfo target(path);
    QDir().mkpath(target.absolutePath());
    const std::filesystem::path finalPath = target.absoluteFilePath().toStdString();
    const std::filesystem::path temp =
        (target.absolutePath() + "/." + target.fileName() + ".part" + QString::number(getpid()))
            .toStdString();
    const auto removeTemp = [&] {
        for (const char* suffix : {"", "-journal"})
            std::filesystem::remove(temp.string() + suffix);
    };
    removeTemp();
    sqlite3* db = nullptr;
    try {
        if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot create " + temp.string());
        const Db d(db);
        // A rollback journal leaves nothing beside the file once committed, so the
        // program can read it from a read-only folder.
        d.exec("PRAGMA journal_mode=DELETE");
        d.exec("BEGIN");
        d.exec(
            translateAccessStatement("create table SYS (日期 memo, 图片 varchar(15), PIC IMAGE)"));
        createRecipeTable(db);
        insertRecipes(db, book.recipes);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "INSERT INTO SYS (日期) VALUES (?)", -1, &st, nullptr) !=
            SQLITE_OK)
            d.fail("SYS");
        const QByteArray date = book.date.toUtf8();
        sqlite3_bind_text(st, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            d.fail("SYS");
        d.exec("COMMIT");
        if (sqlite3_close(db) != SQLITE_OK)
            throw std::runtime_error("cannot close " + temp.string());
        db = nullptr;
        std::filesystem::rename(temp, finalPath);
    } catch (...) {
        sqlite3_close(db);
        removeTemp();
        throw;
    }
}

} // namespace tx::content
