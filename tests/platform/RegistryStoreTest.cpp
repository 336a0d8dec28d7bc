#include "platform/FileRegistryStore.h"
#include "platform/testing/MemoryRegistryStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tx {
namespace {

const QString kSources = QStringLiteral("Software\\ODBC\\ODBC.INI\\ODBC Data Sources");
const QString kEdu = QStringLiteral("Software\\ODBC\\ODBC.INI\\EDUqlyx");

RegistryValue str(const QString& s) {
    return RegistryValue::fromText(s);
}
RegistryValue dword(quint32 n) {
    return RegistryValue::fromNumber(n);
}
RegistryValue bin(const QByteArray& b) {
    return RegistryValue::fromBytes(b);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Part of the data source record, as a start writes it.
void writeRecord(RegistryStore& store, const QString& dbq) {
    ASSERT_TRUE(store.openKey(kSources));
    ASSERT_TRUE(store.writeString(QStringLiteral("EDUqlyx"),
                                  QStringLiteral("Microsoft Access Driver (*.mdb)")));
    store.closeKey();
    ASSERT_TRUE(store.openKey(kEdu));
    ASSERT_TRUE(store.writeString(QStringLiteral("DBQ"), dbq));
    ASSERT_TRUE(store.writeString(QStringLiteral("Description"), QStringLiteral("我的新数据源")));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("DriverId"), 25));
    ASSERT_TRUE(store.writeString(QStringLiteral("UID"), QString()));
    ASSERT_TRUE(store.writeBinary(QStringLiteral("Exclusive"), QByteArray(1, '\0')));
    store.closeKey();
}

class FileRegistry : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path() const { return dir.filePath(QStringLiteral("config/tongxue/registry.json")); }
    QTemporaryDir dir;
};

TEST_F(FileRegistry, TheThreeTypesRoundTripAcrossInstances) {
    {
        FileRegistryStore store(path());
        writeRecord(store, QStringLiteral("/opt/童学/edusz.mdb"));
        ASSERT_TRUE(store.openKey(kEdu + QStringLiteral("\\Engines\\Jet")));
        ASSERT_TRUE(store.writeInteger(QStringLiteral("Max"), 0xFFFFFFFFu));
        ASSERT_TRUE(store.writeBinary(QStringLiteral("Block"), QByteArray("\x00\xff\x10 a", 5)));
        store.closeKey();
        EXPECT_EQ(store.read(kEdu, QStringLiteral("DriverId")), dword(25)); // same instance
    }
    FileRegistryStore again(path());
    EXPECT_FALSE(again.foundDamagedFile());
    EXPECT_EQ(again.read(kSources, QStringLiteral("EDUqlyx")),
              str(QStringLiteral("Microsoft Access Driver (*.mdb)")));
    EXPECT_EQ(again.read(kEdu, QStringLiteral("DBQ")), str(QStringLiteral("/opt/童学/edusz.mdb")));
    EXPECT_EQ(again.read(kEdu, QStringLiteral("Description")), str(QStringLiteral("我的新数据源")));
    EXPECT_EQ(again.read(kEdu, QStringLiteral("DriverId")), dword(25));
    EXPECT_EQ(again.read(kEdu, QStringLiteral("UID")), str(QString()));
    EXPECT_EQ(again.read(kEdu, QStringLiteral("Exclusive")), bin(QByteArray(1, '\0')));
    const QString jet = kEdu + QStringLiteral("\\Engines\\Jet");
    EXPECT_EQ(again.read(jet, QStringLiteral("Max")), dword(0xFFFFFFFFu));
    EXPECT_EQ(again.read(jet, QStringLiteral("Block")), bin(QByteArray("\x00\xff\x10 a", 5)));
    EXPECT_EQ(again.read(kEdu, QStringLiteral("Missing")), std::nullopt);
    EXPECT_EQ(again.read(QStringLiteral("No\\Such\\Key"), QStringLiteral("DBQ")), std::nullopt);
    // Keys and values in the order they were first written.
    EXPECT_EQ(again.keys(), QStringList({kSources, kEdu, jet}));
    EXPECT_EQ(again.valueNames(kEdu),
              QStringList({QStringLiteral("DBQ"), QStringLiteral("Description"),
                           QStringLiteral("DriverId"), QStringLiteral("UID"),
                           QStringLiteral("Exclusive")}));
}

