#include "exports/ui/GridExportView.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QTableView>

namespace korven::exports::ui {

FieldType guessFieldType(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Float;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return FieldType::Integer;
    case QMetaType::QDate:
        return FieldType::Date;
    case QMetaType::QDateTime:
        return FieldType::DateTime;
    case QMetaType::QString:
        return FieldType::Text;
    default:
        return FieldType::Other;
    }
}

ExportList exportListFromView(const QTableView& view) {
    ExportList list;
    const QAbstractItemModel* model = view.model();
    if (!model) return list;
    const QHeaderView* header = view.horizontalHeader();
    QList<int> logical;
    for (int visual = 0; visual < header->count(); ++visual)
        logical.append(header->logicalIndex(visual));

    for (int column : logical) {
        ExportColumn c;
        c.title = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        c.fieldName = model->headerData(column, Qt::Horizontal, FieldNameRole).toString();
        if (c.fieldName.isEmpty()) c.fieldName = c.title;
        c.visible = !view.isColumnHidden(column);
        const QVariant type = model->headerData(column, Qt::Horizontal, FieldTypeRole);
        if (type.isValid()) {
            c.type = FieldType(type.toInt());
        } else {
            c.type = FieldType::Text;
            for (int r = 0; r < model->rowCount(); ++r) {
                const QVariant v = model->data(model->index(r, column), Qt::EditRole);
                if (!v.isNull()) {
                    c.type = guessFieldType(v);
                    break;
                }
            }
        }
        list.columns.append(c);
    }
    for (int r = 0; r < model->rowCount(); ++r) {
        QList<QVariant> values;
        for (int column : logical)
            values.append(model->data(model->index(r, column), Qt::EditRole));
        list.rows.append(values);
    }
    const auto mode = view.selectionMode();
    if (view.selectionModel() &&
        (mode == QAbstractItemView::MultiSelection || mode == QAbstractItemView::ExtendedSelection ||
         mode == QAbstractItemView::ContiguousSelection)) {
        QSet<int> selected;
        for (const QModelIndex& index : view.selectionModel()->selectedIndexes())
            selected.insert(index.row());
        if (selected.size() >= 2) {
            list.multiSelect = true;
            list.selectedRows = selected;
        }
    }
    return list;
}

ExportMessage& exportMessageHandler() {
    static ExportMessage handler = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
    };
    return handler;
}

ExportOutcome exportView(QTableView* view, const QString& title, const ExportEnvironment& env) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportOutcome outcome = exportList(exportListFromView(*view), title, 1, 1, env);
    QApplication::restoreOverrideCursor();
    if (!outcome.message.isEmpty()) exportMessageHandler()(view->window(), outcome.message);
    view->setFocus();
    return outcome;
}

} // namespace korven::exports::ui
