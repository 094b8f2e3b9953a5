#pragma once

#include "reports/engine/ReportLayout.h"

#include <QPageLayout>

class QPagedPaintDevice;

namespace korven::reports {

// The page layout of a document: its paper size and orientation, without device margins (the
// project's margins are part of the layout itself).
QPageLayout pageLayout(const ReportDocument& doc);

// The text an item shows on a page (0-based) for a data row (-1 outside the detail band).
QString itemText(const ReportDocument& doc, const ReportItem& item, int page, int row);

// Paints every page on a paged device (a printer, the preview's printer, a PDF writer) whose page
// layout is pageLayout(doc) and whose painting starts at the corner of the paper.
void paintReport(const ReportDocument& doc, QPagedPaintDevice& device);

// Writes the document as PDF at 300 dpi. Throws ReportError when the file cannot be written.
void writePdf(const ReportDocument& doc, const QString& path);

// Writes each page as a PNG picture at the given resolution on a white ground: the first page under
// the path, a further page n under the same name with "-n" before the suffix. Each file appears
// complete or not at all. Throws ReportError when a file cannot be written.
void writePng(const ReportDocument& doc, const QString& path, int dpi = 150);

// One HTML page holding every page of the document, items placed in millimetres; pictures are
// embedded.
QString renderHtml(const ReportDocument& doc);

// Plain text at 10 characters and 6 lines per inch; pages are separated by a form feed. The
// document should be laid out in LayoutMode::Text.
QString renderText(const ReportDocument& doc);

} // namespace korven::reports
