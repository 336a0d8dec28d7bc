#include "Field.h"

#include "DatabaseError.h"
#include "Dataset.h"
#include "platform/IntegerText.h"

#include <limits>

namespace tx {

QString Field::toText(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

int Field::checkedIndex() const {
    if (m_index < 0)
        throw DatabaseError(
            QStringLiteral("field \"%1\" is not in its dataset's result (closed, or reopened "
                           "without it)")
                .arg(m_name));
    return m_index;
}

QVariant Field::value() const {
    return m_dataset->currentValue(checkedIndex());
}

QString Field::asString() const {
    return toText(value());
}

void Field::setAsString(const QString& text) {
    m_dataset->setCurrentValue(checkedIndex(), QVariant(text));
}

qint32 Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::LongLong) {
        const qint64 n = v.toLongLong();
        if (n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max())
            return qint32(n);
    } else if (v.typeId() != QMetaType::QByteArray && v.typeId() != QMetaType::Double) {
        if (const auto n = parseInt32(v.toString()))
            return *n;
    }
    throw DatabaseError(
        QStringLiteral("field \"%1\": \"%2\" is not a whole number").arg(m_name, toText(v)));
}

void Field::setAsInteger(qint32 value) {
    m_dataset->setCurrentValue(checkedIndex(), QVariant(qint64(value)));
}

QByteArray Field::asBytes() const {
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return toText(v).toUtf8();
}

void Field::setBytes(const QByteArray& bytes) {
    m_dataset->setCurrentValue(checkedIndex(), bytes.isEmpty() ? QVariant() : QVariant(bytes));
}

bool Field::isNull() const {
    return value().isNull();
}

void Field::clear() {
    m_dataset->setCurrentValue(checkedIndex(), QVariant());
}

} // namespace tx
