#include "exports/TemplateFill.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace korven::exports {

namespace {

[[noreturn]] void fail(const QString& text) {
    throw ExportError(text);
}

QString zipError(zip_t* archive) {
    return QString::fromUtf8(zip_strerror(archive));
}

// The workbook's package opened from memory; the changed members are kept until it is written.
class Package {
public:
    explicit Package(const QByteArray& bytes) {
        zip_error_t error;
        zip_error_init(&error);
        source_ = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (!source_)
            fail(QStringLiteral("Nie można odczytać skoroszytu: %1").arg(zip_error_strerror(&error)));
        archive_ = zip_open_from_source(source_, 0, &error);
        if (!archive_) {
            const QString text = QString::fromUtf8(zip_error_strerror(&error));
            zip_error_fini(&error);
            zip_source_free(source_);
            fail(QStringLiteral("Plik nie jest skoroszytem xlsx: %1").arg(text));
        }
        zip_error_fini(&error);
        // The archive owns the source now; one more reference keeps it readable after the close.
        zip_source_keep(source_);
    }
    ~Package() {
        if (archive_) zip_discard(archive_);
        zip_source_free(source_);
    }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool has(const std::string& name) const { return zip_name_locate(archive_, name.c_str(), 0) >= 0; }

    std::string read(const std::string& name) const {
        const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
        if (index < 0)
            fail(QStringLiteral("W skoroszycie brakuje części %1").arg(QString::fromStdString(name)));
        zip_stat_t st;
        if (zip_stat_index(archive_, zip_uint64_t(index), 0, &st) != 0) fail(zipError(archive_));
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(
            zip_fopen_index(archive_, zip_uint64_t(index), 0), &zip_fclose);
        if (!file) fail(zipError(archive_));
        std::string data(std::size_t(st.size), '\0');
        if (zip_fread(file.get(), data.data(), st.size) != zip_int64_t(st.size)) fail(zipError(archive_));
        return data;
    }

