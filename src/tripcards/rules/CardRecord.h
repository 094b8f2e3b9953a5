#pragma once

#include "core/Columns.h"
#include "core/Decimal.h"

#include <QAnyStringView>
#include <QDate>
#include <QString>
#include <QVariant>

#include <span>
#include <variant>

namespace korven::tripcards {

using Dec2 = Decimal<2>;
using Dec5 = Decimal<5>;

// One monthly trip card, a row of A_KARTA, every column under its own name. Decimal columns round
// every assigned value to their scale (2 places, 5 for the allowance multipliers _1), as the stored
// row would; codes, period and call-out counts are whole numbers; a null date is an invalid QDate.
struct CardRecord {
    int KODA = 0;
    int KODD = 0;
    QString NRREJ;
    int ROKD = 0;
    int MIED = 0;
    QDate DATAD;

    Dec2 PRZEBIEG0, PRZEBIEGM, PRZEBIEGS;
    Dec2 PRZEBIEG0P, PRZEBIEGMP, PRZEBIEGSP;
    Dec2 NORMAP, NORMAA, NORMAUG, NORMAO;
    Dec2 ZUZYCIEPN, ZUZYCIEP, ZUZYCIEON, ZUZYCIEO;
    Dec2 DODATKIP, RAZEMP, PRZEPALP, PRZEPALO;
    int WYJAZDMZ = 0, WYJAZDP = 0, WYJAZDF = 0, WYJAZDIN = 0;
    Dec2 MASAPR;
    Dec2 MIER_POCZ, MIER_KON;

    // The fourteen allowances: quantity, multiplier (litres per unit), settled, still to settle.
    Dec2 DODPOS;
    Dec5 DODPOS_1;
    Dec2 DODPOS_2, DODPOS_3;
    Dec2 DODNAP;
    Dec5 DODNAP_1;
    Dec2 DODNAP_2, DODNAP_3;
    Dec2 DODUR1;
    Dec5 DODUR1_1;
    Dec2 DODUR1_2, DODUR1_3;
    Dec2 DODUR2;
    Dec5 DODUR2_1;
    Dec2 DODUR2_2, DODUR2_3;
    Dec2 DODMIE;
    Dec5 DODMIE_1;
    Dec2 DODMIE_2, DODMIE_3;
    Dec2 DODA;
    Dec5 DODA_1;
    Dec2 DODA_2, DODA_3;
    Dec2 DODG;
    Dec5 DODG_1;
    Dec2 DODG_2, DODG_3;
    Dec2 DODUG;
    Dec5 DODUG_1;
    Dec2 DODUG_2, DODUG_3;
    Dec2 DODOZ;
    Dec5 DODOZ_1;
    Dec2 DODOZ_2, DODOZ_3;
    Dec2 DODK;
    Dec5 DODK_1;
    Dec2 DODK_2, DODK_3;
    Dec2 DODT;
    Dec5 DODT_1;
    Dec2 DODT_2, DODT_3;
    Dec2 DODZ;
    Dec5 DODZ_1;
    Dec2 DODZ_2, DODZ_3;
    Dec2 DODSZ;
    Dec5 DODSZ_1;
    Dec2 DODSZ_2, DODSZ_3;
    Dec2 DODH;
    Dec5 DODH_1;
    Dec2 DODH_2, DODH_3;
};

// One allowance ("Dodatek") and where its four columns live in the record.
struct Allowance {
    const char* base;  // column name of the quantity, e.g. "DODPOS"
    const char* label; // label of the quantity on the card
    bool timeBased;    // the four minute allowances that the 130 % cap never touches
    Dec2 CardRecord::*quantity;
    Dec5 CardRecord::*multiplier;
    Dec2 CardRecord::*settled;
    Dec2 CardRecord::*toSettle;
};

// The fourteen allowances in settlement order, which is also their order on the screen.
std::span<const Allowance> allowances();
const Allowance& allowance(QAnyStringView base);
// The allowance whose quantity column is the given name, or nullptr.
const Allowance* findAllowance(QAnyStringView base);
inline constexpr int allowanceCount = 14;
inline constexpr int timeAllowanceCount = 4;
// Index of the towing allowance (DODH) and of the winter allowance (DODZ) in allowances().
inline constexpr int towingIndex = 13;
inline constexpr int winterIndex = 11;

using korven::ColumnShape;
using korven::ColumnType;

using CardField = std::variant<int CardRecord::*, Dec2 CardRecord::*, Dec5 CardRecord::*,
                               QString CardRecord::*, QDate CardRecord::*>;

// Description of one A_KARTA column: name, type, declared precision (width for text) and scale.
// The table is the one list of the card's columns for the rules, the command line, the data class
// (column lists of its statements) and the tests.
struct CardColumn {
    const char* name;
    ColumnType type;
    int precision;
    int scale;
    CardField field;
};

// Every column of A_KARTA, in the order of the table.
std::span<const CardColumn> cardColumns();
// The column of that name (case-insensitive, as the server treats names), or nullptr.
const CardColumn* findCardColumn(QAnyStringView name);

// The column's value: int, double, QString or QDate (a null date gives an invalid QDate).
QVariant cardValue(const CardRecord& card, const CardColumn& column);
// Assigns a value already checked for the column's type (decimals are rounded to the column's scale).
// Returns false, leaving the record as it was, when the value cannot be converted to the column's type.
bool setCardValue(CardRecord& card, const CardColumn& column, const QVariant& value);

// The shape of a column as the checks of typed values see it.
inline ColumnShape shapeOf(const CardColumn& column) {
    return {column.name, column.type, column.precision, column.scale};
}

// Largest magnitude a decimal or integer column can store: the columns are 32-bit scaled integers.
inline double columnLimit(const CardColumn& column) {
    return columnLimit(shapeOf(column));
}

// The caption the operator knows the column by ("Faktyczne zużycie paliwa"), without its unit.
QString columnCaption(const CardColumn& column);

// The first numeric column whose value the database could not keep, or nullptr when all fit.
const CardColumn* columnBeyondLimit(const CardRecord& card);

// "Caption: największa wartość 21 474 836,47" for a value too large for the column.
QString tooLargeMessage(const CardColumn& column);

} // namespace korven::tripcards
