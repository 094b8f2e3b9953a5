#pragma once

#include "exports/GridExport.h"
#include "exports/rules/CardDocuments.h"

#include <QByteArray>
#include <QString>

namespace korven::exports {

// The cell address "AB16" as a 1-based column and row; false for anything that is not one.
bool parseCellRef(const QString& ref, int& column, int& row);
QString cellRef(int column, int row);

// Fills the first sheet of an xlsx workbook held in memory and returns the filled workbook: each
// step's font (Times New Roman, bold, the step's size and the plan's colour) is applied to the
// step's cells, keeping the rest of each cell's format, and its value is written as text.
// Everything else of the workbook stays as it was: texts, merged cells, borders, widths, page set-up,
// other sheets. Throws ExportError with the reason when the workbook cannot be read.
QByteArray fillWorkbook(const QByteArray& workbook, const FillPlan& plan);

// Fills a copy of the template file and saves it at outPath. The copy is written beside outPath under
// a temporary name and renamed only when complete, so outPath holds either nothing (or what it held)
// or the whole document. A missing template, an unreadable workbook and a failed write throw
// ExportError.
void fillTemplateFile(const QString& templatePath, const FillPlan& plan, const QString& outPath);

} // namespace korven::exports
