// The builds of the statements: registry, card and service rows in, result table out.

#include "reports/rules/Statements.h"

#include "core/NumberFormat.h"
#include "core/Rounding.h"
#include "tripcards/rules/Plausibility.h"

#include <QHash>

#include <array>

namespace korven::reports {

namespace {

const QString kTotalsName = QStringLiteral("R A Z E M");

// Runs the counter 1 to 100 and from 1 again, as the windows show it.
class Counter {
public:
    explicit Counter(const Progress& progress) : progress_(progress) {}
    void step() {
        if (!progress_) return;
        count_ = count_ >= 100 ? 1 : count_ + 1;
        progress_(count_);
    }

private:
    const Progress& progress_;
    int count_ = 0;
};

QString dateText(const QDate& d) {
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

bool passesVehicleChoice(const RegistryRow& r, VehicleChoice c) {
    switch (c) {
    case VehicleChoice::All:
        return true;
    case VehicleChoice::Passenger:
        return r.TYP == QLatin1String("O");
    case VehicleChoice::Other:
        return r.TYP == QLatin1String("P");
    }
    return true;
}

bool passesEngineChoice(const RegistryRow& r, EngineChoice c) {
    switch (c) {
    case EngineChoice::All:
        return true;
    case EngineChoice::FourStroke:
        return r.RODZSILN == QLatin1String("4");
    case EngineChoice::TwoStroke:
        return r.RODZSILN == QLatin1String("2");
    }
    return true;
}

// The selection filter and radio group of a statement for one vehicle or machine.
bool passesRegistry(StatementId id, const StatementChoices& c, const RegistryRow& r) {
    switch (id) {
    case StatementId::Vehicles:
    case StatementId::TripCards:
    case StatementId::Services:
    case StatementId::DoubtfulCards:
        return c.kind.passes(r.KOD_RP) && c.group.passes(r.group) && c.unit.passes(r.KOD_KO) &&
               passesVehicleChoice(r, c.vehicles);
    case StatementId::Equipment:
    case StatementId::EquipmentCards:
    case StatementId::Voucher:
        return c.group.passes(r.group) && c.unit.passes(r.KOD_KO) && passesEngineChoice(r, c.engine);
    default:
        return c.unit.passes(r.KOD_KO);
    }
}

// The cards of each owner, in the order the card list gives them.
QHash<int, std::vector<const CardRow*>> cardsByOwner(const std::vector<CardRow>& cards) {
    QHash<int, std::vector<const CardRow*>> byOwner;
    for (const CardRow& c : cards)
        byOwner[c.owner].push_back(&c);
    return byOwner;
}

// Walks the vehicles or machines that pass the statement's filter, with their cards.
template <class Visit>
void forEachOwner(StatementId id, const StatementChoices& c, const StatementSources& s, Counter& counter,
                  Visit&& visit) {
    const auto byOwner = cardsByOwner(s.cards);
    static const std::vector<const CardRow*> none;
    for (const RegistryRow& r : s.registry) {
        counter.step();
        if (!passesRegistry(id, c, r)) continue;
        auto it = byOwner.constFind(r.code);
        visit(r, it == byOwner.cend() ? none : *it);
    }
}

void sortByField(ResultTable& t, const QString& field) {
    t.sort([&](const ResultTable& table, int a, int b) {
        const QVariant va = table.value(a, field), vb = table.value(b, field);
        if (table.field(field).type == FieldType::Text) return va.toString() < vb.toString();
        return va.toDouble() < vb.toDouble();
    });
}

void numberRows(ResultTable& t, const QString& field, Counter& counter) {
    t.number(field, [&](int) {
        counter.step();
        return true;
    });
}

// ------------------------------------------------------------------------------------------------
// Vehicle and equipment lists.

void copyTexts(ResultTable& t, int row, const RegistryRow& r) {
    for (const FieldDef& f : t.fields()) {
        if (f.type != FieldType::Text) continue;
        const QVariant v = r.columns.value(f.name.toUpper());
        if (v.typeId() == QMetaType::QDate)
            t.set(row, f.name, dateText(v.toDate()));
        else
            t.set(row, f.name, v.toString());
    }
}

ResultTable buildList(StatementId id, const StatementChoices& c, const StatementSources& s,
                      Counter& counter) {
    ResultTable t = emptyStatement(id, c);
    const bool vehicles = id == StatementId::Vehicles;
    for (const RegistryRow& r : s.registry) {
        counter.step();
        if (!passesRegistry(id, c, r)) continue;
        const int row = t.appendRow();
        copyTexts(t, row, r);
        if (vehicles) {
            t.set(row, QStringLiteral("typ"),
                  r.TYP == QLatin1String("O")   ? QStringLiteral("Osobowy")
                  : r.TYP == QLatin1String("P") ? QStringLiteral("Pozostałe")
                                                : QString());
            for (const char* n : {"normpal", "normpom", "normug"})
                t.set(row, QString::fromLatin1(n),
                      r.columns.value(QString::fromLatin1(n).toUpper()).toDouble());
            t.set(row, QStringLiteral("ilomie"), r.columns.value(QStringLiteral("ILOMIE")).toLongLong());
            t.set(row, QStringLiteral("koda"), r.code);
        } else {
            t.set(row, QStringLiteral("rodzsiln"),
                  r.RODZSILN == QLatin1String("4")   ? QStringLiteral("4-suw")
                  : r.RODZSILN == QLatin1String("2") ? QStringLiteral("2-suw")
                                                     : QString());
            for (const char* n : {"normpal", "normolm", "normols", "poj_zbio", "poj_kani"})
                t.set(row, QString::fromLatin1(n),
                      r.columns.value(QString::fromLatin1(n).toUpper()).toDouble());
            t.set(row, QStringLiteral("kods"), r.code);
        }
    }
    sortByField(t, vehicles ? QStringLiteral("koda") : QStringLiteral("kods"));
    numberRows(t, QStringLiteral("lp"), counter);
    return t;
}

// ------------------------------------------------------------------------------------------------
// Card statements and the register.

struct CardColumn {
    const char* field;
    const char* column;
    bool summed;
};

const std::vector<CardColumn>& tripCardColumns() {
    static const std::vector<CardColumn> columns = {{"zuzycieO", "ZUZYCIEO", true},
                                                    {"zuzycieP", "ZUZYCIEP", true},
                                                    {"przebiegM", "PRZEBIEGM", true},
                                                    {"przebiegS", "PRZEBIEGS", true},
                                                    {"przebiegMP", "PRZEBIEGMP", true},
                                                    {"przebiegSP", "PRZEBIEGSP", true},
                                                    {"przepalP", "PRZEPALP", true},
                                                    {"przepalO", "PRZEPALO", true},
                                                    {"dodPOS", "DODPOS", true},
                                                    {"dodNAP", "DODNAP", true},
                                                    {"dodMIE", "DODMIE", true},
                                                    {"dodA", "DODA", true},
                                                    {"dodG", "DODG", true},
                                                    {"dodUG", "DODUG", true},
                                                    {"dodOZ", "DODOZ", true},
                                                    {"dodK", "DODK", true},
                                                    {"dodT", "DODT", true},
                                                    {"dodZ", "DODZ", true},
                                                    {"dodSZ", "DODSZ", true},
                                                    {"dodH", "DODH", true},
                                                    {"masaPR", "MASAPR", false},
                                                    {"wyjazdMZ", "WYJAZDMZ", true},
                                                    {"wyjazdP", "WYJAZDP", true},
                                                    {"wyjazdF", "WYJAZDF", true},
                                                    {"wyjazdIN", "WYJAZDIN", true}};
    return columns;
}

const std::vector<CardColumn>& equipmentCardColumns() {
    static const std::vector<CardColumn> columns = {{"czas", "CZAS", true},
                                                    {"oszczpal", "OSZCZPAL", true},
                                                    {"pozostolm", "POZOSTOLM", true},
                                                    {"pozostols", "POZOSTOLS", true},
                                                    {"zuzyciepalf", "ZUZYCIEPALF", true},
                                                    {"ilopobolm", "ILOPOBOLM", true},
                                                    {"ilopobols", "ILOPOBOLS", true},
                                                    {"zuzyciepaln", "ZUZYCIEPALN", true},
                                                    {"zuzycieolmn", "ZUZYCIEOLMN", true},
                                                    {"zuzycieolsn", "ZUZYCIEOLSN", true}};
    return columns;
}

ResultTable buildCards(StatementId id, const StatementChoices& c, const StatementSources& s,
                       Counter& counter) {
    ResultTable t = emptyStatement(id, c);
    const bool trip = id == StatementId::TripCards;
    const QString numberField = trip ? QStringLiteral("kodd") : QStringLiteral("kodk");
    const QString dateField = trip ? QStringLiteral("dataD") : QStringLiteral("dataS");
    const auto& columns = trip ? tripCardColumns() : equipmentCardColumns();
    forEachOwner(id, c, s, counter, [&](const RegistryRow& r, const std::vector<const CardRow*>& cards) {
        for (const CardRow* card : cards) {
            if (!c.anyMonth && !(card->month == c.month && card->year + 2000 == c.year)) continue;
            const int row = t.appendRow();
            t.set(row, numberField, card->number);
            t.set(row, QStringLiteral("nrrej"), card->NRREJ);
            t.set(row, QStringLiteral("nazwa"), r.NAZWA);
            t.set(row, dateField, dateText(card->date));
            for (const CardColumn& col : columns)
                t.set(row, QString::fromLatin1(col.field), card->amount(QString::fromLatin1(col.column)));
            t.set(row, QStringLiteral("komenda"), r.KOMENDA);
        }
    });
    sortByField(t, numberField);

    std::vector<double> totals(columns.size(), 0.0);
    for (int row = 0; row < t.rowCount(); ++row) {
        counter.step();
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].summed) totals[i] += t.number(row, QString::fromLatin1(columns[i].field));
        t.set(row, QStringLiteral("lp"), row + 1);
    }
    if (trip && c.registerForm) return t;
    const int row = t.appendRow();
    t.set(row, numberField, kTotalsCode);
    t.set(row, QStringLiteral("nrrej"), QString());
    t.set(row, QStringLiteral("nazwa"), kTotalsName);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].summed) t.set(row, QString::fromLatin1(columns[i].field), totals[i]);
    return t;
}

