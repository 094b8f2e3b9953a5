#include "schema/History.h"

#include <QRegularExpression>

namespace korven::schema {

namespace {

// The status code of a refused right ("no permission for ... access").
constexpr long kNoPrivilege = 335544352L;

QString triggerName(const QString& table, const char* suffix) {
    return QStringLiteral("FJ_HIST_%1_%2").arg(table, QLatin1String(suffix));
}

// The key of the row as the history shows it, built from the OLD or NEW row of the trigger.
QString keyExpression(const HistoryTable& t, const QString& row) {
    QStringList parts;
    for (int i = 0; i < t.key.size(); ++i)
        parts
            << QStringLiteral("'%1%2=' || %3.%2").arg(i ? QStringLiteral(";") : QString(), t.key.at(i), row);
    return parts.join(QStringLiteral(" || "));
}

// A column's value as text; a missing value is written as "(brak)" so that it differs from blanks.
QString valueExpression(const QString& row, const QString& column) {
    return QStringLiteral("coalesce(trim(cast(%1.%2 as varchar(250))), '(brak)')").arg(row, column);
}

// The list of changes is the trigger's variable Z, written ": Z": the statements of an upgrade go
// through the named-parameter reading of the database layer, which would take ":Z" for a parameter.
QString historyInsert(const HistoryTable& t, const QString& row, const char* operation, bool withChanges) {
    return QStringLiteral(
               "  insert into FJ_HIST (ID, TABELA, KLUCZ, OPERACJA, UZYTKOWNIK, CZAS, ZMIANY) "
               "values (gen_id(FJ_HIST_NR, 1), '%1', %2, '%3', current_user, current_timestamp, %4);\n")
        .arg(t.table, keyExpression(t, row), QLatin1String(operation),
             withChanges ? QStringLiteral(": Z") : QStringLiteral("null"));
}

QString triggerHead(const QString& name, const QString& table, const char* event) {
    return QStringLiteral("CREATE OR ALTER TRIGGER %1 FOR %2 ACTIVE AFTER %3 POSITION 30000 AS\n")
        .arg(name, table, QLatin1String(event));
}

} // namespace

const std::vector<HistoryTable>& historyTables() {
    static const std::vector<HistoryTable> tables = {
        {QStringLiteral("A_KARTA"),
         {QStringLiteral("KODA"), QStringLiteral("KODD"), QStringLiteral("ROKD"), QStringLiteral("MIED")}},
        {QStringLiteral("A_KARTAS"),
         {QStringLiteral("KODS"), QStringLiteral("KODK"), QStringLiteral("ROKS"), QStringLiteral("MIES")}},
        {QStringLiteral("A_OBSLU"), {QStringLiteral("KODA"), QStringLiteral("KODB")}},
        {QStringLiteral("A_AUTO"), {QStringLiteral("KODA")}},
        {QStringLiteral("A_SPRZET"), {QStringLiteral("KODS")}}};
    return tables;
}

std::vector<std::pair<QString, QStringList>> tableColumns(const QStringList& statements) {
    std::vector<std::pair<QString, QStringList>> out;
    static const QRegularExpression head(QStringLiteral(R"(^\s*CREATE\s+TABLE\s+(\w+)\s*\()"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& sql : statements) {
        const QRegularExpressionMatch m = head.match(sql);
        if (!m.hasMatch()) continue;
        // The definitions between the outer parentheses, split at the commas outside any parentheses
        // of their own; a constraint is no column.
        const QString body = sql.mid(m.capturedEnd(), sql.lastIndexOf(QLatin1Char(')')) - m.capturedEnd());
        QStringList columns;
        int depth = 0;
        QString part;
        auto take = [&] {
            const QString name = part.trimmed().section(blanks, 0, 0);
            if (!name.isEmpty() && name.compare(QLatin1String("CONSTRAINT"), Qt::CaseInsensitive) != 0)
                columns << name.toUpper();
            part.clear();
        };
        for (QChar c : body) {
            if (c == QLatin1Char('(')) ++depth;
            if (c == QLatin1Char(')')) --depth;
            if (c == QLatin1Char(',') && depth == 0)
                take();
            else
                part += c;
        }
        take();
        out.emplace_back(m.captured(1).toUpper(), columns);
    }
    return out;
}

QStringList historyStatements(const std::vector<std::pair<QString, QStringList>>& columns) {
    QStringList s;
    s << QStringLiteral(
        "CREATE TABLE FJ_HIST (ID BIGINT NOT NULL, TABELA VARCHAR(31) NOT NULL, "
        "KLUCZ VARCHAR(120) NOT NULL, OPERACJA CHAR(1) NOT NULL, UZYTKOWNIK VARCHAR(63), "
        "CZAS TIMESTAMP NOT NULL, ZMIANY BLOB SUB_TYPE TEXT, CONSTRAINT FJ_HIST PRIMARY KEY (ID))");
    s << QStringLiteral("CREATE GENERATOR FJ_HIST_NR");
    for (const HistoryTable& t : historyTables()) {
        QStringList cols;
        for (const auto& [table, list] : columns)
            if (table == t.table) cols = list;
        if (cols.isEmpty()) continue;

        QString update =
            triggerHead(triggerName(t.table, "AU"), t.table, "UPDATE") +
            QStringLiteral("DECLARE Z BLOB SUB_TYPE TEXT = '';\nDECLARE N INTEGER = 0;\nBEGIN\n");
        QString remove = triggerHead(triggerName(t.table, "AD"), t.table, "DELETE") +
                         QStringLiteral("DECLARE Z BLOB SUB_TYPE TEXT = '';\nBEGIN\n");
        for (const QString& c : cols) {
            update +=
                QStringLiteral("  if (OLD.%1 is distinct from NEW.%1) then begin Z = Z || '%1: ' || %2 || "
                               "' -> ' || %3 || ascii_char(10); N = N + 1; end\n")
                    .arg(c, valueExpression(QStringLiteral("OLD"), c),
                         valueExpression(QStringLiteral("NEW"), c));
            remove +=
                QStringLiteral("  if (OLD.%1 is not null) then Z = Z || '%1: ' || %2 || ascii_char(10);\n")
                    .arg(c, valueExpression(QStringLiteral("OLD"), c));
        }
        update += QStringLiteral("  if (N > 0) then\n") + historyInsert(t, QStringLiteral("NEW"), "U", true) +
                  QStringLiteral("END");
        remove += historyInsert(t, QStringLiteral("OLD"), "D", true) + QStringLiteral("END");
        const QString insert = triggerHead(triggerName(t.table, "AI"), t.table, "INSERT") +
                               QStringLiteral("BEGIN\n") +
                               historyInsert(t, QStringLiteral("NEW"), "I", false) + QStringLiteral("END");
        s << insert << update << remove;
        for (const char* suffix : {"AI", "AU", "AD"}) {
            s << QStringLiteral("GRANT INSERT ON FJ_HIST TO TRIGGER %1").arg(triggerName(t.table, suffix));
            s << QStringLiteral("GRANT USAGE ON GENERATOR FJ_HIST_NR TO TRIGGER %1")
                     .arg(triggerName(t.table, suffix));
        }
    }
    return s;
}

QString historyKey(const QStringList& names, const QStringList& values) {
    QStringList parts;
    for (int i = 0; i < names.size() && i < values.size(); ++i)
        parts << names.at(i) + QLatin1Char('=') + values.at(i);
    return parts.join(QLatin1Char(';'));
}

std::vector<HistoryEntry> readHistory(db::Transaction& t, const HistoryFilter& filter) {
    QString sql = QStringLiteral("select ID, TABELA, KLUCZ, OPERACJA, UZYTKOWNIK, CZAS, ZMIANY from FJ_HIST");
    QStringList where;
    db::Params params;
    if (filter.from.isValid()) {
        where << QStringLiteral("CZAS >= :OD");
        params.set(QStringLiteral("OD"), QDateTime(filter.from, QTime(0, 0)));
    }
    if (filter.to.isValid()) {
        where << QStringLiteral("CZAS < :DO");
        params.set(QStringLiteral("DO"), QDateTime(filter.to.addDays(1), QTime(0, 0)));
    }
    if (!filter.user.isEmpty()) {
        where << QStringLiteral("UZYTKOWNIK = :U");
        params.set(QStringLiteral("U"), filter.user);
    }
    if (!filter.table.isEmpty()) {
        where << QStringLiteral("TABELA = :T");
        params.set(QStringLiteral("T"), filter.table);
    }
    if (!filter.key.isEmpty()) {
        where << QStringLiteral("KLUCZ = :K");
        params.set(QStringLiteral("K"), filter.key);
    }
    if (!where.isEmpty()) sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
    sql += QStringLiteral(" order by ID desc");
    std::vector<HistoryEntry> out;
    try {
        for (const db::Row& r : t.select(sql, params)) {
            HistoryEntry e;
            e.id = r.integer(QStringLiteral("ID"));
            e.table = r.text(QStringLiteral("TABELA")).trimmed();
            e.key = r.text(QStringLiteral("KLUCZ")).trimmed();
            e.operation = r.text(QStringLiteral("OPERACJA")).trimmed();
            e.user = r.text(QStringLiteral("UZYTKOWNIK")).trimmed();
            e.time = r[QStringLiteral("CZAS")].toDateTime();
            e.changes = r.text(QStringLiteral("ZMIANY"));
            out.push_back(std::move(e));
        }
    } catch (const db::DbError& e) {
        if (e.hasCode(kNoPrivilege)) throw HistoryDenied();
        throw;
    }
    return out;
}

QStringList historyUsers(db::Transaction& t) {
    QStringList out;
    try {
        for (const db::Row& r : t.select(QStringLiteral("select distinct trim(UZYTKOWNIK) as U from FJ_HIST "
                                                        "where UZYTKOWNIK is not null order by 1")))
            out << r.text(QStringLiteral("U"));
    } catch (const db::DbError& e) {
        if (e.hasCode(kNoPrivilege)) throw HistoryDenied();
        throw;
    }
    return out;
}

} // namespace korven::schema
