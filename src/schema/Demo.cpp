#include "schema/Demo.h"

#include "equipcards/data/EquipmentCardDemo.h"
#include "services/data/ServiceDemo.h"
#include "tripcards/data/TripCardDemo.h"

#include <map>

namespace korven::schema {

namespace {

struct Unit {
    const char* name;
    const char* number;
};

struct VehicleModel {
    const char* name;
    int kind;  // A_RODZP.KOD
    int group; // A_GRUPP.KOD
    const char* make;
    const char* type;
    const char* model;
    const char* fuel;
    double norm, pumpNorm, ugNorm, device1, device2;
    char typ; // 'O' passenger, 'P' other
    int seats;
    double tank;
};

const char* const kinds[] = {"Samochód ratowniczo-gaśniczy",
                             "Samochód ratownictwa technicznego",
                             "Samochód specjalny - drabina",
                             "Samochód specjalny - podnośnik",
                             "Samochód operacyjny",
                             "Samochód osobowy",
                             "Nośnik kontenerów",
                             "Samochód kwatermistrzowski"};
const char* const groups[] = {"Lekki", "Średni", "Ciężki", "Specjalny", "Osobowy"};
const Unit units[] = {{"KM PSP Nowy Sącz", "JRG-1"},
                      {"JRG 2 Nowy Sącz", "JRG-2"},
                      {"JRG Krynica-Zdrój", "JRG-3"},
                      {"JRG Grybów", "JRG-4"},
                      {"OSP Chełmiec", "OSP-121"}};

const VehicleModel models[] = {
    {"GBA 2,5/16", 1, 2, "MAN", "TGM 13.290", "4x4 BL", "ON", 30.0, 0.55, 0.30, 0.20, 0.05, 'P', 6, 250},
    {"GCBA 5/32", 1, 3, "SCANIA", "P 360", "4x4", "ON", 42.0, 0.80, 0.40, 0.25, 0.05, 'P', 6, 300},
    {"GBA 3/16", 1, 2, "RENAULT", "MIDLUM 280", "4x4", "ON", 32.0, 0.60, 0.30, 0.20, 0.05, 'P', 6, 200},
    {"GLBM 0,5/8", 1, 1, "IVECO", "DAILY 70C17", "4x4", "ON", 18.0, 0.25, 0.20, 0.10, 0.04, 'P', 6, 100},
    {"SLRt", 2, 1, "FORD", "TRANSIT", "350 L", "ON", 14.0, 0.00, 0.00, 0.15, 0.04, 'P', 6, 80},
    {"SCRt", 2, 3, "MERCEDES", "ATEGO 1530", "4x4", "ON", 34.0, 0.00, 0.00, 0.45, 0.05, 'P', 6, 300},
    {"SD-30", 3, 4, "MAGIRUS", "M32L-AS", "IVECO 160E", "ON", 38.0, 0.00, 0.00, 0.60, 0.05, 'P', 3, 200},
    {"SH-25", 4, 4, "RENAULT", "D16", "BRONTO S", "ON", 36.0, 0.00, 0.00, 0.55, 0.05, 'P', 2, 200},
    {"SLOp", 5, 5, "SKODA", "OCTAVIA", "COMBI", "ET", 7.5, 0.00, 0.00, 0.00, 0.03, 'O', 5, 50},
    {"SLOp", 6, 5, "KIA", "CEED", "SW", "ET", 7.0, 0.00, 0.00, 0.00, 0.03, 'O', 5, 50},
    {"SCKn", 7, 3, "VOLVO", "FL 280", "6x2", "ON", 33.0, 0.00, 0.00, 0.50, 0.05, 'P', 3, 300},
    {"SLKw", 8, 1, "VOLKSWAGEN", "CRAFTER", "35", "ON", 12.0, 0.00, 0.00, 0.00, 0.04, 'P', 3, 75},
};

struct MachineModel {
    const char* name;
    int group; // A_GRUPS.KOD
    const char* maker;
    const char* engineMake;
    char engine; // '2' or '4'
    const char* power;
    double norm, oilMix, oilChain;
};

const MachineModel machines[] = {
    {"Motopompa M8/8", 5, "POLONIA", "Tohatsu", '2', "40", 0.25, 0.020, 0.0},
    {"Motopompa Tohatsu VE1500", 6, "TOHATSU", "Tohatsu", '2', "70", 0.30, 0.020, 0.0},
    {"Motopompa pływająca Niagara", 4, "NIAGARA", "Honda", '4', "6", 0.05, 0.0, 0.0},
    {"Pompa szlamowa WT40", 8, "HONDA", "Honda", '4', "9", 0.06, 0.0, 0.0},
    {"Agregat prądotwórczy 3,5 kVA", 3, "HONDA", "Honda GX200", '4', "6", 0.03, 0.0, 0.0},
    {"Agregat oddymiający PH-45", 1, "LEADER", "Honda GX160", '4', "5", 0.02, 0.0, 0.0},
    {"Piła do drewna MS 261", 10, "STIHL", "Stihl", '2', "4", 0.02, 0.008, 0.010},
    {"Piła do drewna 372XP", 10, "HUSQVARNA", "Husqvarna", '2', "5", 0.025, 0.010, 0.012},
    {"Piła do betonu i stali TS 420", 11, "STIHL", "Stihl", '2', "4", 0.03, 0.010, 0.0},
    {"Łódź z silnikiem 25 KM", 12, "MERCURY", "Mercury", '4', "25", 0.15, 0.0, 0.0},
    {"Zestaw hydrauliczny Lukas", 15, "LUKAS", "Honda GX160", '4', "5", 0.02, 0.0, 0.0},
};

} // namespace

void fillDemoData(db::Attachment& attachment, const DemoScale& scale) {
    scale.report(QStringLiteral("Słowniki, pojazdy i sprzęt"));
    db::Transaction t(attachment);
    db::inTransaction(t, [&](db::Transaction& tr) {
        int kod = 1;
        for (const char* name : kinds)
            tr.execute(QStringLiteral("insert into A_RODZP (KOD, NAZWA) values (:KOD, :NAZWA)"),
                       {{"KOD", kod++}, {"NAZWA", QString::fromUtf8(name)}});
        kod = 1;
        for (const char* name : groups)
            tr.execute(QStringLiteral("insert into A_GRUPP (KOD, NAZWA) values (:KOD, :NAZWA)"),
                       {{"KOD", kod++}, {"NAZWA", QString::fromUtf8(name)}});
        kod = 1;
        for (const Unit& u : units)
            tr.execute(
                QStringLiteral("insert into A_KOMEN (KOD, NAZWA, NRJED) values (:KOD, :NAZWA, :NRJED)"),
                {{"KOD", kod++},
                 {"NAZWA", QString::fromUtf8(u.name)},
                 {"NRJED", QString::fromUtf8(u.number)}});

        tr.execute(QStringLiteral(
            "update FJ_BAZA set NAZWASKR = 'KM PSP Nowy Sącz', NAZWAP1 = 'Komenda Miejska Państwowej Straży "
            "Pożarnej', "
            "NAZWAP2 = 'w Nowym Sączu', KRAJ = 'Polska', WOJEW = 'małopolskie', POWIAT = 'nowosądecki', "
            "GMINA = 'Nowy Sącz', ULICA = 'Grunwaldzka', NRDOM = '4', MIEJSC = 'Nowy Sącz', KODP = '33-300', "
            "POCZTA = 'Nowy Sącz', NIP = '734-10-20-300', REGON = '491234567', "
            "MER = 'mł. bryg. Anna Wrona', RAC = 'st. kpt. Piotr Sikora', GLK = 'st. bryg. Marek Lis', "
            "DYR = 'bryg. Tomasz Kruk', SPO = 'mł. asp. Ewa Zając' where LP = 1"));

        const char* const people[] = {"asp. Jan Nowak", "st. sekc. Paweł Wójcik", "mł. ogn. Adam Mazur",
                                      "ogn. Marcin Kaczmarek", "st. str. Kamil Zieliński"};
        db::Statement vehicle(attachment,
                              QStringLiteral("insert into A_AUTO (KODA, NRREJ, NAZWA, RODZPOJ, KO, KOMENDA, "
                                             "NRJED, KSRG, MARKAPOD, TYPPOD, MODELPOD, "
                                             "RPR, DOEKSPL, NROPER, RODZPAL, NORMPAL, NORMPOM, NORMUG, "
                                             "GRPOJ, KOD_RP, KOD_GP, KOD_KO, TYP, POJ_ZBIO, "
                                             "POJ_KANI, OLEJ_KLA, OLEJ_POJ, OLEJ_MAR, BLOKADA, NORMUR1, "
                                             "NORMUR2, CZY_MIERNIK, OSOB_ODP, ILOMIE) values "
                                             "(:KODA, :NRREJ, :NAZWA, :RODZPOJ, 'W', :KOMENDA, :NRJED, 'T', "
                                             ":MARKAPOD, :TYPPOD, :MODELPOD, :RPR, "
                                             ":DOEKSPL, :NROPER, :RODZPAL, :NORMPAL, :NORMPOM, :NORMUG, "
                                             ":GRPOJ, :KOD_RP, :KOD_GP, :KOD_KO, :TYP, "
                                             ":POJ_ZBIO, 20, :OLEJ_KLA, :OLEJ_POJ, :OLEJ_MAR, :BLOKADA, "
                                             ":NORMUR1, :NORMUR2, :CZY_MIERNIK, :OSOB_ODP, "
                                             ":ILOMIE)"));
        const int vehicleCount = scale.vehicles;
        for (int i = 0; i < vehicleCount; ++i) {
            const VehicleModel& m = models[i % std::size(models)];
            const Unit& u = units[i % std::size(units)];
            int year = 2004 + (i * 7) % 20;
            // The small unit's plates; beyond it, plates that stay unique however many vehicles there are.
            QString plate =
                i < 36 ? QStringLiteral("KN %1%2")
                             .arg(1000 + i * 137 % 8000)
                             .arg(QChar(QLatin1Char('A' + i % 6)))
                       : QStringLiteral("K%1 %2").arg(QChar(QLatin1Char('A' + i % 26))).arg(10000 + i);
            vehicle.execute(
                tr,
                {{"KODA", i + 1},
                 {"NRREJ", plate},
                 {"NAZWA", QStringLiteral("%1 %2").arg(QString::fromUtf8(m.name), QString::fromUtf8(m.make))},
                 {"RODZPOJ", QString::fromUtf8(kinds[m.kind - 1])},
                 {"KOMENDA", QString::fromUtf8(u.name)},
                 {"NRJED", QString::fromUtf8(u.number)},
                 {"MARKAPOD", QString::fromUtf8(m.make)},
                 {"TYPPOD", QString::fromUtf8(m.type)},
                 {"MODELPOD", QString::fromUtf8(m.model)},
                 {"RPR", QString::number(year)},
                 {"DOEKSPL", QDate(year, 1 + i % 12, 1 + i % 28)},
                 {"NROPER", QStringLiteral("391[K]%1").arg(21 + i)},
                 {"RODZPAL", QString::fromLatin1(m.fuel)},
                 {"NORMPAL", m.norm + (i / 12) * 0.5},
                 {"NORMPOM", m.pumpNorm},
                 {"NORMUG", m.ugNorm},
                 {"GRPOJ", QString::fromUtf8(groups[m.group - 1])},
                 {"KOD_RP", m.kind},
                 {"KOD_GP", m.group},
                 {"KOD_KO", static_cast<int>(i % std::size(units)) + 1},
                 {"TYP", QString(QLatin1Char(m.typ))},
                 {"POJ_ZBIO", m.tank},
                 {"OLEJ_KLA", QStringLiteral("15W-40")},
                 {"OLEJ_POJ", m.typ == 'O' ? 4.5 : 18.0},
                 {"OLEJ_MAR", QStringLiteral("ORLEN PLATINUM")},
                 // One vehicle is withdrawn from service and takes no new cards.
                 {"BLOKADA", i == vehicleCount - 1 ? QStringLiteral("T") : QStringLiteral("N")},
                 {"NORMUR1", m.device1},
                 {"NORMUR2", m.device2},
                 // Two heavy vehicles have fuel meters.
                 {"CZY_MIERNIK", (i == 1 || i == 13) ? QStringLiteral("T") : QStringLiteral("N")},
                 {"OSOB_ODP", QString::fromUtf8(people[i % std::size(people)])},
                 {"ILOMIE", m.seats}});
        }

        db::Statement machine(
            attachment,
            QStringLiteral("insert into A_SPRZET (KODS, NRREJ, NAZWA, KOD_GR, GRSPRZ, "
                           "KOD_KO, KOMENDA, NRJED, MARKASILN, TYPSILN, "
                           "RODZSILN, RPR, NRFABR, MOC, PRODUCENT, NROPER, DOEKSPL, "
                           "RODZPAL, NORMPAL, NORMOLM, NORMOLS, POJ_ZBIO, POJ_KANI, BLOKADA) "
                           "values (:KODS, :NRREJ, :NAZWA, :KOD_GR, :GRSPRZ, :KOD_KO, "
                           ":KOMENDA, :NRJED, :MARKASILN, :TYPSILN, "
                           ":RODZSILN, :RPR, :NRFABR, :MOC, :PRODUCENT, :NROPER, :DOEKSPL, "
                           "'ET', :NORMPAL, :NORMOLM, :NORMOLS, :POJ_ZBIO, :POJ_KANI, :BLOKADA)"));
        const int machineCount = scale.machines;
        std::map<int, QString> groupNames;
        for (int i = 0; i < machineCount; ++i) {
            const MachineModel& m = machines[i % std::size(machines)];
            const Unit& u = units[i % std::size(units)];
            int year = 2006 + (i * 5) % 18;
            QString& group = groupNames[m.group];
            if (group.isNull())
                group = tr.scalar(QStringLiteral("select NAZWA from A_GRUPS where KOD = :KOD"),
                                  {{"KOD", m.group}})
                            .toText();
            machine.execute(
                tr,
                {{"KODS", i + 1},
                 {"NRREJ", QStringLiteral("S-%1").arg(101 + i)},
                 {"NAZWA", QString::fromUtf8(m.name)},
                 {"KOD_GR", m.group},
                 {"GRSPRZ", group},
                 {"KOD_KO", static_cast<int>(i % std::size(units)) + 1},
                 {"KOMENDA", QString::fromUtf8(u.name)},
                 {"NRJED", QString::fromUtf8(u.number)},
                 {"MARKASILN", QString::fromUtf8(m.engineMake)},
                 {"TYPSILN", m.engine == '2' ? QStringLiteral("dwusuwowy") : QStringLiteral("czterosuwowy")},
                 {"RODZSILN", QString(QLatin1Char(m.engine))},
                 {"RPR", QString::number(year)},
                 {"NRFABR", QStringLiteral("F%1-%2").arg(year).arg(4000 + i * 31)},
                 {"MOC", QString::fromLatin1(m.power)},
                 {"PRODUCENT", QString::fromUtf8(m.maker)},
                 {"NROPER", QStringLiteral("SP-%1").arg(i + 1)},
                 {"DOEKSPL", QDate(year, 1 + i % 12, 1 + i % 28)},
                 {"NORMPAL", m.norm},
                 {"NORMOLM", m.oilMix},
                 {"NORMOLS", m.oilChain},
                 {"POJ_ZBIO", m.engine == '2' ? 1.5 : 6.0},
                 {"POJ_KANI", 10},
                 // One machine is out of service and takes no new cards.
                 {"BLOKADA", i == machineCount - 1 ? QStringLiteral("T") : QStringLiteral("N")}});
        }
    });
    // A year of settled trip cards, made by the register and the card rules themselves.
    tripcards::fillDemoTripCards(attachment, scale);
    // A year of work cards of the equipment, and the technical services of the vehicles.
    equipcards::fillDemoEquipmentCards(attachment, scale);
    services::fillDemoServices(attachment, scale);
}

} // namespace korven::schema
