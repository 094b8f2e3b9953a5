#pragma once

#include "core/Columns.h"
#include "core/Decimal.h"

#include <QAnyStringView>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <span>
#include <variant>

namespace korven::equipcards {

using Dec2 = Decimal<2>;
using Dec3 = Decimal<3>;

// One monthly work card of a machine, a row of A_KARTAS, every column under its own name. The norms
// keep 3 decimals and the quantities 2, rounded when assigned as the stored row would be; the working
// time is whole minutes.
struct EquipmentCard {
    int KODS = 0;
    int KODK = 0;
    QString NRREJ;
    int ROKS = 0;
    int MIES = 0;
    QDate DATAS;
    int CZAS = 0;
    Dec3 NORMAPAL, NORMOLM, NORMOLS;
    Dec2 ZUZYCIEPALN, ZUZYCIEOLMN, ZUZYCIEOLSN, ZUZYCIEPALF;
    Dec2 ILOPOBOLM, ILOPOBOLS, POZOSTOLM, POZOSTOLS, OSZCZPAL;
    QString IMIENAZ;
};

// The key of a card row: every update and delete names all four columns.
struct EquipmentCardKey {
    int KODS = 0;
    int KODK = 0;
    int ROKS = 0;
    int MIES = 0;
    friend bool operator==(const EquipmentCardKey&, const EquipmentCardKey&) = default;
};
inline EquipmentCardKey keyOf(const EquipmentCard& card) {
    return {card.KODS, card.KODK, card.ROKS, card.MIES};
}

using EquipmentField = std::variant<int EquipmentCard::*, Dec2 EquipmentCard::*, Dec3 EquipmentCard::*,
                                    QString EquipmentCard::*, QDate EquipmentCard::*>;

// One column of A_KARTAS: its shape (name, type, width of a text, scale) and where it lives in the
// record. The table is the one list of the card's columns for the statements, the command line, the
// windows and the tests.
struct EquipmentColumn {
    ColumnShape shape;
    EquipmentField field;
    const char* name() const { return shape.name; }
};

// Every column of A_KARTAS, in the order of the table.
std::span<const EquipmentColumn> equipmentColumns();
// The column of that name (case-insensitive, as the server treats names), or nullptr.
const EquipmentColumn* findEquipmentColumn(QAnyStringView name);

// The column's value: int, double, QString or QDate (a null date gives an invalid QDate).
QVariant columnValue(const EquipmentCard& card, const EquipmentColumn& column);
// Assigns a value already checked for the column (decimals are rounded to the column's scale); false,
// leaving the record as it was, when the value cannot be converted to the column's type.
bool setColumnValue(EquipmentCard& card, const EquipmentColumn& column, const QVariant& value);

// The text a column shows in the register's list, the settlement window and the printed list: every
// number but the whole ones empty when it is exactly 0, otherwise with thousands separators, at most
// 7 significant digits and 3 decimals for the norms, 2 for the quantities. Whole numbers and texts
// show as they are, a date as year-month-day.
QString displayText(const EquipmentCard& card, const EquipmentColumn& column,
                    const QLocale& locale = QLocale());
QString displayText(const EquipmentCard& card, QAnyStringView columnName, const QLocale& locale = QLocale());
// The column's text without display formatting: numbers in general format, dates year-month-day.
QString plainText(const EquipmentCard& card, QAnyStringView columnName, const QLocale& locale = QLocale());

} // namespace korven::equipcards
