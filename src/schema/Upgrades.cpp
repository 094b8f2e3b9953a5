#include "schema/Upgrades.h"

#include "schema/History.h"
#include "schema/Schema.h"
#include "schema/Shape.h"

#include <QRegularExpression>

#include <stdexcept>

namespace korven::schema {

namespace {

QRegularExpression pattern(const char* text) {
    return QRegularExpression(QString::fromLatin1(text), QRegularExpression::CaseInsensitiveOption |
                                                             QRegularExpression::DotMatchesEverythingOption);
}

QString compactType(QString type) {
    type.remove(QLatin1Char(' '));
    if (type.endsWith(QLatin1Char(';'))) type.chop(1);
    return type.toUpper();
}

QString privilegeLetter(const QString& privilege) {
    const QString p = privilege.toUpper();
    if (p == QLatin1String("SELECT")) return QStringLiteral("S");
    if (p == QLatin1String("INSERT")) return QStringLiteral("I");
    if (p == QLatin1String("UPDATE")) return QStringLiteral("U");
    if (p == QLatin1String("DELETE")) return QStringLiteral("D");
    if (p == QLatin1String("REFERENCES")) return QStringLiteral("R");
    if (p == QLatin1String("USAGE")) return QStringLiteral("G");
    return QString();
}

UpgradeBlock block(QStringList statements) {
    return UpgradeBlock{std::move(statements)};
}

// Each statement of a step that runs one by one is a block of its own.
std::vector<UpgradeBlock> oneByOne(const QStringList& statements) {
    std::vector<UpgradeBlock> blocks;
    for (const QString& s : statements)
        blocks.push_back(block({s}));
    return blocks;
}

QString done(const QString& version) {
    return QStringLiteral("Tworzenie wersji v.%1 zakończono pomyślnie").arg(version);
}

QString doneOnTwoLines(const QString& version) {
    return QStringLiteral("Tworzenie wersji v.%1\nzakończono pomyślnie").arg(version);
}

std::vector<UpgradeStep> buildSteps() {
    std::vector<UpgradeStep> steps;
    steps.push_back({QStringLiteral("1.04"), done(QStringLiteral("1.04")),
                     oneByOne({QStringLiteral("ALTER TABLE A_AUTO ADD poj_zbio  DECIMAL(7,2)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD poj_kani  DECIMAL(7,2)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD olej_kla  CHAR(20)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD olej_poj  DECIMAL(6,2)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD olej_mar  CHAR(20)"),
                               QStringLiteral("ALTER TABLE FJ_BAZA ALTER MER TYPE CHAR(60)"),
                               QStringLiteral("ALTER TABLE FJ_BAZA ALTER RAC TYPE CHAR(60)"),
                               QStringLiteral("ALTER TABLE FJ_BAZA ALTER GLK TYPE CHAR(60)"),
                               QStringLiteral("ALTER TABLE FJ_BAZA ALTER DYR TYPE CHAR(60)"),
                               QStringLiteral("ALTER TABLE FJ_BAZA ALTER SPO TYPE CHAR(60)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD blokada  CHAR(1)")})});
    steps.push_back(
        {QStringLiteral("1.05"),
         done(QStringLiteral("1.05")),
         {block({QStringLiteral("CREATE TABLE A_OBSK (kod    DECIMAL(3,0) NOT NULL,typ    CHAR(3)    ,nazwa  "
                                "CHAR(30)   ,CONSTRAINT A_OBSK PRIMARY KEY(kod));")}),
          block({QStringLiteral(
              "CREATE TABLE A_OBSLU (KODA    DECIMAL(6,0) NOT NULL,KODB    DECIMAL(6,0) NOT NULL,typ     "
              "CHAR(3)              ,nazwa   CHAR(30)             ,dataW   DATE                 ,dataP   "
              "DATE DEFAULT 'TODAY',stanW   DECIMAL(10,2) DEFAULT 0,stanP   DECIMAL(10,2) DEFAULT 0,planW   "
              "CHAR(1)              ,uwagi   CHAR(100)            ,CONSTRAINT A_OBSLU PRIMARY "
              "KEY(KODA,KODB));")}),
          block(
              {QStringLiteral("INSERT INTO A_OBSK (kod, typ, nazwa ) VALUES (1,'BT','Badanie Techniczne');"),
               QStringLiteral("INSERT INTO A_OBSK (kod, typ, nazwa ) VALUES (2,'OT','Obsługa Techniczna');"),
               QStringLiteral(
                   "INSERT INTO A_OBSK (kod, typ, nazwa ) VALUES (3,'LT','Legalizacja Tachografu');"),
               QStringLiteral(
                   "INSERT INTO A_OBSK (kod, typ, nazwa ) VALUES (4,'UDT','Urząd Dozoru Technicznego');"),
               QStringLiteral("INSERT INTO A_OBSK (kod, typ, nazwa ) VALUES (5,'NB','Naprawy');")})}});
    steps.push_back({QStringLiteral("1.06"), done(QStringLiteral("1.06")),
                     oneByOne({QStringLiteral("ALTER TABLE A_OBSK ADD ILE  DECIMAL(4,0) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_OBSLU ADD ILE  DECIMAL(4,0) DEFAULT 0")})});
    steps.push_back({QStringLiteral("1.09"), done(QStringLiteral("1.09")),
                     oneByOne({QStringLiteral("ALTER TABLE A_AUTO ADD INFO1  CHAR(100)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD INFO2  CHAR(100)"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD INFO3  CHAR(100)")})});
    UpgradeStep v110{QStringLiteral("1.10"), done(QStringLiteral("1.10")),
                     oneByOne({QStringLiteral("ALTER TABLE A_AUTO ALTER NORMPOM TYPE DECIMAL(6,3)"),
                               QStringLiteral("ALTER TABLE A_AUTO ALTER NORMUG TYPE DECIMAL(6,3)")})};
    v110.clearsLabel = false;
    steps.push_back(v110);

    QStringList groups;
    const char* const groupNames[] = {"Agregaty oddymiające nadciśnieniowe",
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
    for (const char* name : groupNames)
        groups << QStringLiteral("INSERT INTO A_GRUPS (kod, nazwa ) VALUES (%1,'%2');")
                      .arg(kod++)
                      .arg(QString::fromUtf8(name));
    steps.push_back(
        {QStringLiteral("1.18"),
         done(QStringLiteral("1.18")),
         {block({QStringLiteral(
              "CREATE TABLE A_GRUPS (kod    DECIMAL(3,0) NOT NULL,nazwa  CHAR(60)   ,CONSTRAINT "
              "A_GRUPS PRIMARY KEY(kod));")}),
          block({QStringLiteral(
              "CREATE TABLE A_SPRZET (KODS    DECIMAL(6,0) NOT NULL,NRREJ   CHAR(10)             ,nazwa   "
              "CHAR(40)             ,NRPOD   CHAR(20)             ,NRIDENT CHAR(20)             ,KOD_GR  "
              "DECIMAL(3,0)         ,GRSPRZ  CHAR(60)             ,KOD_KO  DECIMAL(3,0)         ,KOMENDA "
              "CHAR(40)             ,NRJED   CHAR(20)             ,INFO1   CHAR(60)             ,INFO2   "
              "CHAR(60)             ,INFO3   CHAR(60)             ,INFO4   CHAR(60)             ,FOTO    "
              "CHAR(30)             ,MARKASILN CHAR(30)           ,TYPSILN CHAR(20)             ,RODZSILN "
              "CHAR(1) DEFAULT '2',RPR     CHAR(4)  DEFAULT '2008',NRFABR  CHAR(30)             ,POJSKOK "
              "CHAR(10)             ,MOC     CHAR(10)             ,PRODUCENT CHAR(40)           ,PARHAR  "
              "CHAR(20)             ,NROPER  CHAR(20)             ,DOEKSPL DATE DEFAULT'TODAY',RODZPAL "
              "CHAR(2) "
              "DEFAULT 'ET',NORMPAL DECIMAL(7,3) DEFAULT 0,NORMOLM DECIMAL(7,3) DEFAULT 0,NORMOLS "
              "DECIMAL(7,3) "
              "DEFAULT 0,POJ_ZBIO DECIMAL(7,2) DEFAULT 0,POJ_KANI DECIMAL(7,2) DEFAULT 0,OLEJ_KLA CHAR(20)   "
              " "
              "         ,OLEJ_MARS  CHAR(20)           ,OLEJ_MARL  CHAR(20)           ,SKLAD_ZES1 CHAR(50)   "
              " "
              "       ,SKLAD_ZES2 CHAR(50)           ,SKLAD_ZES3 CHAR(50)           ,SKLAD_ZES4 CHAR(50)     "
              "   "
              "   ,SKLAD_ZES5 CHAR(50)           ,SKLAD_ZES6 CHAR(50)           ,SKLAD_ZES7 CHAR(50)         "
              "  "
              ",SKLAD_ZES8 CHAR(50)           ,SKLAD_ZES9 CHAR(50)           ,SKLAD_ZES10 CHAR(50)          "
              ",BLOKADA CHAR(1) DEFAULT 'N',CONSTRAINT A_SPRZET PRIMARY KEY(KODS));")}),
          block({QStringLiteral("CREATE INDEX A_SPRZETN ON A_SPRZET (NAZWA);")}), block(groups)}});
    steps.push_back(
        {QStringLiteral("1.19"),
         done(QStringLiteral("1.19")),
         {block(
             {QStringLiteral(
                  "CREATE TABLE A_KARTAS (KODS    DECIMAL(6,0) NOT NULL,KODK    DECIMAL(6,0) NOT NULL,NRREJ  "
                  " "
                  "CHAR(10)             ,rokS    DECIMAL(2,0)  NOT NULL,mieS    DECIMAL(2,0)  NOT NULL,DATAS "
                  "  "
                  "DATE DEFAULT'TODAY',CZAS    DECIMAL(5,0)  DEFAULT 0,NORMAPAL DECIMAL(7,3) DEFAULT "
                  "0,NORMOLM "
                  " DECIMAL(7,3) DEFAULT 0,NORMOLS  DECIMAL(7,3) DEFAULT 0,ZUZYCIEPALN DECIMAL(7,2) DEFAULT "
                  "0,ZUZYCIEOLMN DECIMAL(7,2) DEFAULT 0,ZUZYCIEOLSN DECIMAL(7,2) DEFAULT 0,ZUZYCIEPALF "
                  "DECIMAL(7,2) DEFAULT 0,ILOPOBOLM   DECIMAL(7,2) DEFAULT 0,ILOPOBOLS   DECIMAL(7,2) "
                  "DEFAULT "
                  "0,POZOSTOLM   DECIMAL(7,2) DEFAULT 0,POZOSTOLS   DECIMAL(7,2) DEFAULT 0,OSZCZPAL    "
                  "DECIMAL(7,2) DEFAULT 0,IMIENAZ CHAR(40)             ,CONSTRAINT A_KARTAS PRIMARY "
                  "KEY(KODS,rokS,mieS,KODK));"),
              QStringLiteral("ALTER TABLE FJ_BAZA ADD POCZNRS DECIMAL(4,0) DEFAULT 1")})}});
    steps.push_back({QStringLiteral("1.27"), doneOnTwoLines(QStringLiteral("1.27")),
                     oneByOne({QStringLiteral("ALTER TABLE A_AUTO ADD NORMUR1 DECIMAL(6,3) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD NORMUR2 DECIMAL(6,3) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_AUTO ADD CZY_MIERNIK CHAR(1) DEFAULT 'N'"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR1 DECIMAL(7,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR1_1 DECIMAL(8,5) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR1_2 DECIMAL(7,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR1_3 DECIMAL(7,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR2 DECIMAL(7,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR2_1 DECIMAL(8,5) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR2_2 DECIMAL(7,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD dodUR2_3 DECIMAL(7,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD MIER_POCZ DECIMAL(8,2) DEFAULT 0"),
                               QStringLiteral("ALTER TABLE A_KARTA ADD MIER_KON DECIMAL(8,2) DEFAULT 0")})});
    steps.push_back({QStringLiteral("1.31"), doneOnTwoLines(QStringLiteral("1.31")),
                     oneByOne({QStringLiteral("ALTER TABLE A_AUTO ADD OSOB_ODP  CHAR(40)")})});

    // What this system keeps beside the older schema: the store of access levels (the group number
    // on the server can be changed by the user himself), the right of the operator list's trigger to
    // number its rows for operators who do not own the database, every index a new database has
    // (an index added to the new database's statements is thereby also added to older ones), and the
    // columns in the order of a new database, so that an upgraded database and a new one are alike.
    UpgradeStep own{QStringLiteral("2.00"),
                    done(QStringLiteral("2.00")),
                    {block(accessLevelTableStatements()),
                     block({QStringLiteral("GRANT USAGE ON GENERATOR NUM_OPER TO TRIGGER FJ_FLOP_BI")})}};
    for (const QString& sql : creationStatements())
        if (presenceOf(sql).kind == Presence::Kind::Index) own.blocks.push_back(block({sql}));
    own.alignsColumns = true;
    steps.push_back(own);

    // The options of the additions (plausibility checks, services due by the odometer).
    steps.push_back(
        {QStringLiteral("2.01"), done(QStringLiteral("2.01")), {block(addonOptionsTableStatements())}});

    // The change history. Its triggers are generated from the columns of a new database, which an
    // upgraded one has after the step above; a trigger whose text differs from what the columns give
    // (a column added since) is written again.
    UpgradeStep history{QStringLiteral("2.02"), done(QStringLiteral("2.02")), {}};
    const QStringList historySql = historyStatements(tableColumns(creationStatements()));
    // One by one: the triggers of a table written in one transaction with a table's changes before them
    // are refused by the engine; each statement in place is skipped on a second run.
    history.blocks = oneByOne(historySql);
    steps.push_back(history);
    // The tables of the fuel transaction import.
    steps.push_back(
        {QStringLiteral("2.03"), done(QStringLiteral("2.03")), {block(fuelImportTableStatements())}});
    return steps;
}

bool exists(db::Transaction& t, const QString& sql, const db::Params& params) {
    return t.scalar(sql, params).toInt() > 0;
}

bool isPresent(db::Transaction& t, const Presence& p) {
    using K = Presence::Kind;
    switch (p.kind) {
    case K::Table:
        return exists(t, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = :T"),
                      {{"T", p.table}});
    case K::Column:
        return exists(t,
                      QStringLiteral("select count(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = :T "
                                     "and RDB$FIELD_NAME = :C"),
                      {{"T", p.table}, {"C", p.name}});
    case K::ColumnType: {
        const ColumnShape c = columnShape(t, p.table, p.name);
        return c.exists && compactType(c.type) == compactType(p.type);
    }
    case K::Index:
        return exists(t, QStringLiteral("select count(*) from RDB$INDICES where RDB$INDEX_NAME = :I"),
                      {{"I", p.name}});
    case K::Row:
        // The table and key column come from the step's own statement, never from input.
        return exists(t, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = :T"),
                      {{"T", p.table}}) &&
               exists(t, QStringLiteral("select count(*) from %1 where %2 = %3").arg(p.table, p.name, p.key),
                      {});
    case K::Privilege:
        return exists(t,
                      QStringLiteral("select count(*) from RDB$USER_PRIVILEGES where RDB$USER = :U and "
                                     "RDB$RELATION_NAME = :T and RDB$PRIVILEGE = :P"),
                      {{"U", p.name}, {"T", p.table}, {"P", p.key}});
    case K::Generator:
        return exists(t, QStringLiteral("select count(*) from RDB$GENERATORS where RDB$GENERATOR_NAME = :G"),
                      {{"G", p.name}});
    case K::Trigger: {
        // Present when the trigger is there with the same text, so that a changed trigger is rewritten.
        auto row = t.selectOne(
            QStringLiteral("select RDB$TRIGGER_SOURCE as S from RDB$TRIGGERS where RDB$TRIGGER_NAME = :N"),
            {{"N", p.name}});
        if (!row) return false;
        const QString source = row->text(QStringLiteral("S")).simplified();
        return !source.isEmpty() && p.type.endsWith(source);
    }
    case K::Unknown:
        return false;
    }
    return false;
}

// The columns of a table as they stand, in field order.
QStringList currentOrder(db::Transaction& t, const QString& table) {
    QStringList out;
    for (const db::Row& r :
         t.select(QStringLiteral("select trim(RDB$FIELD_NAME) as N from RDB$RELATION_FIELDS where "
                                 "RDB$RELATION_NAME = :T order by RDB$FIELD_POSITION"),
                  {{"T", table}}))
        out << r.text(QStringLiteral("N"));
    return out;
}

// The order a table should have: the columns of a new database first, in their order, then any
// column a new database does not have, where it stood.
QStringList targetOrder(const QStringList& current, const QStringList& wanted) {
    QStringList out;
    for (const QString& c : wanted)
        if (current.contains(c)) out << c;
    for (const QString& c : current)
        if (!out.contains(c)) out << c;
    return out;
}

bool columnsAligned(db::Attachment& attachment) {
    db::Transaction t(attachment, db::TransactionOptions{true});
    return db::inTransaction(t, [](db::Transaction& tr) {
        for (const auto& [table, wanted] : newDatabaseColumnOrder()) {
            const QStringList current = currentOrder(tr, table);
            if (current != targetOrder(current, wanted)) return false;
        }
        return true;
    });
}

bool alignColumns(db::Attachment& attachment) {
    bool moved = false;
    for (const auto& [table, wanted] : newDatabaseColumnOrder()) {
        QStringList current;
        {
            db::Transaction t(attachment, db::TransactionOptions{true});
            current = db::inTransaction(t, [&](db::Transaction& tr) { return currentOrder(tr, table); });
        }
        const QStringList target = targetOrder(current, wanted);
        if (current == target) continue;
        // Moving the columns into place from the first to the last leaves each where it belongs.
        db::Transaction t(attachment);
        db::inTransaction(t, [&](db::Transaction& tr) {
            for (int i = 0; i < target.size(); ++i)
                tr.execute(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 POSITION %3")
                               .arg(table, target.at(i))
                               .arg(i + 1));
        });
        moved = true;
    }
    return moved;
}

} // namespace

Presence presenceOf(const QString& sql) {
    using K = Presence::Kind;
    static const QRegularExpression add = pattern(R"(^\s*ALTER\s+TABLE\s+(\w+)\s+ADD\s+(\w+)\s)");
    static const QRegularExpression alterType =
        pattern(R"(^\s*ALTER\s+TABLE\s+(\w+)\s+ALTER\s+(?:COLUMN\s+)?(\w+)\s+TYPE\s+(.+?)\s*;?\s*$)");
    static const QRegularExpression table = pattern(R"(^\s*CREATE\s+TABLE\s+(\w+))");
    static const QRegularExpression index = pattern(
        R"(^\s*CREATE\s+(?:UNIQUE\s+)?(?:(?:ASC|ASCENDING|DESC|DESCENDING)\s+)?INDEX\s+(\w+)\s+ON\s+(\w+))");
    static const QRegularExpression insert =
        pattern(R"(^\s*INSERT\s+INTO\s+(\w+)\s*\(\s*(\w+)[^)]*\)\s*VALUES\s*\(\s*(\d+)\s*,)");
    static const QRegularExpression grant = pattern(
        R"(^\s*GRANT\s+(\w+)\s+ON\s+(?:(?:TABLE|GENERATOR|SEQUENCE)\s+)?(\w+)\s+TO\s+(?:(?:USER|TRIGGER|PROCEDURE)\s+)?(\w+)\s*;?\s*$)");
    static const QRegularExpression trigger =
        pattern(R"(^\s*CREATE\s+(?:OR\s+ALTER\s+)?TRIGGER\s+(\w+)\s+FOR\s+(\w+))");
    static const QRegularExpression generator =
        pattern(R"(^\s*CREATE\s+(?:GENERATOR|SEQUENCE)\s+(\w+)\s*;?\s*$)");
    Presence p;
    QRegularExpressionMatch m;
    if ((m = trigger.match(sql)).hasMatch()) {
        p.kind = K::Trigger;
        p.name = m.captured(1).toUpper();
        p.table = m.captured(2).toUpper();
        p.type = sql.simplified();
    } else if ((m = generator.match(sql)).hasMatch()) {
        p.kind = K::Generator;
        p.name = m.captured(1).toUpper();
    } else if ((m = alterType.match(sql)).hasMatch()) {
        p.kind = K::ColumnType;
        p.table = m.captured(1).toUpper();
        p.name = m.captured(2).toUpper();
        p.type = compactType(m.captured(3));
    } else if ((m = add.match(sql)).hasMatch()) {
        p.kind = K::Column;
        p.table = m.captured(1).toUpper();
        p.name = m.captured(2).toUpper();
    } else if ((m = table.match(sql)).hasMatch()) {
        p.kind = K::Table;
        p.table = m.captured(1).toUpper();
    } else if ((m = index.match(sql)).hasMatch()) {
        p.kind = K::Index;
        p.name = m.captured(1).toUpper();
        p.table = m.captured(2).toUpper();
    } else if ((m = insert.match(sql)).hasMatch()) {
        p.kind = K::Row;
        p.table = m.captured(1).toUpper();
        p.name = m.captured(2).toUpper();
        p.key = m.captured(3);
    } else if ((m = grant.match(sql)).hasMatch() && !privilegeLetter(m.captured(1)).isEmpty()) {
        p.kind = K::Privilege;
        p.key = privilegeLetter(m.captured(1));
        p.table = m.captured(2).toUpper();
        p.name = m.captured(3).toUpper();
    }
    return p;
}

const std::vector<UpgradeStep>& upgradeSteps() {
    static const std::vector<UpgradeStep> steps = buildSteps();
    return steps;
}

const UpgradeStep& upgradeStep(const QString& version) {
    for (const UpgradeStep& s : upgradeSteps())
        if (s.version == version) return s;
    throw std::invalid_argument("no upgrade step " + version.toStdString());
}

QString alreadyAppliedText(const UpgradeStep& step) {
    return QStringLiteral("Wersja v.%1 jest już w bazie danych").arg(step.version);
}

bool isApplied(db::Attachment& attachment, const UpgradeStep& step) {
    db::Transaction t(attachment, db::TransactionOptions{true});
    const bool statements = db::inTransaction(t, [&](db::Transaction& tr) {
        for (const UpgradeBlock& b : step.blocks)
            for (const QString& sql : b.statements)
                if (!isPresent(tr, presenceOf(sql))) return false;
        return true;
    });
    return statements && (!step.alignsColumns || columnsAligned(attachment));
}

StepResult applyStep(db::Attachment& attachment, const UpgradeStep& step) {
    StepResult result;
    for (const UpgradeBlock& b : step.blocks) {
        db::Transaction t(attachment);
        const int present = db::inTransaction(t, [&](db::Transaction& tr) {
            int skipped = 0;
            int ran = 0;
            for (const QString& sql : b.statements) {
                if (isPresent(tr, presenceOf(sql))) {
                    ++skipped;
                    continue;
                }
                tr.execute(sql);
                ++ran;
            }
            result.statementsRun += ran;
            return skipped;
        });
        result.statementsPresent += present;
    }
    if (step.alignsColumns) result.columnsMoved = alignColumns(attachment);
    return result;
}

void upgradeDatabase(db::Attachment& attachment, const StepReport& onStep) {
    for (const UpgradeStep& step : upgradeSteps()) {
        const StepResult r = applyStep(attachment, step);
        if (onStep) onStep(step, r);
    }
}

std::vector<std::pair<QString, QStringList>> newDatabaseColumnOrder() {
    static const std::vector<std::pair<QString, QStringList>> order = tableColumns(creationStatements());
    return order;
}

} // namespace korven::schema
