#pragma once

#include "platform/RegistryStore.h"

#include <QList>
#include <QMap>
#include <utility>

namespace tx::test {

// Registry in memory. Remembers every write in order, keeps one value per name in
// each key, and can refuse its n-th operation (opening a key or writing a value).
class FakeRegistryStore : public RegistryStore {
public:
    struct Write {
        QString key;
        QString name;
        RegistryValue value;
        bool operator==(const Write&) const = default;
    };

    QList<Write> writes;
    int refuseOperation = -1;

    bool openKey(const QString& key) override {
        if (refuse())
            return false;
        m_open = key;
        m_keys[key];
        return true;
    }
    bool writeString(const QString& name, const QString& value) override {
        return write(name, {RegistryType::String, value, 0, {}});
    }
    bool writeInteger(const QString& name, quint32 value) override {
        return write(name, {RegistryType::DWord, {}, value, {}});
    }
    bool writeBinary(const QString& name, const QByteArray& value) override {
        return write(name, {RegistryType::Binary, {}, 0, value});
    }
    void closeKey() override { m_open.clear(); }
    std::optional<RegistryValue> read(const QString& key, const QString& name) const override {
        for (const auto& [n, v] : m_keys.value(key))
            if (n == name)
                return v;
        return std::nullopt;
    }
    // Values of a key in the order their names were first written.
    QList<std::pair<QString, RegistryValue>> values(const QString& key) const {
        return m_keys.value(key);
    }
    QStringList keys() const { return m_keys.keys(); }

private:
    bool refuse() { return m_operations++ == refuseOperation; }
    bool write(const QString& name, const RegistryValue& value) {
        if (m_open.isEmpty() || refuse())
            return false;
        writes.append({m_open, name, value});
        auto& list = m_keys[m_open];
        for (auto& [n, v] : list)
            if (n == name) {
                v = value;
                return true;
            }
        list.append({name, value});
        return true;
    }

    int m_operations = 0;
    QString m_open;
    QMap<QString, QList<std::pair<QString, RegistryValue>>> m_keys;
};

} // namespace tx::test
