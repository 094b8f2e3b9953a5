#pragma once

#include "exports/GridExport.h"
#include "reports/engine/ReportEngine.h"
#include "reports/rules/Statements.h"

namespace korven::reports {

// The result table as the report engine reads it: every field with its value and display text.
DataView statementDataView(const ResultTable& table, const QString& name, const QLocale& locale = QLocale());

// The print job of a statement: its project, orientation, parameters and the table as data view.
ReportJob statementJob(const ResultTable& table, const PrintSpec& print, const QLocale& locale = QLocale());

// The shown columns of the result table as the grid export writes them.
exports::ExportList statementExportList(const ResultTable& table);

} // namespace korven::reports
