#include "tripcards/data/CardRegisterData.h"

#include "core/NumberFormat.h"
#include "db/ColumnValues.h"
#include "db/ListRead.h"
#include "session/data/AddonOptionsData.h"
#include "tripcards/rules/CardAccess.h"
#include "tripcards/rules/Plausibility.h"

#include <QStringList>

namespace korven::tripcards {

namespace {

const QString listStatement =
    QStringLiteral("select * from A_KARTA  where KODA =  :KODA  order by KODA, ROKD, MIED, KODD");
const QString highestNumberStatement = QStringLiteral("SELECT MAX (KODD) AS KODD FROM A_KARTA");
const QString highestNumberInMonthStatement =
    QStringLiteral("SELECT MAX (KODD) AS KODD FROM A_KARTA WHERE ((ROKD = :ROKD) AND (MIED = :MIED))");
const QString deleteStatement = QStringLiteral("delete from A_KARTA where KODA = :OLD_KODA and KODD = "
                                               ":OLD_KODD and ROKD = :OLD_ROKD and MIED = :OLD_MIED");
const QString keyCondition =
    QStringLiteral(" where KODA = :OLD_KODA and KODD = :OLD_KODD and ROKD = :OLD_ROKD and MIED = :OLD_MIED");
// Locking the one row of the system record serialises the allocation of card numbers: a second
// operator waits here until the first has committed his card, and then reads its number.
const QString numberingLock = QStringLiteral("SELECT LP FROM FJ_BAZA WHERE LP = 1 WITH LOCK");
// The vehicle row is locked while its card is inserted, so that it cannot be deleted under the new card.
const QString vehicleLock = QStringLiteral("select KODA, BLOKADA from A_AUTO where KODA = :KODA with lock");
const QString lastCardStatement =
    QStringLiteral("select PRZEBIEGS, PRZEBIEGSP, MIER_KON from A_KARTA where KODA = "
                   ":KODA order by ROKD desc, MIED desc, KODD desc");
const QString monthCardsStatement =
    QStringLiteral("select count(*) from A_KARTA where KODA = :KODA and ROKD = :ROKD and MIED = :MIED");
const QString reminderStatement = QStringLiteral(
    "select * from A_OBSLU  where (KODA = :KODA) AND (TYP = :TYP) AND (PLANW = :PLANW)  order by DATAP");

// The columns the insert names; every other column takes its default.
const char* const insertColumns[] = {"KODA",     "KODD",     "NRREJ",    "ROKD",   "MIED",      "DATAD",
                                     "DODPOS_1", "DODNAP_1", "DODMIE_1", "DODA_1", "DODG_1",    "DODUG_1",
                                     "DODOZ_1",  "DODK_1",   "DODT_1",   "DODZ_1", "DODSZ_1",   "DODH_1",
                                     "NORMAA",   "NORMAUG",  "NORMAP",   "NORMAO", "PRZEBIEG0", "PRZEBIEG0P",
                                     "DODUR1_1", "DODUR2_1", "MIER_POCZ"};

QString capacityText(const db::Row& row, const char* column, const QLocale& locale) {
    const QString name = QLatin1String(column);
    return row.isNull(name) ? QString() : formatGeneral(row.number(name), locale);
}

} // namespace

QString cardInsertStatement() {
    QStringList names, params;
    for (const char* c : insertColumns) {
        names << QLatin1String(c);
        params << QLatin1Char(':') + QLatin1String(c);
    }
    return QStringLiteral("insert into A_KARTA (%1) values (%2)")
        .arg(names.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
}

QString cardUpdateStatement() {
    QStringList sets;
    for (const CardColumn& c : cardColumns())
        sets << QStringLiteral("%1 = :%1").arg(QLatin1String(c.name));
    return QStringLiteral("update A_KARTA set ") + sets.join(QStringLiteral(", ")) + keyCondition;
}

db::Params cardInsertParams(const CardRecord& card) {
    const db::Params all = cardParams(card);
    db::Params params;
    for (const char* c : insertColumns)
        params.set(QLatin1String(c), *all.find(QLatin1String(c)));
    return params;
}

db::Params cardParams(const CardRecord& card) {
    db::Params p;
    for (const CardColumn& c : cardColumns())
        p.set(QLatin1String(c.name), db::columnParam(cardValue(card, c), shapeOf(c)));
    return p;
}

RegisterVehicle vehicleFromRow(const db::Row& row, const QLocale& locale) {
    RegisterVehicle r;
    VehicleContext& v = r.context;
    v.KODA = static_cast<int>(row.integer(QStringLiteral("KODA")));
    v.NORMPAL = row.number(QStringLiteral("NORMPAL"));
    v.NORMPOM = row.number(QStringLiteral("NORMPOM"));
    v.NORMUG = row.number(QStringLiteral("NORMUG"));
    v.RODZPAL = row.text(QStringLiteral("RODZPAL"));
    v.NRREJ = row.text(QStringLiteral("NRREJ"));
    v.NAZWA = row.text(QStringLiteral("NAZWA"));
    v.TYP = row.text(QStringLiteral("TYP"));
    v.MARKAPOD = row.text(QStringLiteral("MARKAPOD"));
    v.TYPPOD = row.text(QStringLiteral("TYPPOD"));
    v.MODELPOD = row.text(QStringLiteral("MODELPOD"));
    v.POJ_ZBIO = capacityText(row, "POJ_ZBIO", locale);
    v.POJ_KANI = capacityText(row, "POJ_KANI", locale);
    v.OLEJ_KLA = row.text(QStringLiteral("OLEJ_KLA"));
    v.OLEJ_POJ = capacityText(row, "OLEJ_POJ", locale);
    v.OLEJ_MAR = row.text(QStringLiteral("OLEJ_MAR"));
    v.KOMENDA = row.text(QStringLiteral("KOMENDA"));
    v.NORMUR1 = row.number(QStringLiteral("NORMUR1"));
    v.NORMUR2 = row.number(QStringLiteral("NORMUR2"));
    v.CZY_MIERNIK = row.text(QStringLiteral("CZY_MIERNIK"));
    v.OSOB_ODP = row.text(QStringLiteral("OSOB_ODP"));
    v = v.normalised();
    r.BLOKADA = row.text(QStringLiteral("BLOKADA")).trimmed();
    return r;
}

CardRecord cardFromRow(const db::Row& row) {
    CardRecord card;
    for (const CardColumn& c : cardColumns()) {
        const QString name = QLatin1String(c.name);
        if (!row.has(name)) continue;
        setCardValue(card, c, db::columnVariant(row[name], shapeOf(c)));
    }
    return card;
}

// ---------------------------------------------------------------------------------------------------

CardRegisterData::CardRegisterData(db::Transaction& working, db::Transaction& bracket,
                                   SystemSettings settings, OperatorSession operatorSession)
    : working_(working), bracket_(bracket), settings_(std::move(settings)),
      operator_(std::move(operatorSession)) {}

std::optional<RegisterVehicle> CardRegisterData::loadVehicle(int KODA) {
    const auto row = db::inTransaction(working_, [&](db::Transaction& t) {
        return t.selectOne(QStringLiteral("select * from A_AUTO where KODA = :KODA"), {{"KODA", KODA}});
    });
    if (!row) return std::nullopt;
    return vehicleFromRow(*row);
}

CardList CardRegisterData::list(int KODA) {
    CardList result;
    result.error = db::readListInBracket(bracket_, working_, [&](db::Transaction& t) {
        for (const db::Row& row : t.select(listStatement, {{"KODA", KODA}}))
            result.cards.push_back(cardFromRow(row));
    });
    if (!result.error.isEmpty()) result.cards.clear();
    return result;
}

bool CardRegisterData::vehicleExists(db::Transaction& t, int KODA) {
    return t.selectOne(QStringLiteral("select KODA from A_AUTO where KODA = :KODA"), {{"KODA", KODA}})
        .has_value();
}

AddResult CardRegisterData::addCard(const VehicleContext& vehicle, const QDate& today, AdditionMode mode) {
    AddResult result;
    const int year = settings_.ROK;
    const int month = settings_.MIE;
    try {
        db::inTransaction(working_, [&](db::Transaction& t) {
            t.selectOne(numberingLock);
            const auto vehicleRow = t.selectOne(vehicleLock, {{"KODA", vehicle.KODA}});
            if (!vehicleRow) {
                result.status = AddStatus::VehicleMissing;
                result.message = messages::vehicleDeleted();
                return;
            }
            const QString lock = vehicleRow->text(QStringLiteral("BLOKADA"));
            if (mode == AdditionMode::MonthOpening) {
                if (!opensWithMonth(lock)) {
                    result.status = AddStatus::Blocked;
                    return;
                }
                if (t.scalar(monthCardsStatement, {{"KODA", vehicle.KODA}, {"ROKD", year}, {"MIED", month}})
                        .toInt() > 0) {
                    result.status = AddStatus::AlreadyHasCard;
                    return;
                }
            } else if (lock.trimmed() == QLatin1String("T")) {
                result.status = AddStatus::Blocked;
                result.message = messages::blockedVehicle();
                result.sound = soundUnlessLocked(settings_, refusedAdditionSound);
                return;
            }

            CarryOver carried;
            if (const auto last = t.selectOne(lastCardStatement, {{"KODA", vehicle.KODA}}))
                carried = {last->number(QStringLiteral("PRZEBIEGS")),
                           last->number(QStringLiteral("PRZEBIEGSP")),
                           last->number(QStringLiteral("MIER_KON"))};

            const db::Value highest =
                numberingMode(settings_.P6P12) == NumberingMode::PerMonth
                    ? t.scalar(highestNumberInMonthStatement, {{"ROKD", year}, {"MIED", month}})
                    : t.scalar(highestNumberStatement);
            const std::optional<int> max =
                highest.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(highest.toInt()));
            const int number = nextCardNumber(max, settings_.POCZNR);

            const NewCardOutcome outcome = newCard(vehicle.normalised(), multipliersOf(settings_),
                                                   {number, year, month, today}, carried);
            if (!outcome.ok()) {
                result.status = AddStatus::ArithmeticError;
                result.message = outcome.error;
                return;
            }
            t.execute(cardInsertStatement(), cardInsertParams(outcome.card));
            result.status = AddStatus::Added;
            result.card = outcome.card;
            result.key = keyOf(outcome.card);
        });
    } catch (const db::DbError& e) {
        // A vehicle deleted by someone whose delete was not yet committed when we asked for its row
        // shows up here as a conflict; tell it apart from a busy row.
        bool missing = false;
        if (e.reason() == db::DbError::Reason::LockConflict) {
            try {
                missing = !db::inTransaction(
                    working_, [&](db::Transaction& t) { return vehicleExists(t, vehicle.KODA); });
            } catch (const std::exception&) {
            }
        }
        result = AddResult();
        result.status = missing ? AddStatus::VehicleMissing : AddStatus::Failed;
        result.message = missing ? messages::vehicleDeleted() : e.message();
    } catch (const std::exception& e) {
        result = AddResult();
        result.status = AddStatus::Failed;
        result.message = db::errorMessage(e);
    }
    return result;
}

PostResult CardRegisterData::saveCard(const CardRecord& edited, const CardKey& original) {
    if (!maySaveCard(original.ROKD, original.MIED, settings_.ROK, settings_.MIE, operator_.accessLevel)) {
        PostResult refused;
        refused.status = PostStatus::Refused;
        refused.message = saveRefusedMessage();
        refused.sound = soundUnlessLocked(settings_, refusedChangeSound);
        return refused;
    }
    return postCard(edited, original);
}

PostResult CardRegisterData::postCard(const CardRecord& edited, const CardKey& original) {
    PostResult result;
    try {
        db::inTransaction(working_, [&](db::Transaction& t) {
            if (!vehicleExists(t, edited.KODA)) {
                result.status = PostStatus::VehicleMissing;
                result.message = messages::vehicleDeleted();
                return;
            }
            db::Params params = cardParams(edited);
            params.set(QStringLiteral("OLD_KODA"), original.KODA)
                .set(QStringLiteral("OLD_KODD"), original.KODD)
                .set(QStringLiteral("OLD_ROKD"), original.ROKD)
                .set(QStringLiteral("OLD_MIED"), original.MIED);
            if (t.execute(cardUpdateStatement(), params) == 0) {
                result.status = PostStatus::CardMissing;
                result.message = messages::cardDeleted();
                return;
            }
            result.status = PostStatus::Posted;
        });
    } catch (const std::exception& e) {
        result = PostResult();
        result.status = PostStatus::Failed;
        result.message = db::errorMessage(e);
    }
    return result;
}

bool CardRegisterData::deleteCard(const CardKey& key) {
    try {
        return db::inTransaction(working_, [&](db::Transaction& t) {
                   return t.execute(deleteStatement, {{"OLD_KODA", key.KODA},
                                                      {"OLD_KODD", key.KODD},
                                                      {"OLD_ROKD", key.ROKD},
                                                      {"OLD_MIED", key.MIED}});
               }) > 0;
    } catch (const std::exception&) {
        return false;
    }
}

int CardRegisterData::vehicleCardCount(int KODA) {
    return static_cast<int>(db::inTransaction(working_, [&](db::Transaction& t) {
        return t.scalar(QStringLiteral("select count(*) from A_KARTA where KODA = :KODA"), {{"KODA", KODA}})
            .toInt();
    }));
}

std::vector<double> CardRegisterData::earlierMileages(const CardRecord& card, int months) {
    // The months before the card's own, latest first; the period is compared as year * 12 + month.
    std::vector<double> mileages;
    db::inTransaction(working_, [&](db::Transaction& t) {
        const db::Rows rows =
            t.select(QStringLiteral("select first %1 PRZEBIEGM from A_KARTA where KODA = :KODA "
                                    "and ROKD * 12 + MIED < :OKRES "
                                    "order by ROKD desc, MIED desc, KODD desc")
                         .arg(months),
                     {{"KODA", card.KODA}, {"OKRES", card.ROKD * 12 + card.MIED}});
        for (const db::Row& r : rows)
            mileages.push_back(r.number(QStringLiteral("PRZEBIEGM")));
    });
    return mileages;
}

QStringList CardRegisterData::plausibilityWarnings(const CardRecord& card, const VehicleContext& vehicle) {
    if (!session::readAddonOptions(working_).plausibilityChecks) return {};
    const std::vector<double> history = earlierMileages(card);
    return tripcards::plausibilityWarnings(card, vehicle, history);
}

std::pair<ServiceReminder, ServiceReminder> CardRegisterData::serviceReminders(int KODA) {
    std::vector<std::optional<ServiceReminder>> perKind;
    db::inTransaction(working_, [&](db::Transaction& t) {
        for (const char* kind : reminderServiceKinds()) {
            const db::Rows rows = t.select(
                reminderStatement, {{"KODA", KODA}, {"TYP", QString::fromLatin1(kind)}, {"PLANW", "N"}});
            if (rows.empty()) {
                perKind.emplace_back();
                continue;
            }
            const db::Row& last = rows.back();
            ServiceReminder r;
            r.NAZWA = last.text(QStringLiteral("NAZWA")).trimmed().left(40);
            r.DATAP = last.text(QStringLiteral("DATAP")).left(10);
            r.STANP = last.isNull(QStringLiteral("STANP"))
                          ? QString()
                          : formatGeneral(last.number(QStringLiteral("STANP"))).left(12);
            perKind.emplace_back(r);
        }
    });
    return pickReminders(perKind);
}

DocumentFieldsOutcome CardRegisterData::documentFields(const CardRecord& card, const VehicleContext& vehicle,
                                                       const QDate& today, const QLocale& locale) {
    std::pair<ServiceReminder, ServiceReminder> reminders;
    try {
        reminders = serviceReminders(vehicle.KODA);
    } catch (const std::exception& e) {
        DocumentFieldsOutcome failed;
        failed.error = db::errorMessage(e);
        return failed;
    }
    return tripcards::documentFields(card, vehicle, settings_, reminders, today, locale);
}

} // namespace korven::tripcards
