#include "tripcards/rules/CardRecord.h"

#include "core/NumberFormat.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace korven::tripcards {

namespace {

using R = CardRecord;

const Allowance allowanceTable[] = {
    {"DODPOS", "Praca silnika na postoju [min]", true, &R::DODPOS, &R::DODPOS_1, &R::DODPOS_2, &R::DODPOS_3},
    {"DODNAP", "Autopompa [min]", true, &R::DODNAP, &R::DODNAP_1, &R::DODNAP_2, &R::DODNAP_3},
    {"DODUR1", "Urządzenie specjalne [min]", true, &R::DODUR1, &R::DODUR1_1, &R::DODUR1_2, &R::DODUR1_3},
    {"DODUR2", "Klimatyzacja [min]", true, &R::DODUR2, &R::DODUR2_1, &R::DODUR2_2, &R::DODUR2_3},
    {"DODMIE", "Dodatek Miejski [km]", false, &R::DODMIE, &R::DODMIE_1, &R::DODMIE_2, &R::DODMIE_3},
    {"DODA", "Dodatek Alarmowy [km]", false, &R::DODA, &R::DODA_1, &R::DODA_2, &R::DODA_3},
    {"DODG", "Dodatek Górski [km]", false, &R::DODG, &R::DODG_1, &R::DODG_2, &R::DODG_3},
    {"DODUG", "Dodatek UG [min]", false, &R::DODUG, &R::DODUG_1, &R::DODUG_2, &R::DODUG_3},
    {"DODOZ", "Dodatek Oz(krótkie trasy) [km]", false, &R::DODOZ, &R::DODOZ_1, &R::DODOZ_2, &R::DODOZ_3},
    {"DODK", "Dodatek Klimatyzacja [km]", false, &R::DODK, &R::DODK_1, &R::DODK_2, &R::DODK_3},
    {"DODT", "Dodatek Terenowy [km]", false, &R::DODT, &R::DODT_1, &R::DODT_2, &R::DODT_3},
    {"DODZ", "Dodatek Zimowy [km]", false, &R::DODZ, &R::DODZ_1, &R::DODZ_2, &R::DODZ_3},
    {"DODSZ", "Dodatek Szkoleniowy [km]", false, &R::DODSZ, &R::DODSZ_1, &R::DODSZ_2, &R::DODSZ_3},
    {"DODH", "Dodatek Holowniczy [km]", false, &R::DODH, &R::DODH_1, &R::DODH_2, &R::DODH_3},
};
static_assert(std::size(allowanceTable) == allowanceCount);

constexpr ColumnType I = ColumnType::Integer;
constexpr ColumnType D = ColumnType::Decimal;

const CardColumn columnTable[] = {
    {"KODA", I, 9, 0, &R::KODA},
    {"KODD", I, 9, 0, &R::KODD},
    {"NRREJ", ColumnType::Text, 10, 0, &R::NRREJ},
    {"ROKD", I, 9, 0, &R::ROKD},
    {"MIED", I, 9, 0, &R::MIED},
    {"DATAD", ColumnType::Date, 0, 0, &R::DATAD},
    {"PRZEBIEG0", D, 9, 2, &R::PRZEBIEG0},
    {"PRZEBIEGM", D, 9, 2, &R::PRZEBIEGM},
    {"PRZEBIEGS", D, 9, 2, &R::PRZEBIEGS},
    {"PRZEBIEG0P", D, 9, 2, &R::PRZEBIEG0P},
    {"PRZEBIEGMP", D, 9, 2, &R::PRZEBIEGMP},
    {"PRZEBIEGSP", D, 9, 2, &R::PRZEBIEGSP},
    {"NORMAP", D, 9, 2, &R::NORMAP},
    {"NORMAA", D, 9, 2, &R::NORMAA},
    {"NORMAUG", D, 9, 2, &R::NORMAUG},
    {"NORMAO", D, 9, 2, &R::NORMAO},
    {"ZUZYCIEPN", D, 9, 2, &R::ZUZYCIEPN},
    {"ZUZYCIEP", D, 9, 2, &R::ZUZYCIEP},
    {"ZUZYCIEON", D, 9, 2, &R::ZUZYCIEON},
    {"ZUZYCIEO", D, 9, 2, &R::ZUZYCIEO},
    {"DODATKIP", D, 9, 2, &R::DODATKIP},
    {"RAZEMP", D, 9, 2, &R::RAZEMP},
    {"PRZEPALP", D, 9, 2, &R::PRZEPALP},
    {"PRZEPALO", D, 9, 2, &R::PRZEPALO},
    {"WYJAZDMZ", I, 9, 0, &R::WYJAZDMZ},
    {"WYJAZDP", I, 9, 0, &R::WYJAZDP},
    {"WYJAZDF", I, 9, 0, &R::WYJAZDF},
    {"WYJAZDIN", I, 9, 0, &R::WYJAZDIN},
    {"MASAPR", D, 9, 2, &R::MASAPR},
    {"MIER_POCZ", D, 8, 2, &R::MIER_POCZ},
    {"MIER_KON", D, 8, 2, &R::MIER_KON},
    {"DODPOS", D, 9, 2, &R::DODPOS},
    {"DODPOS_1", D, 9, 5, &R::DODPOS_1},
    {"DODPOS_2", D, 9, 2, &R::DODPOS_2},
    {"DODPOS_3", D, 9, 2, &R::DODPOS_3},
    {"DODNAP", D, 9, 2, &R::DODNAP},
    {"DODNAP_1", D, 9, 5, &R::DODNAP_1},
    {"DODNAP_2", D, 9, 2, &R::DODNAP_2},
    {"DODNAP_3", D, 9, 2, &R::DODNAP_3},
    {"DODUR1", D, 7, 2, &R::DODUR1},
    {"DODUR1_1", D, 8, 5, &R::DODUR1_1},
    {"DODUR1_2", D, 7, 2, &R::DODUR1_2},
    {"DODUR1_3", D, 7, 2, &R::DODUR1_3},
    {"DODUR2", D, 7, 2, &R::DODUR2},
    {"DODUR2_1", D, 8, 5, &R::DODUR2_1},
    {"DODUR2_2", D, 7, 2, &R::DODUR2_2},
    {"DODUR2_3", D, 7, 2, &R::DODUR2_3},
    {"DODMIE", D, 9, 2, &R::DODMIE},
    {"DODMIE_1", D, 9, 5, &R::DODMIE_1},
    {"DODMIE_2", D, 9, 2, &R::DODMIE_2},
    {"DODMIE_3", D, 9, 2, &R::DODMIE_3},
    {"DODA", D, 9, 2, &R::DODA},
    {"DODA_1", D, 9, 5, &R::DODA_1},
    {"DODA_2", D, 9, 2, &R::DODA_2},
    {"DODA_3", D, 9, 2, &R::DODA_3},
    {"DODG", D, 9, 2, &R::DODG},
    {"DODG_1", D, 9, 5, &R::DODG_1},
    {"DODG_2", D, 9, 2, &R::DODG_2},
    {"DODG_3", D, 9, 2, &R::DODG_3},
    {"DODUG", D, 9, 2, &R::DODUG},
    {"DODUG_1", D, 9, 5, &R::DODUG_1},
    {"DODUG_2", D, 9, 2, &R::DODUG_2},
    {"DODUG_3", D, 9, 2, &R::DODUG_3},
    {"DODOZ", D, 9, 2, &R::DODOZ},
    {"DODOZ_1", D, 9, 5, &R::DODOZ_1},
    {"DODOZ_2", D, 9, 2, &R::DODOZ_2},
    {"DODOZ_3", D, 9, 2, &R::DODOZ_3},
    {"DODK", D, 9, 2, &R::DODK},
    {"DODK_1", D, 9, 5, &R::DODK_1},
    {"DODK_2", D, 9, 2, &R::DODK_2},
    {"DODK_3", D, 9, 2, &R::DODK_3},
    {"DODT", D, 9, 2, &R::DODT},
    {"DODT_1", D, 9, 5, &R::DODT_1},
    {"DODT_2", D, 9, 2, &R::DODT_2},
    {"DODT_3", D, 9, 2, &R::DODT_3},
    {"DODZ", D, 9, 2, &R::DODZ},
    {"DODZ_1", D, 9, 5, &R::DODZ_1},
    {"DODZ_2", D, 9, 2, &R::DODZ_2},
    {"DODZ_3", D, 9, 2, &R::DODZ_3},
    {"DODSZ", D, 9, 2, &R::DODSZ},
    {"DODSZ_1", D, 9, 5, &R::DODSZ_1},
    {"DODSZ_2", D, 9, 2, &R::DODSZ_2},
    {"DODSZ_3", D, 9, 2, &R::DODSZ_3},
    {"DODH", D, 9, 2, &R::DODH},
    {"DODH_1", D, 9, 5, &R::DODH_1},
    {"DODH_2", D, 9, 2, &R::DODH_2},
    {"DODH_3", D, 9, 2, &R::DODH_3},
};

} // namespace

