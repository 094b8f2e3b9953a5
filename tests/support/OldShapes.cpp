#include "support/OldShapes.h"

#include "schema/Upgrades.h"

#include <QStringList>

namespace korven::test {

namespace {

QStringList oldestStatements() {
    return {
        // The signatures were shorter, and there was no first number of equipment cards.
        QStringLiteral(R"(CREATE TABLE FJ_BAZA (
  LP INTEGER NOT NULL,
  NAZWASKR CHAR(40), ROK INTEGER, MIE INTEGER,
  NAZWAP1 CHAR(50), NAZWAP2 CHAR(50), NIP CHAR(13), REGON CHAR(14),
  KRAJ CHAR(20), WOJEW CHAR(20), POWIAT CHAR(20), GMINA CHAR(20), ULICA CHAR(20),
  NRDOM CHAR(5), NRLOK CHAR(5), MIEJSC CHAR(20), KODP CHAR(6), POCZTA CHAR(20),
  MER CHAR(30), RAC CHAR(30), GLK CHAR(30), DYR CHAR(30), SPO CHAR(30),
  DYRKOM CHAR(1), DZWIEK CHAR(1), LOGO CHAR(50), P6P12 CHAR(1), ILE INTEGER,
  FTECH CHAR(1), ZAPI CHAR(1), BILA CHAR(1), OBRO CHAR(1),
  MN_POS DECIMAL(9,4), MN_MIE DECIMAL(9,4), MN_ALA DECIMAL(9,4), MN_GOROS DECIMAL(9,4),
  MN_GORPOZ DECIMAL(9,4), MN_OZ DECIMAL(9,4), MN_KLI DECIMAL(9,4), MN_TER DECIMAL(9,4),
  MN_ZIM DECIMAL(9,4), MN_SZK DECIMAL(9,4), MN_HOLON DECIMAL(9,4), MN_HOLET DECIMAL(9,4),
  NORMA_OON DECIMAL(9,4), NORMA_OET DECIMAL(9,4),
  POCZNR INTEGER,
  ARCHIW CHAR(30), NIPE CHAR(1), NAZWI CHAR(30), IMIEO CHAR(20), NAZWBANK CHAR(50), KONTBANK CHAR(50),
  DZI CHAR(3), ROZ CHAR(5), PAR CHAR(4), POZ CHAR(2), US CHAR(50), LICZSTR INTEGER,
  CONSTRAINT FJ_BAZA PRIMARY KEY (LP)))"),
        QStringLiteral("CREATE TABLE FJ_FLOP (LP INTEGER NOT NULL, NAZWA CHAR(60), CONSTRAINT FJ_FLOP "
                       "PRIMARY KEY (LP))"),
        QStringLiteral("CREATE GENERATOR NUM_OPER"),
        QStringLiteral(R"(CREATE TRIGGER FJ_FLOP_BI FOR FJ_FLOP ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.LP IS NULL) THEN NEW.LP = GEN_ID(NUM_OPER, 1);
END)"),
        QStringLiteral("CREATE TABLE A_RODZP (KOD INTEGER NOT NULL, NAZWA CHAR(40), CONSTRAINT A_RODZP "
                       "PRIMARY KEY (KOD))"),
        QStringLiteral("CREATE TABLE A_GRUPP (KOD INTEGER NOT NULL, NAZWA CHAR(40), CONSTRAINT A_GRUPP "
                       "PRIMARY KEY (KOD))"),
        QStringLiteral("CREATE TABLE A_KOMEN (KOD INTEGER NOT NULL, NAZWA CHAR(40), NRJED CHAR(20), "
                       "CONSTRAINT A_KOMEN PRIMARY KEY (KOD))"),
        // Two norms had one decimal place less; no tank, oil, block, notes, special devices or person.
        QStringLiteral(R"(CREATE TABLE A_AUTO (
  KODA INTEGER NOT NULL, NRREJ CHAR(10), NAZWA CHAR(40), RODZPOJ CHAR(40), KO CHAR(1), KOMENDA CHAR(40),
  NRJED CHAR(10), KSRG CHAR(1), MARKAPOD CHAR(20), TYPPOD CHAR(20), MODELPOD CHAR(20), PRODNAD CHAR(20),
  OZNPROD CHAR(20), TYPNAD CHAR(1), SR CHAR(1), SO CHAR(2), PARHAR CHAR(20), NRPOD CHAR(20), NRSILN CHAR(20),
  TYPSILN CHAR(20), RPR CHAR(4), DOEKSPL DATE, PPOJ CHAR(2), NROPER CHAR(20), RODZPAL CHAR(2),
  NORMPAL DECIMAL(9,2), NORMPOM DECIMAL(5,2), NORMUG DECIMAL(5,2), PN CHAR(20), GRPOJ CHAR(60), KLPOJ CHAR(1),
  KAT CHAR(1), ILOMIE INTEGER, ZBIORNIK CHAR(20), PARPOMP CHAR(20), WYPOSAZ CHAR(1), FOTO CHAR(30),
  KOD_RP INTEGER, KOD_GP INTEGER, KOD_KO INTEGER, TYP CHAR(1),
  CONSTRAINT A_AUTO PRIMARY KEY (KODA)))"),
        // The cards without the special devices and the fuel meter.
        QStringLiteral(R"(CREATE TABLE A_KARTA (
  KODA INTEGER NOT NULL, KODD INTEGER NOT NULL, NRREJ CHAR(10), ROKD INTEGER NOT NULL, MIED INTEGER NOT NULL,
  DATAD DATE,
  PRZEBIEG0 DECIMAL(9,2), PRZEBIEGM DECIMAL(9,2), PRZEBIEGS DECIMAL(9,2),
  PRZEBIEG0P DECIMAL(9,2), PRZEBIEGMP DECIMAL(9,2), PRZEBIEGSP DECIMAL(9,2),
  NORMAP DECIMAL(9,2), NORMAA DECIMAL(9,2), NORMAUG DECIMAL(9,2), NORMAO DECIMAL(9,2),
  ZUZYCIEPN DECIMAL(9,2), ZUZYCIEP DECIMAL(9,2), ZUZYCIEON DECIMAL(9,2), ZUZYCIEO DECIMAL(9,2),
  DODATKIP DECIMAL(9,2), RAZEMP DECIMAL(9,2), PRZEPALP DECIMAL(9,2), PRZEPALO DECIMAL(9,2),
  WYJAZDMZ INTEGER, WYJAZDP INTEGER, WYJAZDF INTEGER, WYJAZDIN INTEGER,
  MASAPR DECIMAL(9,2),
  DODPOS DECIMAL(9,2), DODPOS_1 DECIMAL(9,5), DODPOS_2 DECIMAL(9,2), DODPOS_3 DECIMAL(9,2),
  DODNAP DECIMAL(9,2), DODNAP_1 DECIMAL(9,5), DODNAP_2 DECIMAL(9,2), DODNAP_3 DECIMAL(9,2),
  DODMIE DECIMAL(9,2), DODMIE_1 DECIMAL(9,5), DODMIE_2 DECIMAL(9,2), DODMIE_3 DECIMAL(9,2),
  DODA DECIMAL(9,2), DODA_1 DECIMAL(9,5), DODA_2 DECIMAL(9,2), DODA_3 DECIMAL(9,2),
  DODG DECIMAL(9,2), DODG_1 DECIMAL(9,5), DODG_2 DECIMAL(9,2), DODG_3 DECIMAL(9,2),
  DODUG DECIMAL(9,2), DODUG_1 DECIMAL(9,5), DODUG_2 DECIMAL(9,2), DODUG_3 DECIMAL(9,2),
  DODOZ DECIMAL(9,2), DODOZ_1 DECIMAL(9,5), DODOZ_2 DECIMAL(9,2), DODOZ_3 DECIMAL(9,2),
  DODK DECIMAL(9,2), DODK_1 DECIMAL(9,5), DODK_2 DECIMAL(9,2), DODK_3 DECIMAL(9,2),
  DODT DECIMAL(9,2), DODT_1 DECIMAL(9,5), DODT_2 DECIMAL(9,2), DODT_3 DECIMAL(9,2),
  DODZ DECIMAL(9,2), DODZ_1 DECIMAL(9,5), DODZ_2 DECIMAL(9,2), DODZ_3 DECIMAL(9,2),
  DODSZ DECIMAL(9,2), DODSZ_1 DECIMAL(9,5), DODSZ_2 DECIMAL(9,2), DODSZ_3 DECIMAL(9,2),
  DODH DECIMAL(9,2), DODH_1 DECIMAL(9,5), DODH_2 DECIMAL(9,2), DODH_3 DECIMAL(9,2),
  CONSTRAINT A_KARTA PRIMARY KEY (KODA, KODD, ROKD, MIED)))"),
    };
}

} // namespace

