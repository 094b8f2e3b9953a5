#pragma once

#include "core/Decimal.h"

#include <QDate>
#include <QJsonValue>
#include <QString>
#include <QVariant>

#include <variant>

namespace korven {

// The columns of the card tables as the records, the statements, the command line and the windows
// see them: a type, a declared precision (the width of a text) and a scale, and where the value lives
// in the record. A record's column is a std::variant of member pointers, one alternative per type of
// member (int, Decimal<scale>, QString, QDate); the helpers below read and assign any of them.

enum class ColumnType { Integer, Decimal, Text, Date };

struct ColumnShape {
    const char* name;
    ColumnType type;
    int precision;
    int scale;
};

// Largest magnitude a decimal or integer column can store: the columns are 32-bit scaled integers.
double columnLimit(const ColumnShape& column);

// A member's value: int, double, QString or QDate (a null date gives an invalid QDate).
inline QVariant plainValue(int v) {
    return QVariant(v);
}
template <int Scale> QVariant plainValue(Decimal<Scale> v) {
    return QVariant(v.value());
}
inline QVariant plainValue(const QString& v) {
    return QVariant(v);
}
inline QVariant plainValue(const QDate& v) {
    return QVariant(v);
}

// Assigns a value checked for the column's type: a null number is 0, a null date invalid; decimals are
// rounded to their scale. False, leaving the member as it was, when the value cannot be converted.
bool assignValue(int& member, const QVariant& value, const ColumnShape& column);
bool assignNumber(double& out, const QVariant& value);
template <int Scale> bool assignValue(Decimal<Scale>& member, const QVariant& value, const ColumnShape&) {
    double d = 0;
    if (!assignNumber(d, value)) return false;
    member = d;
    return true;
}
bool assignValue(QString& member, const QVariant& value, const ColumnShape& column);
bool assignValue(QDate& member, const QVariant& value, const ColumnShape& column);

template <class Record, class... Members>
QVariant recordValue(const Record& record, const std::variant<Members...>& field) {
    return std::visit([&](auto member) { return plainValue(record.*member); }, field);
}

template <class Record, class... Members>
bool setRecordValue(Record& record, const std::variant<Members...>& field, const ColumnShape& column,
                    const QVariant& value) {
    return std::visit([&](auto member) { return assignValue(record.*member, value, column); }, field);
}

// A column's value in JSON: numbers as numbers at their scale, texts as they are, dates as
// year-month-day (empty text for no date).
QJsonValue jsonValue(const QVariant& value, ColumnType type);

} // namespace korven
