#include "MemoryRegistryStore.h"

namespace tx {

bool MemoryRegistryStore::openKey(const QString& key) {
    current_ = -1;
    if (refuse())
        return false;
    current_ = tree_.add(key);
    currentKey_ = key;
    return true;
}

bool MemoryRegistryStore::write(const QString& name, const RegistryValue& value) {
    if (current_ < 0 || refuse())
        return false;
    tree_.set(current_, name, value);
    writes_.append({currentKey_, name, value});
    return true;
}

bool MemoryRegistryStore::writeString(const QString& name, const QString& value) {
    return write(name, RegistryValue::fromText(value));
}

bool MemoryRegistryStore::writeInteger(const QString& name, quint32 value) {
    return write(name, RegistryValue::fromNumber(value));
}

bool MemoryRegistryStore::writeBinary(const QString& name, const QByteArray& value) {
    return write(name, RegistryValue::fromBytes(value));
}

void MemoryRegistryStore::closeKey() {
    current_ = -1;
}

std::optional<RegistryValue> MemoryRegistryStore::read(const QString& key,
                                                       const QString& name) const {
    return tree_.read(key, name);
}

QList<MemoryRegistryStore::Write> MemoryRegistryStore::values(const QString& key) const {
    QList<Write> out;
    const int i = tree_.find(key);
    if (i >= 0)
        for (const RegistryTree::Value& v : tree_.all()[size_t(i)].values)
            out.append({key, v.name, v.value});
    return out;
}

} // namespace tx
