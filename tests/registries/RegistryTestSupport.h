#pragma once

#include "registries/rules/Fields.h"
#include "support/TestSupport.h"

#include <QMap>

#include <gtest/gtest.h>

namespace korven::test {

// The columns of a table as the database declares them: name -> character length (0 for non-text).
inline QMap<QString, int> declaredColumns(db::Attachment& att, const QString& table) {
    db::Transaction t(att);
    db::Rows rows = db::inTransaction(t, [&](db::Transaction& tr) {
        return tr.select(
            QStringLiteral(
                "select rf.RDB$FIELD_NAME as N, coalesce(f.RDB$CHARACTER_LENGTH, 0) as CL "
                "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                "where rf.RDB$RELATION_NAME = :T"),
            {{"T", table}});
    });
    QMap<QString, int> out;
    for (const db::Row& r : rows)
        out[r.text("N").trimmed()] = static_cast<int>(r.integer("CL"));
    return out;
}

// Checks that the field table names every column of the table once, with the declared text widths.
template <class Record>
void expectFieldsMatchTable(db::Attachment& att, const QString& table,
                            const std::vector<registries::FieldDef<Record>>& fields, int expectedCount) {
    QMap<QString, int> declared = declaredColumns(att, table);
    EXPECT_EQ(declared.size(), expectedCount);
    EXPECT_EQ(static_cast<int>(fields.size()), expectedCount);
    QMap<QString, int> seen;
    for (const auto& f : fields) {
        EXPECT_TRUE(declared.contains(f.info.column)) << f.info.column.toStdString();
        EXPECT_EQ(++seen[f.info.column], 1) << f.info.column.toStdString();
        if (f.info.kind == registries::FieldKind::Text) {
            EXPECT_EQ(f.info.width, declared.value(f.info.column)) << f.info.column.toStdString();
        }
    }
}

// A record with a different, valid value in every column: text filled to its width (so a cut or a
// wrong width shows), numbers and dates that differ per column.
template <class Record>
Record distinctRecord(const std::vector<registries::FieldDef<Record>>& fields, qint64 code, int seed) {
    Record r;
    int i = 0;
    for (const auto& f : fields) {
        ++i;
        db::Value v;
        switch (f.info.kind) {
        case registries::FieldKind::Text: {
            QString s = QStringLiteral("%1%2ŻÓŁĆ-").arg(f.info.column).arg(seed);
            while (s.size() < f.info.width)
                s += QChar(QLatin1Char('a' + (s.size() + i) % 26));
            v = db::Value(s.left(f.info.width));
            break;
        }
        case registries::FieldKind::Integer:
            v = db::Value(static_cast<std::int64_t>(i == 1 ? code : i + seed));
            break;
        case registries::FieldKind::Decimal:
            v = db::Value(db::Decimal::fromDouble(i + seed + 0.125, f.info.scale));
            break;
        case registries::FieldKind::Date:
            v = db::Value(QDate(2001, 1, 1).addDays(i + seed));
            break;
        }
        registries::setFieldValue(r, f, v);
    }
    return r;
}

template <class Record>
void expectSameRecord(const Record& a, const Record& b,
                      const std::vector<registries::FieldDef<Record>>& fields) {
    for (const auto& f : fields)
        EXPECT_EQ(registries::fieldValue(a, f).toText(), registries::fieldValue(b, f).toText())
            << f.info.column.toStdString();
}

} // namespace korven::test
