#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace korven::reports {

enum class FieldType { Integer, Real, Text };

// How a field is shown in the grid and the printout.
struct Display {
    enum Kind {
        Plain,      // texts as they are, numbers in the general number format
        Number,     // N p.d: empty when 0, else thousands separators, d decimals, p significant digits
        CardNumber, // the number; a single blank for the totals row's 99999
        FuelType,   // the text; a single blank for the total rows' "ZZ"
    };
    Kind kind = Plain;
    int precision = 0;
    int decimals = 0;
};

inline Display numberDisplay(int precision, int decimals) {
    return {Display::Number, precision, decimals};
}

// One field of a result table: its name, type and size, the grid's column title (empty: not
// shown) and how its value is shown.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // text fields: the most characters kept
    QString title;
    Display display;

    bool shown() const { return !title.isEmpty(); }
};

// The code of the totals row in every statement that has one.
inline constexpr int kTotalsCode = 99999;

// The in-memory result table of a report window: named fields and rows of values. An empty value
// (a totals row has no running number, no date) is a null QVariant.
class ResultTable {
public:
    ResultTable() = default;
    explicit ResultTable(QList<FieldDef> fields);

    const QList<FieldDef>& fields() const { return fields_; }
    // The field's index, matched without regard to case; -1 when there is none.
    int fieldIndex(const QString& name) const;
    const FieldDef& field(const QString& name) const;
    // Changes the grid title of a field (the year columns, the voucher's amount columns).
    void setTitle(const QString& name, const QString& title);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Appends a row of empty values and returns its index.
    int appendRow();

    QVariant value(int row, const QString& name) const;
    // Sets a value; texts are cut to the field's size, numbers converted to the field's type.
    void set(int row, const QString& name, const QVariant& value);
    // The value as a number; empty counts as 0.
    double number(int row, const QString& name) const;
    // Adds to a number field (an empty value counts as 0).
    void add(int row, const QString& name, double amount);

    // The display text of a value, as the grid and the printout show it.
    QString text(int row, const QString& name, const QLocale& locale = QLocale()) const;
    QString text(int row, int column, const QLocale& locale = QLocale()) const;
    const QVariantList& row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    // Keeps the rows in an order; rows that compare equal keep their order.
    void sort(const std::function<bool(const ResultTable&, int a, int b)>& less);
    // Sets lp to 1, 2, 3 ... on the rows for which the predicate holds (all rows when it is empty),
    // walking them in table order.
    void number(const QString& field, const std::function<bool(int row)>& take = {});

    void clear() { rows_.clear(); }

private:
    int requireField(const QString& name) const;
    QList<FieldDef> fields_;
    std::vector<QVariantList> rows_;
};

// The display text of one value under a field's display.
QString displayText(const FieldDef& field, const QVariant& value, const QLocale& locale = QLocale());

} // namespace korven::reports
