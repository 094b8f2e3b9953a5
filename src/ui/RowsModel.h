#pragma once

#include "core/Columns.h"
#include "db/Database.h"
#include "exports/GridExport.h"

#include <QAbstractTableModel>
#include <QColor>

#include <functional>

namespace korven::ui {

// One column of a list grid: the bound field, its caption and how it looks.
struct ListColumn {
    QString field;
    QString title;
    QColor background; // invalid: the grid's own
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int width = 0; // characters; 0: from the title and the values
    bool visible = true;
    exports::FieldType type = exports::FieldType::Text; // what the export writes for it
    // The text shown for a value; empty: the value's plain text.
    std::function<QString(const db::Value&)> format;
};

// Pale colours the lists use to mark their key and main columns.
inline QColor paleYellow() {
    return QColor(0xff, 0xff, 0xc8);
}
inline QColor paleGreen() {
    return QColor(0xd8, 0xf5, 0xd8);
}
inline QColor yellow() {
    return QColor(0xff, 0xff, 0x80);
}

// A read-only table of database rows with configured columns. The header answers the field name
// (Qt::UserRole) and the export type (Qt::UserRole + 1), so reports and the spreadsheet export can
// read any list.
class RowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RowsModel(QList<ListColumn> columns, QObject* parent = nullptr);

    void setRows(db::Rows rows);
    void setColumns(QList<ListColumn> columns);
    const db::Rows& rows() const { return rows_; }
    const QList<ListColumn>& columns() const { return columns_; }
    const db::Row* row(int index) const;
    // The first row whose field equals the value, or -1.
    int find(const QString& field, const db::Value& value) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    QString displayText(int row, int column) const;

private:
    QList<ListColumn> columns_;
    db::Rows rows_;
};

// Plain conversions of database values for display and export.
inline QVariant toVariant(const db::Value& value) {
    return value.toVariant();
}

// What the spreadsheet export writes for a column of that type.
exports::FieldType exportTypeOf(ColumnType type);

// Rows of a list made from records that are not read as they stand (a register that shows its own
// records): one row per parameter set, the columns in the order of `names`.
db::Rows rowsOf(const QStringList& names, const std::vector<db::Params>& records);

} // namespace korven::ui
