#pragma once

#include "RegistryTree.h"

namespace tx {

// The registry kept in one JSON file, keys and values ordered and matched as RegistryTree
// does.
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
    QStringList keys() const { return tree_.keys(); }
    QStringList valueNames(const QString& key) const { return tree_.valueNames(key); }
    // Reads the file again (another instance may have written it).
    void reload();

private:
    bool write(const QString& name, const RegistryValue& value);
    bool save(const RegistryTree& tree) const;

    QString path_;
    RegistryTree tree_;
    int current_ = -1; // index of the open key
    bool damaged_ = false;
};

} // namespace tx
