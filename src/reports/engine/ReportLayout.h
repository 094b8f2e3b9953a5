#pragma once

#include "reports/engine/DataView.h"
#include "reports/engine/ReportProject.h"

#include <QDateTime>
#include <QMap>
#include <QSizeF>

namespace korven::reports {

// Named text parameters of a print; a value may be empty.
using ReportParameters = QMap<QString, QString>;

// Graphic layout positions bands in millimetres; text layout rounds every band to whole lines of
// 6 lines per inch (at least one), so that the plain text output keeps bands on the line grid.
enum class LayoutMode { Graphic, Text };

inline constexpr double kTextLineMm = 25.4 / 6;  // 6 lines per inch
inline constexpr double kTextCharMm = 25.4 / 10; // 10 characters per inch

// One band on one page: which band, where its top is (mm from the page's top edge), its height
// there and, for a detail band, the data row it shows.
struct PlacedBand {
    BandKind kind;
    double top = 0;
    double height = 0;
    int row = -1;
};

struct ReportPage {
    QList<PlacedBand> bands;
};

// A project laid out over pages with everything needed to render it.
struct ReportDocument {
    ReportProject project;
    Orientation orientation = Orientation::Portrait;
    QSizeF pageSize; // mm, already turned for the orientation
    ReportParameters parameters;
    DataView data;
    QDateTime printedAt;
    LayoutMode mode = LayoutMode::Graphic;
    QList<ReportPage> pages;

    const ReportBand& band(BandKind kind) const { return *project.band(kind); }
};

// Lays the project out: on every page the page header at the top and the page footer at the
// bottom; the report title on the first page; the column header before the first detail row of
// every page; one detail band per data row; the summary after the last row. A band that does not
// fit starts a new page. Throws ReportError when the data view name does not match the project's.
ReportDocument layoutReport(const ReportProject& project, Orientation orientation,
                            const ReportParameters& parameters, const DataView& data,
                            LayoutMode mode = LayoutMode::Graphic, const QDateTime& printedAt = {});

} // namespace korven::reports
