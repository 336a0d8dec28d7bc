#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace tx {

class Dataset;

// One column of a dataset by name, read and written on the dataset's current row (or
// its pending row while appending or editing). Lives as long as its dataset; reading
// it while the dataset's result has no column of its name throws.
class Field {
public:
    Field(Dataset& dataset, int index, const QString& name) noexcept
        : m_dataset(&dataset), m_index(index), m_name(name) {}

    const QString& name() const { return m_name; }
    // Column in the dataset's result; -1 while the result has none of this name.
    int index() const { return m_index; }

    // Null reads as empty text.
    QString asString() const;
    void setAsString(const QString& text);
    // Whole number; null reads as 0, text that is no whole number throws.
    qint32 asInteger() const;
    void setAsInteger(qint32 value);
    QString asLongText() const { return asString(); }
    void setAsLongText(const QString& text) { setAsString(text); }
    // Blob bytes; text reads as its UTF-8 bytes. Empty bytes store null.
    QByteArray asBytes() const;
    void setBytes(const QByteArray& bytes);
    bool isNull() const;
    void clear();

    QVariant value() const;

    // The text form of a stored value.
    static QString toText(const QVariant& value);

private:
    friend class Dataset;
    int checkedIndex() const;
    Dataset* m_dataset;
    int m_index;
    QString m_name;
};

} // namespace tx
