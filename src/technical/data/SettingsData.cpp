#include "technical/data/SettingsData.h"

#include "session/data/Session.h"

#include <QStringList>

namespace korven::technical {

namespace {

const char* const updatedColumns[] = {
    "nazwaskr", "rok",      "mie",      "dzwiek",    "logo",      "nazwap1", "nazwap2", "nip",    "regon",
    "kraj",     "wojew",    "powiat",   "gmina",     "ulica",     "nrdom",   "nrlok",   "miejsc", "kodp",
    "poczta",   "mer",      "rac",      "glk",       "dyr",       "spo",     "dyrkom",  "zapi",   "obro",
    "MN_POS",   "MN_MIE",   "MN_ALA",   "MN_GOROS",  "MN_GORPOZ", "MN_OZ",   "MN_KLI",  "MN_TER", "MN_ZIM",
    "MN_SZK",   "MN_HOLON", "MN_HOLET", "NORMA_OON", "NORMA_OET", "POCZNR",  "POCZNRS", "p6p12"};

const QString readStatement = QStringLiteral("select * from FJ_BAZA where LP = 1");

SystemSettings fromRow(const db::Row& row) {
    SystemSettings s = session::settingsFromRow(row);
    // The window edits the short name at its column's width; the program's copy keeps less of it.
    s.NAZWASKR = row.text(QStringLiteral("NAZWASKR")).left(40);
    return s;
}

SystemSettings readIn(db::Transaction& t) {
    const auto row = t.selectOne(readStatement);
    if (!row)
        throw db::DbError(db::DbError::Reason::Other,
                          QStringLiteral("Brak rekordu systemowego FJ_BAZA (LP = 1) w bazie danych"));
    return fromRow(*row);
}

db::Value multiplier(double v) {
    return db::Value(db::Decimal::fromDouble(v, 4));
}

db::Params updateParams(const SystemSettings& s) {
    db::Params p;
    p.set("nazwaskr", s.NAZWASKR).set("rok", s.ROK).set("mie", s.MIE).set("dzwiek", s.DZWIEK);
    p.set("logo", s.LOGO).set("nazwap1", s.NAZWAP1).set("nazwap2", s.NAZWAP2).set("nip", s.NIP);
    p.set("regon", s.REGON).set("kraj", s.KRAJ).set("wojew", s.WOJEW).set("powiat", s.POWIAT);
    p.set("gmina", s.GMINA).set("ulica", s.ULICA).set("nrdom", s.NRDOM).set("nrlok", s.NRLOK);
    p.set("miejsc", s.MIEJSC).set("kodp", s.KODP).set("poczta", s.POCZTA).set("mer", s.MER);
    p.set("rac", s.RAC).set("glk", s.GLK).set("dyr", s.DYR).set("spo", s.SPO).set("dyrkom", s.DYRKOM);
    p.set("zapi", s.ZAPI).set("obro", s.OBRO);
    p.set("MN_POS", multiplier(s.MN_POS))
        .set("MN_MIE", multiplier(s.MN_MIE))
        .set("MN_ALA", multiplier(s.MN_ALA));
    p.set("MN_GOROS", multiplier(s.MN_GOROS)).set("MN_GORPOZ", multiplier(s.MN_GORPOZ));
    p.set("MN_OZ", multiplier(s.MN_OZ))
        .set("MN_KLI", multiplier(s.MN_KLI))
        .set("MN_TER", multiplier(s.MN_TER));
    p.set("MN_ZIM", multiplier(s.MN_ZIM)).set("MN_SZK", multiplier(s.MN_SZK));
    p.set("MN_HOLON", multiplier(s.MN_HOLON)).set("MN_HOLET", multiplier(s.MN_HOLET));
    p.set("NORMA_OON", multiplier(s.NORMA_OON)).set("NORMA_OET", multiplier(s.NORMA_OET));
    p.set("POCZNR", s.POCZNR).set("POCZNRS", s.POCZNRS).set("p6p12", s.P6P12);
    return p;
}

} // namespace

QString systemRecordUpdateStatement() {
    QStringList sets;
    for (const char* c : updatedColumns)
        sets << QStringLiteral("%1 = :%1").arg(QLatin1String(c));
    return QStringLiteral("UPDATE FJ_BAZA SET ") + sets.join(QStringLiteral(", ")) +
           QStringLiteral(" where LP = 1");
}

SystemSettings readSystemRecord(db::Transaction& transaction) {
    return db::inTransaction(transaction, [](db::Transaction& t) { return readIn(t); });
}

SystemSettings saveSystemRecord(db::Transaction& transaction, const SystemSettings& edited) {
    return db::inTransaction(transaction, [&](db::Transaction& t) {
        t.execute(systemRecordUpdateStatement(), updateParams(edited));
        return readIn(t);
    });
}

void deleteTripCardsOfVehicleZero(db::Transaction& transaction) {
    db::inTransaction(transaction, [](db::Transaction& t) {
        t.execute(QStringLiteral("delete from A_KARTA where KODA = 0"));
    });
}

void deleteEquipmentZero(db::Transaction& transaction) {
    db::inTransaction(transaction, [](db::Transaction& t) {
        t.execute(QStringLiteral("delete from A_SPRZET where KODS = 0"));
    });
}

} // namespace korven::technical
