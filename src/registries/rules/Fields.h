#pragma once

#include "db/Value.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace korven::registries {

// What a column holds, as an editor field must treat it.
enum class FieldKind { Text, Integer, Decimal, Date };

// The editor page a field stands on (None: shown elsewhere or not typed at all).
enum class Page { None, General, Parameters, Pn, Kit };

// Describes one column of a registry table: its name, the label the operator sees, its kind and
// size (characters for text, total digits for decimals and scaled integers, 0 for a 32-bit integer),
// the decimals it keeps, whether typing is turned to upper case and how the grid shows it.
struct FieldInfo {
    QString column;
    QString label;
    FieldKind kind = FieldKind::Text;
    int width = 0;
    int scale = 0;
    bool upper = false;
    bool readOnly = false;
    Page page = Page::None;
    // Decimals a grid or editor shows with thousands separators; -1 shows the value as stored.
    int displayDecimals = -1;
};

// A code as a statement parameter.
inline db::Value codeValue(qint64 code) {
    return db::Value(static_cast<std::int64_t>(code));
}

// ---------------------------------------------------------------------------------------------
// Conversions of typed text. None of them throws; a refusal carries a message for the operator.

// A number typed with '.' or ',' as the decimal separator; blanks between digit groups are allowed.
// Nothing for text that is not a number. An empty text is not a number either: callers decide.
std::optional<double> parseNumber(const QString& text);

// The first `width` characters (a width of 0 or less keeps everything).
QString cutToWidth(const QString& text, int width);

// The result of turning typed text into a column value.
struct Conversion {
    bool ok = true;
    db::Value value;
    QString message; // set when !ok
};

// Converts what the operator typed into a field to the value stored in its column: text is trimmed
// at the end, upper-cased when the field says so and cut to the column's width; an empty number or
// date is null (read back as 0 or no date); a number outside what the column can hold, text in a
// number field and a day that does not exist are refused with a message naming the field.
Conversion convertInput(const FieldInfo& field, const QString& typed);

// The text an editor field shows for a value (numbers as stored, with '.'; dates yyyy-MM-dd).
QString editText(const FieldInfo& field, const db::Value& value);

// Significant digits of the norms' display format.
constexpr int kDisplayPrecision = 6;

// The text a grid cell shows: numbers with a display format get thousands separators and that many
// decimals in the given locale; everything else as editText, with the locale's decimal separator.
QString displayText(const FieldInfo& field, const db::Value& value, const QLocale& locale = QLocale());

// ---------------------------------------------------------------------------------------------
// Grid layouts as data.

enum class CellColour { Default, PaleYellow, PaleGreen, Yellow };

struct GridColumn {
    QString column;
    QString title;
    CellColour colour = CellColour::Default;
    bool bold = false;
    int width = 10; // characters
};

// ---------------------------------------------------------------------------------------------
// A record's columns bound to its members, so that SQL column lists, loading, saving and editor
// fields all come from one table.

template <class Record> struct FieldDef {
    using Member = std::variant<QString Record::*, qint64 Record::*, double Record::*, QDate Record::*>;
    FieldInfo info;
    Member member;
};

// Builders of field tables: a column with its label, width and page, bound to a member.
FieldInfo fieldInfo(const char* column, const char* label, FieldKind kind, int width, Page page);

template <class Record>
FieldDef<Record> textField(const char* column, const char* label, QString Record::*member, int width,
                           Page page, bool upper = false) {
    FieldInfo f = fieldInfo(column, label, FieldKind::Text, width, page);
    f.upper = upper;
    return {f, member};
}

// A whole number; `digits` is the column's precision (0 for a plain INTEGER).
template <class Record>
FieldDef<Record> integerField(const char* column, const char* label, qint64 Record::*member, int digits,
                              Page page, bool readOnly = false) {
    FieldInfo f = fieldInfo(column, label, FieldKind::Integer, digits, page);
    f.readOnly = readOnly;
    return {f, member};
}

template <class Record>
FieldDef<Record> decimalField(const char* column, const char* label, double Record::*member, int digits,
                              int scale, Page page, bool upper = false, int displayDecimals = -1) {
    FieldInfo f = fieldInfo(column, label, FieldKind::Decimal, digits, page);
    f.scale = scale;
    f.upper = upper;
    f.displayDecimals = displayDecimals;
    return {f, member};
}

template <class Record>
FieldDef<Record> dateField(const char* column, const char* label, QDate Record::*member, Page page) {
    return {fieldInfo(column, label, FieldKind::Date, 0, page), member};
}

template <class Record> db::Value fieldValue(const Record& record, const FieldDef<Record>& field) {
    return std::visit(
        [&](auto member) -> db::Value {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            const T& v = record.*member;
            if constexpr (std::is_same_v<T, double>)
                return db::Value(db::Decimal::fromDouble(v, field.info.scale));
            else if constexpr (std::is_same_v<T, qint64>)
                return db::Value(static_cast<std::int64_t>(v));
            else if constexpr (std::is_same_v<T, QString>)
                return db::Value(cutToWidth(v, field.info.width));
            else
                return db::Value(v);
        },
        field.member);
}

template <class Record>
void setFieldValue(Record& record, const FieldDef<Record>& field, const db::Value& value) {
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, double>)
                record.*member = value.toDecimal(field.info.scale).toDouble();
            else if constexpr (std::is_same_v<T, qint64>)
                record.*member = value.toInt();
            else if constexpr (std::is_same_v<T, QDate>)
                record.*member = value.toDate();
            else
                record.*member = cutToWidth(value.toText(), field.info.width);
        },
        field.member);
}

// The text a grid cell shows for a column of a record ("" for a column the record does not have).
template <class Record>
QString cellText(const Record& record, const std::vector<FieldDef<Record>>& fields, const QString& column,
                 const QLocale& locale = QLocale());

// The text an editor field shows for a column of a record.
template <class Record> QString fieldText(const Record& record, const FieldDef<Record>& field) {
    // Fields with a display format (the norms) show it in the editor too; the conversion of typed
    // text reads it back.
    if (field.info.displayDecimals >= 0) return displayText(field.info, fieldValue(record, field));
    return editText(field.info, fieldValue(record, field));
}

template <class Record>
const FieldDef<Record>* findField(const std::vector<FieldDef<Record>>& fields, const QString& column) {
    for (const FieldDef<Record>& f : fields)
        if (f.info.column.compare(column, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

template <class Record>
QString cellText(const Record& record, const std::vector<FieldDef<Record>>& fields, const QString& column,
                 const QLocale& locale) {
    const FieldDef<Record>* f = findField(fields, column);
    return f ? displayText(f->info, fieldValue(record, *f), locale) : QString();
}

} // namespace korven::registries
