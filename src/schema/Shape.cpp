#include "schema/Shape.h"

#include <QRegularExpression>

namespace korven::schema {

namespace {

const QString kColumns = QStringLiteral(
    "select trim(rf.RDB$FIELD_NAME) as N, f.RDB$FIELD_TYPE as FT, f.RDB$FIELD_SUB_TYPE as FST, "
    "f.RDB$FIELD_PRECISION as FP, f.RDB$FIELD_SCALE as FS, f.RDB$CHARACTER_LENGTH as CL, "
    "coalesce(rf.RDB$NULL_FLAG, f.RDB$NULL_FLAG, 0) as NN, coalesce(rf.RDB$DEFAULT_SOURCE, "
    "f.RDB$DEFAULT_SOURCE) as DS "
    "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
    "where rf.RDB$RELATION_NAME = :T");

QString typeText(const db::Row& r) {
    const int type = static_cast<int>(r.integer(QStringLiteral("FT")));
    const int sub = static_cast<int>(r.integer(QStringLiteral("FST")));
    const int precision = static_cast<int>(r.integer(QStringLiteral("FP")));
    const int scale = -static_cast<int>(r.integer(QStringLiteral("FS")));
    if ((type == 7 || type == 8 || type == 16) && (sub == 1 || sub == 2))
        return QStringLiteral("DECIMAL(%1,%2)").arg(precision).arg(scale);
    switch (type) {
    case 7:
        return QStringLiteral("SMALLINT");
    case 8:
        return QStringLiteral("INTEGER");
    case 16:
        return QStringLiteral("BIGINT");
    case 12:
        return QStringLiteral("DATE");
    case 14:
        return QStringLiteral("CHAR(%1)").arg(r.integer(QStringLiteral("CL")));
    case 37:
        return QStringLiteral("VARCHAR(%1)").arg(r.integer(QStringLiteral("CL")));
    default:
        return QStringLiteral("TYPE%1").arg(type);
    }
}

QString columnLine(const db::Row& r, bool normaliseDefault) {
    QString line = r.text(QStringLiteral("N")) + QLatin1Char(' ') + typeText(r);
    if (r.integer(QStringLiteral("NN"))) line += QStringLiteral(" NOT NULL");
    QString def = r.text(QStringLiteral("DS")).trimmed().toUpper();
    if (normaliseDefault && !def.isEmpty()) {
        static const QRegularExpression head(QStringLiteral("^DEFAULT\\s*"));
        def = QStringLiteral("DEFAULT ") + def.remove(head).trimmed();
    }
    if (!def.isEmpty()) line += QLatin1Char(' ') + def;
    return line;
}

} // namespace

ColumnShape columnShape(db::Transaction& t, const QString& table, const QString& column) {
    auto row =
        t.selectOne(kColumns + QStringLiteral(" and rf.RDB$FIELD_NAME = :C"), {{"T", table}, {"C", column}});
    if (!row) return {};
    return ColumnShape{true, typeText(*row)};
}

QStringList describeColumns(db::Transaction& t, const QString& table) {
    QStringList out;
    for (const db::Row& r :
         t.select(kColumns + QStringLiteral(" order by rf.RDB$FIELD_POSITION"), {{"T", table}}))
        out << columnLine(r, false);
    return out;
}

QStringList describeSchema(db::Transaction& t) {
    QStringList out;
    for (const db::Row& table : t.select(QStringLiteral(
             "select trim(RDB$RELATION_NAME) as N from RDB$RELATIONS where coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
             "order by 1"))) {
        const QString name = table.text(QStringLiteral("N"));
        out << QStringLiteral("TABLE ") + name;
        for (const db::Row& r :
             t.select(kColumns + QStringLiteral(" order by rf.RDB$FIELD_POSITION"), {{"T", name}}))
            out << QStringLiteral("  ") + columnLine(r, true);
    }
    for (const db::Row& r : t.select(QStringLiteral(
             "select trim(i.RDB$INDEX_NAME) as N, trim(i.RDB$RELATION_NAME) as T, "
             "coalesce(i.RDB$UNIQUE_FLAG, 0) as U, coalesce(i.RDB$INDEX_TYPE, 0) as D, "
             "coalesce(i.RDB$INDEX_INACTIVE, 0) as OFF, "
             "(select list(trim(s.RDB$FIELD_NAME), ',') from (select RDB$FIELD_NAME from RDB$INDEX_SEGMENTS "
             "where RDB$INDEX_NAME = i.RDB$INDEX_NAME order by RDB$FIELD_POSITION) s) as F "
             "from RDB$INDICES i where coalesce(i.RDB$SYSTEM_FLAG, 0) = 0 order by 1")))
        out << QStringLiteral("INDEX %1 ON %2 (%3)%4%5%6")
                   .arg(r.text(QStringLiteral("N")), r.text(QStringLiteral("T")), r.text(QStringLiteral("F")))
                   .arg(r.integer(QStringLiteral("U")) ? QStringLiteral(" UNIQUE") : QString())
                   .arg(r.integer(QStringLiteral("D")) ? QStringLiteral(" DESCENDING") : QString())
                   .arg(r.integer(QStringLiteral("OFF")) ? QStringLiteral(" INACTIVE") : QString());
    for (const db::Row& r :
         t.select(QStringLiteral("select trim(RDB$GENERATOR_NAME) as N from RDB$GENERATORS "
                                 "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1")))
        out << QStringLiteral("GENERATOR ") + r.text(QStringLiteral("N"));
    return out;
}

} // namespace korven::schema
