// Dataset and schema upgrade costs on a database that holds pictures.
#include "data/Dataset.h"
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "data/UpgradeSchema.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sqlite3.h>

namespace {

constexpr int kChapters = 4;
constexpr int kItemsPerChapter = 25;
constexpr int kPictureBytes = 200 * 1024;

void exec(sqlite3* db, const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        fprintf(stderr, "%s: %s\n", qPrintable(sql), error);
        std::exit(1);
    }
}

// Four chapters of 25 items, each item with a 200 KB picture; upgraded already.
class Library {
public:
    Library() {
        file = dir.filePath("edusz.mdb");
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
        exec(db, "BEGIN");
        for (const QString& sql : tx::shippedSchemaStatements(true))
            exec(db, sql);
        exec(db, "INSERT INTO SYS (日期) VALUES ('2004-05-01')");
        int number = 1;
        for (int c = 1; c <= kChapters; ++c) {
            exec(db, QString("INSERT INTO ZJ VALUES (%1, '第%1章')").arg(c));
            for (int i = 0; i < kItemsPerChapter; ++i, ++number)
                exec(db, QString("INSERT INTO szSound VALUES (%1, '字%1', 'zi%1 词组', '第%2章', "
                                 "'/snd/%1.wav', '有', randomblob(%3), 'http://x/%1.swf')")
                             .arg(number)
                             .arg(c)
                             .arg(kPictureBytes));
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

Library& library() {
    static Library lib;
    return lib;
}

void BM_ItemQueryOfOneChapter(benchmark::State& state) {
    tx::Dataset q(library().connection);
    qint64 bytes = 0;
    for (auto _ : state) {
        q.clearSql();
        q.addSql("select * from szSound where 章节=:zzj");
        q.addSql(" order by  字号");
        q.setParam("zzj", "第3章");
        q.open();
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
    dm.ADOConnection1.open(library().file);
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
