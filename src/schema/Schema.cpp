#include "schema/Schema.h"

#include "core/StopCleanup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif
#include "schema/History.h"
#include "schema/StatementIndexes.h"

namespace korven::schema {

const QStringList& additionNames() {
    static const QStringList names = {
        QStringLiteral("DODPOS"), QStringLiteral("DODNAP"), QStringLiteral("DODUR1"),
        QStringLiteral("DODUR2"), QStringLiteral("DODMIE"), QStringLiteral("DODA"),
        QStringLiteral("DODG"),   QStringLiteral("DODUG"),  QStringLiteral("DODOZ"),
        QStringLiteral("DODK"),   QStringLiteral("DODT"),   QStringLiteral("DODZ"),
        QStringLiteral("DODSZ"),  QStringLiteral("DODH")};
    return names;
}

namespace {

QString additionColumns() {
    QStringList cols;
    for (const QString& base : additionNames()) {
        // The two special-device additions came later with narrower types and zero defaults.
        if (base == QLatin1String("DODUR1") || base == QLatin1String("DODUR2")) {
            cols << base + QStringLiteral(" DECIMAL(7,2) DEFAULT 0")
                 << base + QStringLiteral("_1 DECIMAL(8,5) DEFAULT 0")
                 << base + QStringLiteral("_2 DECIMAL(7,2) DEFAULT 0")
                 << base + QStringLiteral("_3 DECIMAL(7,2) DEFAULT 0");
        } else {
            cols << base + QStringLiteral(" DECIMAL(9,2)") << base + QStringLiteral("_1 DECIMAL(9,5)")
                 << base + QStringLiteral("_2 DECIMAL(9,2)") << base + QStringLiteral("_3 DECIMAL(9,2)");
        }
    }
    return cols.join(QStringLiteral(",\n  "));
}

} // namespace

QStringList accessLevelTableStatements() {
    return {
        QStringLiteral("CREATE TABLE FJ_DOSTEP (NAZWA CHAR(31) NOT NULL, POZIOM INTEGER DEFAULT 0 NOT NULL, "
                       "CONSTRAINT FJ_DOSTEP PRIMARY KEY (NAZWA))"),
        QStringLiteral("GRANT SELECT ON FJ_DOSTEP TO PUBLIC")};
}

QStringList addonOptionsTableStatements() {
    return {QStringLiteral(
                "CREATE TABLE FJ_OPCJE (KLUCZ VARCHAR(40) NOT NULL PRIMARY KEY, WARTOSC VARCHAR(250))"),
            QStringLiteral("GRANT SELECT ON FJ_OPCJE TO PUBLIC")};
}

// The named column mappings of the fuel transaction import and the transactions it has imported
// (the key of each, so that a file imported twice changes nothing the second time). Every operator
// imports, so every operator reads and writes them; imported transactions are never changed.
QStringList fuelImportTableStatements() {
    return {
        QStringLiteral(
            "CREATE TABLE FJ_IMPMAP (NAZWA VARCHAR(40) NOT NULL, KOL_DATA INTEGER NOT NULL, "
            "KOL_NRREJ INTEGER NOT NULL, KOL_LITRY INTEGER NOT NULL, KOL_LICZNIK INTEGER DEFAULT 0, "
            "NAGLOWEK CHAR(1) DEFAULT 'T', DOMYSLNA CHAR(1) DEFAULT 'N', "
            "CONSTRAINT FJ_IMPMAP PRIMARY KEY (NAZWA))"),
        QStringLiteral("CREATE TABLE FJ_IMPTR (KLUCZ VARCHAR(80) NOT NULL, DATA DATE, NRREJ VARCHAR(20), "
                       "LITRY DECIMAL(9,2), LICZNIK DECIMAL(9,2), KODA INTEGER, KODD INTEGER, ROKD INTEGER, "
                       "MIED INTEGER, PLIK VARCHAR(250), KIEDY TIMESTAMP, KTO VARCHAR(31), "
                       "CONSTRAINT FJ_IMPTR PRIMARY KEY (KLUCZ))"),
        QStringLiteral("GRANT SELECT ON FJ_IMPMAP TO PUBLIC"),
        QStringLiteral("GRANT INSERT ON FJ_IMPMAP TO PUBLIC"),
        QStringLiteral("GRANT UPDATE ON FJ_IMPMAP TO PUBLIC"),
        QStringLiteral("GRANT DELETE ON FJ_IMPMAP TO PUBLIC"),
        QStringLiteral("GRANT SELECT ON FJ_IMPTR TO PUBLIC"),
        QStringLiteral("GRANT INSERT ON FJ_IMPTR TO PUBLIC")};
}

bool addAccessLevelTable(db::Attachment& attachment) {
    db::Transaction t(attachment);
    bool exists = db::inTransaction(t, [](db::Transaction& tr) {
        return tr.scalar(QStringLiteral(
                             "select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'FJ_DOSTEP'"))
                   .toInt() > 0;
    });
    if (exists) return false;
    for (const QString& sql : accessLevelTableStatements())
        attachment.executeImmediate(sql);
    return true;
}

QStringList creationStatements() {
    QStringList s;
    s << QStringLiteral(R"(CREATE TABLE FJ_BAZA (
  LP INTEGER NOT NULL,
  NAZWASKR CHAR(40), ROK INTEGER, MIE INTEGER,
  NAZWAP1 CHAR(50), NAZWAP2 CHAR(50), NIP CHAR(13), REGON CHAR(14),
  KRAJ CHAR(20), WOJEW CHAR(20), POWIAT CHAR(20), GMINA CHAR(20), ULICA CHAR(20),
  NRDOM CHAR(5), NRLOK CHAR(5), MIEJSC CHAR(20), KODP CHAR(6), POCZTA CHAR(20),
  MER CHAR(60), RAC CHAR(60), GLK CHAR(60), DYR CHAR(60), SPO CHAR(60),
  DYRKOM CHAR(1), DZWIEK CHAR(1), LOGO CHAR(50), P6P12 CHAR(1), ILE INTEGER,
  FTECH CHAR(1), ZAPI CHAR(1), BILA CHAR(1), OBRO CHAR(1),
  MN_POS DECIMAL(9,4), MN_MIE DECIMAL(9,4), MN_ALA DECIMAL(9,4), MN_GOROS DECIMAL(9,4),
  MN_GORPOZ DECIMAL(9,4), MN_OZ DECIMAL(9,4), MN_KLI DECIMAL(9,4), MN_TER DECIMAL(9,4),
  MN_ZIM DECIMAL(9,4), MN_SZK DECIMAL(9,4), MN_HOLON DECIMAL(9,4), MN_HOLET DECIMAL(9,4),
  NORMA_OON DECIMAL(9,4), NORMA_OET DECIMAL(9,4),
  POCZNR INTEGER, POCZNRS DECIMAL(4,0) DEFAULT 1,
  ARCHIW CHAR(30), NIPE CHAR(1), NAZWI CHAR(30), IMIEO CHAR(20), NAZWBANK CHAR(50), KONTBANK CHAR(50),
  DZI CHAR(3), ROZ CHAR(5), PAR CHAR(4), POZ CHAR(2), US CHAR(50), LICZSTR INTEGER,
  CONSTRAINT FJ_BAZA PRIMARY KEY (LP)))");
    s << QStringLiteral(
        "CREATE TABLE FJ_FLOP (LP INTEGER NOT NULL, NAZWA CHAR(60), CONSTRAINT FJ_FLOP PRIMARY KEY (LP))");
    s << QStringLiteral("CREATE GENERATOR NUM_OPER");
    s << QStringLiteral(R"(CREATE TRIGGER FJ_FLOP_BI FOR FJ_FLOP ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.LP IS NULL) THEN NEW.LP = GEN_ID(NUM_OPER, 1);
END)");
    // An operator who does not own the database inserts into FJ_FLOP too; the trigger needs the
    // right to use the generator on his behalf.
    s << QStringLiteral("GRANT USAGE ON GENERATOR NUM_OPER TO TRIGGER FJ_FLOP_BI");
    s << QStringLiteral(
        "CREATE TABLE A_RODZP (KOD INTEGER NOT NULL, NAZWA CHAR(40), CONSTRAINT A_RODZP PRIMARY KEY (KOD))");
    s << QStringLiteral(
        "CREATE TABLE A_GRUPP (KOD INTEGER NOT NULL, NAZWA CHAR(40), CONSTRAINT A_GRUPP PRIMARY KEY (KOD))");
    s << QStringLiteral("CREATE TABLE A_KOMEN (KOD INTEGER NOT NULL, NAZWA CHAR(40), NRJED CHAR(20), "
                        "CONSTRAINT A_KOMEN PRIMARY KEY (KOD))");
    s << QStringLiteral("CREATE TABLE A_OBSK (KOD DECIMAL(3,0) NOT NULL, TYP CHAR(3), NAZWA CHAR(30), "
                        "ILE DECIMAL(4,0) DEFAULT 0, CONSTRAINT A_OBSK PRIMARY KEY (KOD))");
    s << QStringLiteral("CREATE TABLE A_GRUPS (KOD DECIMAL(3,0) NOT NULL, NAZWA CHAR(60), CONSTRAINT A_GRUPS "
                        "PRIMARY KEY (KOD))");
    s << QStringLiteral(R"(CREATE TABLE A_AUTO (
  KODA INTEGER NOT NULL, NRREJ CHAR(10), NAZWA CHAR(40), RODZPOJ CHAR(40), KO CHAR(1), KOMENDA CHAR(40),
  NRJED CHAR(10), KSRG CHAR(1), MARKAPOD CHAR(20), TYPPOD CHAR(20), MODELPOD CHAR(20), PRODNAD CHAR(20),
  OZNPROD CHAR(20), TYPNAD CHAR(1), SR CHAR(1), SO CHAR(2), PARHAR CHAR(20), NRPOD CHAR(20), NRSILN CHAR(20),
  TYPSILN CHAR(20), RPR CHAR(4), DOEKSPL DATE, PPOJ CHAR(2), NROPER CHAR(20), RODZPAL CHAR(2),
  NORMPAL DECIMAL(9,2), NORMPOM DECIMAL(6,3), NORMUG DECIMAL(6,3), PN CHAR(20), GRPOJ CHAR(60), KLPOJ CHAR(1),
  KAT CHAR(1), ILOMIE INTEGER, ZBIORNIK CHAR(20), PARPOMP CHAR(20), WYPOSAZ CHAR(1), FOTO CHAR(30),
  KOD_RP INTEGER, KOD_GP INTEGER, KOD_KO INTEGER, TYP CHAR(1),
  POJ_ZBIO DECIMAL(7,2), POJ_KANI DECIMAL(7,2), OLEJ_KLA CHAR(20), OLEJ_POJ DECIMAL(6,2), OLEJ_MAR CHAR(20),
  BLOKADA CHAR(1), INFO1 CHAR(100), INFO2 CHAR(100), INFO3 CHAR(100),
  NORMUR1 DECIMAL(6,3) DEFAULT 0, NORMUR2 DECIMAL(6,3) DEFAULT 0, CZY_MIERNIK CHAR(1) DEFAULT 'N',
  OSOB_ODP CHAR(40),
  CONSTRAINT A_AUTO PRIMARY KEY (KODA)))");
    s << QStringLiteral(R"(CREATE TABLE A_KARTA (
  KODA INTEGER NOT NULL, KODD INTEGER NOT NULL, NRREJ CHAR(10), ROKD INTEGER NOT NULL, MIED INTEGER NOT NULL,
  DATAD DATE,
  PRZEBIEG0 DECIMAL(9,2), PRZEBIEGM DECIMAL(9,2), PRZEBIEGS DECIMAL(9,2),
  PRZEBIEG0P DECIMAL(9,2), PRZEBIEGMP DECIMAL(9,2), PRZEBIEGSP DECIMAL(9,2),
  NORMAP DECIMAL(9,2), NORMAA DECIMAL(9,2), NORMAUG DECIMAL(9,2), NORMAO DECIMAL(9,2),
  ZUZYCIEPN DECIMAL(9,2), ZUZYCIEP DECIMAL(9,2), ZUZYCIEON DECIMAL(9,2), ZUZYCIEO DECIMAL(9,2),
  DODATKIP DECIMAL(9,2), RAZEMP DECIMAL(9,2), PRZEPALP DECIMAL(9,2), PRZEPALO DECIMAL(9,2),
  WYJAZDMZ INTEGER, WYJAZDP INTEGER, WYJAZDF INTEGER, WYJAZDIN INTEGER,
  MASAPR DECIMAL(9,2), MIER_POCZ DECIMAL(8,2) DEFAULT 0, MIER_KON DECIMAL(8,2) DEFAULT 0,
  %1,
  CONSTRAINT A_KARTA PRIMARY KEY (KODA, KODD, ROKD, MIED)))")
             .arg(additionColumns());
    s << QStringLiteral(R"(CREATE TABLE A_OBSLU (
  KODA DECIMAL(6,0) NOT NULL, KODB DECIMAL(6,0) NOT NULL, TYP CHAR(3), NAZWA CHAR(30), DATAW DATE,
  DATAP DATE DEFAULT 'TODAY', STANW DECIMAL(10,2) DEFAULT 0, STANP DECIMAL(10,2) DEFAULT 0, PLANW CHAR(1),
  UWAGI CHAR(100), ILE DECIMAL(4,0) DEFAULT 0,
  CONSTRAINT A_OBSLU PRIMARY KEY (KODA, KODB)))");
    s << QStringLiteral(R"(CREATE TABLE A_SPRZET (
  KODS DECIMAL(6,0) NOT NULL, NRREJ CHAR(10), NAZWA CHAR(40), NRPOD CHAR(20), NRIDENT CHAR(20),
  KOD_GR DECIMAL(3,0), GRSPRZ CHAR(60), KOD_KO DECIMAL(3,0), KOMENDA CHAR(40), NRJED CHAR(20),
  INFO1 CHAR(60), INFO2 CHAR(60), INFO3 CHAR(60), INFO4 CHAR(60), FOTO CHAR(30), MARKASILN CHAR(30),
  TYPSILN CHAR(20), RODZSILN CHAR(1) DEFAULT '2', RPR CHAR(4) DEFAULT '2008', NRFABR CHAR(30), POJSKOK CHAR(10),
  MOC CHAR(10), PRODUCENT CHAR(40), PARHAR CHAR(20), NROPER CHAR(20), DOEKSPL DATE DEFAULT 'TODAY',
  RODZPAL CHAR(2) DEFAULT 'ET', NORMPAL DECIMAL(7,3) DEFAULT 0, NORMOLM DECIMAL(7,3) DEFAULT 0,
  NORMOLS DECIMAL(7,3) DEFAULT 0, POJ_ZBIO DECIMAL(7,2) DEFAULT 0, POJ_KANI DECIMAL(7,2) DEFAULT 0,
  OLEJ_KLA CHAR(20), OLEJ_MARS CHAR(20), OLEJ_MARL CHAR(20),
  SKLAD_ZES1 CHAR(50), SKLAD_ZES2 CHAR(50), SKLAD_ZES3 CHAR(50), SKLAD_ZES4 CHAR(50), SKLAD_ZES5 CHAR(50),
  SKLAD_ZES6 CHAR(50), SKLAD_ZES7 CHAR(50), SKLAD_ZES8 CHAR(50), SKLAD_ZES9 CHAR(50), SKLAD_ZES10 CHAR(50),
  BLOKADA CHAR(1) DEFAULT 'N',
  CONSTRAINT A_SPRZET PRIMARY KEY (KODS)))");
    s << QStringLiteral("CREATE INDEX A_SPRZETN ON A_SPRZET (NAZWA)");
    s << QStringLiteral(R"(CREATE TABLE A_KARTAS (
  KODS DECIMAL(6,0) NOT NULL, KODK DECIMAL(6,0) NOT NULL, NRREJ CHAR(10), ROKS DECIMAL(2,0) NOT NULL,
  MIES DECIMAL(2,0) NOT NULL, DATAS DATE DEFAULT 'TODAY', CZAS DECIMAL(5,0) DEFAULT 0,
  NORMAPAL DECIMAL(7,3) DEFAULT 0, NORMOLM DECIMAL(7,3) DEFAULT 0, NORMOLS DECIMAL(7,3) DEFAULT 0,
  ZUZYCIEPALN DECIMAL(7,2) DEFAULT 0, ZUZYCIEOLMN DECIMAL(7,2) DEFAULT 0, ZUZYCIEOLSN DECIMAL(7,2) DEFAULT 0,
  ZUZYCIEPALF DECIMAL(7,2) DEFAULT 0, ILOPOBOLM DECIMAL(7,2) DEFAULT 0, ILOPOBOLS DECIMAL(7,2) DEFAULT 0,
  POZOSTOLM DECIMAL(7,2) DEFAULT 0, POZOSTOLS DECIMAL(7,2) DEFAULT 0, OSZCZPAL DECIMAL(7,2) DEFAULT 0,
  IMIENAZ CHAR(40),
  CONSTRAINT A_KARTAS PRIMARY KEY (KODS, ROKS, MIES, KODK)))");
    // Operators' access levels. Everyone may read them, only the owner of the database (the
    // administrator) may change them: a user can alter his own names and group number on the server,
    // so those cannot be trusted for rights.
    s << accessLevelTableStatements();
    // The switches and numbers of the optional additions; a missing row is the default.
    s << addonOptionsTableStatements();
    s << fuelImportTableStatements();
    s << statementIndexStatements();
    // The change history of cards, services, vehicles and machines, its triggers generated from the
    // columns the tables above have.
    s << historyStatements(tableColumns(s));
    return s;
}

