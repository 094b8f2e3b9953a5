#include "schema/StatementIndexes.h"

namespace korven::schema {

namespace {

struct IndexDef {
    const char* name;
    const char* ddl;
};

const IndexDef kIndexes[] = {
    {"A_KARTA_OKRES", "CREATE INDEX A_KARTA_OKRES ON A_KARTA (ROKD, MIED, KODD)"},
    {"A_KARTA_NR", "CREATE DESCENDING INDEX A_KARTA_NR ON A_KARTA (KODD)"},
    {"A_KARTAS_OKRES", "CREATE INDEX A_KARTAS_OKRES ON A_KARTAS (ROKS, MIES, KODK)"},
    {"A_KARTAS_NR", "CREATE DESCENDING INDEX A_KARTAS_NR ON A_KARTAS (KODK)"},
    {"A_OBSLU_DATAP", "CREATE INDEX A_OBSLU_DATAP ON A_OBSLU (DATAP)"},
};

} // namespace

QStringList statementIndexStatements() {
    QStringList s;
    for (const IndexDef& i : kIndexes)
        s << QString::fromLatin1(i.ddl);
    return s;
}

int addStatementIndexes(db::Attachment& attachment) {
    int created = 0;
    for (const IndexDef& i : kIndexes) {
        db::Transaction t(attachment);
        const bool exists = db::inTransaction(t, [&](db::Transaction& tr) {
            return tr.scalar(QStringLiteral("select count(*) from RDB$INDICES where RDB$INDEX_NAME = :NAME"),
                             {{"NAME", QString::fromLatin1(i.name)}})
                       .toInt() > 0;
        });
        if (exists) continue;
        attachment.executeImmediate(QString::fromLatin1(i.ddl));
        ++created;
    }
    return created;
}

} // namespace korven::schema