// ------------------------------------------------------------------------------------------------
// Consumption by kind and by group.

QString rowLabel(int code) {
    static const std::array<const char*, 11> labels = {"1", "2", "2a", "2b", "2c", "2d",
                                                       "3", "4", "5",  "6",  "7"};
    return code >= 1 && code <= 11 ? QString::fromLatin1(labels[static_cast<std::size_t>(code - 1)])
                                   : QString();
}

ResultTable buildConsumption(StatementId id, const StatementChoices& c, const StatementSources& s,
                             Counter& counter, const QLocale& locale) {
    ResultTable t = emptyStatement(id, c);
    const bool equipment = id == StatementId::ByGroup;
    QStringList amounts = {QStringLiteral("pb"), QStringLiteral("on"), QStringLiteral("lpg"),
                           QStringLiteral("km"), QStringLiteral("ol")};
    if (equipment) amounts << QStringLiteral("ols");
    QHash<int, int> rowOfCode;
    for (const DictionaryEntry& e : s.dictionary) {
        const int row = t.appendRow();
        t.set(row, QStringLiteral("kod"), e.KOD);
        t.set(row, QStringLiteral("kodL"), rowLabel(e.KOD));
        t.set(row, QStringLiteral("rodzpoj"), e.NAZWA);
        for (const QString& a : amounts)
            t.set(row, a, 0.0);
        rowOfCode.insert(e.KOD, row);
    }
    const QString fuelColumn = equipment ? QStringLiteral("ZUZYCIEPALF") : QStringLiteral("ZUZYCIEP");
    forEachOwner(id, c, s, counter, [&](const RegistryRow& r, const std::vector<const CardRow*>& cards) {
        const int code = equipment ? r.group : r.KOD_RP;
        for (const CardRow* card : cards) {
            if (card->month < c.fromMonth || card->month > c.toMonth || card->year + 2000 != c.year) continue;
            const double fuel = card->amount(fuelColumn);
            const double oil =
                card->amount(equipment ? QStringLiteral("ILOPOBOLM") : QStringLiteral("ZUZYCIEO"));
            const double oil2 = equipment ? card->amount(QStringLiteral("ILOPOBOLS")) : 0.0;
            const double km = card->amount(equipment ? QStringLiteral("CZAS") : QStringLiteral("PRZEBIEGM"));
            if (fuel == 0 && oil == 0 && oil2 == 0 && km == 0) continue;
            auto it = rowOfCode.constFind(code);
            int row;
            if (it == rowOfCode.cend()) {
                row = t.appendRow();
                t.set(row, QStringLiteral("kod"), code);
                t.set(row, QStringLiteral("rodzpoj"),
                      equipment ? QStringLiteral("Nieistniejąca Grupa Sprzętu")
                                : QStringLiteral("Nieistniejący Numer Rodzaju Pojazdu"));
                rowOfCode.insert(code, row);
            } else {
                row = *it;
            }
            if (r.RODZPAL == QLatin1String("ET"))
                t.add(row, QStringLiteral("pb"), fuel);
            else if (r.RODZPAL == QLatin1String("ON"))
                t.add(row, QStringLiteral("on"), fuel);
            else if (r.RODZPAL == QLatin1String("LP"))
                t.add(row, QStringLiteral("lpg"), fuel);
            t.add(row, QStringLiteral("ol"), oil);
            if (equipment) t.add(row, QStringLiteral("ols"), oil2);
            t.add(row, QStringLiteral("km"), km);
        }
    });
    sortByField(t, QStringLiteral("kod"));

    std::vector<double> sums(static_cast<std::size_t>(amounts.size()), 0.0);
    for (int row = 0; row < t.rowCount(); ++row) {
        counter.step();
        for (qsizetype i = 0; i < amounts.size(); ++i)
            sums[static_cast<std::size_t>(i)] += t.number(row, amounts[i]);
    }
    const int totals = t.appendRow();
    t.set(totals, QStringLiteral("kod"), kTotalsCode);
    t.set(totals, QStringLiteral("rodzpoj"), kTotalsName);
    for (qsizetype i = 0; i < amounts.size(); ++i)
        t.set(totals, amounts[i], sums[static_cast<std::size_t>(i)]);

    auto asText = [&](double v, int precision) {
        return v == 0 ? QStringLiteral("XXX") : formatNumber(v, precision, 2, locale);
    };
    for (int row = 0; row < t.rowCount(); ++row) {
        t.set(row, QStringLiteral("pbT"), asText(t.number(row, QStringLiteral("pb")), 8));
        t.set(row, QStringLiteral("onT"), asText(t.number(row, QStringLiteral("on")), 8));
        t.set(row, QStringLiteral("lpgT"), asText(t.number(row, QStringLiteral("lpg")), 8));
        t.set(row, QStringLiteral("kmT"), asText(t.number(row, QStringLiteral("km")), 10));
    }
    return t;
}

