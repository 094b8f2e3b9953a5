#pragma once

#include <QColor>
#include <QList>
#include <QMarginsF>
#include <QPageSize>
#include <QRectF>
#include <QString>

#include <stdexcept>

namespace korven::reports {

// Report project files (*.rav) are XML:
//
//   <report title="..." dataView="RvDataSet..." page="A4|A3|A5|Letter" orientation="portrait|landscape"
//           margins="left,top,right,bottom" font="DejaVu Sans" size="9">
//     <band kind="title|pageHeader|columnHeader|detail|summary|pageFooter" height="mm">
//       <text .../>static text</text>   <param name="firma" format="Firma: %1" .../>
//       <field name="NAZWA" .../>         <image name="logo" .../> or <image file="herb.png" .../>
//       <box .../>   <line x1 y1 x2 y2 lineWidth color/>   <pageNumber format="Strona %1 z %2" .../>
//       <printDate format="yyyy-MM-dd" .../>
//     </band>
//   </report>
//
// Items take x, y, width, height (mm, from the band's top left corner inside the margins) and
// font, size, bold, italic, align (left|center|right), valign (top|center|bottom), wrap, border,
// padding (mm), lineWidth (mm), color and fill. Unknown elements and attributes are errors, so a
// misspelt attribute is found when the project is first read.

// A failure of the report engine; text() is the message shown to the operator.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// The project file asked for does not exist; the message names its full path.
class ProjectMissingError : public ReportError {
public:
    explicit ProjectMissingError(const QString& path);
    const QString& path() const { return path_; }

private:
    QString path_;
};

enum class Orientation { Portrait, Landscape };

enum class BandKind { Title, PageHeader, ColumnHeader, Detail, Summary, PageFooter };

enum class ItemKind {
    Text,       // static text
    Parameter,  // a named text parameter of the print
    Field,      // the display text of a field of the current data row
    Image,      // a picture from a file, or from a path given as parameter (the logo)
    Line,       // a straight line from (x1, y1) to (x2, y2)
    Box,        // a rectangle, optionally filled
    PageNumber, // "%1" the page number, "%2" the number of pages
    PrintDate,  // the date and time of printing in the given format
};

struct ReportFont {
    QString family = QStringLiteral("DejaVu Sans");
    double pointSize = 9;
    bool bold = false;
    bool italic = false;
};

// One item of a band. Positions and sizes are millimetres from the band's top left corner; a line
// runs from rect.topLeft() to rect.bottomRight().
struct ReportItem {
    ItemKind kind = ItemKind::Text;
    QRectF rect;
    QString text; // static text; for parameters, fields, page numbers and dates the format
    QString name; // parameter or field name; for images the parameter holding the path
    QString file; // image file, relative to the project's folder
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap = false;
    bool border = false; // frame around a text item
    double padding = 0;  // mm between the frame and the text
    double lineWidth = 0.2;
    QColor color = Qt::black;
    QColor fill; // invalid: no fill
};

struct ReportBand {
    BandKind kind = BandKind::Detail;
    double height = 0;
    QList<ReportItem> items;
};

struct ReportProject {
    QString path;
    QString title;
    QString dataView; // the data view name the detail band reads; empty for none
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    Orientation orientation = Orientation::Portrait;
    QMarginsF margins{15, 12, 15, 12}; // left, top, right, bottom in mm
    QList<ReportBand> bands;

    const ReportBand* band(BandKind kind) const;
};

// Reads a project file. Throws ProjectMissingError when the file does not exist and ReportError,
// naming the file and line, when it cannot be read.
ReportProject loadProject(const QString& path);
ReportProject parseProject(const QByteArray& xml, const QString& path);

} // namespace korven::reports
