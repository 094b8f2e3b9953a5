#include "tripcards/rules/CardRegister.h"

#include "core/NumberFormat.h"
#include "core/Period.h"
#include "core/Rounding.h"

#include <algorithm>
#include <tuple>

namespace korven::tripcards {

int findCard(std::span<const CardRecord> cards, const CardKey& key) {
    for (std::size_t i = 0; i < cards.size(); ++i)
        if (keyOf(cards[i]) == key) return static_cast<int>(i);
    return -1;
}

NumberingMode numberingMode(const QString& P6P12) {
    return P6P12.trimmed().toUpper() == QLatin1String("T") ? NumberingMode::PerMonth : NumberingMode::Running;
}

bool opensWithMonth(const QString& BLOKADA) {
    const QString lock = BLOKADA.trimmed();
    return lock.isEmpty() || lock == QLatin1String("N");
}

int nextCardNumber(std::optional<int> highestInScope, int firstNumber) {
    return highestInScope ? *highestInScope + 1 : firstNumber;
}

CarryOver carryOverFrom(std::span<const CardRecord> vehicleCards) {
    const CardRecord* last = nullptr;
    for (const CardRecord& c : vehicleCards)
        if (!last || std::tie(c.ROKD, c.MIED, c.KODD) > std::tie(last->ROKD, last->MIED, last->KODD))
            last = &c;
    if (!last) return {};
    return {last->PRZEBIEGS, last->PRZEBIEGSP, last->MIER_KON};
}

SystemMultipliers multipliersOf(const SystemSettings& s) {
    SystemMultipliers m;
    m.MN_POS = s.MN_POS;
    m.MN_MIE = s.MN_MIE;
    m.MN_ALA = s.MN_ALA;
    m.MN_GOROS = s.MN_GOROS;
    m.MN_GORPOZ = s.MN_GORPOZ;
    m.MN_OZ = s.MN_OZ;
    m.MN_KLI = s.MN_KLI;
    m.MN_TER = s.MN_TER;
    m.MN_ZIM = s.MN_ZIM;
    m.MN_SZK = s.MN_SZK;
    m.MN_HOLON = s.MN_HOLON;
    m.MN_HOLET = s.MN_HOLET;
    m.NORMA_OON = s.NORMA_OON;
    m.NORMA_OET = s.NORMA_OET;
    return m;
}

// --- List ------------------------------------------------------------------------------------------

namespace {

using B = ListBackground;

const ListColumn listColumns[] = {
    {"KODD", QStringLiteral("Nr Karty"), true, true, B::Yellow},
    {"NRREJ", QStringLiteral("Nr Rejestr."), false, false, B::None},
    {"ROKD", QStringLiteral("Rok"), true, true, B::None},
    {"MIED", QStringLiteral("M-c"), true, true, B::None},
    {"DATAD", QStringLiteral("Data Rozlicz."), true, true, B::None},
    {"ZUZYCIEO", QStringLiteral("Zuż.m-c olej"), true, false, B::PaleYellow},
    {"ZUZYCIEP", QStringLiteral("Zuż.m-c paliwo"), true, false, B::PaleYellow},
    {"PRZEBIEGM", QStringLiteral("Przeb.m-c"), true, false, B::None},
    {"PRZEBIEGMP", QStringLiteral("Przeb.m-c Przel."), true, false, B::None},
    {"PRZEBIEGS", QStringLiteral("Przeb.sum."), true, false, B::None},
    {"PRZEBIEGSP", QStringLiteral("Przeb.sum.Przel."), true, false, B::None},
    {"PRZEPALP", QStringLiteral("Oszczęd/Przep.Paliwo"), true, false, B::PaleYellow},
    {"PRZEPALO", QStringLiteral("Oszczęd/Przep.Olej"), true, false, B::PaleYellow},
    {"WYJAZDMZ", QStringLiteral("Wyjazdy Miejsc.Zagroż"), true, true, B::None},
    {"WYJAZDP", QStringLiteral("Wyjazdy Pożary"), true, true, B::None},
    {"WYJAZDF", QStringLiteral("Wyjazdy Fałszywe"), true, true, B::None},
    {"WYJAZDIN", QStringLiteral("Wyjazdy Inne"), true, true, B::None},
};

struct DisplayFormat {
    int precision = 0;
    int decimals = 0;
};

// The fixed number display of a column, or nothing for the columns shown as plain text.
std::optional<DisplayFormat> displayFormat(const CardColumn& column) {
    const QLatin1String name(column.name);
    static const char* const fuel[] = {"ZUZYCIEO", "ZUZYCIEP", "ZUZYCIEON", "ZUZYCIEPN",
                                       "DODATKIP", "RAZEMP",   "PRZEPALP",  "PRZEPALO"};
    static const char* const monthly[] = {"PRZEBIEGM", "PRZEBIEGMP"};
    static const char* const odometers[] = {"PRZEBIEG0", "PRZEBIEG0P", "PRZEBIEGS", "PRZEBIEGSP"};
    static const char* const norms[] = {"NORMAA", "NORMAUG", "NORMAP", "NORMAO"};
    auto in = [&](const auto& list) {
        return std::any_of(std::begin(list), std::end(list),
                           [&](const char* n) { return name == QLatin1String(n); });
    };
    if (in(fuel)) return DisplayFormat{7, 2};
    if (in(monthly)) return DisplayFormat{7, 0};
    if (in(odometers)) return DisplayFormat{10, 0};
    if (in(norms)) return DisplayFormat{6, 2};
    for (const Allowance& a : allowances()) {
        const QString base = QLatin1String(a.base);
        if (name == base + QLatin1String("_2") || name == base + QLatin1String("_3"))
            return DisplayFormat{7, 2};
    }
    return std::nullopt;
}

const CardColumn& column(const char* name) {
    const CardColumn* c = findCardColumn(QLatin1String(name));
    Q_ASSERT(c);
    return *c;
}

} // namespace

std::span<const ListColumn> registerListColumns() {
    return listColumns;
}

QString cardPlainText(const CardRecord& card, const CardColumn& column, const QLocale& locale) {
    const QVariant v = cardValue(card, column);
    switch (column.type) {
    case ColumnType::Integer:
        return QString::number(v.toInt());
    case ColumnType::Decimal:
        return formatGeneral(v.toDouble(), locale);
    case ColumnType::Text:
        return v.toString().trimmed();
    case ColumnType::Date: {
        const QDate d = v.toDate();
        return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    }
    }
    return {};
}

QString cardPlainText(const CardRecord& card, const char* columnName, const QLocale& locale) {
    return cardPlainText(card, column(columnName), locale);
}

QString cardDisplayText(const CardRecord& card, const CardColumn& column, const QLocale& locale) {
    if (const auto f = displayFormat(column))
        return formatNumber(cardValue(card, column).toDouble(), f->precision, f->decimals, locale);
    return cardPlainText(card, column, locale);
}

QString cardDisplayText(const CardRecord& card, const char* columnName, const QLocale& locale) {
    return cardDisplayText(card, column(columnName), locale);
}

// --- Window texts -----------------------------------------------------------------------------------

namespace {
QString nameAndPlate(const VehicleContext& v) {
    return v.NAZWA.trimmed() + QStringLiteral("  ") + v.NRREJ.trimmed();
}
} // namespace

QString registerCaption(const VehicleContext& vehicle, const SystemSettings& settings) {
    return padCut(QStringLiteral("Karty Drogowe  ") + nameAndPlate(vehicle), 80) +
           titleSuffix(settings.ROK, settings.MIE);
}

QString registerExportTitle(const VehicleContext& vehicle) {
    return (QStringLiteral("Kartoteka Kart Drogowych dla ") + nameAndPlate(vehicle)).left(100);
}

QString registerReportFile(int section) {
    return section == 2 ? QStringLiteral("KartD2.rav") : QStringLiteral("KartD.rav");
}

QString registerReportVehicle(const VehicleContext& vehicle) {
    return nameAndPlate(vehicle);
}

namespace messages {
QString blockedVehicle() {
    return QStringLiteral("UWAGA ...! Dodawanie Kart Drogowych dla danego Pojazdu zostało zablokowane ....");
}
QString deleteQuestion() {
    return QStringLiteral("Czy napewno wykasować daną pozycję ?");
}
QString deleteQuestionCaption() {
    return QStringLiteral("Ważne Pytanie");
}
QString vehicleDeleted() {
    return QStringLiteral(
        "Pojazd został usunięty przez innego użytkownika ... Karta Drogowa nie została zapisana.");
}
QString cardDeleted() {
    return QStringLiteral(
        "Karta Drogowa została usunięta przez innego użytkownika ... zmiany nie zostały zapisane.");
}
} // namespace messages

QString soundUnlessLocked(const SystemSettings& settings, const char* file) {
    return settings.soundLocked() ? QString() : QString::fromLatin1(file);
}

// --- Document fields ------------------------------------------------------------------------------

std::span<const char* const> reminderServiceKinds() {
    static const char* const kinds[] = {"BT", "OT", "LT", "UDT"};
    return kinds;
}

std::pair<ServiceReminder, ServiceReminder>
pickReminders(std::span<const std::optional<ServiceReminder>> perKind) {
    std::pair<ServiceReminder, ServiceReminder> picked;
    int found = 0;
    for (const auto& r : perKind) {
        if (!r) continue;
        (found == 0 ? picked.first : picked.second) = *r;
        if (++found == 2) break;
    }
    return picked;
}

DocumentFieldsOutcome documentFields(const CardRecord& card, const VehicleContext& vehicleIn,
                                     const SystemSettings& settings,
                                     const std::pair<ServiceReminder, ServiceReminder>& reminders,
                                     const QDate& today, const QLocale& locale) {
    const VehicleContext v = vehicleIn.normalised();
    DocumentFieldsOutcome out;
    DocumentFields& f = out.fields;

    double standstill = 0;
    if (!standstillNorm(v, settings.MN_POS, standstill)) {
        out.error =
            QStringLiteral("Błąd dzielenia przez zero: mnożnik „Praca silnika na postoju” w ustawieniach "
                           "systemu wynosi 0. Dokument nie został utworzony.");
        return out;
    }
    double tank = 0, canister = 0;
    for (auto [text, value] : {std::pair{&v.POJ_ZBIO, &tank}, std::pair{&v.POJ_KANI, &canister}}) {
        if (!parseNumber(*text, *value, locale)) {
            out.error =
                QStringLiteral("„%1” nie jest poprawną liczbą (pojemność zbiorników lub kanistrów pojazdu). "
                               "Dokument nie został utworzony.")
                    .arg(*text);
            return out;
        }
    }

    const QString todayText = today.toString(QStringLiteral("yyyy-MM-dd"));
    auto plain = [&](const char* name) { return cardPlainText(card, name, locale); };

    f.registrationNumber = v.NRREJ;
    f.vehicleName = v.NAZWA;
    f.chassis = (v.MARKAPOD + QLatin1Char(' ') + v.TYPPOD + QLatin1Char(' ') + v.MODELPOD).trimmed();
    f.vehicleNumber = QStringLiteral("Numer pojazdu %1").arg(v.KODA);
    f.monthName = monthName(card.MIED).trimmed();
    f.monthNumber = card.MIED;
    f.monthText = QString::number(card.MIED);
    f.year = QStringLiteral("20") + twoDigits(card.ROKD);
    f.yearNumber = card.ROKD;
    f.cardNumber = QString::number(card.KODD);
    f.fuelKind = v.RODZPAL;
    f.tankCapacity = v.POJ_ZBIO;
    f.canisterCapacity = v.POJ_KANI;
    f.totalCapacity = formatGeneral(roundToScale(canister + tank, 2), locale);
    f.fuelNorm = formatGeneral(v.NORMPAL, locale);
    f.ugNorm = formatGeneral(v.NORMUG, locale);
    f.pumpNorm = formatGeneral(v.NORMPOM, locale);
    f.standstillNorm = formatNumber(standstill, 10, 2, locale).trimmed();
    f.oilClass = v.OLEJ_KLA;
    f.lubricationCapacity = v.OLEJ_POJ;
    f.oilMake = v.OLEJ_MAR;
    f.preparedBy = settings.SPO.trimmed();
    f.placeAndDate = (settings.MIEJSC.trimmed() + QStringLiteral(", ") + todayText).trimmed();
    f.unit = v.KOMENDA;
    f.today = todayText;
    f.initialOdometer = plain("PRZEBIEG0");
    f.settlementDate = plain("DATAD");
    f.finalOdometer = plain("PRZEBIEGS");
    f.monthlyMileage = plain("PRZEBIEGM");
    f.actualFuel = formatGeneral(card.ZUZYCIEP, locale);
    f.totalDue = formatGeneral(card.RAZEMP, locale);
    f.fuelDifference = formatGeneral(roundToScale(card.RAZEMP - card.ZUZYCIEP, 2), locale);
    f.pump = plain("DODNAP");
    f.specialDevice = plain("DODUR1");
    f.standstill = plain("DODPOS");
    f.alarm = plain("DODA");
    f.city = plain("DODMIE");
    f.winter = plain("DODZ");
    f.terrain = plain("DODT");
    f.ug = plain("DODUG");
    f.airConditioning = plain("DODUR2");
    f.cardFuelNorm = plain("NORMAP");
    f.responsiblePerson = v.OSOB_ODP;
    auto trimmed = [](ServiceReminder r) {
        r.NAZWA = r.NAZWA.trimmed();
        r.DATAP = r.DATAP.trimmed();
        r.STANP = r.STANP.trimmed();
        return r;
    };
    f.firstService = trimmed(reminders.first);
    f.secondService = trimmed(reminders.second);
    return out;
}

} // namespace korven::tripcards
