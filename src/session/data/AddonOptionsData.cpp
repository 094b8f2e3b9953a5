#include "session/data/AddonOptionsData.h"

namespace korven::session {

QMap<QString, QString> readOptionRows(db::Transaction& transaction) {
    QMap<QString, QString> rows;
    db::inTransaction(transaction, [&](db::Transaction& t) {
        const bool present =
            t.scalar(
                 QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'FJ_OPCJE'"))
                .toInt() > 0;
        if (!present) return;
        for (const db::Row& r :
             t.select(QStringLiteral("select KLUCZ, WARTOSC from FJ_OPCJE order by KLUCZ")))
            rows.insert(r.text(QStringLiteral("KLUCZ")).trimmed(),
                        r.text(QStringLiteral("WARTOSC")).trimmed());
    });
    return rows;
}

AddonOptions readAddonOptions(db::Transaction& transaction) {
    return addonOptionsFrom(readOptionRows(transaction));
}

void saveAddonOptions(db::Transaction& transaction, const AddonOptions& options) {
    const QMap<QString, QString> rows = addonOptionRows(options);
    db::inTransaction(transaction, [&](db::Transaction& t) {
        for (auto it = rows.cbegin(); it != rows.cend(); ++it)
            t.execute(
                QStringLiteral("update or insert into FJ_OPCJE (KLUCZ, WARTOSC) values (:KLUCZ, :WARTOSC) "
                               "matching (KLUCZ)"),
                {{"KLUCZ", it.key()}, {"WARTOSC", it.value()}});
    });
}

} // namespace korven::session
