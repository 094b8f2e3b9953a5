#pragma once

#include "core/Columns.h"
#include "db/Value.h"

namespace korven::db {

// A column's value as a statement parameter: decimals exact at the column's scale, texts cut to the
// column's width.
inline Value columnParam(const QVariant& value, const ColumnShape& column) {
    switch (column.type) {
    case ColumnType::Integer:
        return Value(value.toInt());
    case ColumnType::Decimal:
        return Value(Decimal::fromDouble(value.toDouble(), column.scale));
    case ColumnType::Text:
        return Value(value.toString().left(column.precision));
    case ColumnType::Date:
        return Value(value.toDate());
    }
    return {};
}

// A value read from the column as the records hold it: null stays null (0 or no date once assigned),
// texts trimmed.
inline QVariant columnVariant(const Value& value, const ColumnShape& column) {
    if (value.isNull()) return {};
    switch (column.type) {
    case ColumnType::Integer:
        return static_cast<int>(value.toInt());
    case ColumnType::Decimal:
        return value.toDouble();
    case ColumnType::Text:
        return value.toText().trimmed();
    case ColumnType::Date:
        return value.toDate();
    }
    return {};
}

} // namespace korven::db
