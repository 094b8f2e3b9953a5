#include "services/rules/ServiceRules.h"

#include "core/Period.h"

#include <QStringList>

namespace korven::services {

namespace {

using B = ListBackground;

const RegisterColumn columns[] = {
    {"KODB", QStringLiteral("Lp."), true, B::Yellow},
    {"TYP", QStringLiteral("Typ"), true, B::None},
    {"NAZWA", QStringLiteral("Nazwa Rodzaju Obsługi"), false, B::PaleGreen},
    {"DATAW", QStringLiteral("Data Wyk.Obsługi"), true, B::None},
    {"STANW", QStringLiteral("Licznik przy Wyk.Obsługi"), false, B::None},
    {"DATAP", QStringLiteral("Data Plan.Obsługi"), true, B::PaleYellow},
    {"STANP", QStringLiteral("Licznik Planowany"), false, B::PaleYellow},
    {"PLANW", QStringLiteral("Plan"), true, B::None},
    {"UWAGI", QStringLiteral("Uwagi"), false, B::None},
};

QString vehicleText(const QString& name, const QString& registration) {
    return name.trimmed() + QStringLiteral("  ") + registration.trimmed();
}

} // namespace

int nextServiceNumber(std::optional<int> highestOfVehicle) {
    return highestOfVehicle ? *highestOfVehicle + 1 : 1;
}

void applyKind(ServiceRecord& service, const ServiceKind& kind) {
    service.TYP = kind.TYP.trimmed();
    service.NAZWA = kind.NAZWA.trimmed();
    service.ILE = kind.ILE;
}

std::optional<QDate> plannedDate(const QDate& done, int months) {
    if (!done.isValid()) return std::nullopt;
    int year = done.year();
    int month = done.month() + months;
    while (month > 12) {
        month -= 12;
        ++year;
    }
    while (month < 1) {
        month += 12;
        --year;
    }
    // The day itself, or the nearest earlier day that exists in that month (at most three back).
    for (int back = 0; back <= 3; ++back) {
        const QDate date(year, month, done.day() - back);
        if (date.isValid()) return date;
    }
    return std::nullopt;
}

QString registerCaption(const QString& vehicleName, const QString& registration,
                        const SystemSettings& settings) {
    return padCut(QStringLiteral("Kartoteka Obsług Technicznych  ") + vehicleText(vehicleName, registration),
                  80) +
           titleSuffix(settings.ROK, settings.MIE);
}

QString registerExportTitle(const QString& vehicleName, const QString& registration) {
    return (QStringLiteral("Kartoteka Obsług Technicznych dla ") + vehicleText(vehicleName, registration))
        .left(100);
}

QString registerReportVehicle(const QString& vehicleName, const QString& registration) {
    return vehicleText(vehicleName, registration);
}

std::span<const RegisterColumn> registerColumns() {
    return columns;
}

ServiceDue serviceDue(const ServiceRecord& service, const QDate& today, std::optional<double> lastOdometer,
                      bool byCounter, int margin) {
    ServiceDue d;
    if (service.PLANW.trimmed().toUpper() != QLatin1String("N")) return d;
    d.byDate = service.DATAP.isValid() && today.isValid() && service.DATAP <= today;
    d.byCounter = byCounter && service.STANP > 0 && lastOdometer && *lastOdometer >= service.STANP - margin;
    return d;
}

QString dueReasonText(const ServiceDue& why) {
    QStringList parts;
    if (why.byDate) parts << QStringLiteral("termin");
    if (why.byCounter) parts << QStringLiteral("licznik");
    return parts.join(QStringLiteral(", "));
}

} // namespace korven::services
