#include "reports/engine/ReportRender.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace korven::reports {

QPageLayout pageLayout(const ReportDocument& doc) {
    return QPageLayout(QPageSize(doc.project.pageSize),
                       doc.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QString itemText(const ReportDocument& doc, const ReportItem& item, int page, int row) {
    QString text = item.text;
    switch (item.kind) {
    case ItemKind::Text:
        return text;
    case ItemKind::Parameter:
        return text.replace(QLatin1String("%1"), doc.parameters.value(item.name));
    case ItemKind::Field:
        if (row < 0 || row >= doc.data.rows.size()) return {};
        return text.replace(QLatin1String("%1"), doc.data.rows[row].text(item.name));
    case ItemKind::PageNumber:
        return text.replace(QLatin1String("%1"), QString::number(page + 1))
            .replace(QLatin1String("%2"), QString::number(doc.pages.size()));
    case ItemKind::PrintDate:
        return doc.printedAt.toString(text);
    default:
        return {};
    }
}

namespace {

// The file an image item shows: its own file beside the project, or the path given as parameter,
// taken relative to the program's folder (the project folder's parent) when it is not absolute.
QString imagePath(const ReportDocument& doc, const ReportItem& item) {
    const QDir projectDir = QFileInfo(doc.project.path).absoluteDir();
    if (!item.file.isEmpty()) return projectDir.absoluteFilePath(item.file);
    const QString value = doc.parameters.value(item.name).trimmed();
    if (value.isEmpty()) return {};
    const QString path = QDir::fromNativeSeparators(value);
    if (QFileInfo(path).isAbsolute()) return path;
    QDir programDir = projectDir;
    programDir.cdUp();
    return programDir.absoluteFilePath(path);
}

class ImageCache {
public:
    const QImage& get(const QString& path) {
        auto it = images_.find(path);
        if (it == images_.end()) it = images_.insert(path, path.isEmpty() ? QImage() : QImage(path));
        return it.value();
    }

private:
    QHash<QString, QImage> images_;
};

template <typename F> void forEachItem(const ReportDocument& doc, int page, F&& f) {
    for (const PlacedBand& placed : doc.pages[page].bands) {
        const ReportBand& band = doc.band(placed.kind);
        for (const ReportItem& item : band.items)
            f(placed, item);
    }
}

QFont makeFont(const ReportFont& f) {
    QFont font(f.family);
    font.setPointSizeF(f.pointSize);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

void paintPage(const ReportDocument& doc, int page, QPainter& painter, double dotsPerMm, ImageCache& images) {
    const double left = doc.project.margins.left();
    auto toDevice = [&](const QRectF& mm, double top) {
        return QRectF((left + mm.x()) * dotsPerMm, (top + mm.y()) * dotsPerMm, mm.width() * dotsPerMm,
                      mm.height() * dotsPerMm);
    };
    forEachItem(doc, page, [&](const PlacedBand& placed, const ReportItem& item) {
        const QRectF rect = toDevice(item.rect, placed.top);
        QPen pen(item.color, std::max(1.0, item.lineWidth * dotsPerMm));
        switch (item.kind) {
        case ItemKind::Line:
            painter.setPen(pen);
            painter.drawLine(rect.topLeft(), rect.bottomRight());
            return;
        case ItemKind::Box:
            painter.setPen(pen);
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(rect);
            painter.setBrush(Qt::NoBrush);
            return;
        case ItemKind::Image: {
            const QImage& image = images.get(imagePath(doc, item));
            if (image.isNull()) return;
            QSizeF size = image.size();
            size.scale(rect.size(), Qt::KeepAspectRatio);
            QRectF target(QPointF(), size);
            target.moveCenter(rect.center());
            if (item.alignment & Qt::AlignLeft)
                target.moveLeft(rect.left());
            else if (item.alignment & Qt::AlignRight)
                target.moveRight(rect.right());
            painter.drawImage(target, image);
            return;
        }
        default:
            break;
        }
        if (item.fill.isValid()) painter.fillRect(rect, item.fill);
        if (item.border) {
            painter.setPen(pen);
            painter.drawRect(rect);
        }
        painter.setPen(item.color);
        painter.setFont(makeFont(item.font));
        const double pad = item.padding * dotsPerMm;
        const int flags = int(item.alignment) | (item.wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
        painter.drawText(rect.adjusted(pad, 0, -pad, 0), flags, itemText(doc, item, page, placed.row));
    });
}

QString mm(double value) {
    return QString::number(value, 'f', 2) + QLatin1String("mm");
}

QString htmlFont(const ReportFont& f) {
    return QStringLiteral("font-family:'%1';font-size:%2pt;font-weight:%3;font-style:%4")
        .arg(f.family)
        .arg(f.pointSize)
        .arg(f.bold ? QLatin1String("bold") : QLatin1String("normal"))
        .arg(f.italic ? QLatin1String("italic") : QLatin1String("normal"));
}

QString imageDataUri(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes = file.readAll();
    QString mime =
        QStringLiteral("image/") + (suffix == QLatin1String("jpg") ? QStringLiteral("jpeg") : suffix);
    if (suffix == QLatin1String("bmp")) {
        // Browsers differ on BMP; convert to PNG.
        QImage image;
        if (!image.loadFromData(bytes)) return {};
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        bytes = buffer.data();
        mime = QStringLiteral("image/png");
    }
    return QStringLiteral("data:%1;base64,%2").arg(mime, QString::fromLatin1(bytes.toBase64()));
}

} // namespace

void paintReport(const ReportDocument& doc, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) throw ReportError(QStringLiteral("Nie można rozpocząć wydruku."));
    painter.setRenderHint(QPainter::Antialiasing);
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    ImageCache images;
    for (int page = 0; page < doc.pages.size(); ++page) {
        if (page > 0) device.newPage();
        paintPage(doc, page, painter, dotsPerMm, images);
    }
    painter.end();
}

void writePdf(const ReportDocument& doc, const QString& path) {
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw ReportError(QStringLiteral("Nie można zapisać pliku %1: %2")
                                  .arg(QDir::toNativeSeparators(path), probe.errorString()));
    }
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setPageLayout(pageLayout(doc));
    writer.setTitle(doc.project.title);
    writer.setCreator(QStringLiteral("KORVEN"));
    paintReport(doc, writer);
}

void writePng(const ReportDocument& doc, const QString& path, int dpi) {
    const QSizeF paperMm = pageLayout(doc).fullRect(QPageLayout::Millimeter).size();
    const double dotsPerMm = dpi / 25.4;
    const QSize pixels(qRound(paperMm.width() * dotsPerMm), qRound(paperMm.height() * dotsPerMm));
    const QFileInfo info(path);
    ImageCache images;
    for (int page = 0; page < doc.pages.size(); ++page) {
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::white);
        const int dotsPerMetre = qRound(dotsPerMm * 1000.0);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            paintPage(doc, page, painter, dotsPerMm, images);
        }
        const QString target =
            page == 0 ? path
                      : info.dir().filePath(
                            QStringLiteral("%1-%2.%3")
                                .arg(info.completeBaseName())
                                .arg(page + 1)
                                .arg(info.suffix().isEmpty() ? QStringLiteral("png") : info.suffix()));
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
            throw ReportError(QStringLiteral("Nie można zapisać pliku %1: %2")
                                  .arg(QDir::toNativeSeparators(target), file.errorString()));
    }
}

