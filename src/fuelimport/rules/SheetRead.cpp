// The first sheet of an XLSX workbook read into text cells: enough of the format for the exports of
// fuel-card transactions (shared and inline strings, numbers, dates by their number format).

#include "fuelimport/rules/FuelImport.h"

#include <QRegularExpression>

#include <pugixml.hpp>
#include <zip.h>

#include <cmath>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

namespace korven::fuelimport {

namespace {

struct SheetError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Archive {
public:
    explicit Archive(const QByteArray& bytes) {
        zip_error_t error;
        zip_error_init(&error);
        source_ = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source_) archive_ = zip_open_from_source(source_, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        if (!archive_) {
            if (source_) zip_source_free(source_);
            source_ = nullptr;
            throw SheetError("Plik nie jest skoroszytem xlsx");
        }
    }
    ~Archive() {
        if (archive_) zip_discard(archive_);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool has(const char* name) const { return zip_name_locate(archive_, name, 0) >= 0; }

    std::string read(const std::string& name) const {
        const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
        if (index < 0) throw SheetError("W skoroszycie brakuje części " + name);
        zip_stat_t st;
        if (zip_stat_index(archive_, zip_uint64_t(index), 0, &st) != 0)
            throw SheetError("Uszkodzony skoroszyt");
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(
            zip_fopen_index(archive_, zip_uint64_t(index), 0), &zip_fclose);
        if (!file) throw SheetError("Uszkodzony skoroszyt");
        std::string data(std::size_t(st.size), '\0');
        if (zip_fread(file.get(), data.data(), st.size) != zip_int64_t(st.size))
            throw SheetError("Uszkodzony skoroszyt");
        return data;
    }

private:
    zip_source_t* source_ = nullptr;
    zip_t* archive_ = nullptr;
};

pugi::xml_document parse(const std::string& text) {
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size())) throw SheetError("Uszkodzony skoroszyt (XML)");
    return doc;
}

// The text of a string item: its own text or the runs of a formatted one.
QString itemText(const pugi::xml_node& si) {
    if (pugi::xml_node t = si.child("t")) return QString::fromUtf8(t.text().get());
    QString out;
    for (pugi::xml_node r : si.children("r"))
        out += QString::fromUtf8(r.child("t").text().get());
    return out;
}

// The path of the first sheet inside the package, as the workbook's relations give it.
std::string firstSheetPath(const Archive& a) {
    const pugi::xml_document wb = parse(a.read("xl/workbook.xml"));
    const pugi::xml_node sheet = wb.child("workbook").child("sheets").child("sheet");
    const std::string id = sheet.attribute("r:id").value();
    if (!id.empty() && a.has("xl/_rels/workbook.xml.rels")) {
        const pugi::xml_document rels = parse(a.read("xl/_rels/workbook.xml.rels"));
        for (pugi::xml_node r : rels.child("Relationships").children("Relationship"))
            if (id == r.attribute("Id").value()) {
                std::string target = r.attribute("Target").value();
                if (!target.empty() && target[0] == '/') return target.substr(1);
                return "xl/" + target;
            }
    }
    return "xl/worksheets/sheet1.xml";
}

// The style indexes whose number format shows a date.
std::set<int> dateStyles(const Archive& a) {
    std::set<int> out;
    if (!a.has("xl/styles.xml")) return out;
    const pugi::xml_document doc = parse(a.read("xl/styles.xml"));
    const pugi::xml_node sheet = doc.child("styleSheet");
    std::set<int> dateFormats;
    for (int id = 14; id <= 22; ++id)
        dateFormats.insert(id);
    for (int id : {45, 46, 47})
        dateFormats.insert(id);
    for (pugi::xml_node f : sheet.child("numFmts").children("numFmt")) {
        QString code = QString::fromUtf8(f.attribute("formatCode").value()).toLower();
        code.remove(QRegularExpression(QStringLiteral(R"("[^"]*"|\[[^\]]*\])")));
        if (code.contains(QLatin1Char('d')) || code.contains(QLatin1Char('y')))
            dateFormats.insert(f.attribute("numFmtId").as_int());
    }
    int index = 0;
    for (pugi::xml_node xf : sheet.child("cellXfs").children("xf")) {
        if (dateFormats.count(xf.attribute("numFmtId").as_int())) out.insert(index);
        ++index;
    }
    return out;
}

// "C12" -> column 3 (counted from 1).
int columnOf(const char* reference) {
    int column = 0;
    for (const char* p = reference; *p >= 'A' && *p <= 'Z'; ++p)
        column = column * 26 + (*p - 'A' + 1);
    return column;
}

QString numberText(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

} // namespace

ReadResult readXlsx(const QByteArray& bytes) {
    ReadResult result;
    try {
        const Archive a(bytes);
        QStringList shared;
        if (a.has("xl/sharedStrings.xml")) {
            const pugi::xml_document doc = parse(a.read("xl/sharedStrings.xml"));
            for (pugi::xml_node si : doc.child("sst").children("si"))
                shared << itemText(si);
        }
        const std::set<int> dates = dateStyles(a);
        const pugi::xml_document sheet = parse(a.read(firstSheetPath(a)));
        for (pugi::xml_node row : sheet.child("worksheet").child("sheetData").children("row")) {
            QStringList cells;
            int next = 1;
            for (pugi::xml_node c : row.children("c")) {
                const char* ref = c.attribute("r").value();
                const int column = *ref ? columnOf(ref) : next;
                while (cells.size() < column - 1)
                    cells << QString();
                next = column + 1;
                const std::string type = c.attribute("t").value();
                const char* v = c.child("v").text().get();
                QString text;
                if (type == "s") {
                    const int i = c.child("v").text().as_int(-1);
                    if (i >= 0 && i < shared.size()) text = shared[i];
                } else if (type == "inlineStr") {
                    text = itemText(c.child("is"));
                } else if (type == "str" || type == "b" || type == "e") {
                    text = QString::fromUtf8(v);
                } else if (*v) {
                    const double number = c.child("v").text().as_double();
                    if (dates.count(c.attribute("s").as_int(0)))
                        text = QDate(1899, 12, 30)
                                   .addDays(static_cast<qint64>(std::floor(number)))
                                   .toString(Qt::ISODate);
                    else
                        text = numberText(number);
                }
                cells << text.trimmed();
            }
            bool empty = true;
            for (const QString& cell : cells)
                empty = empty && cell.isEmpty();
            if (!empty) result.rows.push_back(cells);
        }
    } catch (const SheetError& e) {
        result.rows.clear();
        result.error = QString::fromUtf8(e.what());
    }
    return result;
}

} // namespace korven::fuelimport
