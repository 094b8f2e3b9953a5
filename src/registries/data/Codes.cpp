#include "registries/data/Codes.h"

#include <functional>

namespace korven::registries {

QString queryText(db::Transaction& transaction, const QString& sql, const QString& column) {
    return db::inTransaction(transaction, [&](db::Transaction& t) {
        std::optional<db::Row> row = t.selectOne(sql);
        if (!row || row->isNull(column)) return QString();
        return row->text(column);
    });
}

qint64 nextCode(db::Transaction& transaction, const QString& maxSql, const QString& column) {
    QString highest = queryText(transaction, maxSql, column).trimmed();
    if (highest.isEmpty()) return 1;
    return highest.toLongLong() + 1;
}

qint64 insertWithNextCode(db::Transaction& transaction, const QString& maxSql, const QString& column,
                          const std::function<void(db::Transaction&, qint64)>& insert) {
    const int attempts = 3;
    for (int attempt = 1;; ++attempt) {
        qint64 code = nextCode(transaction, maxSql, column);
        try {
            db::inTransaction(transaction, [&](db::Transaction& t) { insert(t, code); });
            return code;
        } catch (const db::DbError& e) {
            if (e.reason() != db::DbError::Reason::UniqueViolation || attempt == attempts) throw;
        }
    }
}

} // namespace korven::registries