    void replace(const std::string& name, std::string data) {
        changed_.push_back(std::make_unique<std::string>(std::move(data)));
        const std::string& kept = *changed_.back();
        zip_source_t* src = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
        if (!src) fail(zipError(archive_));
        if (zip_file_add(archive_, name.c_str(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(src);
            fail(zipError(archive_));
        }
    }

    void remove(const std::string& name) {
        const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
        if (index >= 0 && zip_delete(archive_, zip_uint64_t(index)) != 0) fail(zipError(archive_));
    }

    // Writes the package and returns its bytes.
    QByteArray close() {
        if (zip_close(archive_) != 0) fail(zipError(archive_));
        archive_ = nullptr;
        if (zip_source_open(source_) != 0) fail(QStringLiteral("Nie można zapisać skoroszytu."));
        QByteArray out;
        char buffer[65536];
        zip_int64_t n;
        while ((n = zip_source_read(source_, buffer, sizeof buffer)) > 0)
            out.append(buffer, qsizetype(n));
        zip_source_close(source_);
        if (n < 0) fail(QStringLiteral("Nie można zapisać skoroszytu."));
        return out;
    }

private:
    zip_source_t* source_ = nullptr;
    zip_t* archive_ = nullptr;
    std::vector<std::unique_ptr<std::string>> changed_;
};

pugi::xml_document parse(const std::string& text, const std::string& name) {
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size(), pugi::parse_full);
    if (!result)
        fail(QStringLiteral("Część %1 skoroszytu jest uszkodzona: %2")
                 .arg(QString::fromStdString(name), QString::fromUtf8(result.description())));
    return doc;
}

std::string serialise(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

// Element names may carry a namespace prefix; the workbook's parts are matched by local name.
const char* localName(const pugi::xml_node& n) {
    const char* name = n.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node child(const pugi::xml_node& parent, const char* name) {
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && std::strcmp(localName(n), name) == 0) return n;
    return {};
}

// The prefix the element's own name uses ("x:" or ""), so that new elements match their siblings.
std::string prefixOf(const pugi::xml_node& n) {
    const std::string name = n.name();
    const auto colon = name.rfind(':');
    return colon == std::string::npos ? std::string() : name.substr(0, colon + 1);
}

// The path of the workbook's first sheet, from the workbook and its relationships.
std::string firstSheetPath(const Package& package) {
    const pugi::xml_document book = parse(package.read("xl/workbook.xml"), "xl/workbook.xml");
    const pugi::xml_node sheet = child(child(child(book, "workbook"), "sheets"), "sheet");
    if (!sheet) fail(QStringLiteral("Skoroszyt nie ma arkusza."));
    std::string id;
    for (const pugi::xml_attribute& a : sheet.attributes()) {
        const std::string name = a.name();
        if (name == "r:id" || (name.size() > 3 && name.ends_with(":id"))) id = a.value();
    }
    const pugi::xml_document rels = parse(package.read("xl/_rels/workbook.xml.rels"), "workbook.xml.rels");
    for (pugi::xml_node r = child(rels, "Relationships").first_child(); r; r = r.next_sibling()) {
        if (id != r.attribute("Id").value()) continue;
        std::string target = r.attribute("Target").value();
        if (target.starts_with('/')) return target.substr(1);
        return "xl/" + target;
    }
    fail(QStringLiteral("Nie znaleziono pierwszego arkusza skoroszytu."));
}

// The fonts and cell formats of the workbook's styles, with the formats added for the fill.
class Styles {
public:
    explicit Styles(pugi::xml_document& doc) {
        const pugi::xml_node sheet = child(doc, "styleSheet");
        fonts_ = child(sheet, "fonts");
        xfs_ = child(sheet, "cellXfs");
        if (!fonts_ || !xfs_) fail(QStringLiteral("Style skoroszytu są niepełne."));
        for (pugi::xml_node n = fonts_.first_child(); n; n = n.next_sibling())
            if (n.type() == pugi::node_element) fontList_.push_back(n);
        for (pugi::xml_node n = xfs_.first_child(); n; n = n.next_sibling())
            if (n.type() == pugi::node_element) xfList_.push_back(n);
        if (xfList_.empty()) fail(QStringLiteral("Style skoroszytu są niepełne."));
    }

    // The format of cells of the given format with the document's font of that size.
    int withFont(int xf, int size, const std::string& argb) {
        if (xf < 0 || xf >= int(xfList_.size())) xf = 0;
        const auto key = std::make_pair(xf, size);
        if (auto it = made_.find(key); it != made_.end()) return it->second;

        const int baseFont = xfList_[std::size_t(xf)].attribute("fontId").as_int(0);
        pugi::xml_node font = fonts_.append_copy(
            baseFont < int(fontList_.size()) ? fontList_[std::size_t(baseFont)] : fontList_.front());
        const std::string p = prefixOf(font);
        // The name decides the face; a theme scheme or family would override it.
        for (const char* name : {"b", "sz", "color", "name", "family", "scheme", "charset"})
            while (pugi::xml_node n = child(font, name))
                font.remove_child(n);
        font.append_child((p + "b").c_str()).append_attribute("val") = "1";
        font.append_child((p + "sz").c_str()).append_attribute("val") = size;
        font.append_child((p + "color").c_str()).append_attribute("rgb") = argb.c_str();
        font.append_child((p + "name").c_str()).append_attribute("val") = kDocumentFontName;
        font.append_child((p + "family").c_str()).append_attribute("val") = 1;
        fontList_.push_back(font);

        pugi::xml_node format = xfs_.append_copy(xfList_[std::size_t(xf)]);
        set(format, "fontId", int(fontList_.size()) - 1);
        set(format, "applyFont", 1);
        xfList_.push_back(format);
        const int index = int(xfList_.size()) - 1;
        made_[key] = index;
        return index;
    }

    void updateCounts() {
        set(fonts_, "count", int(fontList_.size()));
        set(xfs_, "count", int(xfList_.size()));
    }

private:
    static void set(pugi::xml_node n, const char* name, int value) {
        pugi::xml_attribute a = n.attribute(name);
        if (!a) a = n.append_attribute(name);
        a = value;
    }

    pugi::xml_node fonts_, xfs_;
    std::vector<pugi::xml_node> fontList_, xfList_;
    std::map<std::pair<int, int>, int> made_;
};

// The first sheet's cells, found or made in row and column order.
class Sheet {
public:
    explicit Sheet(pugi::xml_document& doc) {
        worksheet_ = child(doc, "worksheet");
        data_ = child(worksheet_, "sheetData");
        if (!data_) fail(QStringLiteral("Arkusz nie ma danych komórek."));
        prefix_ = prefixOf(data_);
        // Rows and cells may leave out their address; give every one its address so that new ones
        // can be put in their place.
        int rowNumber = 0;
        for (pugi::xml_node row = data_.first_child(); row; row = row.next_sibling()) {
            if (row.type() != pugi::node_element || std::strcmp(localName(row), "row") != 0) continue;
            rowNumber = row.attribute("r") ? row.attribute("r").as_int() : rowNumber + 1;
            if (!row.attribute("r")) row.append_attribute("r") = rowNumber;
            int column = 0;
            for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
                if (c.type() != pugi::node_element || std::strcmp(localName(c), "c") != 0) continue;
                int col = 0, r = 0;
                if (c.attribute("r") && parseCellRef(QString::fromUtf8(c.attribute("r").value()), col, r))
                    column = col;
                else {
                    ++column;
                    c.remove_attribute("r");
                    c.append_attribute("r") = cellRef(column, rowNumber).toUtf8().constData();
                }
            }
        }
        for (pugi::xml_node col = child(child(worksheet_, "cols"), "col"); col; col = col.next_sibling())
            if (col.attribute("style"))
                columnStyles_.push_back({col.attribute("min").as_int(), col.attribute("max").as_int(),
                                         col.attribute("style").as_int()});
    }

    pugi::xml_node cell(int column, int row) {
        pugi::xml_node rowNode = findRow(row);
        pugi::xml_node before;
        for (pugi::xml_node c = rowNode.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element || std::strcmp(localName(c), "c") != 0) continue;
            int col = 0, r = 0;
            parseCellRef(QString::fromUtf8(c.attribute("r").value()), col, r);
            if (col == column) return c;
            if (col > column) {
                before = c;
                break;
            }
        }
        pugi::xml_node c = before ? rowNode.insert_child_before((prefix_ + "c").c_str(), before)
                                  : rowNode.append_child((prefix_ + "c").c_str());
        c.append_attribute("r") = cellRef(column, row).toUtf8().constData();
        // The row's span of columns is only a hint, and may no longer hold.
        rowNode.remove_attribute("spans");
        // A new cell takes the format its row or column gives to empty cells.
        int style = 0;
        if (rowNode.attribute("customFormat").as_bool() && rowNode.attribute("s"))
            style = rowNode.attribute("s").as_int();
        else
            for (const ColumnStyle& s : columnStyles_)
                if (column >= s.min && column <= s.max) style = s.style;
        if (style) c.append_attribute("s") = style;
        extend(column, row);
        return c;
    }

