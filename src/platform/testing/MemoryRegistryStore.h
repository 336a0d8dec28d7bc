#pragma once

#include "platform/RegistryStore.h"

#include <QStringList>
#include <vector>

namespace tx {

// A registry store in memory, for tests: keeps keys and values in writing order, logs
// every call ("open <key>", "string <name>=<value>", "integer <name>=<n>",
// "binary <name>=<hex>", "close"; a refused call is logged with " refused"), and can be
// told to refuse a key (openKey answers false) or to be unwritable altogether.
class MemoryRegistryStore : public RegistryStore {
public:
    bool openKey(const QString& key) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInteger(const QString& name, quint32 value) override;
    bool writeBinary(const QString& name, const QByteArray& value) override;
    void closeKey() override;
    std::optional<RegistryValue> read(const QString& key, const QString& name) const override;

    // Keys match without regard to case, '\' at the ends ignored.
    void refuseKey(const QString& key) { refused_ << key; }
    void setWritable(bool writable) { writable_ = writable; }

    const QStringList& log() const { return log_; }
    QStringList keys() const;
    QStringList valueNames(const QString& key) const;
    void clearLog() { log_.clear(); }

private:
    struct Value {
        QString name;
        RegistryValue value;
    };
    struct Key {
        QString path;
        std::vector<Value> values;
    };
    bool write(const QString& name, const RegistryValue& value, const QString& logText);
    int find(const QString& key) const;

    std::vector<Key> keys_;
    int current_ = -1;
    bool writable_ = true;
    QStringList refused_;
    QStringList log_;
};

} // namespace tx
