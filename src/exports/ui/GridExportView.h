#pragma once

#include "exports/GridExport.h"

#include <QAbstractItemModel>

class QTableView;
class QWidget;

namespace korven::exports::ui {

// Header roles a list model may answer for its columns: the bound field's name (falls back to the
// caption) and its FieldType as int (falls back to a guess from the column's values).
inline constexpr int FieldNameRole = Qt::UserRole;
inline constexpr int FieldTypeRole = Qt::UserRole + 1;

// The kind of field a value suggests: double is Float, whole numbers are Integer, dates are Date.
FieldType guessFieldType(const QVariant& value);

// Describes a table view for the export: its columns in display order with their captions,
// hidden flags, fields and types, and the stored (edit role) values of every row. Selected rows
// count when the view allows selecting several rows and at least two are selected, since the
// current row of a view is always selected by itself.
ExportList exportListFromView(const QTableView& view);

// Shows the export's message to the operator; replaceable for tests and the program's general
// message service.
using ExportMessage = std::function<void(QWidget* parent, const QString& text)>;
ExportMessage& exportMessageHandler();

// "&Export Excel" of a list window: exports the view under the title, shows a failure message,
// and puts the focus back on the view.
ExportOutcome exportView(QTableView* view, const QString& title,
                         const ExportEnvironment& env = defaultExportEnvironment());

} // namespace korven::exports::ui
