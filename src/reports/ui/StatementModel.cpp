#include "reports/ui/StatementModel.h"

#include "exports/ui/GridExportView.h"
#include "reports/engine/DataView.h"

namespace korven::reports::ui {

StatementModel::StatementModel(QObject* parent) : QAbstractTableModel(parent) {}

void StatementModel::setTable(const ResultTable* table) {
    beginResetModel();
    table_ = table;
    shown_.clear();
    if (table_)
        for (int i = 0; i < table_->fields().size(); ++i)
            if (table_->fields()[i].shown()) shown_ << i;
    endResetModel();
}

void StatementModel::refresh() {
    setTable(table_);
}

void StatementModel::titlesChanged() {
    if (!shown_.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(shown_.size()) - 1);
}

int StatementModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->rowCount();
}

int StatementModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant StatementModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid()) return {};
    const int field = shown_.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return table_->text(index.row(), field);
    case Qt::EditRole:
        return table_->row(index.row()).at(field);
    case Qt::TextAlignmentRole:
        return table_->fields()[field].type == FieldType::Text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                               : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant StatementModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !table_ || section < 0 || section >= shown_.size()) return {};
    const FieldDef& f = table_->fields()[shown_.at(section)];
    if (role == Qt::DisplayRole) return f.title;
    if (role == FieldNameRole) return f.name;
    if (role == exports::ui::FieldTypeRole)
        return static_cast<int>(f.type == FieldType::Integer ? exports::FieldType::Integer
                                : f.type == FieldType::Real  ? exports::FieldType::Float
                                                             : exports::FieldType::Text);
    return {};
}

} // namespace korven::reports::ui