// ------------------------------------------------------------------------------------------------
// Yearly analytic consumption.

void sortByFuelThenCode(ResultTable& t) {
    t.sort([](const ResultTable& table, int a, int b) {
        const QString fa = table.value(a, QStringLiteral("rodzpal")).toString();
        const QString fb = table.value(b, QStringLiteral("rodzpal")).toString();
        if (fa != fb) return fa < fb;
        return table.number(a, QStringLiteral("kod")) < table.number(b, QStringLiteral("kod"));
    });
}

QString monthField(int m) {
    return QStringLiteral("m%1").arg(m);
}

ResultTable buildYearly(StatementId id, const StatementChoices& c, const StatementSources& s,
                        Counter& counter) {
    ResultTable t = emptyStatement(id, c);
    const bool equipment = id == StatementId::YearlyEquipment;
    QStringList values;
    for (int m = 1; m <= 12; ++m)
        values << monthField(m);
    for (int k = 1; k <= 4; ++k)
        values << QStringLiteral("k%1").arg(k);
    values << QStringLiteral("RR");
    const QString fuelColumn = equipment ? QStringLiteral("ZUZYCIEPALF") : QStringLiteral("ZUZYCIEP");
    forEachOwner(id, c, s, counter, [&](const RegistryRow& r, const std::vector<const CardRow*>& cards) {
        const int row = t.appendRow();
        t.set(row, QStringLiteral("kod"), r.code);
        t.set(row, QStringLiteral("nazwa"), r.NAZWA);
        t.set(row, QStringLiteral("rodzpal"), r.RODZPAL);
        for (const QString& v : values)
            t.set(row, v, 0.0);
        for (const CardRow* card : cards) {
            if (card->year + 2000 != c.year) continue;
            const double fuel = card->amount(fuelColumn);
            // A card of a month outside 1 to 12 has no column; it is left out.
            if (fuel == 0 || card->month < 1 || card->month > 12) continue;
            t.add(row, monthField(card->month), fuel);
        }
    });
    sortByFuelThenCode(t);

    std::vector<double> et(static_cast<std::size_t>(values.size()), 0.0), on = et;
    for (int row = 0; row < t.rowCount(); ++row) {
        counter.step();
        t.set(row, QStringLiteral("lp"), row + 1);
        double year = 0;
        for (int k = 1; k <= 4; ++k) {
            double quarter = 0;
            for (int m = 3 * k - 2; m <= 3 * k; ++m)
                quarter += t.number(row, monthField(m));
            t.set(row, QStringLiteral("k%1").arg(k), quarter);
        }
        for (int m = 1; m <= 12; ++m)
            year += t.number(row, monthField(m));
        t.set(row, QStringLiteral("RR"), year);
        const QString fuel = t.value(row, QStringLiteral("rodzpal")).toString();
        std::vector<double>* totals = fuel == QLatin1String("ET")   ? &et
                                      : fuel == QLatin1String("ON") ? &on
                                                                    : nullptr;
        if (!totals) continue;
        for (qsizetype i = 0; i < values.size(); ++i)
            (*totals)[static_cast<std::size_t>(i)] += t.number(row, values[i]);
    }
    auto appendTotal = [&](int code, const QString& name, const std::vector<double>& sums) {
        const int row = t.appendRow();
        t.set(row, QStringLiteral("kod"), code);
        t.set(row, QStringLiteral("rodzpal"), QStringLiteral("ZZ"));
        t.set(row, QStringLiteral("nazwa"), name);
        for (qsizetype i = 0; i < values.size(); ++i)
            t.set(row, values[i], sums[static_cast<std::size_t>(i)]);
    };
    appendTotal(kTotalsCode - 1, QStringLiteral("RAZEM ET "), et);
    appendTotal(kTotalsCode, QStringLiteral("RAZEM ON "), on);
    return t;
}