QString renderHtml(const ReportDocument& doc) {
    QString html;
    QTextStream out(&html);
    out << "<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
        << doc.project.title.toHtmlEscaped() << "</title>\n<style>\n"
        << "body{background:#808080;margin:0;padding:4mm 0}\n"
        << ".page{position:relative;background:#fff;margin:0 auto 4mm auto;overflow:hidden}\n"
        << ".i{position:absolute;box-sizing:border-box;display:flex;overflow:hidden;white-space:nowrap}\n"
        << ".w{white-space:normal}\n"
        << "svg{position:absolute;left:0;top:0}\n"
        << "@media print{body{background:none;padding:0}.page{margin:0;page-break-after:always}}\n"
        << "</style>\n</head>\n<body>\n";
    const double left = doc.project.margins.left();
    QHash<QString, QString> images;
    for (int page = 0; page < doc.pages.size(); ++page) {
        out << "<div class=\"page\" style=\"width:" << mm(doc.pageSize.width())
            << ";height:" << mm(doc.pageSize.height()) << "\">\n";
        QString lines;
        forEachItem(doc, page, [&](const PlacedBand& placed, const ReportItem& item) {
            const double x = left + item.rect.x();
            const double y = placed.top + item.rect.y();
            if (item.kind == ItemKind::Line) {
                lines += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" "
                                        "stroke-width=\"%6\"/>\n")
                             .arg(x)
                             .arg(y)
                             .arg(left + item.rect.right())
                             .arg(placed.top + item.rect.bottom())
                             .arg(item.color.name())
                             .arg(item.lineWidth);
                return;
            }
            const QString box = QStringLiteral("left:%1;top:%2;width:%3;height:%4")
                                    .arg(mm(x), mm(y), mm(item.rect.width()), mm(item.rect.height()));
            if (item.kind == ItemKind::Box) {
                out << "<div class=\"i\" style=\"" << box << ";border:" << mm(item.lineWidth) << " solid "
                    << item.color.name()
                    << (item.fill.isValid() ? QStringLiteral(";background:") + item.fill.name() : QString())
                    << "\"></div>\n";
                return;
            }
            if (item.kind == ItemKind::Image) {
                const QString path = imagePath(doc, item);
                if (!images.contains(path)) images.insert(path, imageDataUri(path));
                if (!images.value(path).isEmpty())
                    out << "<img class=\"i\" style=\"" << box << ";object-fit:contain\" src=\""
                        << images.value(path) << "\" alt=\"\">\n";
                return;
            }
            const Qt::Alignment a = item.alignment;
            const char* justify = a & Qt::AlignRight     ? "flex-end"
                                  : a & Qt::AlignHCenter ? "center"
                                                         : "flex-start";
            const char* textAlign = a & Qt::AlignRight ? "right" : a & Qt::AlignHCenter ? "center" : "left";
            const char* valign = a & Qt::AlignBottom ? "flex-end"
                                 : a & Qt::AlignTop  ? "flex-start"
                                                     : "center";
            out << "<div class=\"i" << (item.wrap ? " w" : "") << "\" style=\"" << box << ";"
                << htmlFont(item.font) << ";color:" << item.color.name() << ";justify-content:" << justify
                << ";align-items:" << valign << ";text-align:" << textAlign << ";padding:0 "
                << mm(item.padding);
            if (item.border) out << ";border:" << mm(item.lineWidth) << " solid " << item.color.name();
            if (item.fill.isValid()) out << ";background:" << item.fill.name();
            out << "\"><span>" << itemText(doc, item, page, placed.row).toHtmlEscaped() << "</span></div>\n";
        });
        if (!lines.isEmpty())
            out << "<svg width=\"" << mm(doc.pageSize.width()) << "\" height=\"" << mm(doc.pageSize.height())
                << "\" viewBox=\"0 0 " << doc.pageSize.width() << ' ' << doc.pageSize.height() << "\">\n"
                << lines << "</svg>\n";
        out << "</div>\n";
    }
    out << "</body>\n</html>\n";
    return html;
}

