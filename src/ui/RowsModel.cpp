#include "ui/RowsModel.h"

#include <QFont>

namespace korven::ui {

RowsModel::RowsModel(QList<ListColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void RowsModel::setRows(db::Rows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void RowsModel::setColumns(QList<ListColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

const db::Row* RowsModel::row(int index) const {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(index)];
}

int RowsModel::find(const QString& field, const db::Value& value) const {
    const QString wanted = value.toText();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].has(field) && rows_[i][field].toText() == wanted) return static_cast<int>(i);
    return -1;
}

int RowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_.size();
}

QString RowsModel::displayText(int r, int c) const {
    const db::Row* row = this->row(r);
    if (!row || c < 0 || c >= columns_.size() || !row->has(columns_[c].field)) return QString();
    const db::Value& v = (*row)[columns_[c].field];
    if (columns_[c].format) return columns_[c].format(v);
    if (v.kind() == db::Value::Kind::Date) return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return v.toText();
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const ListColumn& col = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::EditRole: {
        const db::Row* row = this->row(index.row());
        return row && row->has(col.field) ? toVariant((*row)[col.field]) : QVariant();
    }
    case Qt::BackgroundRole:
        return col.background.isValid() ? QVariant(col.background) : QVariant();
    case Qt::FontRole:
        if (col.bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        return QVariant(col.alignment);
    default:
        return QVariant();
    }
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const ListColumn& col = columns_[section];
    switch (role) {
    case Qt::DisplayRole:
        return col.title;
    case Qt::UserRole:
        return col.field;
    case Qt::UserRole + 1:
        return static_cast<int>(col.type);
    default:
        return QVariant();
    }
}

exports::FieldType exportTypeOf(ColumnType type) {
    switch (type) {
    case ColumnType::Integer:
        return exports::FieldType::Integer;
    case ColumnType::Decimal:
        return exports::FieldType::Decimal;
    case ColumnType::Date:
        return exports::FieldType::Date;
    case ColumnType::Text:
        return exports::FieldType::Text;
    }
    return exports::FieldType::Text;
}

db::Rows rowsOf(const QStringList& names, const std::vector<db::Params>& records) {
    auto shared = std::make_shared<QStringList>(names);
    db::Rows rows;
    rows.reserve(records.size());
    for (const db::Params& params : records) {
        std::vector<db::Value> values;
        values.reserve(static_cast<std::size_t>(names.size()));
        for (const QString& name : names) {
            const db::Value* v = params.find(name);
            values.push_back(v ? *v : db::Value());
        }
        rows.emplace_back(shared, std::move(values));
    }
    return rows;
}

} // namespace korven::ui