std::span<const Allowance> allowances() {
    return allowanceTable;
}

const Allowance* findAllowance(QAnyStringView base) {
    for (const Allowance& a : allowanceTable)
        if (QAnyStringView::compare(base, QLatin1String(a.base), Qt::CaseInsensitive) == 0) return &a;
    return nullptr;
}

const Allowance& allowance(QAnyStringView base) {
    if (const Allowance* a = findAllowance(base)) return *a;
    throw std::invalid_argument("unknown allowance " + base.toString().toStdString());
}

std::span<const CardColumn> cardColumns() {
    return columnTable;
}

const CardColumn* findCardColumn(QAnyStringView name) {
    for (const CardColumn& c : columnTable)
        if (QAnyStringView::compare(name, QLatin1String(c.name), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QVariant cardValue(const CardRecord& card, const CardColumn& column) {
    return recordValue(card, column.field);
}

bool setCardValue(CardRecord& card, const CardColumn& column, const QVariant& value) {
    return setRecordValue(card, column.field, shapeOf(column), value);
}

namespace {

// Captions of the columns that are not allowances, as the settlement window and the lists label them.
struct Caption {
    const char* column;
    const char* text;
};
const Caption captionTable[] = {
    {"KODA", "Kod pojazdu"},
    {"KODD", "Nr Karty Drogowej"},
    {"NRREJ", "Nr rejestracyjny"},
    {"ROKD", "Rok"},
    {"MIED", "Miesiąc"},
    {"DATAD", "Rozliczenie na dzień"},
    {"PRZEBIEG0", "Przebieg faktyczny, stan początkowy"},
    {"PRZEBIEGM", "Miesięczny przebieg"},
    {"PRZEBIEGS", "Przebieg faktyczny, stan końcowy"},
    {"PRZEBIEG0P", "Przebieg przeliczeniowy, stan początkowy"},
    {"PRZEBIEGMP", "Przebieg przeliczeniowy miesięczny"},
    {"PRZEBIEGSP", "Przebieg przeliczeniowy, stan końcowy"},
    {"NORMAP", "Norma paliwo"},
    {"NORMAA", "Norma autopompy"},
    {"NORMAUG", "Norma UG"},
    {"NORMAO", "Norma olej"},
    {"ZUZYCIEPN", "Zużycie paliwa wg normy"},
    {"ZUZYCIEP", "Faktyczne zużycie paliwa"},
    {"ZUZYCIEON", "Zużycie oleju wg normy"},
    {"ZUZYCIEO", "Faktyczne zużycie oleju"},
    {"DODATKIP", "Razem Dodatki"},
    {"RAZEMP", "Razem zużycie"},
    {"PRZEPALP", "Oszczęd/Przep.Paliwo"},
    {"PRZEPALO", "Oszczęd/Przep.Olej"},
    {"WYJAZDMZ", "Wyjazdy Miej.Zagroż."},
    {"WYJAZDP", "Wyjazdy Pożary"},
    {"WYJAZDF", "Wyjazdy Fałszywe"},
    {"WYJAZDIN", "Wyjazdy Inne"},
    {"MASAPR", "Masa Przyczepy"},
    {"MIER_POCZ", "Stan paliwomierza na początek okresu rozliczeniowego"},
    {"MIER_KON", "Stan paliwomierza na koniec okresu rozliczeniowego"},
};

// A label without its unit: "Dodatek Miejski [km]" -> "Dodatek Miejski".
QString withoutUnit(const char* label) {
    QString text = QString::fromUtf8(label);
    const qsizetype unit = text.lastIndexOf(QLatin1String(" ["));
    return unit < 0 ? text : text.left(unit);
}

} // namespace

QString columnCaption(const CardColumn& column) {
    const QLatin1String name(column.name);
    for (const Caption& c : captionTable)
        if (name == QLatin1String(c.column)) return QString::fromUtf8(c.text);
    // An allowance column: the quantity by the allowance's label, the others by their grid heading.
    for (const Allowance& a : allowanceTable) {
        const QLatin1String base(a.base);
        if (!name.startsWith(base)) continue;
        const QLatin1String suffix = name.sliced(base.size());
        if (suffix.isEmpty()) return withoutUnit(a.label);
        if (suffix == QLatin1String("_1")) return withoutUnit(a.label) + QStringLiteral(", Mnożnik");
        if (suffix == QLatin1String("_2")) return withoutUnit(a.label) + QStringLiteral(", Rozliczono");
        if (suffix == QLatin1String("_3")) return withoutUnit(a.label) + QStringLiteral(", Do Rozliczenia");
    }
    return QString::fromLatin1(column.name);
}

const CardColumn* columnBeyondLimit(const CardRecord& card) {
    for (const CardColumn& c : columnTable) {
        if (c.type != ColumnType::Integer && c.type != ColumnType::Decimal) continue;
        const double v = cardValue(card, c).toDouble();
        if (!std::isfinite(v) || std::abs(v) > columnLimit(c)) return &c;
    }
    return nullptr;
}

QString tooLargeMessage(const CardColumn& column) {
    return valueTooLargeMessage(columnCaption(column), columnLimit(column), column.scale);
}

} // namespace korven::tripcards