namespace {

// Splits text into lines of at most width characters, breaking at blanks where it can.
QStringList wrapText(const QString& text, int width) {
    QStringList lines;
    QString current;
    for (const QString& word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString w = word;
        while (w.size() > width) {
            if (!current.isEmpty()) {
                lines.append(current);
                current.clear();
            }
            lines.append(w.left(width));
            w = w.mid(width);
        }
        if (current.isEmpty())
            current = w;
        else if (current.size() + 1 + w.size() <= width)
            current += QLatin1Char(' ') + w;
        else {
            lines.append(current);
            current = w;
        }
    }
    if (!current.isEmpty()) lines.append(current);
    return lines;
}

int toColumn(double mmValue) {
    return int(std::lround(mmValue / kTextCharMm));
}
int toLine(double mmValue) {
    return int(std::lround(mmValue / kTextLineMm));
}

} // namespace

QString renderText(const ReportDocument& doc) {
    const int pageColumns = int(std::floor(doc.pageSize.width() / kTextCharMm + 1e-6));
    const int pageLines = int(std::floor(doc.pageSize.height() / kTextLineMm + 1e-6));
    const double left = doc.project.margins.left();
    QStringList pages;
    for (int page = 0; page < doc.pages.size(); ++page) {
        QList<QString> grid(pageLines, QString(pageColumns, QLatin1Char(' ')));
        auto put = [&](int line, int column, const QString& text) {
            if (line < 0 || line >= pageLines) return;
            for (int i = 0; i < text.size(); ++i)
                if (column + i >= 0 && column + i < pageColumns) grid[line][column + i] = text[i];
        };
        forEachItem(doc, page, [&](const PlacedBand& placed, const ReportItem& item) {
            const int bandLine = toLine(placed.top);
            const int bandLines = std::max(1, toLine(placed.height));
            auto lineInBand = [&](double y) { return bandLine + std::clamp(toLine(y), 0, bandLines - 1); };
            if (item.kind == ItemKind::Line) {
                if (std::abs(item.rect.top() - item.rect.bottom()) > 0.01)
                    return; // only horizontal lines have a text form
                const int from = toColumn(left + std::min(item.rect.left(), item.rect.right()));
                const int to = toColumn(left + std::max(item.rect.left(), item.rect.right()));
                put(lineInBand(item.rect.top()), from, QString(std::max(1, to - from), QLatin1Char('-')));
                return;
            }
            if (item.kind == ItemKind::Box || item.kind == ItemKind::Image) return;
            const int column = toColumn(left + item.rect.left());
            int width = toColumn(left + item.rect.right()) - column;
            if (item.border && width > 1) --width; // a blank between neighbouring table cells
            if (width < 1) return;
            const int first = lineInBand(item.rect.top());
            const int height = std::clamp(toLine(item.rect.height()), 1, bandLine + bandLines - first);
            const QString text = itemText(doc, item, page, placed.row);
            QStringList lines =
                item.wrap ? wrapText(text, width) : QStringList{text.simplified().left(width)};
            if (lines.size() > height) lines = lines.mid(0, height);
            int line = first;
            if (item.alignment & Qt::AlignBottom)
                line = first + height - lines.size();
            else if (item.alignment & Qt::AlignVCenter)
                line = first + (height - lines.size()) / 2;
            for (const QString& l : lines) {
                int offset = 0;
                if (item.alignment & Qt::AlignRight)
                    offset = width - l.size();
                else if (item.alignment & Qt::AlignHCenter)
                    offset = (width - l.size()) / 2;
                put(line++, column + offset, l);
            }
        });
        int last = pageLines - 1;
        while (last >= 0 && grid[last].trimmed().isEmpty())
            --last;
        QStringList lines;
        for (int i = 0; i <= last; ++i) {
            QString l = grid[i];
            while (l.endsWith(QLatin1Char(' ')))
                l.chop(1);
            lines.append(l);
        }
        pages.append(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
    return pages.join(QLatin1Char('\f'));
}

} // namespace korven::reports
