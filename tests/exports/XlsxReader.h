#pragma once

// Reads back the first sheet of an xlsx file through unzip and its XML, cell by cell.

#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QXmlStreamReader>

namespace korven::test {

struct XlsxStyle {
    QString horizontal, vertical;
    int numFmtId = 0;
    QString numFmtCode;
    bool framed = false; // thin border on all four sides
    int fontId = 0;
};

struct XlsxFont {
    QString name;
    bool bold = false;
    double size = 0;
    QString colour; // ARGB as written, e.g. "FFFF0000"
};

struct XlsxCell {
    QString value; // the shared or inline string, or the number as written
    bool isString = false;
    bool isInline = false;
    int style = 0;
};

struct XlsxSheet {
    QMap<QString, XlsxCell> cells; // "A1" -> cell
    QList<XlsxStyle> styles;       // cellXfs
    QList<XlsxFont> fonts;
    QString error;

    bool has(const QString& ref) const { return cells.contains(ref); }
    const XlsxStyle& styleOf(const QString& ref) const { return styles[cells.value(ref).style]; }
    XlsxFont fontOf(const QString& ref) const { return fonts.value(styleOf(ref).fontId); }
};

inline QByteArray unzipMember(const QString& file, const QString& member) {
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

inline XlsxSheet readXlsx(const QString& file) {
    XlsxSheet sheet;
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
        sheet.error = QStringLiteral("unzip is not installed");
        return sheet;
    }
    QStringList strings;
    {
        QXmlStreamReader xml(unzipMember(file, QStringLiteral("xl/sharedStrings.xml")));
        QString current;
        bool inSi = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
                inSi = true;
                current.clear();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("t") && inSi) {
                current += xml.readElementText();
            } else if (xml.isEndElement() && xml.name() == QLatin1String("si")) {
                strings.append(current);
                inSi = false;
            }
        }
    }
    {
        QXmlStreamReader xml(unzipMember(file, QStringLiteral("xl/styles.xml")));
        QMap<int, QString> formats;
        QList<bool> borders;
        bool inXfs = false, inBorder = false, inFonts = false;
        int thinSides = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            const auto a = xml.attributes();
            if (xml.isStartElement()) {
                if (xml.name() == QLatin1String("numFmt"))
                    formats.insert(a.value(QLatin1String("numFmtId")).toInt(),
                                   a.value(QLatin1String("formatCode")).toString());
                else if (xml.name() == QLatin1String("border")) {
                    inBorder = true;
                    thinSides = 0;
                } else if (inBorder && a.value(QLatin1String("style")) == QLatin1String("thin") &&
                           QStringList{"left", "right", "top", "bottom"}.contains(xml.name().toString()))
                    ++thinSides;
                else if (xml.name() == QLatin1String("cellXfs"))
                    inXfs = true;
                else if (xml.name() == QLatin1String("fonts"))
                    inFonts = true;
                else if (inFonts && xml.name() == QLatin1String("font"))
                    sheet.fonts.append(XlsxFont());
                else if (inFonts && !sheet.fonts.isEmpty() && xml.name() == QLatin1String("b"))
                    sheet.fonts.last().bold = a.value(QLatin1String("val")) != QLatin1String("0") &&
                                              a.value(QLatin1String("val")) != QLatin1String("false");
                else if (inFonts && !sheet.fonts.isEmpty() && xml.name() == QLatin1String("sz"))
                    sheet.fonts.last().size = a.value(QLatin1String("val")).toDouble();
                else if (inFonts && !sheet.fonts.isEmpty() && xml.name() == QLatin1String("color"))
                    sheet.fonts.last().colour = a.value(QLatin1String("rgb")).toString();
                else if (inFonts && !sheet.fonts.isEmpty() && xml.name() == QLatin1String("name"))
                    sheet.fonts.last().name = a.value(QLatin1String("val")).toString();
                else if (inXfs && xml.name() == QLatin1String("xf")) {
                    XlsxStyle s;
                    s.numFmtId = a.value(QLatin1String("numFmtId")).toInt();
                    s.numFmtCode = formats.value(s.numFmtId);
                    s.framed = borders.value(a.value(QLatin1String("borderId")).toInt());
                    s.fontId = a.value(QLatin1String("fontId")).toInt();
                    sheet.styles.append(s);
                } else if (inXfs && xml.name() == QLatin1String("alignment")) {
                    sheet.styles.last().horizontal = a.value(QLatin1String("horizontal")).toString();
                    sheet.styles.last().vertical = a.value(QLatin1String("vertical")).toString();
                }
            } else if (xml.isEndElement()) {
                if (xml.name() == QLatin1String("border")) {
                    borders.append(thinSides == 4);
                    inBorder = false;
                } else if (xml.name() == QLatin1String("cellXfs"))
                    inXfs = false;
                else if (xml.name() == QLatin1String("fonts"))
                    inFonts = false;
            }
        }
    }
    {
        QXmlStreamReader xml(unzipMember(file, QStringLiteral("xl/worksheets/sheet1.xml")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement() || xml.name() != QLatin1String("c")) continue;
            const auto a = xml.attributes();
            XlsxCell cell;
            const QString ref = a.value(QLatin1String("r")).toString();
            cell.style = a.value(QLatin1String("s")).toInt();
            cell.isString = a.value(QLatin1String("t")) == QLatin1String("s");
            cell.isInline = a.value(QLatin1String("t")) == QLatin1String("inlineStr");
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("is")) {
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("t"))
                            cell.value += xml.readElementText();
                        else
                            xml.skipCurrentElement();
                    }
                } else if (xml.name() == QLatin1String("v")) {
                    const QString v = xml.readElementText();
                    cell.value = cell.isString ? strings.value(v.toInt()) : v;
                } else {
                    xml.skipCurrentElement();
                }
            }
            sheet.cells.insert(ref, cell);
        }
    }
    if (sheet.styles.isEmpty()) sheet.error = QStringLiteral("no styles read from %1").arg(file);
    return sheet;
}

} // namespace korven::test
