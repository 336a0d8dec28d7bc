// Dataset and schema upgrade costs on a database that holds pictures.
#include "data/Dataset.h"
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "data/UpgradeSchema.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace {

constexpr int kChapters = 4;
constexpr int kItemsPerChapter = 25;
constexpr qint64 kSmallPicture = 200 * 1024;
constexpr qint64 kPhoto = 36 * 1024 * 1024; // a 12-megapixel photo as a 24-bit bitmap

void exec(sqlite3* db, const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        fprintf(stderr, "%s: %s\n", qPrintable(sql), error);
        std::exit(1);
    }
}

qint64 residentBytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// Four chapters of 25 items, each item with a picture of the given size; upgraded
// already; laid out as the starter library's builder lays it out (incremental vacuum,
// whose pointer map lets a read skip a picture's pages), or as a plain file.
class Library {
public:
    Library(qint64 pictureBytes, bool pointerMap) {
        file = dir.filePath("edusz.mdb");
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
        if (pointerMap)
            exec(db, "PRAGMA auto_vacuum=INCREMENTAL");
        exec(db, "BEGIN");
        for (const QString& sql : tx::shippedSchemaStatements(true))
            exec(db, sql);
        exec(db, "INSERT INTO SYS (日期) VALUES ('2004-05-01')");
        int number = 1;
        for (int c = 1; c <= kChapters; ++c) {
            exec(db, QString("INSERT INTO ZJ VALUES (%1, '第%1章')").arg(c));
            // Only the chapter that is measured holds pictures, to keep the file small.
            const qint64 bytes = c == 3 ? pictureBytes : 1000;
            for (int i = 0; i < kItemsPerChapter; ++i, ++number)
                exec(db, QString("INSERT INTO szSound VALUES (%1, '字%1', 'zi%1 词组', '第%2章', "
                                 "'/snd/%1.wav', '有', randomblob(%3), 'http://x/%1.swf')")
                             .arg(number)
                             .arg(c)
                             .arg(bytes));
        }
        exec(db, "COMMIT");
        sqlite3_close(db);
        connection.open(file);
        tx::Services services;
        tx::Tdm dm(services);
        dm.ADOConnection1.open(file);
        tx::UpgradeSchema(dm, "myfood");
    }
    QTemporaryDir dir;
    QString file;
    tx::Connection connection;
};

Library& library(qint64 pictureBytes, bool pointerMap = true) {
    static std::map<std::pair<qint64, bool>, std::unique_ptr<Library>> libraries;
    auto& lib = libraries[{pictureBytes, pointerMap}];
    if (!lib)
        lib = std::make_unique<Library>(pictureBytes, pointerMap);
    return *lib;
}

void openChapter(tx::Dataset& q) {
    q.clearSql();
    q.addSql("select * from szSound where 章节=:zzj");
    q.addSql(" order by  字号");
    q.setParam("zzj", "第3章");
    q.open();
}

// A learning window listing a chapter: the item query, every row's text fields.
void BM_ChapterNames(benchmark::State& state) {
    Library& lib = library(state.range(0), state.range(1) != 0);
    tx::Dataset q(lib.connection);
    qint64 growth = 0;
    for (auto _ : state) {
        const qint64 before = residentBytes();
        openChapter(q);
        QStringList names;
        for (q.first(); !q.eof(); q.next())
            names << q.fieldByName("字名").asString() + q.fieldByName("课件地址").asString();
        growth = std::max(growth, residentBytes() - before);
        benchmark::DoNotOptimize(names);
    }
    state.counters["resident_growth_MB"] = double(growth) / (1024 * 1024);
}
BENCHMARK(BM_ChapterNames)
    ->ArgsProduct({{kSmallPicture, kPhoto}, {1}})
    ->Args({kPhoto, 0})
    ->ArgNames({"picture", "pointer_map"})
    ->Unit(benchmark::kMillisecond);

// Showing one item: its picture's bytes through the dataset.
void BM_OnePicture(benchmark::State& state) {
    Library& lib = library(state.range(0));
    tx::Dataset q(lib.connection);
    openChapter(q);
    q.moveTo(12);
    for (auto _ : state)
        benchmark::DoNotOptimize(q.fieldByName("PIC").asBytes());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OnePicture)->Arg(kSmallPicture)->Arg(kPhoto)->Unit(benchmark::kMillisecond);

// The floor for BM_OnePicture: SQLite's own incremental read of the same value.
void BM_PlainBlobRead(benchmark::State& state) {
    Library& lib = library(state.range(0));
    sqlite3* db = lib.connection.handle();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM szSound WHERE 字号 = 63", -1, &st, nullptr);
    sqlite3_step(st);
    const sqlite3_int64 rowid = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    for (auto _ : state) {
        sqlite3_blob* blob = nullptr;
        sqlite3_blob_open(db, "main", "szSound", "PIC", rowid, 0, &blob);
        QByteArray bytes(sqlite3_blob_bytes(blob), Qt::Uninitialized);
        sqlite3_blob_read(blob, bytes.data(), int(bytes.size()), 0);
        sqlite3_blob_close(blob);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlainBlobRead)->Arg(kSmallPicture)->Arg(kPhoto)->Unit(benchmark::kMillisecond);

void BM_ItemQueryOfOneChapter(benchmark::State& state) {
    tx::Dataset q(library(kSmallPicture).connection);
    qint64 bytes = 0;
    for (auto _ : state) {
        openChapter(q);
        for (q.first(); !q.eof(); q.next())
            for (int f = 0; f < q.fieldCount(); ++f) {
                const QByteArray v = q.field(f).asBytes();
                bytes += v.size();
            }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ItemQueryOfOneChapter)->Unit(benchmark::kMillisecond);

void BM_UpgradeSchemaOnCompleteDatabase(benchmark::State& state) {
    tx::Services services;
    tx::Tdm dm(services);
    dm.ADOConnection1.open(library(kSmallPicture).file);
    for (auto _ : state)
        tx::UpgradeSchema(dm, "myfood");
}
BENCHMARK(BM_UpgradeSchemaOnCompleteDatabase)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
