#pragma once

#include "reports/rules/ResultTable.h"

#include <QAbstractTableModel>

namespace korven::reports::ui {

// The grid of a report window over its result table: the shown fields as columns, display texts
// for showing, values for the export (edit role), field names and export types in the header.
class StatementModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatementModel(QObject* parent = nullptr);

    void setTable(const ResultTable* table);
    // Tells the grid that the table's rows or titles changed.
    void refresh();
    void titlesChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ResultTable* table_ = nullptr;
    QList<int> shown_; // the table's field index of each column
};

} // namespace korven::reports::ui
