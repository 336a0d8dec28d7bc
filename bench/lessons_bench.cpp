// The learning windows on a chapter of photos: chapter switch, click to the pronunciation
// window with its picture, and an idle window's processor use.
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "lessons/LessonPicture.h"
#include "lessons/Sendsongform.h"
#include "lessons/SzmainForm.h"
#include "platform/testing/TestServices.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <map>
#include <unistd.h>

namespace {

constexpr int kItems = 25;
constexpr int kSide = 3464; // 3464 x 3464 x 3 bytes: a 36 MB bitmap

qint64 residentBytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> parts = statm.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

double processSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// A 24-bit BMP file image of kSide x kSide grey pixels.
QByteArray photo() {
    const qint64 stride = ((kSide * 24 + 31) / 32) * 4;
    const qint64 pixels = stride * kSide;
    QByteArray bmp(54 + pixels, char(0x80));
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) {
            bmp[at + i] = char((v >> (8 * i)) & 0xff);
        }
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, quint32(bmp.size()));
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, kSide);
    put32(22, kSide);
    bmp[26] = 1;
    bmp[27] = 0;
    bmp[28] = 24;
    bmp[29] = 0;
    for (int at = 30; at < 54; at += 4) {
        put32(at, 0);
    }
    return bmp;
}

// Chapter "照片" of 25 items each holding a 36 MB photo, and chapter "文字" without
// pictures, laid out as the starter library's builder lays out its file.
struct Library {
    Library() {
        t.paths.setExecutablePath(dir.filePath("tongxue"));
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(dir.filePath("edusz.mdb")).constData(), &db);
        sqlite3_exec(db, "PRAGMA auto_vacuum=INCREMENTAL", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const QString& sql : tx::shippedSchemaStatements(true)) {
            sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, "INSERT INTO SYS (日期) VALUES ('2026-12-01')", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "INSERT INTO ZJ VALUES (1, '文字'), (2, '照片')", nullptr, nullptr,
                     nullptr);
        const QByteArray pic = photo();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO szSound VALUES (?, ?, 'zi 词组', ?, '', ?, ?, '')", -1,
                           &st, nullptr);
        for (int i = 1; i <= 2 * kItems; ++i) {
            const bool photoChapter = i > kItems;
            const QByteArray name = QStringLiteral("字%1").arg(i).toUtf8();
            const QByteArray chapter = QByteArray(photoChapter ? "照片" : "文字");
            sqlite3_bind_int(st, 1, i);
            sqlite3_bind_text(st, 2, name.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 3, chapter.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 4, photoChapter ? "有" : "", -1, SQLITE_STATIC);
            if (photoChapter) {
                sqlite3_bind_blob(st, 5, pic.constData(), int(pic.size()), SQLITE_STATIC);
            } else {
                sqlite3_bind_null(st, 5);
            }
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        dm = std::make_unique<tx::Tdm>(t.services);
        if (!dm->DataModuleCreate().isEmpty()) {
            std::abort();
        }
        t.services.dm = dm.get();
        window = std::make_unique<tx::TszmainForm>(t.services);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        QApplication::processEvents();
    }
    void select(int chapter) { window->findChild<QComboBox*>("CB1")->setCurrentIndex(chapter); }

    QTemporaryDir dir;
    tx::TestServices t;
    std::unique_ptr<tx::Tdm> dm;
    std::unique_ptr<tx::TszmainForm> window;
};

Library& library() {
    static Library lib;
    return lib;
}

void BM_ChapterSwitchToPhotos(benchmark::State& state) {
    Library& lib = library();
    const qint64 before = residentBytes();
    qint64 peak = before;
    for (auto _ : state) {
        state.PauseTiming();
        lib.select(0);
        lib.window->LoadChapterItems();
        lib.select(1);
        state.ResumeTiming();
        lib.window->LoadChapterItems();
        state.PauseTiming();
        peak = std::max(peak, residentBytes());
        state.ResumeTiming();
    }
    state.counters["items"] = double(lib.window->items().size());
    state.counters["rss_growth_MB"] = double(peak - before) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ChapterSwitchToPhotos)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ClickToPronunciationWindowWithPhoto(benchmark::State& state) {
    Library& lib = library();
    lib.select(1);
    lib.window->LoadChapterItems();
    auto* list = lib.window->findChild<QListWidget*>("ListView1");
    list->item(0)->setSelected(true);
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        Clock::time_point shownAt;
        bool pictureShown = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<tx::Tsendsongform*>(QApplication::activeModalWidget());
            shownAt = Clock::now();
            pictureShown = form != nullptr && !form->findChild<QLabel*>("PIC1")->pixmap().isNull();
            if (form != nullptr) {
                form->close();
            }
        });
        const auto start = Clock::now();
        lib.window->ListView1Click();
        state.SetIterationTime(std::chrono::duration<double>(shownAt - start).count());
        if (!pictureShown) {
            state.SkipWithError("the pronunciation window showed no picture");
            break;
        }
    }
}
BENCHMARK(BM_ClickToPronunciationWindowWithPhoto)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The picture part of the click: the stored photo read and reduced to the box.
void BM_ReadPhotoForTheBox(benchmark::State& state) {
    Library& lib = library();
    lib.select(1);
    lib.window->LoadChapterItems();
    const tx::LessonItem item = lib.window->items().front();
    for (auto _ : state) {
        const QImage image = tx::readLessonPicture(lib.dm->ADOConnection1, tx::sz, item,
                                                   tx::Tsendsongform::pictureBoxSize());
        if (image.isNull()) {
            state.SkipWithError("no picture");
            break;
        }
    }
}
BENCHMARK(BM_ReadPhotoForTheBox)->Unit(benchmark::kMillisecond)->Iterations(10);

// The reduction alone, on bytes already in memory.
void BM_ReducePhoto(benchmark::State& state) {
    const QByteArray bmp = photo();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tx::decodeLessonPicture(bmp, tx::Tsendsongform::pictureBoxSize()).isNull());
    }
}
BENCHMARK(BM_ReducePhoto)->Unit(benchmark::kMillisecond);

// An idle learning window with its clock ticking: processor time per wall second.
void BM_IdleLearningWindow(benchmark::State& state) {
    Library& lib = library();
    for (auto _ : state) {
        const double cpu0 = processSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const double share = (processSeconds() - cpu0) / (double(wall.elapsed()) / 1000.0);
        state.counters["core_share_percent"] = share * 100.0;
    }
    (void)lib;
}
BENCHMARK(BM_IdleLearningWindow)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
