#include "FileRegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace tx {

namespace {

const QString kFormat = QStringLiteral("TongXue registry store");
constexpr int kVersion = 1;

QString typeName(RegistryType type) {
    switch (type) {
    case RegistryType::String:
        return QStringLiteral("REG_SZ");
    case RegistryType::DWord:
        return QStringLiteral("REG_DWORD");
    case RegistryType::Binary:
        return QStringLiteral("REG_BINARY");
    }
    return {};
}

QJsonObject toJson(const RegistryTree::Value& v) {
    QJsonObject o;
    o[QStringLiteral("name")] = v.name;
    o[QStringLiteral("type")] = typeName(v.value.type);
    switch (v.value.type) {
    case RegistryType::String:
        o[QStringLiteral("data")] = v.value.text;
        break;
    case RegistryType::DWord:
        o[QStringLiteral("data")] = qint64(v.value.number);
        break;
    case RegistryType::Binary:
        o[QStringLiteral("data")] = QString::fromLatin1(v.value.bytes.toHex());
        break;
    }
    return o;
}

std::optional<RegistryTree::Value> fromJson(const QJsonValue& json) {
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject o = json.toObject();
    const QJsonValue name = o.value(QStringLiteral("name"));
    const QString type = o.value(QStringLiteral("type")).toString();
    const QJsonValue data = o.value(QStringLiteral("data"));
    if (!name.isString())
        return std::nullopt;
    RegistryTree::Value v{name.toString(), {}};
    if (type == QStringLiteral("REG_SZ") && data.isString()) {
        v.value.type = RegistryType::String;
        v.value.text = data.toString();
    } else if (type == QStringLiteral("REG_DWORD") && data.isDouble()) {
        const double n = data.toDouble();
        if (n < 0 || n > 4294967295.0 || n != qint64(n))
            return std::nullopt;
        v.value.type = RegistryType::DWord;
        v.value.number = quint32(qint64(n));
    } else if (type == QStringLiteral("REG_BINARY") && data.isString()) {
        const QByteArray hex = data.toString().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (bytes.toHex() != hex.toLower())
            return std::nullopt;
        v.value.type = RegistryType::Binary;
        v.value.bytes = bytes;
    } else {
        return std::nullopt;
    }
    return v;
}

// Reads the store file; false when it exists but is not a store.
bool load(const QString& path, RegistryTree& tree) {
    tree.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat ||
        !root.value(QStringLiteral("keys")).isArray())
        return false;
    for (const QJsonValue& k : root.value(QStringLiteral("keys")).toArray()) {
        const QJsonObject ko = k.toObject();
        if (!ko.value(QStringLiteral("key")).isString())
            continue;
        const int key = tree.add(ko.value(QStringLiteral("key")).toString());
        for (const QJsonValue& jv : ko.value(QStringLiteral("values")).toArray())
            if (const std::optional<RegistryTree::Value> v = fromJson(jv))
                tree.set(key, v->name, v->value);
    }
    return true;
}

} // namespace

FileRegistryStore::FileRegistryStore(const QString& path) : path_(path) {
    if (path_.isEmpty())
        path_ = qEnvironmentVariable("TONGXUE_REGISTRY_FILE");
    if (path_.isEmpty())
        path_ = defaultPath();
    reload();
}

QString FileRegistryStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tongxue/registry.json");
}

void FileRegistryStore::reload() {
    current_ = -1;
    damaged_ = !load(path_, tree_);
    if (damaged_)
        tree_.clear();
}

bool FileRegistryStore::save(const RegistryTree& tree) const {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QJsonArray keyArray;
    for (const RegistryTree::Key& k : tree.all()) {
        QJsonArray values;
        for (const RegistryTree::Value& v : k.values)
            values.append(toJson(v));
        QJsonObject ko;
        ko[QStringLiteral("key")] = k.path;
        ko[QStringLiteral("values")] = values;
        keyArray.append(ko);
    }
    QJsonObject root;
    root[QStringLiteral("format")] = kFormat;
    root[QStringLiteral("version")] = kVersion;
    root[QStringLiteral("keys")] = keyArray;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool FileRegistryStore::openKey(const QString& key) {
    current_ = -1;
    RegistryTree next = tree_;
    const int index = next.add(key);
    if (!save(next))
        return false;
    tree_ = std::move(next);
    damaged_ = false;
    current_ = index;
    return true;
}

bool FileRegistryStore::write(const QString& name, const RegistryValue& value) {
    if (current_ < 0 || current_ >= int(tree_.all().size()))
        return false;
    RegistryTree next = tree_;
    next.set(current_, name, value);
    if (!save(next))
        return false;
    tree_ = std::move(next);
    return true;
}

bool FileRegistryStore::writeString(const QString& name, const QString& value) {
    return write(name, RegistryValue::fromText(value));
}

bool FileRegistryStore::writeInteger(const QString& name, quint32 value) {
    return write(name, RegistryValue::fromNumber(value));
}

bool FileRegistryStore::writeBinary(const QString& name, const QByteArray& value) {
    return write(name, RegistryValue::fromBytes(value));
}

void FileRegistryStore::closeKey() {
    current_ = -1;
}

std::optional<RegistryValue> FileRegistryStore::read(const QString& key,
                                                     const QString& name) const {
    return tree_.read(key, name);
}

} // namespace tx
