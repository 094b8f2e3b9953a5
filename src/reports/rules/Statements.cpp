// The statements' names, captions, starting choices and prints.

#include "reports/rules/Statements.h"

#include "core/Period.h"

#include <algorithm>

namespace korven::reports {

namespace {

struct StatementInfo {
    StatementId id;
    const char* name;
    const char* title;
    int blanks; // between the title and the period in the window caption
    const char* exportTitle;
};

const StatementInfo kStatements[] = {
    {StatementId::Vehicles, "vehicles", "Zestawienie Pojazdów", 91, "Zestawienie Pojazdów"},
    {StatementId::Equipment, "equipment", "Zestawienie Sprzętu", 91, "Zestawienie Sprzętu"},
    {StatementId::TripCards, "trip-cards", "Zestawienie Kart Drogowych", 91, "Zestawienie Kart Drogowych"},
    {StatementId::EquipmentCards, "equipment-cards", "Zestawienie Kart Sprzętowych", 91,
     "Zestawienie Kart Sprzętowych"},
    {StatementId::ByKind, "by-kind", "Zestawienie Zużycia Paliwa wg Rodzajów Pojazdów", 21,
     "Zużycie Paliwa wg Rodzajów Pojazdów "},
    {StatementId::ByGroup, "by-group", "Zestawienie Zużycia Paliwa wg Grup Sprzętów", 21,
     "Zużycie Paliwa wg Grup Sprzętu "},
    {StatementId::YearlyVehicles, "yearly-vehicles", "Analityczne Zestawienie Zużycia Paliwa za rok", 35,
     "Analityczne Zużycie Paliwa"},
    {StatementId::YearlyEquipment, "yearly-equipment",
     "Analityczne Zestawienie Zużycia Paliwa dla Sprzętu za rok", 35,
     "Analityczne Zużycie Paliwa dla Sprzętu"},
    {StatementId::AverageVehicles, "average-vehicles", "Średnie Zużycie Paliwa wg lat", 52,
     "Średnie Zużycie Paliwa wg Lat"},
    {StatementId::AverageEquipment, "average-equipment", "Średnie Zużycie Paliwa dla Sprzętu wg lat", 52,
     "Średnie Zużycie Paliwa dla Sprzętu wg Lat"},
    {StatementId::Services, "services", "Zestawienie Obsług Technicznych", 78,
     "Zestawienie Obsług Technicznych"},
    {StatementId::Voucher, "voucher", "Asygnata Rozchodowa", 91, "Asygnata Rozchodowa"},
    {StatementId::DoubtfulCards, "doubtful-cards", "Zestawienie Wątpliwych Kart Drogowych", 70,
     "Wątpliwe Karty Drogowe"},
};

const StatementInfo& info(StatementId id) {
    for (const StatementInfo& s : kStatements)
        if (s.id == id) return s;
    return kStatements[0];
}

QString pick(int section, std::initializer_list<const char*> files) {
    const int i = section >= 1 && section <= static_cast<int>(files.size()) ? section - 1 : 0;
    return QString::fromLatin1(*(files.begin() + i));
}

} // namespace

QString statementName(StatementId id) {
    return QString::fromLatin1(info(id).name);
}

std::optional<StatementId> statementFromName(const QString& name) {
    for (const StatementInfo& s : kStatements)
        if (name == QLatin1String(s.name)) return s.id;
    return std::nullopt;
}

QList<StatementId> allStatements() {
    QList<StatementId> ids;
    for (const StatementInfo& s : kStatements)
        ids << s.id;
    return ids;
}

bool isEquipmentStatement(StatementId id) {
    switch (id) {
    case StatementId::Equipment:
    case StatementId::EquipmentCards:
    case StatementId::ByGroup:
    case StatementId::YearlyEquipment:
    case StatementId::AverageEquipment:
    case StatementId::Voucher:
        return true;
    default:
        return false;
    }
}

StatementChoices defaultChoices(StatementId, const SystemSettings& settings, const QDate& today) {
    StatementChoices c;
    c.month = settings.MIE >= 1 && settings.MIE <= 12 ? settings.MIE : 1;
    c.year = 2000 + settings.ROK;
    c.fromYear = std::max(2007, c.year - 5);
    c.toYear = c.year;
    c.from = today;
    c.to = today.addDays(30);
    return c;
}

void setStartYear(StatementChoices& choices, int startYear) {
    choices.fromYear = startYear;
    choices.toYear = startYear + 5;
}

QString statementTitle(StatementId id) {
    return QString::fromUtf8(info(id).title);
}

QString statementCaption(StatementId id, int year, int month) {
    return statementTitle(id) + QString(info(id).blanks, QLatin1Char(' ')) + titleSuffix(year, month);
}

QString statementExportTitle(StatementId id) {
    return QString::fromUtf8(info(id).exportTitle);
}

QString periodText(int month, int year) {
    return monthName(month).trimmed() + QLatin1Char(' ') + QString::number(year);
}

QString filterText(const FilterChoice& choice, const QString& allText) {
    return choice.all ? allText : choice.name.trimmed();
}

PrintSpec statementPrint(StatementId id, const StatementChoices& c, const SystemSettings& settings,
                         const QString& operatorFullName) {
    PrintSpec p;
    const QString firma = settings.NAZWASKR;
    const QString kinds = filterText(c.kind, QStringLiteral("Rodzaje wszystkie"));
    const QString groups = filterText(c.group, QStringLiteral("Grupy wszystkie"));
    const QString units = filterText(c.unit, QStringLiteral("Jednostki wszystkie"));
    const QString when = periodText(c.month, c.year);
    auto common = [&]() {
        p.parameters << qMakePair(QStringLiteral("firma"), firma)
                     << qMakePair(QStringLiteral("osoba"), operatorFullName);
    };
    switch (id) {
    case StatementId::Vehicles:
        p.projectFile = pick(c.section, {"RapPoj.rav", "RapPoj2.rav", "RapPoj3.rav"});
        p.dataView = QStringLiteral("RvDataSetConnectionRapPoj");
        common();
        p.parameters << qMakePair(QStringLiteral("rodzaj"), kinds)
                     << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units);
        break;
    case StatementId::Equipment:
        p.projectFile = pick(c.section, {"RapSprzet.rav", "RapSprzet2.rav", "RapSprzet3.rav"});
        p.dataView = QStringLiteral("RvDataSetConnectionRapSprzet");
        common();
        p.parameters << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units);
        break;
    case StatementId::TripCards:
        p.projectFile = c.registerForm ? QStringLiteral("RapKartDR.rav")
                                       : pick(c.section, {"RapKartD.rav", "RapKartD2.rav"});
        p.dataView = QStringLiteral("RvDataSetConnectionRapKartD");
        common();
        p.parameters << qMakePair(QStringLiteral("rodzaj"), kinds)
                     << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units)
                     << qMakePair(QStringLiteral("kiedy"), when);
        break;
    case StatementId::EquipmentCards:
        p.projectFile = QStringLiteral("RapKartS.rav");
        p.dataView = QStringLiteral("RvDataSetConnectionRapKartS");
        common();
        p.parameters << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units)
                     << qMakePair(QStringLiteral("kiedy"), when);
        break;
    case StatementId::ByKind:
        p.dataView = QStringLiteral("RvDataSetConnectionRapZuzyS");
        if (c.formal) {
            p.projectFile = QStringLiteral("RapZuzySF.rav");
            p.parameters << qMakePair(QStringLiteral("okres"),
                                      QStringLiteral("od ") + monthName(c.fromMonth).trimmed() +
                                          QStringLiteral(" do ") + monthName(c.toMonth).trimmed() +
                                          QLatin1Char(' ') + QString::number(c.year))
                         << qMakePair(QStringLiteral("jednost"), c.unit.all ? firma : c.unit.name.trimmed())
                         << qMakePair(QStringLiteral("sporzadzil"), settings.SPO)
                         << qMakePair(QStringLiteral("zatwierdzil"), settings.GLK);
        } else {
            p.projectFile = QStringLiteral("RapZuzyS.rav");
            p.landscape = false;
            common();
            p.parameters << qMakePair(QStringLiteral("jednost"), units);
        }
        break;
    case StatementId::ByGroup:
        p.projectFile = QStringLiteral("RapZuzySSp.rav");
        p.dataView = QStringLiteral("RvDataSetConnectionRapZuzySSp");
        p.landscape = false;
        common();
        p.parameters << qMakePair(QStringLiteral("jednost"), units);
        break;
    case StatementId::YearlyVehicles:
    case StatementId::YearlyEquipment: {
        const bool equipment = id == StatementId::YearlyEquipment;
        p.projectFile = equipment ? pick(c.section, {"RapZuzySpA.rav", "RapZuzySpA2.rav"})
                                  : pick(c.section, {"RapZuzyA.rav", "RapZuzyA2.rav"});
        p.dataView = equipment ? QStringLiteral("RvDataSetConnectionRapZuzyASp")
                               : QStringLiteral("RvDataSetConnectionRapZuzyA");
        common();
        p.parameters << qMakePair(QStringLiteral("jednost"), units);
        break;
    }
    case StatementId::AverageVehicles:
    case StatementId::AverageEquipment: {
        const bool equipment = id == StatementId::AverageEquipment;
        p.projectFile = equipment ? QStringLiteral("RapSredSp.rav") : QStringLiteral("RapSred.rav");
        p.dataView = equipment ? QStringLiteral("RvDataSetConnectionRapSredSP")
                               : QStringLiteral("RvDataSetConnectionRapSred");
        p.landscape = false;
        common();
        p.parameters << qMakePair(QStringLiteral("jednost"), units);
        for (int k = 1; k <= 6; ++k)
            p.parameters << qMakePair(QStringLiteral("par%1").arg(k), QString::number(c.fromYear + k - 1));
        break;
    }
    case StatementId::Services:
        p.projectFile = QStringLiteral("RapObsl.rav");
        p.dataView = QStringLiteral("RvDataSetConnectionRapObsl");
        common();
        p.parameters << qMakePair(QStringLiteral("rodzaj"), kinds)
                     << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units)
                     << qMakePair(QStringLiteral("obsl"),
                                  filterText(c.service, QStringLiteral("Obsługi wszystkie")));
        break;
    case StatementId::DoubtfulCards:
        p.projectFile = QStringLiteral("RapWatpl.rav");
        p.dataView = QStringLiteral("RvDataSetConnectionRapWatpl");
        common();
        p.parameters << qMakePair(QStringLiteral("rodzaj"), kinds)
                     << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units)
                     << qMakePair(QStringLiteral("kiedy"), when);
        break;
    case StatementId::Voucher:
        p.projectFile = c.oil ? QStringLiteral("RapAsygnat2.rav") : QStringLiteral("RapAsygnat.rav");
        p.dataView = QStringLiteral("RvDataSetConnectionRapAsygnat");
        p.landscape = false;
        common();
        p.parameters << qMakePair(QStringLiteral("grupa"), groups)
                     << qMakePair(QStringLiteral("jednost"), units)
                     << qMakePair(QStringLiteral("kiedy"), when);
        break;
    }
    return p;
}

} // namespace korven::reports
