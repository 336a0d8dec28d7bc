#pragma once

#include "platform/RegistryTree.h"

#include <QList>

namespace tx {

// A registry store in memory, for tests. Keys and values are kept as RegistryTree keeps
// them; every write that took effect is also recorded in order, with the key as it was
// opened. It can be told to refuse one operation (the n-th openKey or write, counted from
// 0) or to be unwritable altogether.
class MemoryRegistryStore : public RegistryStore {
public:
    struct Write {
        QString key;
        QString name;
        RegistryValue value;
        bool operator==(const Write&) const = default;
    };

    bool openKey(const QString& key) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInteger(const QString& name, quint32 value) override;
    bool writeBinary(const QString& name, const QByteArray& value) override;
    void closeKey() override;
    std::optional<RegistryValue> read(const QString& key, const QString& name) const override;

    void refuseOperation(int n) { refusedOperation_ = n; }
    void setWritable(bool writable) { writable_ = writable; }

    const QList<Write>& writes() const { return writes_; }
    QStringList keys() const { return tree_.keys(); }
    // The values of a key, in the order their names were first written.
    QList<Write> values(const QString& key) const;

private:
    bool refuse() { return !writable_ || operations_++ == refusedOperation_; }
    bool write(const QString& name, const RegistryValue& value);

    RegistryTree tree_;
    int current_ = -1;
    QString currentKey_;
    bool writable_ = true;
    int refusedOperation_ = -1;
    int operations_ = 0;
    QList<Write> writes_;
};

} // namespace tx