QStringList startingRows(int year, int month) {
    QStringList s;
    // The system record. The multipliers are the usual allowances of fire-service fuel norms; the
    // administrator adjusts them in the settings window.
    s << QStringLiteral("INSERT INTO FJ_BAZA (LP, NAZWASKR, ROK, MIE, DYRKOM, DZWIEK, P6P12, ILE, FTECH, "
                        "ZAPI, BILA, OBRO, "
                        "MN_POS, MN_MIE, MN_ALA, MN_GOROS, MN_GORPOZ, MN_OZ, MN_KLI, MN_TER, MN_ZIM, MN_SZK, "
                        "MN_HOLON, MN_HOLET, "
                        "NORMA_OON, NORMA_OET, POCZNR, POCZNRS, LICZSTR) VALUES (1, 'KORVEN', %1, %2, 'K', "
                        "'N', 'N', 0, 'N', 'N', "
                        "'N', 'N', 60, 10, 15, 5, 10, 10, 10, 25, 10, 10, 15, 15, 1, 0.5, 1, 1, 0)")
             .arg(year)
             .arg(month);
    const char* const services[][3] = {{"1", "BT", "Badanie Techniczne"},
                                       {"2", "OT", "Obsługa Techniczna"},
                                       {"3", "LT", "Legalizacja Tachografu"},
                                       {"4", "UDT", "Urząd Dozoru Technicznego"},
                                       {"5", "NB", "Naprawy"}};
    for (const auto& row : services)
        s << QStringLiteral("INSERT INTO A_OBSK (KOD, TYP, NAZWA, ILE) VALUES (%1, '%2', '%3', 0)")
                 .arg(QLatin1String(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2]));
    const char* const groups[] = {"Agregaty oddymiające nadciśnieniowe",
                                  "Agregaty piany lekkiej o wydajności min. 200 m3/min.",
                                  "Agregaty prądotwórcze do 5 kVA z osprzętem oświetleniowym",
                                  "Motopompy pływające",
                                  "Motopompy pożarnicze o wydajności do 2000 l/min",
                                  "Motopompy pożarnicze o wydajności od 2000-3999 l/min",
                                  "Motopompy pożarnicze o wydajności powyżej 4000 l/min",
                                  "Motopompy szlamowe",
                                  "Motopompy szlamowe o wydajności powyżej 6000 l/min",
                                  "Pilarki do drewna",
                                  "Piły do betonu i stali",
                                  "Pontony i łodzie z silnikiem do 25 KM",
                                  "Pontony i łodzie z silnikiem od 25-50 KM",
                                  "Pontony i łodzie z silnikiem powyżej 50 KM",
                                  "Zestaw narzędzi hydraulicznych kategorii 1",
                                  "Zestaw narzędzi hydraulicznych kategorii 2"};
    int kod = 1;
    for (const char* name : groups)
        s << QStringLiteral("INSERT INTO A_GRUPS (KOD, NAZWA) VALUES (%1, '%2')")
                 .arg(kod++)
                 .arg(QString::fromUtf8(name));
    return s;
}