// ------------------------------------------------------------------------------------------------
// Average consumption by years.

ResultTable buildAverage(StatementId id, const StatementChoices& c, const StatementSources& s,
                         Counter& counter) {
    ResultTable t = emptyStatement(id, c);
    const bool equipment = id == StatementId::AverageEquipment;
    const QString fuelColumn = equipment ? QStringLiteral("ZUZYCIEPALF") : QStringLiteral("ZUZYCIEP");
    const QString divisorColumn = equipment ? QStringLiteral("CZAS") : QStringLiteral("PRZEBIEGM");
    forEachOwner(id, c, s, counter, [&](const RegistryRow& r, const std::vector<const CardRow*>& cards) {
        const int row = t.appendRow();
        t.set(row, QStringLiteral("kod"), r.code);
        t.set(row, QStringLiteral("nazwa"), r.NAZWA);
        t.set(row, QStringLiteral("rodzpal"), r.RODZPAL);
        t.set(row, QStringLiteral("norma"), r.NORMPAL);
        t.set(row, QStringLiteral("sr"), 0.0);
        for (int k = 1; k <= 6; ++k)
            for (const char* p : {"m", "z", "p"})
                t.set(row, QString::fromLatin1(p) + QString::number(k), 0.0);
        for (const CardRow* card : cards) {
            const int year = card->year + 2000;
            if (year < c.fromYear || year > c.toYear) continue;
            const double fuel = card->amount(fuelColumn), divisor = card->amount(divisorColumn);
            if (fuel == 0 && divisor == 0) continue;
            // The statement has six year columns; a span given wider than that counts only its first
            // six years rather than writing past them.
            const int k = year - c.fromYear + 1;
            if (k > 6) continue;
            t.add(row, QStringLiteral("z%1").arg(k), fuel);
            t.add(row, QStringLiteral("p%1").arg(k), divisor);
        }
    });
    sortByFuelThenCode(t);
    for (int row = 0; row < t.rowCount(); ++row) {
        counter.step();
        t.set(row, QStringLiteral("lp"), row + 1);
        double sum = 0;
        int years = 0;
        for (int k = 1; k <= 6; ++k) {
            const double p = t.number(row, QStringLiteral("p%1").arg(k));
            if (p == 0) continue;
            const double z = t.number(row, QStringLiteral("z%1").arg(k));
            const double mean = R2(equipment ? z / p : z * 100 / p);
            t.set(row, QStringLiteral("m%1").arg(k), mean);
            if (mean != 0) {
                sum += mean;
                ++years;
            }
        }
        if (years > 0) t.set(row, QStringLiteral("sr"), R2(sum / years));
    }
    return t;
}