TEST_F(FileRegistry, ASecondStartRewritesAndNeverDuplicates) {
    {
        FileRegistryStore first(path());
        writeRecord(first, QStringLiteral("/old/edusz.mdb"));
    }
    const QByteArray afterFirst = readAll(path());
    {
        FileRegistryStore second(path());
        writeRecord(second, QStringLiteral("/old/edusz.mdb"));
    }
    EXPECT_EQ(readAll(path()), afterFirst); // the same data rewritten: the same file
    {
        FileRegistryStore moved(path());
        writeRecord(moved, QStringLiteral("/new/folder/edusz.mdb"));
    }
    FileRegistryStore store(path());
    EXPECT_EQ(store.read(kEdu, QStringLiteral("DBQ")),
              str(QStringLiteral("/new/folder/edusz.mdb")));
    EXPECT_EQ(store.keys().size(), 2);
    EXPECT_EQ(store.valueNames(kEdu).size(), 5);
    EXPECT_EQ(readAll(path()).count("\"DBQ\""), 1);
}

TEST_F(FileRegistry, AnOverwriteMayChangeTheTypeAndKeepsThePlace) {
    FileRegistryStore store(path());
    ASSERT_TRUE(store.openKey(QStringLiteral("K")));
    ASSERT_TRUE(store.writeString(QStringLiteral("a"), QStringLiteral("x")));
    ASSERT_TRUE(store.writeString(QStringLiteral("b"), QStringLiteral("y")));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("a"), 7));
    store.closeKey();
    FileRegistryStore again(path());
    EXPECT_EQ(again.read(QStringLiteral("K"), QStringLiteral("a")), dword(7));
    EXPECT_EQ(again.valueNames(QStringLiteral("K")),
              QStringList({QStringLiteral("a"), QStringLiteral("b")}));
}

TEST_F(FileRegistry, KeysAndNamesMatchWithoutRegardToCase) {
    FileRegistryStore store(path());
    writeRecord(store, QStringLiteral("/x/edusz.mdb"));
    ASSERT_TRUE(store.openKey(QStringLiteral("software\\odbc\\odbc.ini\\eduqlyx\\")));
    ASSERT_TRUE(store.writeString(QStringLiteral("dbq"), QStringLiteral("/y/edusz.mdb")));
    store.closeKey();
    EXPECT_EQ(store.keys().size(), 2);
    EXPECT_EQ(store.read(kEdu, QStringLiteral("DBQ")), str(QStringLiteral("/y/edusz.mdb")));
    EXPECT_EQ(store.valueNames(kEdu).first(), QStringLiteral("DBQ")); // first spelling kept
}

TEST_F(FileRegistry, WritesNeedAnOpenKey) {
    FileRegistryStore store(path());
    EXPECT_FALSE(store.writeString(QStringLiteral("a"), QStringLiteral("x")));
    ASSERT_TRUE(store.openKey(QStringLiteral("K")));
    store.closeKey();
    EXPECT_FALSE(store.writeInteger(QStringLiteral("a"), 1));
    EXPECT_EQ(store.read(QStringLiteral("K"), QStringLiteral("a")), std::nullopt);
}