    static int styleOf(const pugi::xml_node& c) { return c.attribute("s").as_int(0); }
    static void setStyle(pugi::xml_node c, int style) {
        pugi::xml_attribute a = c.attribute("s");
        if (!a) a = c.append_attribute("s");
        a = style;
    }

    // The value as an inline text; empty text leaves the cell empty.
    void write(pugi::xml_node c, const QString& value) {
        if (child(c, "f")) formulaRemoved_ = true;
        while (c.first_child())
            c.remove_child(c.first_child());
        c.remove_attribute("t");
        if (value.isEmpty()) return;
        c.append_attribute("t") = "inlineStr";
        pugi::xml_node t = c.append_child((prefix_ + "is").c_str()).append_child((prefix_ + "t").c_str());
        t.append_attribute("xml:space") = "preserve";
        t.text().set(value.toUtf8().constData());
    }

    // Whether a value replaced a formula of the template.
    bool formulaRemoved() const { return formulaRemoved_; }

    void updateDimension() {
        pugi::xml_node dim = child(worksheet_, "dimension");
        if (!dim || !grown_) return;
        const QString ref = QString::fromUtf8(dim.attribute("ref").value());
        int c1 = minColumn_, r1 = minRow_, c2 = maxColumn_, r2 = maxRow_;
        const QStringList parts = ref.split(QLatin1Char(':'));
        int c = 0, r = 0;
        if (!parts.isEmpty() && parseCellRef(parts.first(), c, r)) {
            c1 = std::min(c1, c);
            r1 = std::min(r1, r);
            c2 = std::max(c2, c);
            r2 = std::max(r2, r);
        }
        if (parts.size() == 2 && parseCellRef(parts.last(), c, r)) {
            c2 = std::max(c2, c);
            r2 = std::max(r2, r);
        }
        dim.attribute("ref").set_value(
            (cellRef(c1, r1) + QLatin1Char(':') + cellRef(c2, r2)).toUtf8().constData());
    }

private:
    struct ColumnStyle {
        int min, max, style;
    };

