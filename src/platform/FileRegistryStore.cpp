#include "FileRegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace tx {

namespace {

const QString kFormat = QStringLiteral("TongXue registry store");
constexpr int kVersion = 1;

QString normalKey(const QString& key) {
    return key.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

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

QJsonObject toJson(const FileRegistryStore::Value& v) {
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

std::optional<FileRegistryStore::Value> fromJson(const QJsonValue& json) {
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject o = json.toObject();
    const QJsonValue name = o.value(QStringLiteral("name"));
    const QString type = o.value(QStringLiteral("type")).toString();
    const QJsonValue data = o.value(QStringLiteral("data"));
    if (!name.isString())
        return std::nullopt;
    FileRegistryStore::Value v{name.toString(), {}};
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
bool load(const QString& path, std::vector<FileRegistryStore::Key>& keys) {
    keys.clear();
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
        const QString keyPath = normalKey(ko.value(QStringLiteral("key")).toString());
        if (!ko.value(QStringLiteral("key")).isString())
            continue;
        FileRegistryStore::Key key{keyPath, {}};
        for (const QJsonValue& jv : ko.value(QStringLiteral("values")).toArray()) {
            std::optional<FileRegistryStore::Value> v = fromJson(jv);
            if (!v)
                continue;
            auto same_name = [&](const FileRegistryStore::Value& e) {
                return same(e.name, v->name);
            };
            auto it = std::find_if(key.values.begin(), key.values.end(), same_name);
            if (it != key.values.end())
                *it = *v;
            else
                key.values.push_back(*v);
        }
        auto it = std::find_if(keys.begin(), keys.end(), [&](const FileRegistryStore::Key& e) {
            return same(e.path, keyPath);
        });
        if (it == keys.end())
            keys.push_back(std::move(key));
        else
            for (auto& v : key.values)
                it->values.push_back(v);
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
    damaged_ = !load(path_, keys_);
    if (damaged_)
        keys_.clear();
}

bool FileRegistryStore::save(const std::vector<Key>& keys) const {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QJsonArray keyArray;
    for (const Key& k : keys) {
        QJsonArray values;
        for (const Value& v : k.values)
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

const FileRegistryStore::Key* FileRegistryStore::findKey(const QString& normalPath) const {
    for (const Key& k : keys_)
        if (same(k.path, normalPath))
            return &k;
    return nullptr;
}

bool FileRegistryStore::openKey(const QString& key) {
    current_ = -1;
    const QString path = normalKey(key);
    std::vector<Key> next = keys_;
    int index = -1;
    for (size_t i = 0; i < next.size(); ++i)
        if (same(next[i].path, path))
            index = int(i);
    if (index < 0) {
        next.push_back(Key{path, {}});
        index = int(next.size()) - 1;
    }
    if (!save(next))
        return false;
    keys_ = std::move(next);
    damaged_ = false;
    current_ = index;
    return true;
}

bool FileRegistryStore::write(const QString& name, const RegistryValue& value) {
    if (current_ < 0 || current_ >= int(keys_.size()))
        return false;
    std::vector<Key> next = keys_;
    std::vector<Value>& values = next[size_t(current_)].values;
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const Value& v) { return same(v.name, name); });
    if (it != values.end())
        it->value = value; // the first spelling of the name and its place are kept
    else
        values.push_back(Value{name, value});
    if (!save(next))
        return false;
    keys_ = std::move(next);
    return true;
}

bool FileRegistryStore::writeString(const QString& name, const QString& value) {
    RegistryValue v;
    v.type = RegistryType::String;
    v.text = value;
    return write(name, v);
}

bool FileRegistryStore::writeInteger(const QString& name, quint32 value) {
    RegistryValue v;
    v.type = RegistryType::DWord;
    v.number = value;
    return write(name, v);
}

bool FileRegistryStore::writeBinary(const QString& name, const QByteArray& value) {
    RegistryValue v;
    v.type = RegistryType::Binary;
    v.bytes = value;
    return write(name, v);
}

void FileRegistryStore::closeKey() {
    current_ = -1;
}

std::optional<RegistryValue> FileRegistryStore::read(const QString& key,
                                                     const QString& name) const {
    const Key* k = findKey(normalKey(key));
    if (!k)
        return std::nullopt;
    for (const Value& v : k->values)
        if (same(v.name, name))
            return v.value;
    return std::nullopt;
}

QStringList FileRegistryStore::keys() const {
    QStringList out;
    for (const Key& k : keys_)
        out << k.path;
    return out;
}

QStringList FileRegistryStore::valueNames(const QString& key) const {
    QStringList out;
    if (const Key* k = findKey(normalKey(key)))
        for (const Value& v : k->values)
            out << v.name;
    return out;
}

} // namespace tx
