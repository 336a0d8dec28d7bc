// Saving a lesson item with a 12-megapixel picture (a 36 MB bitmap) through the item
// dialog, from 保存 to the list's reopened result, and choosing that picture as a JPEG.
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "lessons/ItemEditor.h"
#include "lessons/LessonModule.h"
#include "platform/BitmapCodec.h"
#include "platform/testing/TestServices.h"
#include "support/JpegWriter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

unsigned photoPixel(int x, int y) {
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
    h ^= h >> 13;
    return ((x / 7) % 256) << 16 | ((y / 5) % 256) << 8 | (h & 0x3f);
}

struct Library {
    Library() {
        t.paths.setExecutablePath(dir.filePath("tongxue"));
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(dir.filePath("edusz.mdb")).constData(), &db);
        for (const QString& sql : tx::shippedSchemaStatements(true))
            sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "insert into SYS values('2026-12-01', null, null)", nullptr, nullptr,
                     nullptr);
        sqlite3_exec(db, "insert into ZJ values(1, '数字')", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        dm = std::make_unique<tx::Tdm>(t.services);
        if (!dm->DataModuleCreate().isEmpty())
            std::abort();
        t.services.dm = dm.get();
        list = tx::newItemListWindow(t.services, tx::sz, {}, nullptr);
        list->show();
    }
    ~Library() {
        delete list;
        dm->DataModuleDestroy();
    }
    QTemporaryDir dir;
    tx::TestServices t;
    std::unique_ptr<tx::Tdm> dm;
    tx::ItemListWindow* list = nullptr;
};

void BM_SaveItemWith36MBPicture(benchmark::State& state) {
    Library library;
    const QByteArray bmp = tx::jpegToBmp(
        tx::testing::makeJpeg(4000, 3000, tx::testing::JpegKind::Baseline, photoPixel));
    int number = 1;
    for (auto _ : state) {
        state.PauseTiming();
        auto* dialog = tx::newItemDialog(library.t.services, tx::sz, tx::ItemDialog::Mode::Add,
                                         "数字", nullptr);
        tx::ItemDialog::Item item;
        item.number = QString::number(number);
        item.name = QString::number(number++);
        item.picture = bmp;
        dialog->setItem(item);
        state.ResumeTiming();
        dialog->AddBtnClick();
        state.PauseTiming();
        if (!library.t.dialogs.messages().empty() || dialog->isVisible())
            state.SkipWithError("the save was refused");
        delete dialog;
        // Keep the file from growing: the next save starts from the same state.
        library.dm->goQuery.first();
        library.dm->goQuery.remove();
        library.dm->goQuery.reopen();
        state.ResumeTiming();
    }
    state.counters["bitmap_MB"] = double(bmp.size()) / (1024 * 1024);
}
BENCHMARK(BM_SaveItemWith36MBPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

void BM_Jpeg12MPToStoredBitmap(benchmark::State& state) {
    const QByteArray jpeg =
        tx::testing::makeJpeg(4000, 3000, tx::testing::JpegKind::Baseline, photoPixel);
    for (auto _ : state)
        benchmark::DoNotOptimize(tx::jpegToBmp(jpeg));
    state.counters["jpeg_MB"] = double(jpeg.size()) / (1024 * 1024);
}
BENCHMARK(BM_Jpeg12MPToStoredBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
