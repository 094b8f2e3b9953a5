#pragma once

#include "core/SystemSettings.h"
#include "tripcards/rules/CardInsert.h"
#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/VehicleContext.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace korven::tripcards {

// Rules of the trip card register ("Karta") that need no database: numbering, carry-over, the list
// columns and their display texts, captions and the document fields.

// --- Keys, numbering, carry-over --------------------------------------------------------------

// The key of a card row: every update and delete names all four columns.
struct CardKey {
    int KODA = 0;
    int KODD = 0;
    int ROKD = 0;
    int MIED = 0;
    friend bool operator==(const CardKey&, const CardKey&) = default;
};
inline CardKey keyOf(const CardRecord& card) {
    return {card.KODA, card.KODD, card.ROKD, card.MIED};
}
// Index of the card with this key in a list, or -1.
int findCard(std::span<const CardRecord> cards, const CardKey& key);

// P6P12 = "T" (any case): numbers start again every month and run across all vehicles within it;
// otherwise one running sequence over all cards of all vehicles and periods.
enum class NumberingMode { PerMonth, Running };
NumberingMode numberingMode(const QString& P6P12);

// Whether the opening of a month gives a vehicle (or machine) with this card lock its card: only "N"
// or an empty lock passes, any other value keeps it out (the register refuses only "T").
bool opensWithMonth(const QString& BLOKADA);

// The number of a new card: the highest number of the scope plus 1, or the first number POCZNR
// itself when the scope holds no card yet.
int nextCardNumber(std::optional<int> highestInScope, int firstNumber);

// What a new card takes over from the vehicle's last card in (ROKD, MIED, KODD) order; zeros when the
// vehicle has no card.
CarryOver carryOverFrom(std::span<const CardRecord> vehicleCards);

// The multipliers and oil norms of the system record that a new card freezes.
SystemMultipliers multipliersOf(const SystemSettings& settings);

// --- The list ---------------------------------------------------------------------------------

enum class ListBackground { None, Yellow, PaleYellow };

struct ListColumn {
    const char* name; // A_KARTA column
    QString title;
    bool visible;
    bool centred;
    ListBackground background;
};
// The columns of the register's list, in order.
std::span<const ListColumn> registerListColumns();

// The text a card column shows wherever it is displayed (list, settlement windows, list reports):
// the fixed number display for the money-like columns, mileage and norms, the plain text otherwise.
QString cardDisplayText(const CardRecord& card, const CardColumn& column, const QLocale& locale = QLocale());
QString cardDisplayText(const CardRecord& card, const char* columnName, const QLocale& locale = QLocale());
// The column's text without display formatting: numbers in general format, dates year-month-day.
QString cardPlainText(const CardRecord& card, const CardColumn& column, const QLocale& locale = QLocale());
QString cardPlainText(const CardRecord& card, const char* columnName, const QLocale& locale = QLocale());

// --- Captions and texts of the register window -------------------------------------------------

// "Karty Drogowe  " + name + two blanks + registration number, filled and cut to 80 characters, then
// the working period.
QString registerCaption(const VehicleContext& vehicle, const SystemSettings& settings);
// The title of the list export, cut to 100 characters.
QString registerExportTitle(const VehicleContext& vehicle);
// The report project of the list printout for the section spin field (1 or 2).
QString registerReportFile(int section);
// Parameter "auto" of the list printout: trimmed name, two blanks, trimmed registration number.
QString registerReportVehicle(const VehicleContext& vehicle);

namespace messages {
QString blockedVehicle();
QString deleteQuestion();
QString deleteQuestionCaption();
QString vehicleDeleted();
QString cardDeleted();
} // namespace messages

// Sounds, played unless the sound lock DZWIEK is "T".
inline constexpr const char* refusedAdditionSound = "test.wav";
inline constexpr const char* refusedChangeSound = "mail.wav";
// The sound to play, or empty text while sounds are locked.
QString soundUnlessLocked(const SystemSettings& settings, const char* file);

// --- Document fields --------------------------------------------------------------------------

// One planned, not yet carried out service of the vehicle, as the work card shows it.
struct ServiceReminder {
    QString NAZWA; // 40
    QString DATAP; // date as text, 10
    QString STANP; // planned counter as text, 12
    bool isEmpty() const { return NAZWA.isEmpty() && DATAP.isEmpty() && STANP.isEmpty(); }
};
// The service short names in the order the reminders are looked for.
std::span<const char* const> reminderServiceKinds();
// The first and second reminder from the latest planned service of each kind (same order as
// reminderServiceKinds(), nothing where a kind has no planned service).
std::pair<ServiceReminder, ServiceReminder>
pickReminders(std::span<const std::optional<ServiceReminder>> perKind);

// The text values a card document is filled with.
struct DocumentFields {
    QString registrationNumber;
    QString vehicleName;
    QString chassis;
    QString vehicleNumber;
    QString monthName;
    int monthNumber = 0;
    QString monthText;
    QString year; // filled into two fields of the document
    int yearNumber = 0;
    QString cardNumber;
    QString fuelKind;
    QString tankCapacity;
    QString canisterCapacity;
    QString totalCapacity;
    QString fuelNorm;
    QString ugNorm;
    QString pumpNorm;
    QString standstillNorm;
    QString oilClass;
    QString lubricationCapacity;
    QString oilMake;
    QString preparedBy;
    QString placeAndDate;
    QString unit;
    QString today;
    QString initialOdometer;
    QString settlementDate;
    QString finalOdometer;
    QString monthlyMileage;
    QString actualFuel;
    QString totalDue;
    QString fuelDifference;
    QString pump;
    QString specialDevice;
    QString standstill;
    QString alarm;
    QString city;
    QString winter;
    QString terrain;
    QString ug;
    QString airConditioning;
    QString cardFuelNorm;
    QString responsiblePerson;
    ServiceReminder firstService;
    ServiceReminder secondService;
};

struct DocumentFieldsOutcome {
    DocumentFields fields;
    QString error; // arithmetic or conversion message; no document is built then
    bool ok() const { return error.isEmpty(); }
};

// Fills the document fields from the selected card, the vehicle context and the system record.
// MN_POS = 0 (standstill norm) and a tank or canister capacity that is not a number are errors.
DocumentFieldsOutcome documentFields(const CardRecord& card, const VehicleContext& vehicle,
                                     const SystemSettings& settings,
                                     const std::pair<ServiceReminder, ServiceReminder>& reminders,
                                     const QDate& today, const QLocale& locale = QLocale());

} // namespace korven::tripcards