// ------------------------------------------------------------------------------------------------
// Doubtful trip cards of a month: the plausibility checks of a saved card run over every card of
// the month, against the vehicle's cards of the twelve months before it.

ResultTable buildDoubtfulCards(const StatementChoices& c, const StatementSources& s, Counter& counter) {
    ResultTable t = emptyStatement(StatementId::DoubtfulCards, c);
    const int period = (c.year - 2000) * 12 + c.month;
    forEachOwner(StatementId::DoubtfulCards, c, s, counter,
                 [&](const RegistryRow& r, const std::vector<const CardRow*>& cards) {
                     std::vector<double> history;
                     for (const CardRow* card : cards) {
                         const int p = card->year * 12 + card->month;
                         if (p >= period - 12 && p < period)
                             history.push_back(card->amount(QStringLiteral("PRZEBIEGM")));
                     }
                     tripcards::VehicleContext vehicle;
                     vehicle.POJ_ZBIO = r.columns.value(QStringLiteral("POJ_ZBIO")).toString();
                     vehicle.CZY_MIERNIK = r.columns.value(QStringLiteral("CZY_MIERNIK")).toString();
                     for (const CardRow* card : cards) {
                         if (card->year * 12 + card->month != period) continue;
                         tripcards::CardRecord record;
                         record.PRZEBIEG0 = card->amount(QStringLiteral("PRZEBIEG0"));
                         record.PRZEBIEGM = card->amount(QStringLiteral("PRZEBIEGM"));
                         record.PRZEBIEGS = card->amount(QStringLiteral("PRZEBIEGS"));
                         record.ZUZYCIEP = card->amount(QStringLiteral("ZUZYCIEP"));
                         record.ZUZYCIEPN = card->amount(QStringLiteral("ZUZYCIEPN"));
                         record.RAZEMP = card->amount(QStringLiteral("RAZEMP"));
                         record.MIER_POCZ = card->amount(QStringLiteral("MIER_POCZ"));
                         record.MIER_KON = card->amount(QStringLiteral("MIER_KON"));
                         const QStringList doubts = tripcards::plausibilityWarnings(record, vehicle, history);
                         if (doubts.isEmpty()) continue;
                         const int row = t.appendRow();
                         t.set(row, QStringLiteral("nrrej"), r.NRREJ);
                         t.set(row, QStringLiteral("nazwaA"), r.NAZWA);
                         t.set(row, QStringLiteral("kodd"), card->number);
                         t.set(row, QStringLiteral("przebieg0"), double(record.PRZEBIEG0));
                         t.set(row, QStringLiteral("przebiegM"), double(record.PRZEBIEGM));
                         t.set(row, QStringLiteral("przebiegS"), double(record.PRZEBIEGS));
                         t.set(row, QStringLiteral("zuzycieP"), double(record.ZUZYCIEP));
                         t.set(row, QStringLiteral("uwagi"), doubts.join(QStringLiteral(" ")));
                     }
                 });
    numberRows(t, QStringLiteral("lp"), counter);
    return t;
}

