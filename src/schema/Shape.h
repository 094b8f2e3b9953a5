#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

namespace korven::schema {

// A column's declared type as the system tables describe it, written the way DDL writes it.
struct ColumnShape {
    bool exists = false;
    QString type; // "CHAR(60)", "DECIMAL(6,3)", "INTEGER", "DATE"
};
ColumnShape columnShape(db::Transaction& t, const QString& table, const QString& column);

// Every column of a table: "NAME TYPE[ NOT NULL][ DEFAULT x]" in field order.
QStringList describeColumns(db::Transaction& t, const QString& table);

// The whole shape of a database as text, for comparing two databases: every table with its columns
// in field order (defaults written alike however their DDL spaced them), every index with its table,
// kind and fields, and every generator.
QStringList describeSchema(db::Transaction& t);

} // namespace korven::schema