    pugi::xml_node findRow(int row) {
        pugi::xml_node before;
        for (pugi::xml_node r = data_.first_child(); r; r = r.next_sibling()) {
            if (r.type() != pugi::node_element || std::strcmp(localName(r), "row") != 0) continue;
            const int n = r.attribute("r").as_int();
            if (n == row) return r;
            if (n > row) {
                before = r;
                break;
            }
        }
        pugi::xml_node r = before ? data_.insert_child_before((prefix_ + "row").c_str(), before)
                                  : data_.append_child((prefix_ + "row").c_str());
        r.append_attribute("r") = row;
        return r;
    }

    void extend(int column, int row) {
        if (!grown_) {
            minColumn_ = maxColumn_ = column;
            minRow_ = maxRow_ = row;
            grown_ = true;
        }
        minColumn_ = std::min(minColumn_, column);
        maxColumn_ = std::max(maxColumn_, column);
        minRow_ = std::min(minRow_, row);
        maxRow_ = std::max(maxRow_, row);
    }

    pugi::xml_node worksheet_, data_;
    std::string prefix_;
    std::vector<ColumnStyle> columnStyles_;
    bool grown_ = false;
    bool formulaRemoved_ = false;
    int minColumn_ = 0, maxColumn_ = 0, minRow_ = 0, maxRow_ = 0;
};

// The cells of "E3:E35" (or of a single cell), column by column within each row.
QList<std::pair<int, int>> cellsOf(const QString& range) {
    const QStringList parts = range.split(QLatin1Char(':'));
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    if (parts.isEmpty() || parts.size() > 2 || !parseCellRef(parts.first(), c1, r1) ||
        !parseCellRef(parts.last(), c2, r2))
        fail(QStringLiteral("Niepoprawny adres komórki „%1”").arg(range));
    QList<std::pair<int, int>> cells;
    for (int r = std::min(r1, r2); r <= std::max(r1, r2); ++r)
        for (int c = std::min(c1, c2); c <= std::max(c1, c2); ++c)
            cells.append({c, r});
    return cells;
}

// The workbook's list of formula cells in calculation order names every formula of the sheets; once a
// value has replaced one, the list is dropped (with its relationship and content type) and the
// spreadsheet program makes a new one, instead of finding the workbook damaged.
void dropCalculationChain(Package& package) {
    const std::string chain = "xl/calcChain.xml";
    if (!package.has(chain)) return;
    package.remove(chain);
    const std::string relsName = "xl/_rels/workbook.xml.rels";
    pugi::xml_document rels = parse(package.read(relsName), relsName);
    pugi::xml_node list = child(rels, "Relationships");
    for (pugi::xml_node r = list.first_child(); r;) {
        const pugi::xml_node next = r.next_sibling();
        if (std::string(r.attribute("Target").value()).ends_with("calcChain.xml")) list.remove_child(r);
        r = next;
    }
    package.replace(relsName, serialise(rels));
    const std::string typesName = "[Content_Types].xml";
    if (!package.has(typesName)) return;
    pugi::xml_document types = parse(package.read(typesName), typesName);
    pugi::xml_node all = child(types, "Types");
    for (pugi::xml_node t = all.first_child(); t;) {
        const pugi::xml_node next = t.next_sibling();
        if (std::string(t.attribute("PartName").value()) == "/xl/calcChain.xml") all.remove_child(t);
        t = next;
    }
    package.replace(typesName, serialise(types));
}

} // namespace

