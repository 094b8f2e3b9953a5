#include "reports/engine/ReportProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

namespace korven::reports {

ProjectMissingError::ProjectMissingError(const QString& path)
    : ReportError(QStringLiteral("Nie znaleziono pliku raportu:\n%1").arg(QDir::toNativeSeparators(path))),
      path_(path) {}

const ReportBand* ReportProject::band(BandKind kind) const {
    for (const ReportBand& b : bands)
        if (b.kind == kind) return &b;
    return nullptr;
}

namespace {

// Reads one project file; every error names the file and the line so that a typo in a project is
// found at once.
class ProjectReader {
public:
    ProjectReader(const QByteArray& xml, const QString& path) : xml_(xml), path_(path) {}

    ReportProject read() {
        ReportProject project;
        project.path = path_;
        if (!xml_.readNextStartElement() || xml_.name() != QLatin1String("report"))
            fail(QStringLiteral("oczekiwano elementu <report>"));
        readReportAttributes(project);
        while (xml_.readNextStartElement()) {
            if (xml_.name() != QLatin1String("band"))
                fail(QStringLiteral("nieznany element <%1>").arg(xml_.name()));
            ReportBand band = readBand();
            if (project.band(band.kind)) fail(QStringLiteral("sekcja występuje dwa razy"));
            project.bands.append(band);
        }
        if (xml_.hasError()) fail(xml_.errorString());
        return project;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw ReportError(QStringLiteral("Błąd w pliku raportu %1, wiersz %2: %3")
                              .arg(QDir::toNativeSeparators(path_))
                              .arg(xml_.lineNumber())
                              .arg(what));
    }

    void checkAttributes(const QSet<QString>& allowed) const {
        for (const QXmlStreamAttribute& a : xml_.attributes())
            if (!allowed.contains(a.name().toString()))
                fail(QStringLiteral("nieznany atrybut \"%1\" elementu <%2>").arg(a.name(), xml_.name()));
    }

    QString text(const QString& name, const QString& fallback = {}) const {
        const QXmlStreamAttributes attributes = xml_.attributes();
        return attributes.hasAttribute(name) ? attributes.value(name).toString() : fallback;
    }

    double number(const QString& name, double fallback) const {
        const QString value = text(name);
        if (value.isEmpty()) return fallback;
        bool ok = false;
        const double result = value.toDouble(&ok);
        if (!ok) fail(QStringLiteral("atrybut \"%1\" nie jest liczbą: %2").arg(name, value));
        return result;
    }

    bool flag(const QString& name, bool fallback) const {
        const QString value = text(name);
        if (value.isEmpty()) return fallback;
        if (value == QLatin1String("true")) return true;
        if (value == QLatin1String("false")) return false;
        fail(QStringLiteral("atrybut \"%1\" musi mieć wartość true albo false").arg(name));
    }

    QColor color(const QString& name, const QColor& fallback) const {
        const QString value = text(name);
        if (value.isEmpty()) return fallback;
        const QColor c = QColor::fromString(value);
        if (!c.isValid()) fail(QStringLiteral("błędny kolor: %1").arg(value));
        return c;
    }

    void readFont(ReportFont& font) const {
        font.family = text(QStringLiteral("font"), font.family);
        font.pointSize = number(QStringLiteral("size"), font.pointSize);
        font.bold = flag(QStringLiteral("bold"), font.bold);
        font.italic = flag(QStringLiteral("italic"), font.italic);
    }

    void readReportAttributes(ReportProject& project) {
        checkAttributes({"title", "dataView", "page", "orientation", "margins", "font", "size"});
        project.title = text(QStringLiteral("title"));
        project.dataView = text(QStringLiteral("dataView"));
        const QString page = text(QStringLiteral("page"), QStringLiteral("A4"));
        static const QHash<QString, QPageSize::PageSizeId> sizes{{"A3", QPageSize::A3},
                                                                 {"A4", QPageSize::A4},
                                                                 {"A5", QPageSize::A5},
                                                                 {"Letter", QPageSize::Letter}};
        if (!sizes.contains(page)) fail(QStringLiteral("nieznany rozmiar strony: %1").arg(page));
        project.pageSize = sizes.value(page);
        const QString orientation = text(QStringLiteral("orientation"), QStringLiteral("portrait"));
        if (orientation == QLatin1String("portrait"))
            project.orientation = Orientation::Portrait;
        else if (orientation == QLatin1String("landscape"))
            project.orientation = Orientation::Landscape;
        else
            fail(QStringLiteral("nieznana orientacja: %1").arg(orientation));
        const QString margins = text(QStringLiteral("margins"));
        if (!margins.isEmpty()) {
            const QStringList parts = margins.split(QLatin1Char(','));
            QList<double> values;
            for (const QString& p : parts) {
                bool ok = false;
                values.append(p.trimmed().toDouble(&ok));
                if (!ok) fail(QStringLiteral("błędne marginesy: %1").arg(margins));
            }
            if (values.size() != 4)
                fail(QStringLiteral("marginesy to cztery liczby: lewy, górny, prawy, dolny"));
            project.margins = QMarginsF(values[0], values[1], values[2], values[3]);
        }
        readFont(defaultFont_);
    }

