#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tx {

enum class RegistryType { String, DWord, Binary };

struct RegistryValue {
    RegistryType type = RegistryType::String;
    QString text;       // String
    quint32 number = 0; // DWord
    QByteArray bytes;   // Binary
    bool operator==(const RegistryValue&) const = default;

    static RegistryValue fromText(const QString& text) {
        return {RegistryType::String, text, 0, {}};
    }
    static RegistryValue fromNumber(quint32 number) {
        return {RegistryType::DWord, {}, number, {}};
    }
    static RegistryValue fromBytes(const QByteArray& bytes) {
        return {RegistryType::Binary, {}, 0, bytes};
    }
};

// Typed values under keys below one root. Keys are paths separated by '\'.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // Opens the key, creating it when missing; false when it cannot be created or
    // the store cannot be written.
    virtual bool openKey(const QString& key) = 0;
    // Write into the key opened last; false when the store cannot be written.
    virtual bool writeString(const QString& name, const QString& value) = 0;
    virtual bool writeInteger(const QString& name, quint32 value) = 0;
    virtual bool writeBinary(const QString& name, const QByteArray& value) = 0;
    virtual void closeKey() = 0;
    virtual std::optional<RegistryValue> read(const QString& key, const QString& name) const = 0;
};

} // namespace tx
