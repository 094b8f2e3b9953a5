#include "core/Columns.h"

#include <cmath>
#include <limits>

namespace korven {

double columnLimit(const ColumnShape& column) {
    const double int32Max = std::numeric_limits<int>::max();
    switch (column.type) {
    case ColumnType::Integer:
        return int32Max;
    case ColumnType::Decimal:
        return int32Max / std::pow(10.0, column.scale);
    default:
        return 0;
    }
}

bool assignNumber(double& out, const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        out = 0; // a null number reads as 0
        return true;
    }
    bool ok = false;
    out = value.toDouble(&ok);
    return ok && std::isfinite(out);
}

bool assignValue(int& member, const QVariant& value, const ColumnShape& column) {
    double d = 0;
    if (!assignNumber(d, value) || d != std::trunc(d) || std::abs(d) > columnLimit(column)) return false;
    member = static_cast<int>(d);
    return true;
}

bool assignValue(QString& member, const QVariant& value, const ColumnShape&) {
    member = value.isValid() && !value.isNull() ? value.toString() : QString();
    return true;
}

bool assignValue(QDate& member, const QVariant& value, const ColumnShape&) {
    if (!value.isValid() || value.isNull()) {
        member = QDate();
        return true;
    }
    if (value.metaType().id() != QMetaType::QDate) return false;
    member = value.toDate();
    return true;
}

QJsonValue jsonValue(const QVariant& value, ColumnType type) {
    switch (type) {
    case ColumnType::Integer:
        return value.toInt();
    case ColumnType::Decimal:
        return value.toDouble();
    case ColumnType::Text:
        return value.toString();
    case ColumnType::Date: {
        const QDate date = value.toDate();
        return date.isValid() ? date.toString(Qt::ISODate) : QString();
    }
    }
    return {};
}

} // namespace korven
