#include "fuelimport/data/FuelImportData.h"

#include "db/ListRead.h"
#include "tripcards/data/CardRegisterData.h"

#include <QDateTime>

#include <set>

namespace korven::fuelimport {

using tripcards::CardRecord;

namespace {

const QString mappingColumns =
    QStringLiteral("NAZWA, KOL_DATA, KOL_NRREJ, KOL_LITRY, KOL_LICZNIK, NAGLOWEK, DOMYSLNA");

ColumnMapping mappingFromRow(const db::Row& r) {
    ColumnMapping m;
    m.NAZWA = r.text(QStringLiteral("NAZWA")).trimmed();
    m.date = int(r.integer(QStringLiteral("KOL_DATA")));
    m.registration = int(r.integer(QStringLiteral("KOL_NRREJ")));
    m.litres = int(r.integer(QStringLiteral("KOL_LITRY")));
    m.odometer = int(r.integer(QStringLiteral("KOL_LICZNIK")));
    m.header = r.text(QStringLiteral("NAGLOWEK")).trimmed() != QLatin1String("N");
    m.isDefault = r.text(QStringLiteral("DOMYSLNA")).trimmed() == QLatin1String("T");
    return m;
}

bool sameCard(const CardRecord& a, const CardRecord& b) {
    for (const tripcards::CardColumn& c : tripcards::cardColumns())
        if (tripcards::cardValue(a, c) != tripcards::cardValue(b, c)) return false;
    return true;
}

QString cardName(const CardChange& c) {
    return QStringLiteral("%1 nr %2 (%3/%4)")
        .arg(c.NRREJ)
        .arg(c.key.KODD)
        .arg(c.key.MIED, 2, 10, QLatin1Char('0'))
        .arg(c.key.ROKD, 2, 10, QLatin1Char('0'));
}

} // namespace

FuelImportData::FuelImportData(db::Transaction& working, db::Transaction& bracket, SystemSettings settings,
                               OperatorSession operatorSession)
    : working_(working), bracket_(bracket), settings_(std::move(settings)),
      operator_(std::move(operatorSession)) {}

std::vector<ColumnMapping> FuelImportData::mappings() {
    return db::inTransaction(bracket_, [&](db::Transaction& t) {
        std::vector<ColumnMapping> out;
        for (const db::Row& r :
             t.select(QStringLiteral("select %1 from FJ_IMPMAP order by NAZWA").arg(mappingColumns)))
            out.push_back(mappingFromRow(r));
        return out;
    });
}

std::optional<ColumnMapping> FuelImportData::mapping(const QString& name) {
    for (const ColumnMapping& m : mappings())
        if (m.NAZWA == name.trimmed()) return m;
    return std::nullopt;
}

std::optional<ColumnMapping> FuelImportData::defaultMapping() {
    for (const ColumnMapping& m : mappings())
        if (m.isDefault) return m;
    return std::nullopt;
}

void FuelImportData::saveMapping(const ColumnMapping& m) {
    db::inTransaction(working_, [&](db::Transaction& t) {
        if (m.isDefault)
            t.execute(QStringLiteral("update FJ_IMPMAP set DOMYSLNA = 'N' where NAZWA <> :NAZWA"),
                      {{"NAZWA", m.NAZWA.trimmed()}});
        t.execute(
            QStringLiteral("update or insert into FJ_IMPMAP (%1) values (:NAZWA, :KOL_DATA, :KOL_NRREJ, "
                           ":KOL_LITRY, :KOL_LICZNIK, :NAGLOWEK, :DOMYSLNA) matching (NAZWA)")
                .arg(mappingColumns),
            {{"NAZWA", m.NAZWA.trimmed().left(40)},
             {"KOL_DATA", m.date},
             {"KOL_NRREJ", m.registration},
             {"KOL_LITRY", m.litres},
             {"KOL_LICZNIK", m.odometer},
             {"NAGLOWEK", m.header ? QStringLiteral("T") : QStringLiteral("N")},
             {"DOMYSLNA", m.isDefault ? QStringLiteral("T") : QStringLiteral("N")}});
    });
}

void FuelImportData::deleteMapping(const QString& name) {
    db::inTransaction(working_, [&](db::Transaction& t) {
        t.execute(QStringLiteral("delete from FJ_IMPMAP where NAZWA = :NAZWA"), {{"NAZWA", name.trimmed()}});
    });
}

ImportInput FuelImportData::loadInput(const std::vector<ParsedRow>& rows) {
    ImportInput input;
    input.accessLevel = operator_.accessLevel;
    input.currentYear = settings_.ROK;
    input.currentMonth = settings_.MIE;
    std::set<std::pair<int, int>> months;
    QDate first, last;
    for (const ParsedRow& p : rows) {
        if (!p.transaction.date.isValid()) continue;
        months.insert({p.transaction.date.year() % 100, p.transaction.date.month()});
        if (!first.isValid() || p.transaction.date < first) first = p.transaction.date;
        if (!last.isValid() || p.transaction.date > last) last = p.transaction.date;
    }
    db::inTransaction(bracket_, [&](db::Transaction& t) {
        for (const db::Row& r : t.select(QStringLiteral("select * from A_AUTO order by KODA")))
            input.vehicles.push_back(tripcards::vehicleFromRow(r).context);
        for (const auto& [year, month] : months)
            for (const db::Row& r :
                 t.select(QStringLiteral("select * from A_KARTA where ROKD = :ROKD and MIED = :MIED"),
                          {{"ROKD", year}, {"MIED", month}}))
                input.cards.push_back(tripcards::cardFromRow(r));
        if (first.isValid())
            for (const db::Row& r :
                 t.select(QStringLiteral("select KLUCZ from FJ_IMPTR where DATA between :D1 and :D2"),
                          {{"D1", first}, {"D2", last}}))
                input.importedKeys.insert(r.text(QStringLiteral("KLUCZ")).trimmed());
    });
    return input;
}

ApplyResult FuelImportData::apply(const ImportPlan& plan, const QString& fileName) {
    ApplyResult result;
    if (!plan.canApply()) {
        result.status = ApplyResult::Status::Refused;
        QStringList lines;
        for (const CardChange* c : plan.refused())
            lines << QStringLiteral("%1: %2").arg(cardName(*c), c->refusal);
        result.message = QStringLiteral("Import przerwany, niczego nie zapisano. Kart nie można zmienić:\n") +
                         lines.join(QLatin1Char('\n'));
        return result;
    }
    const CardChange* current = nullptr;
    try {
        db::inTransaction(working_, [&](db::Transaction& t) {
            for (const CardChange& change : plan.cards) {
                current = &change;
                const db::Params key{{"KODA", change.key.KODA},
                                     {"KODD", change.key.KODD},
                                     {"ROKD", change.key.ROKD},
                                     {"MIED", change.key.MIED}};
                const auto row =
                    t.selectOne(QStringLiteral("select * from A_KARTA where KODA = :KODA and KODD = "
                                               ":KODD and ROKD = :ROKD and MIED = :MIED with lock"),
                                key);
                if (!row || !sameCard(tripcards::cardFromRow(*row), change.original)) {
                    result.status = ApplyResult::Status::Conflict;
                    result.message =
                        QStringLiteral("Karta %1 została zmieniona lub usunięta po przygotowaniu podglądu. "
                                       "Niczego nie zapisano; przygotuj podgląd ponownie.")
                            .arg(cardName(change));
                    throw db::DbError(db::DbError::Reason::Other, result.message);
                }
                db::Params params = tripcards::cardParams(change.updated);
                params.set(QStringLiteral("OLD_KODA"), change.key.KODA)
                    .set(QStringLiteral("OLD_KODD"), change.key.KODD)
                    .set(QStringLiteral("OLD_ROKD"), change.key.ROKD)
                    .set(QStringLiteral("OLD_MIED"), change.key.MIED);
                t.execute(tripcards::cardUpdateStatement(), params);
            }
            current = nullptr;
            const QDateTime now = QDateTime::currentDateTime();
            for (const RowOutcome& r : plan.rows) {
                if (r.status != RowStatus::Matched) continue;
                const FuelTransaction& tx = r.transaction;
                t.execute(QStringLiteral(
                              "insert into FJ_IMPTR (KLUCZ, DATA, NRREJ, LITRY, LICZNIK, KODA, KODD, ROKD, "
                              "MIED, PLIK, KIEDY, KTO) values (:KLUCZ, :DATA, :NRREJ, :LITRY, :LICZNIK, "
                              ":KODA, :KODD, :ROKD, :MIED, :PLIK, :KIEDY, :KTO)"),
                          {{"KLUCZ", tx.key()},
                           {"DATA", tx.date},
                           {"NRREJ", tx.registration.left(20)},
                           {"LITRY", db::Value(tx.litres)},
                           {"LICZNIK", tx.odometer ? db::Value(*tx.odometer) : db::Value()},
                           {"KODA", r.card.KODA},
                           {"KODD", r.card.KODD},
                           {"ROKD", r.card.ROKD},
                           {"MIED", r.card.MIED},
                           {"PLIK", fileName.right(250)},
                           {"KIEDY", now},
                           {"KTO", operator_.userName.left(31)}});
                ++result.transactions;
            }
        });
        result.status = ApplyResult::Status::Applied;
        result.cards = int(plan.cards.size());
    } catch (const db::DbError& e) {
        result.transactions = 0;
        if (result.status == ApplyResult::Status::Conflict) return result;
        if (e.reason() == db::DbError::Reason::LockConflict) {
            result.status = ApplyResult::Status::Conflict;
            result.message =
                QStringLiteral("Karta %1 jest właśnie zapisywana przez innego operatora. Niczego nie "
                               "zapisano; spróbuj ponownie za chwilę.")
                    .arg(current ? cardName(*current) : QStringLiteral("pojazdu"));
        } else if (e.reason() == db::DbError::Reason::UniqueViolation) {
            result.status = ApplyResult::Status::Conflict;
            result.message =
                QStringLiteral("Część tych transakcji zaimportował w tej chwili inny operator. Niczego "
                               "nie zapisano; przygotuj podgląd ponownie.");
        } else {
            result.status = ApplyResult::Status::Failed;
            result.message = e.message();
        }
    } catch (const std::exception& e) {
        result.transactions = 0;
        result.status = ApplyResult::Status::Failed;
        result.message = db::errorMessage(e);
    }
    return result;
}

} // namespace korven::fuelimport
