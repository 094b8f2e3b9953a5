#include "equipcards/rules/EquipmentCard.h"

#include "core/NumberFormat.h"

namespace korven::equipcards {

namespace {

using R = EquipmentCard;
constexpr ColumnType I = ColumnType::Integer;
constexpr ColumnType D = ColumnType::Decimal;

const EquipmentColumn columnTable[] = {
    {{"KODS", I, 9, 0}, &R::KODS},
    {{"KODK", I, 9, 0}, &R::KODK},
    {{"NRREJ", ColumnType::Text, 10, 0}, &R::NRREJ},
    {{"ROKS", I, 9, 0}, &R::ROKS},
    {{"MIES", I, 9, 0}, &R::MIES},
    {{"DATAS", ColumnType::Date, 0, 0}, &R::DATAS},
    {{"CZAS", I, 9, 0}, &R::CZAS},
    {{"NORMAPAL", D, 9, 3}, &R::NORMAPAL},
    {{"NORMOLM", D, 9, 3}, &R::NORMOLM},
    {{"NORMOLS", D, 9, 3}, &R::NORMOLS},
    {{"ZUZYCIEPALN", D, 9, 2}, &R::ZUZYCIEPALN},
    {{"ZUZYCIEOLMN", D, 9, 2}, &R::ZUZYCIEOLMN},
    {{"ZUZYCIEOLSN", D, 9, 2}, &R::ZUZYCIEOLSN},
    {{"ZUZYCIEPALF", D, 9, 2}, &R::ZUZYCIEPALF},
    {{"ILOPOBOLM", D, 9, 2}, &R::ILOPOBOLM},
    {{"ILOPOBOLS", D, 9, 2}, &R::ILOPOBOLS},
    {{"POZOSTOLM", D, 9, 2}, &R::POZOSTOLM},
    {{"POZOSTOLS", D, 9, 2}, &R::POZOSTOLS},
    {{"OSZCZPAL", D, 9, 2}, &R::OSZCZPAL},
    {{"IMIENAZ", ColumnType::Text, 40, 0}, &R::IMIENAZ},
};

} // namespace

std::span<const EquipmentColumn> equipmentColumns() {
    return columnTable;
}

const EquipmentColumn* findEquipmentColumn(QAnyStringView name) {
    for (const EquipmentColumn& c : columnTable)
        if (QAnyStringView::compare(name, QLatin1String(c.name()), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QVariant columnValue(const EquipmentCard& card, const EquipmentColumn& column) {
    return recordValue(card, column.field);
}

bool setColumnValue(EquipmentCard& card, const EquipmentColumn& column, const QVariant& value) {
    return setRecordValue(card, column.field, column.shape, value);
}

QString displayText(const EquipmentCard& card, const EquipmentColumn& column, const QLocale& locale) {
    const QVariant v = columnValue(card, column);
    switch (column.shape.type) {
    case ColumnType::Decimal:
        return formatNumberOrEmpty(v.toDouble(), 7, column.shape.scale, locale);
    case ColumnType::Integer:
        return QString::number(v.toInt());
    case ColumnType::Date:
        return v.toDate().isValid() ? v.toDate().toString(Qt::ISODate) : QString();
    case ColumnType::Text:
        return v.toString();
    }
    return {};
}

QString displayText(const EquipmentCard& card, QAnyStringView columnName, const QLocale& locale) {
    const EquipmentColumn* column = findEquipmentColumn(columnName);
    return column ? displayText(card, *column, locale) : QString();
}

QString plainText(const EquipmentCard& card, QAnyStringView columnName, const QLocale& locale) {
    const EquipmentColumn* column = findEquipmentColumn(columnName);
    if (!column) return {};
    if (column->shape.type == ColumnType::Decimal)
        return formatGeneral(columnValue(card, *column).toDouble(), locale);
    if (column->shape.type == ColumnType::Integer) return QString::number(columnValue(card, *column).toInt());
    return displayText(card, *column, locale);
}

} // namespace korven::equipcards
