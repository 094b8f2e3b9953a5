#include "exports/rules/CardDocuments.h"

#include "core/NumberFormat.h"
#include "core/Period.h"

namespace korven::exports {

namespace {

using tripcards::DocumentFields;

// A cell of a layout table: where, which field, which size.
template <typename Fields> struct LayoutCell {
    const char* cell;
    QString Fields::*field;
    int size;
};

template <typename Fields, std::size_t N>
void appendLayout(FillPlan& plan, const Fields& fields, const LayoutCell<Fields> (&table)[N]) {
    for (const LayoutCell<Fields>& c : table)
        plan.steps.push_back({QLatin1String(c.cell), (fields.*(c.field)).trimmed(), c.size, {}});
}

void append(FillPlan& plan, const char* cell, const QString& value, int size) {
    plan.steps.push_back({QLatin1String(cell), value, size, {}});
}

QString cut(const QString& text, int width) {
    return text.trimmed().left(width).trimmed();
}

// The equipment work card: the same cells in both page variants, and the head of the settlement.
// The composite dates sit between the card's head and its capacities.
const LayoutCell<EquipmentDocumentFields> equipmentHead[] = {
    {"I4", &EquipmentDocumentFields::operatorNumber, 15}, {"A4", &EquipmentDocumentFields::machineName, 12},
    {"M4", &EquipmentDocumentFields::monthName, 12},      {"S4", &EquipmentDocumentFields::year, 16},
    {"X2", &EquipmentDocumentFields::cardNumber, 11},     {"Z2", &EquipmentDocumentFields::month, 11},
    {"AB2", &EquipmentDocumentFields::year, 11},
};
const LayoutCell<EquipmentDocumentFields> equipmentTail[] = {
    {"B12", &EquipmentDocumentFields::fuelKind, 11},
    {"F12", &EquipmentDocumentFields::tankCapacity, 14},
    {"L12", &EquipmentDocumentFields::canisterCapacity, 14},
    {"Q12", &EquipmentDocumentFields::totalCapacity, 14},
    {"X13", &EquipmentDocumentFields::fuelNorm, 14},
    {"K18", &EquipmentDocumentFields::identificationNumber, 10},
    {"S18", &EquipmentDocumentFields::factoryNumber, 10},
    {"Z18", &EquipmentDocumentFields::registrationDocument, 10},
};
const LayoutCell<EquipmentDocumentFields> equipmentSettlementCells[] = {
    {"F23", &EquipmentDocumentFields::tankCapacity, 10},
    {"I23", &EquipmentDocumentFields::canisterCapacity, 10},
    {"F30", &EquipmentDocumentFields::actualFuel, 10},
    {"O30", &EquipmentDocumentFields::oilTaken, 10},
    {"F36", &EquipmentDocumentFields::tankCapacity, 10},
    {"I36", &EquipmentDocumentFields::canisterCapacity, 10},
};

// The vehicle work card before its first date, between the dates and the services, and after them.
const LayoutCell<DocumentFields> tripHead[] = {
    {"AB16", &DocumentFields::registrationNumber, 17},
    {"AM19", &DocumentFields::vehicleName, 11},
    {"AM22", &DocumentFields::chassis, 8},
    {"AB21", &DocumentFields::vehicleNumber, 8},
    {"AH9", &DocumentFields::monthName, 10},
    {"AV9", &DocumentFields::year, 10},
};
const LayoutCell<DocumentFields> tripMiddle[] = {
    {"AQ5", &DocumentFields::cardNumber, 12},
    {"AT5", &DocumentFields::monthText, 12},
    {"AW5", &DocumentFields::year, 12},
    {"AH31", &DocumentFields::fuelKind, 8},
    {"AK31", &DocumentFields::tankCapacity, 10},
    {"AP31", &DocumentFields::canisterCapacity, 10},
    {"AV31", &DocumentFields::totalCapacity, 10},
    {"AE43", &DocumentFields::fuelNorm, 10},
    {"AN43", &DocumentFields::ugNorm, 10},
    {"AI51", &DocumentFields::pumpNorm, 10},
    {"AX54", &DocumentFields::standstillNorm, 10},
    {"AE62", &DocumentFields::oilClass, 10},
    {"AK62", &DocumentFields::lubricationCapacity, 10},
    {"AU62", &DocumentFields::oilMake, 10},
    {"AF80", &DocumentFields::preparedBy, 10},
    {"AO80", &DocumentFields::placeAndDate, 10},
    {"AM75", &DocumentFields::responsiblePerson, 10},
};
const LayoutCell<DocumentFields> tripTail[] = {
    {"G6", &DocumentFields::tankCapacity, 10},
    {"J6", &DocumentFields::canisterCapacity, 10},
    {"C4", &DocumentFields::today, 6},
    {"E4", &DocumentFields::initialOdometer, 6},
    {"AW91", &DocumentFields::initialOdometer, 10},
};
const LayoutCell<DocumentFields> mileageCells[] = {
    {"O3", &DocumentFields::registrationNumber, 12},
    {"I5", nullptr, 14}, // the month name, read from the month's text
    {"O9", &DocumentFields::settlementDate, 12},
    {"O10", &DocumentFields::preparedBy, 8},
    {"H9", &DocumentFields::finalOdometer, 10},
    {"H10", &DocumentFields::initialOdometer, 10},
    {"H11", &DocumentFields::monthlyMileage, 10},
    {"I25", &DocumentFields::actualFuel, 10},
    {"I26", &DocumentFields::totalDue, 10},
    {"I27", &DocumentFields::fuelDifference, 10},
    {"C34", &DocumentFields::pump, 10},
    {"C35", &DocumentFields::specialDevice, 10},
    {"C39", &DocumentFields::standstill, 10},
    {"D42", &DocumentFields::alarm, 10},
    {"D43", &DocumentFields::city, 10},
    {"D44", &DocumentFields::winter, 10},
    {"D45", &DocumentFields::terrain, 10},
    {"C48", &DocumentFields::ug, 10},
    {"C49", &DocumentFields::airConditioning, 10},
    {"E31", &DocumentFields::cardFuelNorm, 12},
};

void appendService(FillPlan& plan, const tripcards::ServiceReminder& s, const char* name, const char* date,
                   const char* counter) {
    append(plan, name, s.NAZWA.trimmed(), 8);
    append(plan, date, s.DATAP.trimmed(), 8);
    append(plan, counter, s.STANP.trimmed(), 8);
}

QString tripTitle(const QString& kind, const DocumentFields& f) {
    return QStringLiteral("%1 %2 nr %3 %4-%5")
        .arg(kind, f.registrationNumber.trimmed(), f.cardNumber.trimmed(), f.year.trimmed(),
             twoDigits(f.monthNumber));
}

} // namespace

QString argbOfColourNumber(unsigned colour) {
    const unsigned red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return QStringLiteral("FF%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString firstDayOfMonth(const QString& year, int month) {
    return year + QLatin1Char('-') + twoDigits(month) + QStringLiteral("-01");
}

QString lastDayOfMonth(const QString& year, int yearNumber, int month) {
    return year + QLatin1Char('-') + twoDigits(month) + QLatin1Char('-') +
           twoDigits(daysInMonth(yearNumber, month));
}

FillPlan tripWorkCardPlan(const DocumentFields& f) {
    FillPlan plan;
    plan.templateFile = QLatin1String(kTripWorkCardTemplate);
    plan.title = tripTitle(QStringLiteral("Karta pracy pojazdu"), f);
    plan.colour = kDocumentRed;
    const QString year = f.year.trimmed();
    appendLayout(plan, f, tripHead);
    append(plan, "AK15", firstDayOfMonth(year, f.monthNumber), 10);
    append(plan, "AU15", lastDayOfMonth(year, f.yearNumber, f.monthNumber), 10);
    appendLayout(plan, f, tripMiddle);
    appendService(plan, f.firstService, "AC69", "AH69", "AM69");
    appendService(plan, f.secondService, "AC71", "AH71", "AM71");
    appendLayout(plan, f, tripTail);
    return plan;
}

FillPlan tripMileagePlan(const DocumentFields& f) {
    bool isNumber = false;
    const int month = f.monthText.trimmed().toInt(&isNumber);
    if (!isNumber)
        throw DocumentError(
            QStringLiteral("„%1” nie jest poprawnym numerem miesiąca.").arg(f.monthText.trimmed()));

    FillPlan plan;
    plan.templateFile = QLatin1String(kTripMileageTemplate);
    plan.title = tripTitle(QStringLiteral("Rozliczenie przebiegu"), f);
    plan.colour = kDocumentRed;
    append(plan, "O2",
           f.cardNumber.trimmed() + QLatin1Char('/') + f.monthText.trimmed() + QLatin1Char('/') +
               f.year.trimmed(),
           12);
    for (const LayoutCell<DocumentFields>& c : mileageCells) {
        const QString value = c.field ? (f.*(c.field)).trimmed() : monthName(month).trimmed();
        plan.steps.push_back({QLatin1String(c.cell), value, c.size, {}});
    }
    // The vehicle name's font covers the whole column block, E31 included.
    plan.steps.push_back({QStringLiteral("E3"), f.vehicleName.trimmed(), 14, QStringLiteral("E3:E35")});
    return plan;
}

FillPlan tripDocumentPlan(const DocumentFields& fields, bool mileageSettlement) {
    return mileageSettlement ? tripMileagePlan(fields) : tripWorkCardPlan(fields);
}

std::optional<QString> totalCapacity(const QString& tank, const QString& canister, const QLocale& locale) {
    double t = 0, c = 0;
    if (!parseNumber(tank.trimmed(), t, locale) || !parseNumber(canister.trimmed(), c, locale))
        return std::nullopt;
    return formatGeneral(c + t, locale).left(10);
}

EquipmentDocumentFields equipmentDocumentFields(const EquipmentCardRow& card,
                                                const EquipmentDocumentContext& m, const QDate& today,
                                                const QLocale& locale) {
    EquipmentDocumentFields f;
    f.operatorNumber = cut(m.NROPER, 20);
    f.machineName = cut(m.NAZWA, 40);
    f.monthName = monthName(card.MIES).trimmed();
    f.year = QStringLiteral("20") + twoDigits(card.ROKS);
    f.monthNumber = card.MIES;
    f.monthTwoDigits = twoDigits(card.MIES);
    f.yearNumber = card.ROKS;
    f.cardNumber = QString::number(card.KODK);
    f.month = QString::number(card.MIES);
    f.date = card.DATAS.isValid() ? card.DATAS.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    f.fuelKind = cut(m.RODZPAL, 2);
    f.tankCapacity = cut(m.POJ_ZBIO, 10);
    f.canisterCapacity = cut(m.POJ_KANI, 10);
    f.totalCapacity = cut(m.totalCapacity, 10);
    f.fuelNorm = formatGeneral(m.NORMPAL, locale);
    f.identificationNumber = cut(m.NRIDENT, 20);
    f.factoryNumber = cut(m.NRFABR, 30);
    f.registrationDocument = cut(m.NRPOD, 20);
    f.actualFuel = formatGeneral(card.ZUZYCIEPALF, locale);
    f.oilTaken = formatGeneral(card.ILOPOBOLM, locale);
    f.settledBy = card.IMIENAZ.trimmed();
    f.fuelByNorm = formatGeneral(card.ZUZYCIEPALN, locale);
    f.today = today.toString(QStringLiteral("yyyy-MM-dd"));
    return f;
}

QString equipmentTemplate(EquipmentForm form) {
    return QStringLiteral("karta_pracy_sprzetu%1.xlsx").arg(int(form));
}

std::optional<EquipmentForm> equipmentFormOf(const QString& kind) {
    if (kind == QLatin1String("1")) return EquipmentForm::WorkCardTwoPages;
    if (kind == QLatin1String("2")) return EquipmentForm::Settlement;
    if (kind == QLatin1String("3")) return EquipmentForm::WorkCardOnePage;
    return std::nullopt;
}

FillPlan equipmentDocumentPlan(const EquipmentDocumentFields& f, EquipmentForm form) {
    FillPlan plan;
    plan.templateFile = equipmentTemplate(form);
    plan.title = QStringLiteral("%1 %2 nr %3 %4-%5")
                     .arg(form == EquipmentForm::Settlement ? QStringLiteral("Rozliczenie sprzętu")
                                                            : QStringLiteral("Karta pracy sprzętu"),
                          f.machineName, f.cardNumber, f.year, f.monthTwoDigits);
    plan.colour = kDocumentGreen;
    appendLayout(plan, f, equipmentHead);
    append(plan, "X5", firstDayOfMonth(f.year, f.monthNumber), 11);
    append(plan, "X8", lastDayOfMonth(f.year, f.yearNumber, f.monthNumber), 11);
    appendLayout(plan, f, equipmentTail);
    if (form != EquipmentForm::Settlement) return plan;

    appendLayout(plan, f, equipmentSettlementCells);
    append(plan, "P34", QStringLiteral("Rozliczono na dzień     ") + f.date, 11);
    append(plan, "S36", f.settledBy, 9);
    append(plan, "K40", f.actualFuel, 10);
    append(plan, "K42", f.fuelByNorm, 10);
    // The settlement's four issue rows carry the day the document is made.
    for (const char* cell : {"B26", "B27", "B28", "B29"})
        append(plan, cell, f.today, 10);
    return plan;
}

} // namespace korven::exports
