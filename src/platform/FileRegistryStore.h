#pragma once

#include "RegistryStore.h"

#include <QStringList>
#include <vector>

namespace tx {

// The registry kept in one JSON file: keys in the order they were first created, each
// with its values in the order they were first written (an overwrite keeps the place).
// Key paths and value names match without regard to letter case, as in the registry;
// leading, trailing and doubled '\' of a key path are ignored.
//
// Every change (a key created by openKey, every write) is saved at once and atomically
// (QSaveFile: a temporary file beside the store, then a rename), so the file is never
// half-written. openKey also saves, which proves that the store can be written.
//
// A store file that is not a store (not JSON, or not of this form) is read as an empty
// store; the first change replaces it.
class FileRegistryStore : public RegistryStore {
public:
    // path empty: $TONGXUE_REGISTRY_FILE when set and not empty, else defaultPath().
    explicit FileRegistryStore(const QString& path = QString());

    // <user's configuration folder>/tongxue/registry.json
    static QString defaultPath();

    bool openKey(const QString& key) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInteger(const QString& name, quint32 value) override;
    bool writeBinary(const QString& name, const QByteArray& value) override;
    void closeKey() override;
    std::optional<RegistryValue> read(const QString& key, const QString& name) const override;

    QString path() const { return path_; }
    // Whether the file found at construction was damaged (and so read as empty).
    bool foundDamagedFile() const { return damaged_; }
    // Key paths as first written, in creation order; value names of a key in writing order.
    QStringList keys() const;
    QStringList valueNames(const QString& key) const;
    // Reads the file again (another instance may have written it).
    void reload();

    struct Value {
        QString name;
        RegistryValue value;
    };
    struct Key {
        QString path;
        std::vector<Value> values;
    };

private:
    bool write(const QString& name, const RegistryValue& value);
    bool save(const std::vector<Key>& keys) const;
    const Key* findKey(const QString& normalPath) const;

    QString path_;
    std::vector<Key> keys_;
    int current_ = -1; // index of the open key
    bool damaged_ = false;
};

} // namespace tx