TEST_F(FileRegistry, AStoreThatCannotBeWrittenAnswersFalse) {
    // A folder cannot be created below a regular file (this holds for root as well).
    const QString blocker = dir.filePath(QStringLiteral("file"));
    writeFile(blocker, "I am a file");
    for (const QString& p : {blocker + QStringLiteral("/registry.json"),
                             blocker + QStringLiteral("/deeper/registry.json"),
                             dir.path() /* the store's path is a folder */}) {
        SCOPED_TRACE(p.toStdString());
        FileRegistryStore store(p);
        EXPECT_FALSE(store.openKey(kSources));
        EXPECT_FALSE(store.writeString(QStringLiteral("EDUqlyx"), QStringLiteral("x")));
        store.closeKey();
        EXPECT_EQ(store.read(kSources, QStringLiteral("EDUqlyx")), std::nullopt);
        EXPECT_TRUE(store.keys().isEmpty());
    }
    EXPECT_EQ(readAll(blocker), QByteArray("I am a file"));
}

TEST_F(FileRegistry, ADamagedFileReadsAsEmptyAndIsReplacedByTheFirstChange) {
    for (const QByteArray& damage :
         {QByteArray("not json {"), QByteArray("[1, 2, 3]"), QByteArray("{\"keys\": 5}"),
          QByteArray("\x00\x01\x02", 3), QByteArray()}) {
        SCOPED_TRACE(damage.toStdString());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path()).absolutePath()));
        writeFile(path(), damage);
        FileRegistryStore store(path());
        EXPECT_TRUE(store.foundDamagedFile());
        EXPECT_TRUE(store.keys().isEmpty());
        EXPECT_EQ(store.read(kEdu, QStringLiteral("DBQ")), std::nullopt);
        writeRecord(store, QStringLiteral("/z/edusz.mdb"));
        EXPECT_FALSE(store.foundDamagedFile());
        QJsonParseError error{};
        QJsonDocument::fromJson(readAll(path()), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError);
        FileRegistryStore again(path());
        EXPECT_FALSE(again.foundDamagedFile());
        EXPECT_EQ(again.read(kEdu, QStringLiteral("DBQ")), str(QStringLiteral("/z/edusz.mdb")));
    }
}

TEST_F(FileRegistry, WritingLeavesNoTemporaryFileBehind) {
    FileRegistryStore store(path());
    writeRecord(store, QStringLiteral("/x/edusz.mdb"));
    const QStringList entries =
        QDir(QFileInfo(path()).absolutePath())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(entries, QStringList({QStringLiteral("registry.json")}));
}

TEST_F(FileRegistry, ThePathComesFromTheArgumentThenTheEnvironmentThenTheDefault) {
    const QByteArray saved = qgetenv("TONGXUE_REGISTRY_FILE");
    const QString fromEnv = dir.filePath(QStringLiteral("env/registry.json"));
    qputenv("TONGXUE_REGISTRY_FILE", fromEnv.toUtf8());
    EXPECT_EQ(FileRegistryStore().path(), fromEnv);
    EXPECT_EQ(FileRegistryStore(path()).path(), path());
    qunsetenv("TONGXUE_REGISTRY_FILE");
    EXPECT_EQ(FileRegistryStore().path(), FileRegistryStore::defaultPath());
    EXPECT_TRUE(
        FileRegistryStore::defaultPath().endsWith(QStringLiteral("/tongxue/registry.json")));
    if (!saved.isNull())
        qputenv("TONGXUE_REGISTRY_FILE", saved);
}

TEST(MemoryRegistry, RecordsAndRefusesAsTold) {
    MemoryRegistryStore store;
    store.refuseOperation(2); // the second openKey
    ASSERT_TRUE(store.openKey(kSources));
    EXPECT_TRUE(store.writeString(QStringLiteral("EDUqlyx"), QStringLiteral("drv")));
    store.closeKey();
    EXPECT_FALSE(store.openKey(kEdu));
    EXPECT_FALSE(store.writeInteger(QStringLiteral("DriverId"), 25));
    EXPECT_EQ(store.writes(), QList<MemoryRegistryStore::Write>(
                                  {{kSources, QStringLiteral("EDUqlyx"), str("drv")}}));
    EXPECT_EQ(store.read(kSources, QStringLiteral("eduqlyx")), str(QStringLiteral("drv")));
    store.setWritable(false);
    EXPECT_FALSE(store.openKey(kSources));
}

} // namespace
} // namespace tx
