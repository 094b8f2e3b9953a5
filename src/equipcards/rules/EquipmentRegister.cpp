#include "equipcards/rules/EquipmentRegister.h"

#include "core/NumberFormat.h"
#include "core/Period.h"

namespace korven::equipcards {

namespace {

using B = ListBackground;

const RegisterColumn columns[] = {
    {"KODK", QStringLiteral("Nr Karty"), true, true, B::Yellow},
    {"NRREJ", QStringLiteral("Nr Rejestr."), false, false, B::None},
    {"ROKS", QStringLiteral("Rok"), true, true, B::None},
    {"MIES", QStringLiteral("M-c"), true, true, B::None},
    {"DATAS", QStringLiteral("Data Rozlicz."), true, true, B::None},
    {"CZAS", QStringLiteral("Czas pracy[min]"), true, false, B::PaleYellow},
    {"ZUZYCIEPALF", QStringLiteral("Zuż.paliwa faktycz."), true, false, B::PaleYellow},
    {"ZUZYCIEPALN", QStringLiteral("Zuż.paliwa norma"), true, false, B::None},
    {"OSZCZPAL", QStringLiteral("Oszczędność"), true, false, B::None},
    {"IMIENAZ", QStringLiteral("Kto rozliczył paliwo"), true, false, B::None},
};

QString nameAndNumber(const EquipmentContext& m, const QString& between) {
    return m.NAZWA.trimmed() + between + m.NRREJ.trimmed();
}

} // namespace

std::span<const RegisterColumn> registerColumns() {
    return columns;
}

QString registerCaption(const EquipmentContext& machine, const SystemSettings& settings) {
    return padCut(QStringLiteral("Karty Sprzętu  ") + nameAndNumber(machine, QStringLiteral("  ")), 80) +
           titleSuffix(settings.ROK, settings.MIE);
}

QString settlementCaption(const SystemSettings& settings) {
    return padCut(QStringLiteral("Szczegółowe Dane Karty Sprzętowej"), 80) +
           titleSuffix(settings.ROK, settings.MIE);
}

QString settlementHeading(const EquipmentContext& machine) {
    return nameAndNumber(machine, QStringLiteral(" - "));
}

QString registerExportTitle(const EquipmentContext& machine) {
    return (QStringLiteral("Kartoteka Kart Sprzętowych dla ") + nameAndNumber(machine, QStringLiteral("  ")))
        .left(100);
}

QString registerReportMachine(const EquipmentContext& machine) {
    return nameAndNumber(machine, QStringLiteral("  "));
}

QString workCardTemplate(bool onePage) {
    return onePage ? QStringLiteral("karta_pracy_sprzetu3.xlsx")
                   : QStringLiteral("karta_pracy_sprzetu1.xlsx");
}

QString pagesCaption(bool ticked) {
    return ticked ? QStringLiteral("Jedna strona") : QStringLiteral("Dwie strony");
}

namespace messages {
QString blockedMachine() {
    return QStringLiteral("UWAGA ...! Dodawanie Kart Sprzętu dla danego Pojazdu zostało zablokowane ....");
}
QString machineDeleted() {
    return QStringLiteral("Ten sprzęt został w międzyczasie usunięty z kartoteki przez innego operatora.");
}
QString cardDeleted() {
    return QStringLiteral("Ta Karta Sprzętowa została w międzyczasie usunięta lub zmieniona przez innego "
                          "operatora; zmiany nie zostały zapisane.");
}
} // namespace messages

QString totalCapacity(double tank, double canisters, const QLocale& locale) {
    return formatGeneral(canisters + tank, locale).left(10);
}

EquipmentDocumentFields documentFields(const EquipmentCard& card, const EquipmentContext& machine,
                                       const QLocale& locale) {
    EquipmentDocumentFields f;
    f.operatorNumber = machine.NROPER.trimmed();
    f.machineName = machine.NAZWA.trimmed();
    f.monthName = monthName(card.MIES);
    f.year = QStringLiteral("20") + twoDigits(card.ROKS);
    f.monthNumber = card.MIES;
    f.monthTwoDigits = twoDigits(card.MIES);
    f.yearNumber = card.ROKS;
    f.cardNumber = QString::number(card.KODK);
    f.month = QString::number(card.MIES);
    f.date = plainText(card, "DATAS", locale);
    f.fuelKind = machine.RODZPAL.trimmed();
    f.tankCapacity = machine.POJ_ZBIO.trimmed();
    f.canisterCapacity = machine.POJ_KANI.trimmed();
    f.totalCapacity = machine.totalCapacity.trimmed();
    f.fuelNorm = formatGeneral(machine.NORMPAL, locale);
    f.identificationNumber = machine.NRIDENT.trimmed();
    f.factoryNumber = machine.NRFABR.trimmed();
    f.registrationDocument = machine.NRPOD.trimmed();
    f.actualFuel = plainText(card, "ZUZYCIEPALF", locale);
    f.oilTaken = plainText(card, "ILOPOBOLM", locale);
    f.settledBy = card.IMIENAZ.trimmed();
    f.fuelByNorm = plainText(card, "ZUZYCIEPALN", locale);
    return f;
}

} // namespace korven::equipcards