bool parseCellRef(const QString& ref, int& column, int& row) {
    column = 0;
    row = 0;
    qsizetype i = 0;
    while (i < ref.size() && ref[i] >= QLatin1Char('A') && ref[i] <= QLatin1Char('Z')) {
        column = column * 26 + (ref[i].unicode() - 'A' + 1);
        if (column > 16384) return false;
        ++i;
    }
    if (i == 0 || i == ref.size()) return false;
    bool ok = false;
    row = ref.mid(i).toInt(&ok);
    return ok && row >= 1 && row <= 1048576 && ref[i] != QLatin1Char('0') && ref[i] != QLatin1Char('+');
}

QString cellRef(int column, int row) {
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

QByteArray fillWorkbook(const QByteArray& workbook, const FillPlan& plan) {
    Package package(workbook);
    const std::string sheetPath = firstSheetPath(package);
    pugi::xml_document sheetDoc = parse(package.read(sheetPath), sheetPath);
    pugi::xml_document stylesDoc = parse(package.read("xl/styles.xml"), "xl/styles.xml");
    Sheet sheet(sheetDoc);
    Styles styles(stylesDoc);
    const std::string argb = argbOfColourNumber(plan.colour).toStdString();

    for (const FillStep& step : plan.steps) {
        int column = 0, row = 0;
        if (!parseCellRef(step.cell, column, row))
            fail(QStringLiteral("Niepoprawny adres komórki „%1”").arg(step.cell));
        for (auto [c, r] : cellsOf(step.fontRange.isEmpty() ? step.cell : step.fontRange)) {
            pugi::xml_node n = sheet.cell(c, r);
            Sheet::setStyle(n, styles.withFont(Sheet::styleOf(n), step.size, argb));
        }
        sheet.write(sheet.cell(column, row), step.value);
    }
    sheet.updateDimension();
    styles.updateCounts();
    if (sheet.formulaRemoved()) dropCalculationChain(package);
    package.replace(sheetPath, serialise(sheetDoc));
    package.replace("xl/styles.xml", serialise(stylesDoc));
    return package.close();
}

void fillTemplateFile(const QString& templatePath, const FillPlan& plan, const QString& outPath) {
    QFile source(templatePath);
    if (!source.exists())
        fail(QStringLiteral("Brak szablonu dokumentu %1").arg(QDir::toNativeSeparators(templatePath)));
    if (!source.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Nie można otworzyć szablonu %1: %2")
                 .arg(QDir::toNativeSeparators(templatePath), source.errorString()));
    const QByteArray filled = fillWorkbook(source.readAll(), plan);

    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(filled) != filled.size() || !out.commit())
        fail(QStringLiteral("Nie można zapisać dokumentu %1: %2")
                 .arg(QDir::toNativeSeparators(outPath), out.errorString()));
}

} // namespace korven::exports