// ------------------------------------------------------------------------------------------------
// Technical services.

bool passesPlan(const ServiceRow& s, PlanChoice plan) {
    switch (plan) {
    case PlanChoice::Any:
        return true;
    case PlanChoice::Yes:
        return s.PLANW.toUpper() == QLatin1String("T");
    case PlanChoice::No:
        return s.PLANW.toUpper() == QLatin1String("N");
    }
    return true;
}

ResultTable buildServices(const StatementChoices& c, const StatementSources& s, Counter& counter) {
    ResultTable t = emptyStatement(StatementId::Services, c);
    QHash<int, std::vector<const ServiceRow*>> byVehicle;
    for (const ServiceRow& sv : s.services)
        byVehicle[sv.KODA].push_back(&sv);
    for (const RegistryRow& r : s.registry) {
        counter.step();
        if (!passesRegistry(StatementId::Services, c, r)) continue;
        for (const ServiceRow* sv : byVehicle.value(r.code)) {
            if (!passesPlan(*sv, c.plan)) continue;
            if (!c.service.all && sv->TYP != c.service.typeCode) continue;
            // A service without a planned date cannot fall in the date window.
            const bool inWindow = sv->DATAP.isValid() && sv->DATAP >= c.from && sv->DATAP <= c.to;
            const auto odometer = s.lastOdometer.constFind(r.code);
            const bool byCounter = c.dueByCounter && sv->PLANW.toUpper() == QLatin1String("N") &&
                                   sv->STANP > 0 && odometer != s.lastOdometer.cend() &&
                                   *odometer >= sv->STANP - c.counterMargin;
            if (!inWindow && !byCounter) continue;
            const int row = t.appendRow();
            t.set(row, QStringLiteral("nrrej"), r.NRREJ);
            t.set(row, QStringLiteral("typ"), sv->TYP);
            t.set(row, QStringLiteral("nazwa"), sv->NAZWA);
            t.set(row, QStringLiteral("dataw"), dateText(sv->DATAW));
            t.set(row, QStringLiteral("stanW"), sv->STANW);
            t.set(row, QStringLiteral("dataP"), dateText(sv->DATAP));
            t.set(row, QStringLiteral("stanP"), sv->STANP);
            t.set(row, QStringLiteral("planW"), sv->PLANW);
            t.set(row, QStringLiteral("nazwaA"), r.NAZWA);
            t.set(row, QStringLiteral("uwagi"), sv->UWAGI);
        }
    }
    sortByField(t, QStringLiteral("dataP"));
    numberRows(t, QStringLiteral("lp"), counter);
    return t;
}

