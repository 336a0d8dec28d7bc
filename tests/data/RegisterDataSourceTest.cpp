#include "DataFixture.h"
#include "data/DataSource.h"
#include "platform/ExecutableProgramPaths.h"
#include "platform/testing/MemoryRegistryStore.h"

#include <gtest/gtest.h>

using namespace tx;
using namespace tx::test;

namespace {

const QString kRoot = QStringLiteral("Software\\ODBC\\ODBC.INI\\");

RegistryValue text(const QString& s) {
    return RegistryValue::fromText(s);
}
RegistryValue dword(quint32 n) {
    return RegistryValue::fromNumber(n);
}
RegistryValue byte00() {
    return RegistryValue::fromBytes(QByteArray(1, '\0'));
}

QList<MemoryRegistryStore::Write> expectedRecord(const QString& n, const QString& dbq) {
    const QString sources = kRoot + "ODBC Data Sources";
    const QString source = kRoot + n;
    const QString jet = kRoot + n + "\\Engines\\Jet";
    return {
        {sources, n, text("Microsoft Access Driver (*.mdb)")},
        {source, "DBQ", text(dbq)},
        {source, "Description", text("我的新数据源")},
        {source, "Driver", text("C:\\WINNT\\System32\\odbcjt32.dll")},
        {source, "DriverId", dword(25)},
        {source, "FIL", text(n + ";")},
        {source, "SafeTransaction", dword(0)},
        {source, "UID", text("")},
        {source, "Exclusive", byte00()},
        {source, "ReadOnly", byte00()},
        {jet, "ImplicitCommitSync", text("Yes")},
        {jet, "MaxBufferSize", dword(512)},
        {jet, "PageTimeout", dword(10)},
        {jet, "Threads", dword(3)},
        {jet, "UserCommitSync", text("Yes")},
    };
}

} // namespace

TEST(RegisterDataSource, WritesTheRecordInOrderWithItsTypes) {
    for (const auto& [n, f] : {std::pair{QString("EDUqlyx"), QString("edusz.mdb")},
                               std::pair{QString("FOODqlyx"), QString("qmtfood.mdb")}}) {
        MemoryRegistryStore registry;
        FixedProgramPaths paths("/opt/童学/tongxue");
        ASSERT_TRUE(RegisterDataSource(registry, paths, n, f));
        EXPECT_EQ(registry.writes(), expectedRecord(n, "/opt/童学/" + f)) << n.toStdString();
        EXPECT_EQ(registry.keys().size(), 3);
    }
}

TEST(RegisterDataSource, SecondStartRewritesAndMovedFolderUpdatesDbq) {
    MemoryRegistryStore registry;
    FixedProgramPaths paths("/home/a/tongxue/tongxue");
    ASSERT_TRUE(RegisterDataSource(registry, paths, "EDUqlyx", "edusz.mdb"));
    ASSERT_TRUE(RegisterDataSource(registry, paths, "EDUqlyx", "edusz.mdb"));
    paths.setExecutablePath("/media/usb/new place/tongxue");
    ASSERT_TRUE(RegisterDataSource(registry, paths, "EDUqlyx", "edusz.mdb"));

    // One value per name, each as the last start wrote it.
    const auto expected = expectedRecord("EDUqlyx", "/media/usb/new place/edusz.mdb");
    QList<MemoryRegistryStore::Write> stored;
    for (const QString& key :
         {kRoot + "ODBC Data Sources", kRoot + "EDUqlyx", kRoot + "EDUqlyx\\Engines\\Jet"})
        stored += registry.values(key);
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(registry.writes().size(), 3 * expected.size());
}

TEST(RegisterDataSource, StopsAtTheFirstOperationThatFails) {
    // Operations: open key 1, one value, open key 2, nine values, open key 3, five values.
    const auto record = expectedRecord("EDUqlyx", "/p/edusz.mdb");
    const QList<int> writesBeforeOperation = {0, 0, 1, 1,  2,  3,  4,  5,  6,
                                              7, 8, 9, 10, 10, 11, 12, 13, 14};
    for (int op = 0; op < writesBeforeOperation.size(); ++op) {
        MemoryRegistryStore registry;
        registry.refuseOperation(op);
        FixedProgramPaths paths("/p/tongxue");
        EXPECT_FALSE(RegisterDataSource(registry, paths, "EDUqlyx", "edusz.mdb")) << op;
        EXPECT_EQ(registry.writes(), record.mid(0, writesBeforeOperation[op])) << op;
    }
}
