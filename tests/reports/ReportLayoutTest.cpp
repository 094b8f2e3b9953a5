#include "ReportTestData.h"

#include "reports/engine/ReportLayout.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korven::reports;

namespace {

// Checks what every laid-out list must satisfy, whatever its length.
void checkLayout(const ReportDocument& doc, int rows) {
    const ReportProject& p = doc.project;
    const double footerTop =
        doc.pageSize.height() - p.margins.bottom() - doc.band(BandKind::PageFooter).height;
    int nextRow = 0;
    bool summarySeen = false;
    for (int page = 0; page < doc.pages.size(); ++page) {
        SCOPED_TRACE(page);
        const QList<PlacedBand>& bands = doc.pages[page].bands;
        ASSERT_GE(bands.size(), 2);
        EXPECT_EQ(bands.first().kind, BandKind::PageHeader);
        EXPECT_EQ(bands.last().kind, BandKind::PageFooter);
        if (doc.mode == LayoutMode::Graphic) {
            EXPECT_DOUBLE_EQ(bands.last().top, footerTop);
        }
        bool headerSeen = false;
        for (int i = 0; i < bands.size(); ++i) {
            const PlacedBand& b = bands[i];
            if (b.kind != BandKind::PageFooter) {
                EXPECT_LE(b.top + b.height, bands.last().top + 1e-6) << "band runs into the footer";
            }
            if (i > 0 && b.kind != BandKind::PageFooter) {
                EXPECT_NEAR(b.top, bands[i - 1].top + bands[i - 1].height, 1e-6) << "bands follow each other";
            }
            if (doc.mode == LayoutMode::Text) {
                const double lines = b.top / kTextLineMm;
                EXPECT_NEAR(lines, std::round(lines), 1e-6) << "band off the line grid";
            }
            switch (b.kind) {
            case BandKind::Title:
                EXPECT_EQ(page, 0);
                break;
            case BandKind::ColumnHeader:
                headerSeen = true;
                break;
            case BandKind::Detail:
                EXPECT_TRUE(headerSeen) << "row without the column header on its page";
                EXPECT_EQ(b.row, nextRow++);
                break;
            case BandKind::Summary:
                EXPECT_EQ(nextRow, rows);
                summarySeen = true;
                break;
            default:
                break;
            }
        }
        if (headerSeen && !summarySeen) {
            EXPECT_NE(bands[bands.size() - 2].kind, BandKind::ColumnHeader)
                << "column header alone at the foot";
        }
    }
    EXPECT_EQ(nextRow, rows);
    EXPECT_TRUE(summarySeen);
}

TEST(ReportLayout, ListsOfAnyLengthBreakCleanlyOverPages) {
    const ReportProject project = loadProject(korven::test::fixtureProject());
    for (LayoutMode mode : {LayoutMode::Graphic, LayoutMode::Text}) {
        for (int rows :
             {0, 1, 2, 30, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 80, 85, 86, 87, 88, 200}) {
            SCOPED_TRACE(testing::Message() << "rows " << rows << " text " << (mode == LayoutMode::Text));
            const ReportDocument doc =
                layoutReport(project, Orientation::Portrait, {}, korven::test::listRows(rows), mode);
            checkLayout(doc, rows);
        }
    }
}

TEST(ReportLayout, TwoHundredRowsTakeSeveralPages) {
    const ReportDocument doc = layoutReport(loadProject(korven::test::fixtureProject()),
                                            Orientation::Portrait, {}, korven::test::listRows(200));
    // 297 - 24 margins - 6 header - 8 footer = 259 mm; 7 mm header and 6 mm rows: 42 rows a page,
    // 14 mm of title on the first.
    EXPECT_EQ(doc.pages.size(), 5);
}

TEST(ReportLayout, LandscapeTurnsThePage) {
    const ReportDocument doc = layoutReport(loadProject(korven::test::fixtureProject()),
                                            Orientation::Landscape, {}, korven::test::listRows(200));
    EXPECT_NEAR(doc.pageSize.width(), 297, 0.5);
    EXPECT_NEAR(doc.pageSize.height(), 210, 0.5);
    EXPECT_GT(doc.pages.size(), 5);
}

TEST(ReportLayout, DataViewMustBeTheOneTheProjectReads) {
    const ReportProject project = loadProject(korven::test::fixtureProject());
    EXPECT_THROW(layoutReport(project, Orientation::Portrait, {}, korven::test::listRows(3, "RvDataSetInny")),
                 ReportError);
    EXPECT_NO_THROW(
        layoutReport(project, Orientation::Portrait, {}, korven::test::listRows(3, "rvdatasetlista")));
}

} // namespace
