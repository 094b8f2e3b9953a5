#include "charts/data/ChartData.h"

namespace korven::charts {

namespace {

const char* const kVehicleCards =
    "select ROKD as ROK, MIED as MIE, PRZEBIEGM as ILOSC, ZUZYCIEP as PALIWO, "
    "NORMAP as NORMA from A_KARTA where KODA = :KOD and ROKD between :OD and :DO";
const char* const kMachineCards =
    "select ROKS as ROK, MIES as MIE, CZAS as ILOSC, ZUZYCIEPALF as PALIWO, "
    "NORMAPAL as NORMA from A_KARTAS where KODS = :KOD and ROKS between :OD and :DO";

QString vehicleSums(const char* column) {
    return QStringLiteral("select K.MIED as MIE, sum(K.ZUZYCIEP) as PALIWO, sum(K.ZUZYCIEPN) as NORMA "
                          "from A_KARTA K join A_AUTO A on A.KODA = K.KODA "
                          "where K.ROKD = :ROK and A.%1 = :KOD group by K.MIED")
        .arg(QLatin1String(column));
}

QString machineSums(const char* column) {
    return QStringLiteral("select K.MIES as MIE, sum(K.ZUZYCIEPALF) as PALIWO, sum(K.ZUZYCIEPALN) as NORMA "
                          "from A_KARTAS K join A_SPRZET S on S.KODS = K.KODS "
                          "where K.ROKS = :ROK and S.%1 = :KOD group by K.MIES")
        .arg(QLatin1String(column));
}

QString entriesSql(ChartSubject subject) {
    switch (subject) {
    case ChartSubject::Vehicle:
        return QStringLiteral("select KODA as KOD, NRREJ, NAZWA from A_AUTO order by NRREJ, KODA");
    case ChartSubject::Machine:
        return QStringLiteral("select KODS as KOD, NRREJ, NAZWA from A_SPRZET order by NAZWA, KODS");
    case ChartSubject::VehicleKind:
        return QStringLiteral("select KOD, NAZWA from A_RODZP order by KOD");
    case ChartSubject::VehicleGroup:
        return QStringLiteral("select KOD, NAZWA from A_GRUPP order by KOD");
    case ChartSubject::MachineGroup:
        return QStringLiteral("select KOD, NAZWA from A_GRUPS order by KOD");
    case ChartSubject::VehicleUnit:
    case ChartSubject::MachineUnit:
        return QStringLiteral("select KOD, NAZWA from A_KOMEN order by KOD");
    }
    return {};
}

} // namespace

QString subjectCaption(ChartSubject subject) {
    switch (subject) {
    case ChartSubject::Vehicle:
        return QStringLiteral("Pojazd");
    case ChartSubject::Machine:
        return QStringLiteral("Sprzęt");
    case ChartSubject::VehicleKind:
        return QStringLiteral("Rodzaj pojazdów");
    case ChartSubject::VehicleGroup:
        return QStringLiteral("Grupa pojazdów");
    case ChartSubject::VehicleUnit:
        return QStringLiteral("Komenda (pojazdy)");
    case ChartSubject::MachineGroup:
        return QStringLiteral("Grupa sprzętu");
    case ChartSubject::MachineUnit:
        return QStringLiteral("Komenda (sprzęt)");
    }
    return {};
}

bool isRateChart(ChartSubject subject) {
    return subject == ChartSubject::Vehicle || subject == ChartSubject::Machine;
}

std::vector<ChartEntry> ChartData::entries(ChartSubject subject) {
    return db::inTransaction(working_, [&](db::Transaction& t) {
        std::vector<ChartEntry> list;
        for (const db::Row& row : t.select(entriesSql(subject))) {
            ChartEntry e;
            e.code = static_cast<int>(row.integer(QStringLiteral("KOD")));
            const QString name = row.text(QStringLiteral("NAZWA")).trimmed();
            if (row.has(QStringLiteral("NRREJ"))) {
                const QString plate = row.text(QStringLiteral("NRREJ")).trimmed();
                e.caption = plate.isEmpty() ? name : plate + QStringLiteral(" – ") + name;
            } else {
                e.caption = QStringLiteral("%1 %2").arg(e.code).arg(name);
            }
            list.push_back(std::move(e));
        }
        return list;
    });
}

std::vector<CardFigures> ChartData::cards(ChartSubject subject, int code, int fromYear, int toYear) {
    const QString sql = QLatin1String(subject == ChartSubject::Machine ? kMachineCards : kVehicleCards);
    return db::inTransaction(working_, [&](db::Transaction& t) {
        std::vector<CardFigures> list;
        const db::Params params{{QStringLiteral("KOD"), db::Value(static_cast<std::int64_t>(code))},
                                {QStringLiteral("OD"), db::Value(static_cast<std::int64_t>(fromYear - 2000))},
                                {QStringLiteral("DO"), db::Value(static_cast<std::int64_t>(toYear - 2000))}};
        for (const db::Row& row : t.select(sql, params))
            list.push_back({2000 + static_cast<int>(row.integer(QStringLiteral("ROK"))),
                            static_cast<int>(row.integer(QStringLiteral("MIE"))),
                            row.number(QStringLiteral("ILOSC")), row.number(QStringLiteral("PALIWO")),
                            row.number(QStringLiteral("NORMA"))});
        return list;
    });
}

std::vector<MonthFuel> ChartData::monthSums(ChartSubject subject, int code, int year) {
    QString sql;
    switch (subject) {
    case ChartSubject::VehicleKind:
        sql = vehicleSums("KOD_RP");
        break;
    case ChartSubject::VehicleGroup:
        sql = vehicleSums("KOD_GP");
        break;
    case ChartSubject::VehicleUnit:
        sql = vehicleSums("KOD_KO");
        break;
    case ChartSubject::MachineGroup:
        sql = machineSums("KOD_GR");
        break;
    case ChartSubject::MachineUnit:
        sql = machineSums("KOD_KO");
        break;
    case ChartSubject::Vehicle:
    case ChartSubject::Machine:
        return {};
    }
    return db::inTransaction(working_, [&](db::Transaction& t) {
        std::vector<MonthFuel> list;
        const db::Params params{{QStringLiteral("KOD"), db::Value(static_cast<std::int64_t>(code))},
                                {QStringLiteral("ROK"), db::Value(static_cast<std::int64_t>(year - 2000))}};
        for (const db::Row& row : t.select(sql, params))
            list.push_back({static_cast<int>(row.integer(QStringLiteral("MIE"))),
                            row.number(QStringLiteral("PALIWO")), row.number(QStringLiteral("NORMA"))});
        return list;
    });
}

} // namespace korven::charts