// ------------------------------------------------------------------------------------------------
// Issue voucher.

ResultTable buildVoucher(const StatementChoices& c, const StatementSources& s, Counter& counter) {
    ResultTable t = emptyStatement(StatementId::Voucher, c);
    forEachOwner(StatementId::Voucher, c, s, counter,
                 [&](const RegistryRow& r, const std::vector<const CardRow*>& cards) {
                     for (const CardRow* card : cards) {
                         if (card->month != c.month || card->year + 2000 != c.year) continue;
                         const int row = t.appendRow();
                         t.set(row, QStringLiteral("kodk"), card->number);
                         t.set(row, QStringLiteral("dataS"), dateText(card->date));
                         t.set(row, QStringLiteral("nrident"), r.NRIDENT);
                         t.set(row, QStringLiteral("nazwa"), r.NAZWA);
                         t.set(row, QStringLiteral("komenda"), r.KOMENDA);
                         if (c.oil) {
                             t.set(row, QStringLiteral("et"), card->amount(QStringLiteral("ILOPOBOLM")));
                             t.set(row, QStringLiteral("on"), card->amount(QStringLiteral("ILOPOBOLS")));
                         } else if (r.RODZPAL == QLatin1String("ET")) {
                             t.set(row, QStringLiteral("et"), card->amount(QStringLiteral("ZUZYCIEPALF")));
                         } else if (r.RODZPAL == QLatin1String("ON")) {
                             t.set(row, QStringLiteral("on"), card->amount(QStringLiteral("ZUZYCIEPALF")));
                         }
                     }
                 });
    sortByField(t, QStringLiteral("kodk"));
    double et = 0, on = 0;
    for (int row = 0; row < t.rowCount(); ++row) {
        counter.step();
        et += t.number(row, QStringLiteral("et"));
        on += t.number(row, QStringLiteral("on"));
        t.set(row, QStringLiteral("lp"), row + 1);
    }
    const int row = t.appendRow();
    t.set(row, QStringLiteral("kodk"), kTotalsCode);
    t.set(row, QStringLiteral("nrrej"), QString());
    t.set(row, QStringLiteral("nazwa"), kTotalsName);
    t.set(row, QStringLiteral("et"), et);
    t.set(row, QStringLiteral("on"), on);
    return t;
}

} // namespace

ResultTable buildStatement(StatementId id, const StatementChoices& choices, const StatementSources& sources,
                           const Progress& progress, const QLocale& locale) {
    Counter counter(progress);
    switch (id) {
    case StatementId::Vehicles:
    case StatementId::Equipment:
        return buildList(id, choices, sources, counter);
    case StatementId::TripCards:
    case StatementId::EquipmentCards:
        return buildCards(id, choices, sources, counter);
    case StatementId::ByKind:
    case StatementId::ByGroup:
        return buildConsumption(id, choices, sources, counter, locale);
    case StatementId::YearlyVehicles:
    case StatementId::YearlyEquipment:
        return buildYearly(id, choices, sources, counter);
    case StatementId::AverageVehicles:
    case StatementId::AverageEquipment:
        return buildAverage(id, choices, sources, counter);
    case StatementId::Services:
        return buildServices(choices, sources, counter);
    case StatementId::DoubtfulCards:
        return buildDoubtfulCards(choices, sources, counter);
    case StatementId::Voucher:
        return buildVoucher(choices, sources, counter);
    }
    return {};
}

} // namespace korven::reports
