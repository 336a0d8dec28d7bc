#include "MemoryRegistryStore.h"

namespace tx {

namespace {

QString normalKey(const QString& key) {
    return key.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

int MemoryRegistryStore::find(const QString& key) const {
    const QString path = normalKey(key);
    for (size_t i = 0; i < keys_.size(); ++i)
        if (same(keys_[i].path, path))
            return int(i);
    return -1;
}

bool MemoryRegistryStore::openKey(const QString& key) {
    current_ = -1;
    bool refused = !writable_;
    for (const QString& r : refused_)
        refused = refused || same(normalKey(r), normalKey(key));
    if (refused) {
        log_ << QStringLiteral("open ") + key + QStringLiteral(" refused");
        return false;
    }
    log_ << QStringLiteral("open ") + key;
    current_ = find(key);
    if (current_ < 0) {
        keys_.push_back(Key{normalKey(key), {}});
        current_ = int(keys_.size()) - 1;
    }
    return true;
}

bool MemoryRegistryStore::write(const QString& name, const RegistryValue& value,
                                const QString& logText) {
    if (!writable_ || current_ < 0) {
        log_ << logText + QStringLiteral(" refused");
        return false;
    }
    log_ << logText;
    auto& values = keys_[size_t(current_)].values;
    for (Value& v : values)
        if (same(v.name, name)) {
            v.value = value;
            return true;
        }
    values.push_back(Value{name, value});
    return true;
}

bool MemoryRegistryStore::writeString(const QString& name, const QString& value) {
    RegistryValue v;
    v.type = RegistryType::String;
    v.text = value;
    return write(name, v, QStringLiteral("string %1=%2").arg(name, value));
}

bool MemoryRegistryStore::writeInteger(const QString& name, quint32 value) {
    RegistryValue v;
    v.type = RegistryType::DWord;
    v.number = value;
    return write(name, v, QStringLiteral("integer %1=%2").arg(name).arg(value));
}

bool MemoryRegistryStore::writeBinary(const QString& name, const QByteArray& value) {
    RegistryValue v;
    v.type = RegistryType::Binary;
    v.bytes = value;
    return write(name, v,
                 QStringLiteral("binary %1=%2").arg(name, QString::fromLatin1(value.toHex())));
}

void MemoryRegistryStore::closeKey() {
    log_ << QStringLiteral("close");
    current_ = -1;
}

std::optional<RegistryValue> MemoryRegistryStore::read(const QString& key,
                                                       const QString& name) const {
    const int i = find(key);
    if (i < 0)
        return std::nullopt;
    for (const Value& v : keys_[size_t(i)].values)
        if (same(v.name, name))
            return v.value;
    return std::nullopt;
}

QStringList MemoryRegistryStore::keys() const {
    QStringList out;
    for (const Key& k : keys_)
        out << k.path;
    return out;
}

QStringList MemoryRegistryStore::valueNames(const QString& key) const {
    QStringList out;
    const int i = find(key);
    if (i >= 0)
        for (const Value& v : keys_[size_t(i)].values)
            out << v.name;
    return out;
}

} // namespace tx
