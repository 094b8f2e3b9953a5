#include "reports/engine/ReportLayout.h"

#include "core/Clock.h"

#include <algorithm>
#include <cmath>

namespace korven::reports {

namespace {

// A band keeps the nearest whole number of text lines, at least one.
double snapBand(double mm) {
    if (mm <= 0) return 0;
    return std::max(1.0, std::round(mm / kTextLineMm)) * kTextLineMm;
}

double snapNearest(double mm) {
    return std::round(mm / kTextLineMm) * kTextLineMm;
}

class Paginator {
public:
    Paginator(ReportDocument& doc) : doc_(doc) {
        const QMarginsF& m = doc.project.margins;
        top_ = m.top();
        bottom_ = doc.pageSize.height() - m.bottom();
        if (doc.mode == LayoutMode::Text) {
            top_ = snapNearest(top_);
            bottom_ = std::floor(bottom_ / kTextLineMm + 1e-6) * kTextLineMm;
        }
        footer_ = height(BandKind::PageFooter);
    }

    double height(BandKind kind) const {
        const ReportBand* band = doc_.project.band(kind);
        if (!band) return 0;
        return doc_.mode == LayoutMode::Text ? snapBand(band->height) : band->height;
    }

    void startPage() {
        doc_.pages.append(ReportPage{});
        y_ = top_;
        bandsOnPage_ = 0;
        place(BandKind::PageHeader);
        bandsOnPage_ = 0;
    }

    void finishPage() {
        if (doc_.project.band(BandKind::PageFooter))
            doc_.pages.last().bands.append(PlacedBand{BandKind::PageFooter, bottom_ - footer_, footer_, -1});
    }

    bool fits(double h) const { return y_ + h <= bottom_ - footer_ + 1e-6 || bandsOnPage_ == 0; }

    // Places a band, starting a new page first when it does not fit. A band taller than an empty
    // page is placed anyway, so that layout always ends.
    // keepWith is the height of what must follow on the same page (the first row after the column
    // header), so that a header never stands alone at the foot of a page.
    void placeFlowing(BandKind kind, int row = -1, bool headerAfterBreak = false, double keepWith = 0) {
        if (!doc_.project.band(kind)) return;
        if (!fits(height(kind) + keepWith)) {
            finishPage();
            startPage();
            if (headerAfterBreak) place(BandKind::ColumnHeader);
        }
        place(kind, row);
    }

    void place(BandKind kind, int row = -1) {
        if (!doc_.project.band(kind)) return;
        const double h = height(kind);
        doc_.pages.last().bands.append(PlacedBand{kind, y_, h, row});
        y_ += h;
        if (kind != BandKind::ColumnHeader) ++bandsOnPage_;
    }

private:
    ReportDocument& doc_;
    double top_ = 0;
    double bottom_ = 0;
    double footer_ = 0;
    double y_ = 0;
    int bandsOnPage_ = 0; // bands other than the page and column headers on the current page
};

} // namespace

ReportDocument layoutReport(const ReportProject& project, Orientation orientation,
                            const ReportParameters& parameters, const DataView& data, LayoutMode mode,
                            const QDateTime& printedAt) {
    const bool hasDetail = project.band(BandKind::Detail) != nullptr;
    if (hasDetail && !project.dataView.isEmpty() && !data.name.isEmpty() &&
        data.name.compare(project.dataView, Qt::CaseInsensitive) != 0)
        throw ReportError(QStringLiteral("Raport %1 czyta widok danych %2, a otrzymał %3")
                              .arg(project.path, project.dataView, data.name));

    ReportDocument doc;
    doc.project = project;
    doc.orientation = orientation;
    doc.parameters = parameters;
    doc.data = data;
    doc.mode = mode;
    doc.printedAt = printedAt.isValid() ? printedAt : korven::now();
    QSizeF size = QPageSize(project.pageSize).size(QPageSize::Millimeter);
    if (orientation == Orientation::Landscape) size.transpose();
    doc.pageSize = size;

    Paginator pages(doc);
    pages.startPage();
    pages.place(BandKind::Title);
    pages.placeFlowing(BandKind::ColumnHeader, -1, false,
                       hasDetail && !data.rows.isEmpty() ? pages.height(BandKind::Detail) : 0);
    if (hasDetail)
        for (int r = 0; r < data.rows.size(); ++r)
            pages.placeFlowing(BandKind::Detail, r, true);
    pages.placeFlowing(BandKind::Summary);
    pages.finishPage();
    return doc;
}

} // namespace korven::reports