std::unique_ptr<db::Attachment> createOldDatabase(const db::ConnectParams& params, int stepsApplied) {
    // Built with asynchronous writes: some fifty commits would otherwise each wait for the disk.
    db::ConnectParams building = params;
    building.forcedWrites = false;
    auto att = db::Attachment::create(building);
    for (const QString& sql : oldestStatements())
        att->executeImmediate(sql);
    {
        db::Transaction t(*att);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute(
                QStringLiteral("INSERT INTO FJ_BAZA (LP, NAZWASKR, ROK, MIE, MER, ILE, FTECH, ZAPI, BILA, "
                               "POCZNR) VALUES (1, 'KORVEN', 9, 3, 'Jan Kowalski', 0, 'N', 'N', 'N', 1)"));
            tr.execute(QStringLiteral("INSERT INTO A_AUTO (KODA, NRREJ, NAZWA, NORMPAL, NORMPOM) VALUES "
                                      "(1, 'WX 12345', 'GBA 2,5/16', 30.5, 1.25)"));
            tr.execute(
                QStringLiteral("INSERT INTO A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, PRZEBIEG0, DODPOS) "
                               "VALUES (1, 1, 'WX 12345', 9, 3, 12500, 2.5)"));
        });
    }
    const auto& steps = schema::upgradeSteps();
    for (int i = 0; i < stepsApplied && i < static_cast<int>(steps.size()); ++i)
        schema::applyStep(*att, steps.at(static_cast<std::size_t>(i)));
    return att;
}

} // namespace korven::test
