#pragma once

#include "RegistryStore.h"

#include <QStringList>
#include <vector>

namespace tx {

// The keys and values of a registry store, as the registry matches them: keys in the
// order they were first created, each with its values in the order they were first
// written (an overwrite keeps the place and the first spelling of the name). Key paths
// and value names match without regard to letter case; leading, trailing and doubled
// '\' of a key path are ignored.
class RegistryTree {
public:
    struct Value {
        QString name;
        RegistryValue value;
    };
    struct Key {
        QString path;
        std::vector<Value> values;
    };

    static QString normalPath(const QString& key);

    // Index of the key, or -1.
    int find(const QString& key) const;
    // Index of the key, created at the end when missing.
    int add(const QString& key);
    void set(int key, const QString& name, const RegistryValue& value);
    std::optional<RegistryValue> read(const QString& key, const QString& name) const;

    const std::vector<Key>& all() const { return keys_; }
    QStringList keys() const;
    QStringList valueNames(const QString& key) const;
    void clear() { keys_.clear(); }

private:
    std::vector<Key> keys_;
};

} // namespace tx
