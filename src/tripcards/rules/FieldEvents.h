#pragma once

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/Settlement.h"
#include "tripcards/rules/VehicleContext.h"

#include <QAnyStringView>
#include <QLocale>
#include <QString>
#include <QVariant>

namespace korven::tripcards {

// The one entry point of the settlement windows: each input field that is left, and the button
// "&Przelicz", is one call here, which runs the operation that belongs to that field on that window
// and hands back what the window shows.

// The card settled by norms and allowances, or by fuel meter readings.
enum class SettlementMode { Norms, Meter };

enum class FieldHandling {
    Recomputed, // the field's operation ran (see error for an arithmetic error on the way)
    NoRule,     // an input field without a rule: the value is stored, nothing is recomputed
    NotAnInput, // the column is not an input field of this window: nothing changed
    Rejected,   // the value does not fit the column: nothing changed, the field keeps the focus
};

struct FieldOutcome {
    FieldHandling handling = FieldHandling::Recomputed;
    QString error; // arithmetic error, refusal or rejection message; empty when all went well
    ResultLabel fuelLabel;
    ResultLabel oilLabel;
    bool ok() const { return error.isEmpty(); }
};

// Stores value into the column and runs the operation of that column's recomputing input field: on
// the card by norms ZUZYCIEP and ZUZYCIEO are the fields of "Dane Ogólne" (the ones in "Sumy" have no
// rule: store them with storeFieldValue). value is a number for numeric columns, a QDate (or a null
// value) for DATAD, or the text as the operator typed it, which is read by parseFieldInput in the
// system's locale; a value that does not fit is rejected with a message, nothing changes and no rule
// runs, and the window keeps the focus in the field.
FieldOutcome applyFieldEvent(CardRecord& card, const VehicleContext& vehicle, QAnyStringView column,
                             const QVariant& value, SettlementMode mode = SettlementMode::Norms);

// Stores a value typed into an input field that runs no rule (the actual fuel and oil in "Sumy", the
// call-out counts); checked and rejected like applyFieldEvent.
FieldOutcome storeFieldValue(CardRecord& card, QAnyStringView column, const QVariant& value);

// The same for a field whose value is already in the record (a window bound to the record).
FieldOutcome fieldLeft(CardRecord& card, const VehicleContext& vehicle, QAnyStringView column,
                       SettlementMode mode = SettlementMode::Norms);

// "&Przelicz": by norms the distribution of the allowances and the settlement chain, by meter the
// meter chain.
FieldOutcome recalculate(CardRecord& card, const VehicleContext& vehicle,
                         SettlementMode mode = SettlementMode::Norms);

// --- Typed input --------------------------------------------------------------------------------

struct ParsedInput {
    QVariant value;
    QString error; // why the text was refused; empty when it was taken
    bool ok() const { return error.isEmpty(); }
};

// Reads what the operator typed into the field of a column: a number in the locale's notation (a
// point is taken as the decimal separator too), a whole number for the integer columns, a date as
// year-month-day. Empty text is a null value (0, or no date). Text that is not a number or not a real
// date, and a number too large for the column, are refused with a message; no rule may run then.
ParsedInput parseFieldInput(const ColumnShape& column, const QString& text,
                            const QLocale& locale = QLocale());
inline ParsedInput parseFieldInput(const CardColumn& column, const QString& text,
                                   const QLocale& locale = QLocale()) {
    return parseFieldInput(shapeOf(column), text, locale);
}

// Why a value cannot be stored in the column, or empty text when it can.
QString checkFieldValue(const ColumnShape& column, const QVariant& value);
inline QString checkFieldValue(const CardColumn& column, const QVariant& value) {
    return checkFieldValue(shapeOf(column), value);
}

} // namespace korven::tripcards
