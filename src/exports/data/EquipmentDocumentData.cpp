#include "exports/data/EquipmentDocumentData.h"

#include "core/NumberFormat.h"

namespace korven::exports {

namespace {

const QString cardStatement = QStringLiteral(
    "select * from A_KARTAS where KODS = :KODS and KODK = :KODK and ROKS = :ROKS and MIES = :MIES");
const QString machineStatement = QStringLiteral("select * from A_SPRZET where KODS = :KODS");

QString capacityText(const db::Row& row, const char* column, const QLocale& locale) {
    const QString name = QLatin1String(column);
    return row.isNull(name) ? QString() : formatGeneral(row.number(name), locale);
}

} // namespace

EquipmentCardRow equipmentCardFromRow(const db::Row& row) {
    EquipmentCardRow c;
    c.KODS = int(row.integer(QStringLiteral("KODS")));
    c.KODK = int(row.integer(QStringLiteral("KODK")));
    c.ROKS = int(row.integer(QStringLiteral("ROKS")));
    c.MIES = int(row.integer(QStringLiteral("MIES")));
    c.DATAS = row.isNull(QStringLiteral("DATAS")) ? QDate() : row.date(QStringLiteral("DATAS"));
    c.ZUZYCIEPALN = row.number(QStringLiteral("ZUZYCIEPALN"));
    c.ZUZYCIEPALF = row.number(QStringLiteral("ZUZYCIEPALF"));
    c.ILOPOBOLM = row.number(QStringLiteral("ILOPOBOLM"));
    c.IMIENAZ = row.text(QStringLiteral("IMIENAZ"));
    return c;
}

bool equipmentContextFromRow(const db::Row& row, EquipmentDocumentContext& m, const QLocale& locale) {
    m.NAZWA = row.text(QStringLiteral("NAZWA"));
    m.NORMPAL = row.number(QStringLiteral("NORMPAL"));
    m.NROPER = row.text(QStringLiteral("NROPER"));
    m.RODZPAL = row.text(QStringLiteral("RODZPAL"));
    m.POJ_ZBIO = capacityText(row, "POJ_ZBIO", locale);
    m.POJ_KANI = capacityText(row, "POJ_KANI", locale);
    m.NRIDENT = row.text(QStringLiteral("NRIDENT"));
    m.NRFABR = row.text(QStringLiteral("NRFABR"));
    m.NRPOD = row.text(QStringLiteral("NRPOD"));
    const std::optional<QString> total = totalCapacity(m.POJ_ZBIO, m.POJ_KANI, locale);
    if (!total) return false;
    m.totalCapacity = *total;
    return true;
}

EquipmentDocumentLookup loadEquipmentDocument(db::Transaction& transaction, int KODS, int KODK, int ROKS,
                                              int MIES, const QLocale& locale) {
    EquipmentDocumentLookup out;
    db::inTransaction(transaction, [&](db::Transaction& t) {
        const std::optional<db::Row> card =
            t.selectOne(cardStatement, {{"KODS", KODS}, {"KODK", KODK}, {"ROKS", ROKS}, {"MIES", MIES}});
        if (!card) {
            out.error = QStringLiteral("Nie ma karty sprzętu nr %1 za %2/%3 sprzętu o kodzie %4.")
                            .arg(KODK)
                            .arg(MIES)
                            .arg(ROKS)
                            .arg(KODS);
            return;
        }
        const std::optional<db::Row> machine = t.selectOne(machineStatement, {{"KODS", KODS}});
        if (!machine) {
            out.error = QStringLiteral("Nie ma sprzętu o kodzie %1.").arg(KODS);
            return;
        }
        EquipmentDocumentSource source;
        source.card = equipmentCardFromRow(*card);
        if (!equipmentContextFromRow(*machine, source.machine, locale)) {
            out.error = QStringLiteral("Pojemność zbiornika lub kanistrów sprzętu nie jest liczbą. "
                                       "Dokument nie został utworzony.");
            return;
        }
        out.source = source;
    });
    return out;
}

} // namespace korven::exports