namespace {

// The schema and starting rows, then whatever the caller adds; on any failure the database is
// dropped, so that nothing half-built stays under any name.
void buildDatabase(db::Attachment& att, int year, int month, const DatabaseFiller& fill) {
    try {
        for (const QString& sql : creationStatements())
            att.executeImmediate(sql);
        db::Transaction t(att);
        db::inTransaction(t, [&](db::Transaction& tr) {
            for (const QString& sql : startingRows(year, month))
                tr.execute(sql);
        });
        if (fill) fill(att);
    } catch (...) {
        try {
            att.dropDatabase();
        } catch (...) {
        }
        throw;
    }
}

// The name a database is built under beside its final name: "korven.adb.<process id>.tmp".
QString temporaryName(const QString& target, qint64 pid) {
    return QStringLiteral("%1.%2.tmp").arg(target).arg(pid);
}

// Removes the temporary files that runs killed part-way left beside the target: those whose process
// is gone. A temporary file of a process that still runs is another creation going on; it stays.
void removeStaleTemporaryFiles(const QString& target) {
#ifdef Q_OS_UNIX
    const QFileInfo info(target);
    const QRegularExpression own(
        QStringLiteral("^%1\\.(\\d+)\\.tmp$").arg(QRegularExpression::escape(info.fileName())));
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList({info.fileName() + QStringLiteral(".*.tmp")}, QDir::Files)) {
        const QRegularExpressionMatch m = own.match(name);
        if (!m.hasMatch()) continue;
        bool ok = false;
        const qint64 pid = m.captured(1).toLongLong(&ok);
        if (!ok || pid <= 0 || pid > std::numeric_limits<pid_t>::max()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        QFile::remove(dir.filePath(name));
    }
#else
    Q_UNUSED(target);
#endif
}

// Makes sure the file's contents (or a folder's entries) are on the disk, not only in the system's
// cache, before the file is given its name.
void syncToDisk(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        throw std::runtime_error(QStringLiteral("Nie można zapisać na dysk %1: %2")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(error)))
                                     .toStdString());
    }
    ::close(fd);
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.flush())
        throw std::runtime_error(QStringLiteral("Nie można zapisać na dysk %1").arg(path).toStdString());
