#include "reports/data/StatementData.h"

namespace korven::reports {

namespace {

// Texts of CHAR columns come padded; the statements compare and show them trimmed.
QVariant trimmedVariant(const db::Value& v) {
    return v.kind() == db::Value::Kind::Text ? QVariant(v.toText().trimmed()) : v.toVariant();
}

bool isNumber(const db::Value& v) {
    return v.kind() == db::Value::Kind::Integer || v.kind() == db::Value::Kind::Decimal ||
           v.kind() == db::Value::Kind::Double;
}

std::vector<DictionaryEntry> readDictionary(db::Transaction& t, const QString& table) {
    std::vector<DictionaryEntry> entries;
    for (const db::Row& row : t.select(QStringLiteral("select * from %1 order by KOD").arg(table))) {
        DictionaryEntry e;
        e.KOD = static_cast<int>(row.integer(QStringLiteral("KOD")));
        e.NAZWA = row.text(QStringLiteral("NAZWA")).trimmed();
        if (row.has(QStringLiteral("TYP"))) e.TYP = row.text(QStringLiteral("TYP")).trimmed();
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<RegistryRow> readRegistry(db::Transaction& t, bool equipment) {
    std::vector<RegistryRow> rows;
    const QString sql = equipment ? QStringLiteral("select * from A_SPRZET order by KODS")
                                  : QStringLiteral("select * from A_AUTO order by KODA");
    for (const db::Row& row : t.select(sql)) {
        RegistryRow r;
        for (int i = 0; i < row.size(); ++i)
            r.columns.insert(row.columnNames().at(i), trimmedVariant(row.at(i)));
        auto text = [&](const char* c) { return r.columns.value(QString::fromLatin1(c)).toString(); };
        auto code = [&](const char* c) { return r.columns.value(QString::fromLatin1(c)).toInt(); };
        r.code = code(equipment ? "KODS" : "KODA");
        r.KOD_RP = equipment ? 0 : code("KOD_RP");
        r.group = code(equipment ? "KOD_GR" : "KOD_GP");
        r.KOD_KO = code("KOD_KO");
        if (!equipment) r.TYP = text("TYP");
        if (equipment) r.RODZSILN = text("RODZSILN");
        r.NAZWA = text("NAZWA");
        r.NRREJ = text("NRREJ");
        r.KOMENDA = text("KOMENDA");
        if (equipment) r.NRIDENT = text("NRIDENT");
        r.RODZPAL = text("RODZPAL");
        r.NORMPAL = r.columns.value(QStringLiteral("NORMPAL")).toDouble();
        rows.push_back(std::move(r));
    }
    return rows;
}

// The period condition of the card read for a statement, with its parameters; empty for every card.
struct CardPeriod {
    QString condition;
    db::Params params;
    bool none = false; // a year the two-digit column cannot hold: no card can match
};

CardPeriod cardPeriod(StatementId id, const StatementChoices& c, bool equipment) {
    const QString year = equipment ? QStringLiteral("ROKS") : QStringLiteral("ROKD");
    const QString month = equipment ? QStringLiteral("MIES") : QStringLiteral("MIED");
    auto twoDigit = [](int y) { return y - 2000; };
    auto fits = [](int y) { return y >= 2000 && y <= 2099; };
    CardPeriod p;
    switch (id) {
    case StatementId::TripCards:
    case StatementId::EquipmentCards:
        if (c.anyMonth) return p;
        [[fallthrough]];
    case StatementId::Voucher:
        p.none = !fits(c.year);
        p.condition = QStringLiteral(" where %1 = :Y and %2 = :M").arg(year, month);
        p.params = {{"Y", twoDigit(c.year)}, {"M", c.month}};
        return p;
    case StatementId::ByKind:
    case StatementId::ByGroup:
        p.none = !fits(c.year);
        p.condition = QStringLiteral(" where %1 = :Y and %2 between :M1 and :M2").arg(year, month);
        p.params = {{"Y", twoDigit(c.year)}, {"M1", c.fromMonth}, {"M2", c.toMonth}};
        return p;
    case StatementId::YearlyVehicles:
    case StatementId::YearlyEquipment:
        p.none = !fits(c.year);
        p.condition = QStringLiteral(" where %1 = :Y").arg(year);
        p.params = {{"Y", twoDigit(c.year)}};
        return p;
    case StatementId::DoubtfulCards:
        // The month and the twelve before it, which the checks compare the month with.
        p.none = !fits(c.year);
        p.condition = QStringLiteral(" where %1 * 12 + %2 between :P1 and :P2").arg(year, month);
        p.params = {{"P1", twoDigit(c.year) * 12 + c.month - 12}, {"P2", twoDigit(c.year) * 12 + c.month}};
        return p;
    case StatementId::AverageVehicles:
    case StatementId::AverageEquipment: {
        const int from = std::max(c.fromYear, 2000), to = std::min(c.toYear, 2099);
        p.none = from > to;
        p.condition = QStringLiteral(" where %1 between :Y1 and :Y2").arg(year);
        p.params = {{"Y1", twoDigit(from)}, {"Y2", twoDigit(to)}};
        return p;
    }
    default:
        return p;
    }
}

std::vector<CardRow> readCards(db::Transaction& t, StatementId id, const StatementChoices& c,
                               bool equipment) {
    const CardPeriod period = cardPeriod(id, c, equipment);
    std::vector<CardRow> cards;
    if (period.none) return cards;
    const QString sql = equipment ? QStringLiteral("select * from A_KARTAS%1 order by KODS, KODK")
                                  : QStringLiteral("select * from A_KARTA%1 order by KODA, KODD");
    const QString owner = equipment ? QStringLiteral("KODS") : QStringLiteral("KODA");
    const QString number = equipment ? QStringLiteral("KODK") : QStringLiteral("KODD");
    const QString year = equipment ? QStringLiteral("ROKS") : QStringLiteral("ROKD");
    const QString month = equipment ? QStringLiteral("MIES") : QStringLiteral("MIED");
    const QString date = equipment ? QStringLiteral("DATAS") : QStringLiteral("DATAD");
    const db::Rows rows = t.select(sql.arg(period.condition), period.params);
    cards.reserve(rows.size());
    for (const db::Row& row : rows) {
        CardRow card;
        card.owner = static_cast<int>(row.integer(owner));
        card.number = static_cast<int>(row.integer(number));
        card.year = static_cast<int>(row.integer(year));
        card.month = static_cast<int>(row.integer(month));
        card.NRREJ = row.text(QStringLiteral("NRREJ")).trimmed();
        card.date = row.date(date);
        for (int i = 0; i < row.size(); ++i)
            if (isNumber(row.at(i))) card.amounts.insert(row.columnNames().at(i), row.at(i).toDouble());
        cards.push_back(std::move(card));
    }
    return cards;
}

std::vector<ServiceRow> readServices(db::Transaction& t, const StatementChoices& c) {
    std::vector<ServiceRow> services;
    if (!c.dueByCounter && (!c.from.isValid() || !c.to.isValid())) return services;
    // With services due by the counter, the planned ones with a counter are read whatever their date.
    const QString sql = c.dueByCounter
                            ? QStringLiteral("select * from A_OBSLU where (DATAP between :F and :T) or "
                                             "(upper(PLANW) = 'N' and STANP > 0) order by KODA, KODB")
                            : QStringLiteral("select * from A_OBSLU where DATAP between :F and :T "
                                             "order by KODA, KODB");
    for (const db::Row& row : t.select(sql, {{"F", c.from}, {"T", c.to}})) {
        ServiceRow s;
        s.KODA = static_cast<int>(row.integer(QStringLiteral("KODA")));
        s.KODB = static_cast<int>(row.integer(QStringLiteral("KODB")));
        s.TYP = row.text(QStringLiteral("TYP")).trimmed();
        s.NAZWA = row.text(QStringLiteral("NAZWA")).trimmed();
        s.PLANW = row.text(QStringLiteral("PLANW")).trimmed();
        s.UWAGI = row.text(QStringLiteral("UWAGI")).trimmed();
        s.DATAW = row.date(QStringLiteral("DATAW"));
        s.DATAP = row.date(QStringLiteral("DATAP"));
        s.STANW = row.number(QStringLiteral("STANW"));
        s.STANP = row.number(QStringLiteral("STANP"));
        services.push_back(std::move(s));
    }
    return services;
}

const DictionaryEntry* find(const std::vector<DictionaryEntry>& list, int code) {
    for (const DictionaryEntry& e : list)
        if (e.KOD == code) return &e;
    return nullptr;
}

} // namespace

FilterLists readFilterLists(db::Transaction& t, StatementId id) {
    FilterLists lists;
    const bool equipment = isEquipmentStatement(id);
    lists.units = readDictionary(t, QStringLiteral("A_KOMEN"));
    lists.groups = readDictionary(t, equipment ? QStringLiteral("A_GRUPS") : QStringLiteral("A_GRUPP"));
    if (!equipment) lists.kinds = readDictionary(t, QStringLiteral("A_RODZP"));
    if (id == StatementId::Services) lists.serviceKinds = readDictionary(t, QStringLiteral("A_OBSK"));
    return lists;
}

StatementSources readStatementSources(db::Transaction& t, StatementId id, const StatementChoices& choices) {
    StatementSources s;
    const bool equipment = isEquipmentStatement(id);
    s.registry = readRegistry(t, equipment);
    switch (id) {
    case StatementId::Vehicles:
    case StatementId::Equipment:
        break;
    case StatementId::Services:
        s.services = readServices(t, choices);
        if (choices.dueByCounter)
            for (const db::Row& row : t.select(QStringLiteral(
                     "select KODA, max(PRZEBIEGS) as LICZNIK from A_KARTA group by KODA order by KODA")))
                s.lastOdometer.insert(static_cast<int>(row.integer(QStringLiteral("KODA"))),
                                      row.number(QStringLiteral("LICZNIK")));
        break;
    case StatementId::ByKind:
        s.dictionary = readDictionary(t, QStringLiteral("A_RODZP"));
        s.cards = readCards(t, id, choices, false);
        break;
    case StatementId::ByGroup:
        s.dictionary = readDictionary(t, QStringLiteral("A_GRUPS"));
        s.cards = readCards(t, id, choices, true);
        break;
    default:
        s.cards = readCards(t, id, choices, equipment);
        break;
    }
    return s;
}

QString resolveFilterNames(StatementChoices& c, const FilterLists& lists) {
    struct Dimension {
        FilterChoice* choice;
        const std::vector<DictionaryEntry>* list;
        const char* name;
    } dims[] = {{&c.kind, &lists.kinds, "kind"},
                {&c.group, &lists.groups, "group"},
                {&c.unit, &lists.units, "unit"},
                {&c.service, &lists.serviceKinds, "service"}};
    for (Dimension& d : dims) {
        if (d.choice->all) continue;
        const DictionaryEntry* e = find(*d.list, d.choice->code);
        if (!e) return QString::fromLatin1(d.name);
        d.choice->name = e->NAZWA;
        if (d.choice == &c.service) d.choice->typeCode = e->TYP.left(3);
    }
    return {};
}

} // namespace korven::reports
