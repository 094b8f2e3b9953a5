#pragma once

#include "core/SystemSettings.h"
#include "equipcards/rules/EquipmentCard.h"
#include "equipcards/rules/EquipmentContext.h"

#include <QLocale>
#include <QString>

#include <span>

namespace korven::equipcards {

// Rules of the equipment card register ("KartaSp") that need no database: the list, captions, titles
// and messages, and the document fields of a card.

enum class ListBackground { None, Yellow, PaleYellow };

struct RegisterColumn {
    const char* name; // A_KARTAS column
    QString title;
    bool visible;
    bool centred;
    ListBackground background;
};
// The columns of the register's list, in order.
std::span<const RegisterColumn> registerColumns();

// "Karty Sprzętu  " + name + two blanks + registration number, filled and cut to 80 characters, then
// the working period.
QString registerCaption(const EquipmentContext& machine, const SystemSettings& settings);
// "Szczegółowe Dane Karty Sprzętowej" filled and cut to 80 characters, then the working period.
QString settlementCaption(const SystemSettings& settings);
// The bold heading of the settlement window: name, " - ", registration number.
QString settlementHeading(const EquipmentContext& machine);
// The title of the list export, cut to 100 characters.
QString registerExportTitle(const EquipmentContext& machine);
// Parameter "auto" of the list printout: trimmed name, two blanks, trimmed registration number.
QString registerReportMachine(const EquipmentContext& machine);

inline const QString registerReportFile = QStringLiteral("KartS.rav");
inline const QString registerDataView = QStringLiteral("RvDataSetConnectionKartaS");

// The work card templates: one page, or two when the check box is ticked; and the settlement.
QString workCardTemplate(bool onePage);
inline const QString settlementTemplate = QStringLiteral("karta_pracy_sprzetu2.xlsx");
// The caption of the template check box (and its state).
QString pagesCaption(bool ticked);

namespace messages {
QString blockedMachine();
QString machineDeleted();
QString cardDeleted();
} // namespace messages

// The sum of two capacities in general format, cut to 10 characters, as the work card shows it.
QString totalCapacity(double tank, double canisters, const QLocale& locale = QLocale());

// The text values the card documents are filled with.
struct EquipmentDocumentFields {
    QString operatorNumber;
    QString machineName;
    QString monthName;
    QString year;
    int monthNumber = 0;
    QString monthTwoDigits;
    int yearNumber = 0;
    QString cardNumber;
    QString month;
    QString date;
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
};

EquipmentDocumentFields documentFields(const EquipmentCard& card, const EquipmentContext& machine,
                                       const QLocale& locale = QLocale());

} // namespace korven::equipcards
