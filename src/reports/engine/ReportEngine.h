#pragma once

#include "reports/engine/ReportLayout.h"

#include <optional>

namespace korven::reports {

enum class OutputFormat { Pdf, Html, Text, Png };

// "Adobe Acrobat (PDF)", "Web Page (HTML)", "Plain Text (TXT)", "Obraz (PNG)".
QString formatCaption(OutputFormat format);
// "pdf", "html", "txt", "png".
QString formatSuffix(OutputFormat format);
// The format of a suffix or name ("pdf", "html", "txt", "png"), if there is one.
std::optional<OutputFormat> formatFromName(const QString& name);

// The folder of report projects: "raporty" in the program's folder.
QString reportsFolder();

// One print as a window asks for it: the project file, the orientation, the parameters and the
// data view. A window fills a job and hands it to the print flow of the report dialogs, or a test
// or the command-line tool renders it straight to a file.
struct ReportJob {
    QString projectFile;                    // a name inside reportsFolder(), or an absolute path
    std::optional<Orientation> orientation; // unset: the project's own
    ReportParameters parameters;
    DataView data;       // no name and no rows: the project prints without a data view
    QDateTime printedAt; // invalid: now

    // The full path of the project file, rebuilt on every call.
    QString projectPath() const;
};

// Loads the project of a job and lays it out. Throws ProjectMissingError or ReportError.
ReportDocument buildReport(const ReportJob& job, LayoutMode mode = LayoutMode::Graphic);

// Renders a job into a file of the given format. Throws ProjectMissingError or ReportError.
void renderToFile(const ReportJob& job, OutputFormat format, const QString& path);

} // namespace korven::reports
