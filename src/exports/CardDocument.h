#pragma once

#include "exports/GridExport.h"
#include "exports/rules/CardDocuments.h"

#include <QString>

namespace korven::exports {

// Makes a card document: fills a copy of the plan's template from templateFolder (the program's
// folder) and saves it under a new name in the environment's documents folder, then opens it with the
// environment's application. A failure (the template missing, an unreadable template, a failed
// write) leaves no file behind and gives the export failure message followed by the reason.
ExportOutcome makeCardDocument(const FillPlan& plan, const QString& templateFolder,
                               const ExportEnvironment& env = defaultExportEnvironment());

// The same document saved at a path of the caller's choice, without opening it; throws ExportError.
void writeCardDocument(const FillPlan& plan, const QString& templateFolder, const QString& outPath);

} // namespace korven::exports
