#include "services/data/ServiceData.h"

#include "tripcards/rules/CardRegister.h"

namespace korven::services {

namespace {

const QString listStatement =
    QStringLiteral("select * from A_OBSLU  where KODA =  :KODA  order by KODA, KODB");
const QString highestStatement = QStringLiteral("SELECT MAX (KODB) AS KODB FROM A_OBSLU WHERE KODA = :KODA");
const QString insertStatement =
    QStringLiteral("insert into A_OBSLU (KODA, KODB, DATAW) values (:KODA, :KODB, :DATAW)");
const QString updateStatement =
    QStringLiteral("update A_OBSLU set KODA = :KODA, KODB = :KODB, TYP = :TYP, NAZWA = :NAZWA, DATAW = "
                   ":DATAW, DATAP = :DATAP, "
                   "STANW = :STANW, STANP = :STANP, PLANW = :PLANW, UWAGI = :UWAGI, ILE = :ILE "
                   "where KODA = :OLD_KODA and KODB = :OLD_KODB");
const QString deleteStatement =
    QStringLiteral("delete from A_OBSLU where KODA = :OLD_KODA and KODB = :OLD_KODB");
const QString kindsStatement = QStringLiteral("select * from A_OBSK order by KOD");
const QString vehicleLock = QStringLiteral("select KODA from A_AUTO where KODA = :KODA with lock");

} // namespace

ServiceRecord serviceFromRow(const db::Row& row) {
    ServiceRecord s;
    s.KODA = static_cast<int>(row.integer(QStringLiteral("KODA")));
    s.KODB = static_cast<int>(row.integer(QStringLiteral("KODB")));
    s.TYP = row.text(QStringLiteral("TYP")).trimmed();
    s.NAZWA = row.text(QStringLiteral("NAZWA")).trimmed();
    s.DATAW = row.date(QStringLiteral("DATAW"));
    s.DATAP = row.date(QStringLiteral("DATAP"));
    s.STANW = row.number(QStringLiteral("STANW"));
    s.STANP = row.number(QStringLiteral("STANP"));
    s.PLANW = row.text(QStringLiteral("PLANW")).trimmed();
    s.UWAGI = row.text(QStringLiteral("UWAGI")).trimmed();
    s.ILE = static_cast<int>(row.integer(QStringLiteral("ILE")));
    return s;
}

ServiceData::ServiceData(db::Transaction& working, db::Transaction& bracket)
    : working_(working), bracket_(bracket) {}

std::optional<ServiceVehicle> ServiceData::loadVehicle(int KODA) {
    const auto row = db::inTransaction(working_, [&](db::Transaction& t) {
        return t.selectOne(QStringLiteral("select KODA, NAZWA, NRREJ from A_AUTO where KODA = :KODA"),
                           {{"KODA", KODA}});
    });
    if (!row) return std::nullopt;
    return ServiceVehicle{KODA, row->text(QStringLiteral("NAZWA")).trimmed(),
                          row->text(QStringLiteral("NRREJ")).trimmed()};
}

db::Rows ServiceData::list(int KODA) {
    try {
        return db::inTransaction(bracket_, [&](db::Transaction&) {
            return db::inTransaction(working_, [&](db::Transaction& t) {
                return t.select(listStatement, {{"KODA", KODA}});
            });
        });
    } catch (const std::exception&) {
        return {};
    }
}

AddServiceResult ServiceData::add(int KODA, const QDate& today) {
    return db::inTransaction(working_, [&](db::Transaction& t) {
        AddServiceResult result;
        if (!t.selectOne(vehicleLock, {{"KODA", KODA}})) {
            result.message = tripcards::messages::vehicleDeleted();
            return result;
        }
        const db::Value highest = t.scalar(highestStatement, {{"KODA", KODA}});
        result.KODB = nextServiceNumber(
            highest.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(highest.toInt())));
        t.execute(insertStatement, {{"KODA", KODA}, {"KODB", result.KODB}, {"DATAW", today}});
        result.added = true;
        return result;
    });
}

bool ServiceData::post(const ServiceRecord& s, int oldKODA, int oldKODB) {
    return db::inTransaction(working_, [&](db::Transaction& t) {
               return t.execute(updateStatement, {{"KODA", s.KODA},
                                                  {"KODB", s.KODB},
                                                  {"TYP", s.TYP.left(3)},
                                                  {"NAZWA", s.NAZWA.left(30)},
                                                  {"DATAW", s.DATAW},
                                                  {"DATAP", s.DATAP},
                                                  {"STANW", db::Decimal::fromDouble(s.STANW, 2)},
                                                  {"STANP", db::Decimal::fromDouble(s.STANP, 2)},
                                                  {"PLANW", s.PLANW.left(1)},
                                                  {"UWAGI", s.UWAGI.left(100)},
                                                  {"ILE", s.ILE},
                                                  {"OLD_KODA", oldKODA},
                                                  {"OLD_KODB", oldKODB}});
           }) > 0;
}

bool ServiceData::remove(int KODA, int KODB) {
    try {
        return db::inTransaction(working_, [&](db::Transaction& t) {
                   return t.execute(deleteStatement, {{"OLD_KODA", KODA}, {"OLD_KODB", KODB}});
               }) > 0;
    } catch (const std::exception&) {
        return false;
    }
}

std::vector<ServiceKind> ServiceData::kinds() {
    std::vector<ServiceKind> result;
    db::inTransaction(working_, [&](db::Transaction& t) {
        for (const db::Row& row : t.select(kindsStatement))
            result.push_back({static_cast<int>(row.integer(QStringLiteral("KOD"))),
                              row.text(QStringLiteral("TYP")).trimmed(),
                              row.text(QStringLiteral("NAZWA")).trimmed(),
                              static_cast<int>(row.integer(QStringLiteral("ILE")))});
    });
    return result;
}

std::vector<DueService> ServiceData::dueServices(const QDate& today, bool byCounter, int margin) {
    std::vector<DueService> due;
    db::inTransaction(working_, [&](db::Transaction& t) {
        const db::Rows rows = t.select(
            QStringLiteral("select s.*, a.NRREJ as A_NRREJ, a.NAZWA as A_NAZWA, "
                           "(select max(k.PRZEBIEGS) from A_KARTA k where k.KODA = s.KODA) as LICZNIK "
                           "from A_OBSLU s join A_AUTO a on a.KODA = s.KODA "
                           "where upper(s.PLANW) = 'N' order by s.KODA, s.KODB"));
        for (const db::Row& r : rows) {
            DueService d;
            d.service = serviceFromRow(r);
            d.NRREJ = r.text(QStringLiteral("A_NRREJ")).trimmed();
            d.vehicleName = r.text(QStringLiteral("A_NAZWA")).trimmed();
            if (!r.isNull(QStringLiteral("LICZNIK"))) d.lastOdometer = r.number(QStringLiteral("LICZNIK"));
            d.why = serviceDue(d.service, today, d.lastOdometer, byCounter, margin);
            if (d.why.due()) due.push_back(d);
        }
    });
    return due;
}

} // namespace korven::services