    ReportBand readBand() {
        checkAttributes({"kind", "height"});
        static const QHash<QString, BandKind> kinds{{"title", BandKind::Title},
                                                    {"pageHeader", BandKind::PageHeader},
                                                    {"columnHeader", BandKind::ColumnHeader},
                                                    {"detail", BandKind::Detail},
                                                    {"summary", BandKind::Summary},
                                                    {"pageFooter", BandKind::PageFooter}};
        const QString kind = text(QStringLiteral("kind"));
        if (!kinds.contains(kind)) fail(QStringLiteral("nieznany rodzaj sekcji: \"%1\"").arg(kind));
        ReportBand band;
        band.kind = kinds.value(kind);
        band.height = number(QStringLiteral("height"), -1);
        if (band.height < 0) fail(QStringLiteral("sekcja bez wysokości"));
        while (xml_.readNextStartElement())
            band.items.append(readItem());
        return band;
    }

    ReportItem readItem() {
        static const QHash<QString, ItemKind> kinds{{"text", ItemKind::Text},
                                                    {"param", ItemKind::Parameter},
                                                    {"field", ItemKind::Field},
                                                    {"image", ItemKind::Image},
                                                    {"line", ItemKind::Line},
                                                    {"box", ItemKind::Box},
                                                    {"pageNumber", ItemKind::PageNumber},
                                                    {"printDate", ItemKind::PrintDate}};
        const QString element = xml_.name().toString();
        if (!kinds.contains(element)) fail(QStringLiteral("nieznany element <%1>").arg(element));
        ReportItem item;
        item.kind = kinds.value(element);
        item.font = defaultFont_;
        if (item.kind == ItemKind::Line) {
            checkAttributes({"x1", "y1", "x2", "y2", "lineWidth", "color"});
            item.rect =
                QRectF(QPointF(number("x1", 0), number("y1", 0)), QPointF(number("x2", 0), number("y2", 0)));
        } else {
            checkAttributes({"x", "y", "width", "height", "name", "file", "format", "font", "size", "bold",
                             "italic", "align", "valign", "wrap", "border", "padding", "lineWidth", "color",
                             "fill"});
            item.rect = QRectF(number("x", 0), number("y", 0), number("width", -1), number("height", -1));
            if (item.rect.width() < 0 || item.rect.height() < 0)
                fail(QStringLiteral("element <%1> bez szerokości lub wysokości").arg(element));
            readFont(item.font);
            item.name = text(QStringLiteral("name"));
            item.file = text(QStringLiteral("file"));
            item.wrap = flag(QStringLiteral("wrap"), false);
            item.border = flag(QStringLiteral("border"), false);
            item.padding = number(QStringLiteral("padding"), item.border ? 1.0 : 0.0);
            item.fill = color(QStringLiteral("fill"), QColor());
            item.alignment = alignment();
        }
        item.lineWidth = number(QStringLiteral("lineWidth"), 0.2);
        item.color = color(QStringLiteral("color"), Qt::black);

        const QString format = text(QStringLiteral("format"));
        switch (item.kind) {
        case ItemKind::Parameter:
        case ItemKind::Field:
            if (item.name.isEmpty()) fail(QStringLiteral("element <%1> bez nazwy").arg(element));
            item.text = format.isEmpty() ? QStringLiteral("%1") : format;
            break;
        case ItemKind::PageNumber:
            item.text = format.isEmpty() ? QStringLiteral("Strona %1 z %2") : format;
            break;
        case ItemKind::PrintDate:
            item.text = format.isEmpty() ? QStringLiteral("yyyy-MM-dd") : format;
            break;
        case ItemKind::Image:
            if (item.name.isEmpty() && item.file.isEmpty())
                fail(QStringLiteral("obraz bez pliku i bez parametru"));
            break;
        default:
            break;
        }
        // Static text is the element's content; the other items have none.
        const QString content = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml_.hasError()) fail(xml_.errorString());
        if (item.kind == ItemKind::Text) item.text = content;
        return item;
    }

    Qt::Alignment alignment() const {
        Qt::Alignment result;
        const QString h = text(QStringLiteral("align"), QStringLiteral("left"));
        if (h == QLatin1String("left"))
            result = Qt::AlignLeft;
        else if (h == QLatin1String("center"))
            result = Qt::AlignHCenter;
        else if (h == QLatin1String("right"))
            result = Qt::AlignRight;
        else
            fail(QStringLiteral("nieznane wyrównanie: %1").arg(h));
        const QString v = text(QStringLiteral("valign"), QStringLiteral("center"));
        if (v == QLatin1String("top"))
            result |= Qt::AlignTop;
        else if (v == QLatin1String("center"))
            result |= Qt::AlignVCenter;
        else if (v == QLatin1String("bottom"))
            result |= Qt::AlignBottom;
        else
            fail(QStringLiteral("nieznane wyrównanie pionowe: %1").arg(v));
        return result;
    }

    QXmlStreamReader xml_;
    QString path_;
    ReportFont defaultFont_;
};

} // namespace

ReportProject parseProject(const QByteArray& xml, const QString& path) {
    return ProjectReader(xml, path).read();
}

ReportProject loadProject(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QFile file(absolute);
    if (!file.exists()) throw ProjectMissingError(absolute);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Nie można otworzyć pliku raportu %1: %2")
                              .arg(QDir::toNativeSeparators(absolute), file.errorString()));
    return parseProject(file.readAll(), absolute);
}

} // namespace korven::reports
