#include "equipcards/data/EquipmentCardData.h"

#include "core/NumberFormat.h"
#include "db/ColumnValues.h"
#include "db/ListRead.h"
#include "equipcards/rules/EquipmentRegister.h"
#include "equipcards/rules/EquipmentSettlement.h"
#include "tripcards/rules/CardRegister.h"

#include <QStringList>

namespace korven::equipcards {

namespace {

const QString listStatement =
    QStringLiteral("select * from A_KARTAS  where KODS =  :KODS  order by KODS, ROKS, MIES, KODK");
const QString highestNumberStatement = QStringLiteral("SELECT MAX (KODK) AS KODK FROM A_KARTAS");
const QString highestNumberInMonthStatement =
    QStringLiteral("SELECT MAX (KODK) AS KODK FROM A_KARTAS WHERE ((ROKS = :ROKS) AND (MIES = :MIES))");
const QString deleteStatement = QStringLiteral("delete from A_KARTAS where KODS = :OLD_KODS and KODK = "
                                               ":OLD_KODK and ROKS = :OLD_ROKS and MIES = :OLD_MIES");
const QString keyCondition =
    QStringLiteral(" where KODS = :OLD_KODS and KODK = :OLD_KODK and ROKS = :OLD_ROKS and MIES = :OLD_MIES");
// Locking the one row of the system record serialises the allocation of card numbers: a second
// operator waits here until the first has committed his card, and then reads its number.
const QString numberingLock = QStringLiteral("SELECT LP FROM FJ_BAZA WHERE LP = 1 WITH LOCK");
// The machine row is locked while its card is inserted, so that it cannot be deleted under the card.
const QString machineLock = QStringLiteral("select KODS, BLOKADA from A_SPRZET where KODS = :KODS with lock");

// The columns the insert names; the quantities take their defaults (0).
const char* const insertColumns[] = {"KODS",  "KODK",     "NRREJ",   "ROKS",    "MIES",
                                     "DATAS", "NORMAPAL", "IMIENAZ", "NORMOLM", "NORMOLS"};

} // namespace

QString equipmentCardInsertStatement() {
    QStringList names, params;
    for (const char* c : insertColumns) {
        names << QLatin1String(c);
        params << QLatin1Char(':') + QLatin1String(c);
    }
    return QStringLiteral("insert into A_KARTAS (%1) values (%2)")
        .arg(names.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
}

QStringList equipmentCardInsertColumns() {
    QStringList names;
    for (const char* c : insertColumns)
        names << QLatin1String(c);
    return names;
}

QString equipmentCardUpdateStatement() {
    QStringList sets;
    for (const EquipmentColumn& c : equipmentColumns())
        sets << QStringLiteral("%1 = :%1").arg(QLatin1String(c.name()));
    return QStringLiteral("update A_KARTAS set ") + sets.join(QStringLiteral(", ")) + keyCondition;
}

db::Params equipmentCardParams(const EquipmentCard& card) {
    db::Params p;
    for (const EquipmentColumn& c : equipmentColumns())
        p.set(QLatin1String(c.name()), db::columnParam(columnValue(card, c), c.shape));
    return p;
}

RegisterMachine machineFromRow(const db::Row& row, const QLocale& locale) {
    RegisterMachine r;
    EquipmentContext& m = r.context;
    auto text = [&](const char* c) { return row.text(QLatin1String(c)); };
    auto number = [&](const char* c) { return row.number(QLatin1String(c)); };
    m.KODS = static_cast<int>(row.integer(QStringLiteral("KODS")));
    m.NRREJ = text("NRREJ");
    m.NAZWA = text("NAZWA");
    m.NORMPAL = number("NORMPAL");
    m.NORMOLM = number("NORMOLM");
    m.NORMOLS = number("NORMOLS");
    m.RODZSILN = text("RODZSILN");
    m.NROPER = text("NROPER");
    m.RODZPAL = text("RODZPAL");
    m.POJ_ZBIO = formatGeneral(number("POJ_ZBIO"), locale);
    m.POJ_KANI = formatGeneral(number("POJ_KANI"), locale);
    m.totalCapacity = totalCapacity(number("POJ_ZBIO"), number("POJ_KANI"), locale);
    m.NRIDENT = text("NRIDENT");
    m.NRFABR = text("NRFABR");
    m.NRPOD = text("NRPOD");
    m = m.normalised();
    r.BLOKADA = text("BLOKADA").trimmed();
    return r;
}

EquipmentCard equipmentCardFromRow(const db::Row& row) {
    EquipmentCard card;
    for (const EquipmentColumn& c : equipmentColumns()) {
        const QString name = QLatin1String(c.name());
        if (!row.has(name)) continue;
        setColumnValue(card, c, db::columnVariant(row[name], c.shape));
    }
    return card;
}

AddResult addEquipmentCard(db::Transaction& t, const EquipmentContext& machine,
                           const SystemSettings& settings, const QString& fullName, const QDate& today) {
    AddResult result;
    t.selectOne(numberingLock);
    const auto machineRow = t.selectOne(machineLock, {{"KODS", machine.KODS}});
    if (!machineRow) {
        result.status = AddStatus::MachineMissing;
        result.message = messages::machineDeleted();
        return result;
    }
    if (machineRow->text(QStringLiteral("BLOKADA")).trimmed() == QLatin1String("T")) {
        result.status = AddStatus::Blocked;
        result.message = messages::blockedMachine();
        result.sound = tripcards::soundUnlessLocked(settings, tripcards::refusedAdditionSound);
        return result;
    }
    const db::Value highest =
        tripcards::numberingMode(settings.P6P12) == tripcards::NumberingMode::PerMonth
            ? t.scalar(highestNumberInMonthStatement, {{"ROKS", settings.ROK}, {"MIES", settings.MIE}})
            : t.scalar(highestNumberStatement);
    const std::optional<int> max =
        highest.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(highest.toInt()));
    const int number = tripcards::nextCardNumber(max, settings.POCZNRS);

    const NewEquipmentCard created =
        newEquipmentCard(machine.normalised(), number, settings.ROK, settings.MIE, fullName, today);
    const db::Params all = equipmentCardParams(created.card);
    db::Params params;
    for (const char* c : insertColumns)
        params.set(QLatin1String(c), *all.find(QLatin1String(c)));
    if (created.oilNormsNull)
        params.set(QStringLiteral("NORMOLM"), db::Value()).set(QStringLiteral("NORMOLS"), db::Value());
    t.execute(equipmentCardInsertStatement(), params);
    result.status = AddStatus::Added;
    result.card = created.card;
    result.key = keyOf(created.card);
    return result;
}

// ---------------------------------------------------------------------------------------------------

EquipmentCardData::EquipmentCardData(db::Transaction& working, db::Transaction& bracket,
                                     SystemSettings settings, OperatorSession operatorSession)
    : working_(working), bracket_(bracket), settings_(std::move(settings)),
      operator_(std::move(operatorSession)) {}

std::optional<RegisterMachine> EquipmentCardData::loadMachine(int KODS) {
    const auto row = db::inTransaction(working_, [&](db::Transaction& t) {
        return t.selectOne(QStringLiteral("select * from A_SPRZET where KODS = :KODS"), {{"KODS", KODS}});
    });
    if (!row) return std::nullopt;
    return machineFromRow(*row);
}

EquipmentCardList EquipmentCardData::list(int KODS) {
    EquipmentCardList result;
    result.error = db::readListInBracket(bracket_, working_, [&](db::Transaction& t) {
        for (const db::Row& row : t.select(listStatement, {{"KODS", KODS}}))
            result.cards.push_back(equipmentCardFromRow(row));
    });
    if (!result.error.isEmpty()) result.cards.clear();
    return result;
}

AddResult EquipmentCardData::addCard(const EquipmentContext& machine, const QDate& today) {
    try {
        return db::inTransaction(working_, [&](db::Transaction& t) {
            return addEquipmentCard(t, machine, settings_, operator_.fullName, today);
        });
    } catch (const std::exception& e) {
        AddResult failed;
        failed.status = AddStatus::Failed;
        failed.message = db::errorMessage(e);
        return failed;
    }
}

PostResult EquipmentCardData::saveCard(const EquipmentCard& edited, const EquipmentCardKey& original) {
    if (!maySaveEquipmentCard(original.ROKS, original.MIES, settings_.ROK, settings_.MIE,
                              operator_.accessLevel)) {
        PostResult refused;
        refused.status = PostStatus::Refused;
        refused.message = saveRefusedMessage();
        refused.sound = tripcards::soundUnlessLocked(settings_, tripcards::refusedChangeSound);
        return refused;
    }
    return postCard(edited, original);
}

PostResult EquipmentCardData::postCard(const EquipmentCard& edited, const EquipmentCardKey& original) {
    PostResult result;
    try {
        db::inTransaction(working_, [&](db::Transaction& t) {
            db::Params params = equipmentCardParams(edited);
            params.set(QStringLiteral("OLD_KODS"), original.KODS)
                .set(QStringLiteral("OLD_KODK"), original.KODK)
                .set(QStringLiteral("OLD_ROKS"), original.ROKS)
                .set(QStringLiteral("OLD_MIES"), original.MIES);
            if (t.execute(equipmentCardUpdateStatement(), params) == 0) {
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

bool EquipmentCardData::deleteCard(const EquipmentCardKey& key) {
    try {
        return db::inTransaction(working_, [&](db::Transaction& t) {
                   return t.execute(deleteStatement, {{"OLD_KODS", key.KODS},
                                                      {"OLD_KODK", key.KODK},
                                                      {"OLD_ROKS", key.ROKS},
                                                      {"OLD_MIES", key.MIES}});
               }) > 0;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace korven::equipcards
