#include "RegistryTree.h"

namespace tx {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString RegistryTree::normalPath(const QString& key) {
    return key.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

int RegistryTree::find(const QString& key) const {
    const QString path = normalPath(key);
    for (size_t i = 0; i < keys_.size(); ++i)
        if (sameName(keys_[i].path, path))
            return int(i);
    return -1;
}

int RegistryTree::add(const QString& key) {
    const int found = find(key);
    if (found >= 0)
        return found;
    keys_.push_back(Key{normalPath(key), {}});
    return int(keys_.size()) - 1;
}

void RegistryTree::set(int key, const QString& name, const RegistryValue& value) {
    std::vector<Value>& values = keys_.at(size_t(key)).values;
    for (Value& v : values)
        if (sameName(v.name, name)) {
            v.value = value;
            return;
        }
    values.push_back(Value{name, value});
}

std::optional<RegistryValue> RegistryTree::read(const QString& key, const QString& name) const {
    const int i = find(key);
    if (i < 0)
        return std::nullopt;
    for (const Value& v : keys_[size_t(i)].values)
        if (sameName(v.name, name))
            return v.value;
    return std::nullopt;
}

QStringList RegistryTree::keys() const {
    QStringList out;
    for (const Key& k : keys_)
        out << k.path;
    return out;
}

QStringList RegistryTree::valueNames(const QString& key) const {
    QStringList out;
    const int i = find(key);
    if (i >= 0)
        for (const Value& v : keys_[size_t(i)].values)
            out << v.name;
    return out;
}

} // namespace tx