#endif
}

std::unique_ptr<db::Attachment> createLocal(const db::ConnectParams& params, int year, int month,
                                            const DatabaseFiller& fill) {
    const QString target = QFileInfo(params.database).absoluteFilePath();
    if (QFileInfo::exists(target))
        throw db::DbError(
            db::DbError::Reason::Usage,
            QStringLiteral("Plik bazy danych %1 już istnieje; nie zostanie nadpisany").arg(target));
    removeStaleTemporaryFiles(target);
    const QString temp = temporaryName(target, QCoreApplication::applicationPid());
    QFile::remove(temp); // left by an earlier run that had this process id: stale by definition
    RemoveOnStop removeOnStop(temp);
    try {
        // Built with asynchronous writes (some twenty commits would otherwise each wait for the disk)
        // and switched to the requested write mode once it is complete.
        db::ConnectParams building = params;
        building.database = temp;
        building.forcedWrites = false;
        {
            auto att = db::Attachment::create(building);
            buildDatabase(*att, year, month, fill);
            att->detach();
        }
        building.forcedWrites = params.forcedWrites;
        building.applyForcedWrites = true;
        db::Attachment::attach(building)->detach();
        syncToDisk(temp);
        // Never replaces a file: another creation may have finished meanwhile.
        if (!QFile::rename(temp, target))
            throw db::DbError(db::DbError::Reason::Usage,
                              QStringLiteral("Nie można nadać bazie danych nazwy %1 (plik już istnieje "
                                             "albo folder nie pozwala na zmianę nazwy)")
                                  .arg(target));
        syncToDisk(QFileInfo(target).absolutePath());
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    db::ConnectParams final = params;
    final.database = target;
    final.applyForcedWrites = false;
    return db::Attachment::attach(final);
}

} // namespace

std::unique_ptr<db::Attachment> createDatabase(const db::ConnectParams& params, int year, int month,
                                               const DatabaseFiller& fill) {
    if (!db::parseLocation(params.database).server.isEmpty()) {
        // On a server the file cannot be renamed from here: it is built in place and dropped when
        // anything fails.
        db::ConnectParams building = params;
        building.forcedWrites = false;
        auto att = db::Attachment::create(building);
        buildDatabase(*att, year, month, fill);
        att->detach();
        db::ConnectParams final = params;
        final.applyForcedWrites = true;
        return db::Attachment::attach(final);
    }
    return createLocal(params, year, month, fill);
}

} // namespace korven::schema
