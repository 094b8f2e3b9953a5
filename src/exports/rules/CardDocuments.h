#pragma once

#include "tripcards/rules/CardRegister.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>
#include <stdexcept>
#include <vector>

namespace korven::exports {

// The card documents: printed forms kept as spreadsheet templates beside the program, filled with the
// values of one card at fixed cells in a fixed font. This part only says what goes where; the
// template filler writes it.

// --- What a document is made of -----------------------------------------------------------------

// Font of every written cell: Times New Roman, bold, the size of the cell and the colour of the
// document. Colours are the spreadsheet's colour numbers, blue * 65536 + green * 256 + red.
inline constexpr const char* kDocumentFontName = "Times New Roman";
inline constexpr unsigned kDocumentRed = 255;
inline constexpr unsigned kDocumentGreen = 32768;

// The colour number as the ARGB hex text of a workbook's styles ("FFFF0000" for red).
QString argbOfColourNumber(unsigned colour);

// One step of a fill: the font is applied to fontRange (the cell itself unless a block is named),
// then the value is written into the cell as text. An empty value leaves the cell empty but still
// formatted.
struct FillStep {
    QString cell;      // "AB16"
    QString value;     // written as text
    int size = 10;     // font size in points
    QString fontRange; // "E3:E35"; empty: the cell only
};

struct FillPlan {
    QString templateFile; // file name in the program's folder, e.g. "karta.xlsx"
    QString title;        // what the saved document is named after
    unsigned colour = kDocumentRed;
    std::vector<FillStep> steps; // in writing order
};

// A document that cannot be built from its fields (a month text that is not a number).
class DocumentError : public std::runtime_error {
public:
    explicit DocumentError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// --- Composite values ----------------------------------------------------------------------------

// "2024-02-01": the year text, the month in two digits and "-01".
QString firstDayOfMonth(const QString& year, int month);
// "2024-02-29": the last day by daysInMonth of the two-digit year number.
QString lastDayOfMonth(const QString& year, int yearNumber, int month);

// --- Trip card documents -------------------------------------------------------------------------

inline constexpr const char* kTripWorkCardTemplate = "karta.xlsx";
inline constexpr const char* kTripMileageTemplate = "karta2.xlsx";

// The vehicle work card ("karta.xlsx"), red.
FillPlan tripWorkCardPlan(const tripcards::DocumentFields& fields);
// The mileage settlement ("karta2.xlsx"), red. The month name is read from the month's plain text;
// a text that is not a whole number throws DocumentError.
FillPlan tripMileagePlan(const tripcards::DocumentFields& fields);
// The work card, or the mileage settlement when the register's check box is ticked.
FillPlan tripDocumentPlan(const tripcards::DocumentFields& fields, bool mileageSettlement);

// --- Equipment card documents --------------------------------------------------------------------

// The columns of an A_KARTAS row a document reads.
struct EquipmentCardRow {
    int KODS = 0;
    int KODK = 0;
    int ROKS = 0;
    int MIES = 0;
    QDate DATAS;
    double ZUZYCIEPALN = 0; // fuel by norm
    double ZUZYCIEPALF = 0; // actual fuel use
    double ILOPOBOLM = 0;   // mixture oil taken
    QString IMIENAZ;        // settled by
};

// What the equipment card register copies from its machine (the A_SPRZET columns a document reads),
// texts as stored; the fields below trim them and cut them to the register's widths.
struct EquipmentDocumentContext {
    QString NAZWA;
    double NORMPAL = 0;
    QString NROPER;
    QString RODZPAL;
    QString POJ_ZBIO;
    QString POJ_KANI;
    QString totalCapacity; // POJ_KANI + POJ_ZBIO read as numbers, in general format
    QString NRIDENT;
    QString NRFABR;
    QString NRPOD;
};

// The total capacity of a machine: both capacities read as numbers and added, in general format, or
// nothing when either is not a number.
std::optional<QString> totalCapacity(const QString& tank, const QString& canister,
                                     const QLocale& locale = QLocale());

// The text values an equipment document is filled with.
struct EquipmentDocumentFields {
    QString operatorNumber;
    QString machineName;
    QString monthName;
    QString year; // "20" + two digits
    int monthNumber = 0;
    QString monthTwoDigits;
    int yearNumber = 0;
    QString cardNumber;
    QString month;
    QString date; // settlement date, empty when the card has none
    QString fuelKind;
    QString tankCapacity;
    QString canisterCapacity;
    QString totalCapacity;
    QString fuelNorm;
    QString identificationNumber;
    QString factoryNumber;
    QString registrationDocument;
    QString actualFuel;
    QString oilTaken;
    QString settledBy;
    QString fuelByNorm;
    QString today; // the day the document is made
};

EquipmentDocumentFields equipmentDocumentFields(const EquipmentCardRow& card,
                                                const EquipmentDocumentContext& machine, const QDate& today,
                                                const QLocale& locale = QLocale());

// The three equipment documents, by the kind the register asks for.
enum class EquipmentForm {
    WorkCardTwoPages = 1, // "karta_pracy_sprzetu1.xlsx"
    Settlement = 2,       // "karta_pracy_sprzetu2.xlsx"
    WorkCardOnePage = 3   // "karta_pracy_sprzetu3.xlsx", the same cells as the first
};
QString equipmentTemplate(EquipmentForm form);
// The form for the kind "1", "2" or "3", or nothing for any other text.
std::optional<EquipmentForm> equipmentFormOf(const QString& kind);
// "&Karta Pracy " with the register's check box (ticked: one page), "&Rozliczenie" the settlement.
inline EquipmentForm equipmentWorkCardForm(bool onePage) {
    return onePage ? EquipmentForm::WorkCardOnePage : EquipmentForm::WorkCardTwoPages;
}

// The filled equipment document, green.
FillPlan equipmentDocumentPlan(const EquipmentDocumentFields& fields, EquipmentForm form);

} // namespace korven::exports
