#include "tripcards/data/TripCardDemo.h"

#include "core/Dice.h"
#include "core/Period.h"
#include "core/Rounding.h"
#include "tripcards/data/CardRegisterData.h"
#include "tripcards/rules/CardRegister.h"
#include "tripcards/rules/Settlement.h"

#include <QStringList>

#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <tuple>

namespace korven::tripcards {

namespace {

SystemSettings readSettings(db::Transaction& t) {
    const auto row = t.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
    if (!row) throw std::runtime_error("the system record FJ_BAZA is missing");
    SystemSettings s;
    s.ROK = static_cast<int>(row->integer(QStringLiteral("ROK")));
    s.MIE = static_cast<int>(row->integer(QStringLiteral("MIE")));
    s.P6P12 = row->text(QStringLiteral("P6P12")).trimmed();
    s.POCZNR = static_cast<int>(row->integer(QStringLiteral("POCZNR")));
    s.MN_POS = row->number(QStringLiteral("MN_POS"));
    s.MN_MIE = row->number(QStringLiteral("MN_MIE"));
    s.MN_ALA = row->number(QStringLiteral("MN_ALA"));
    s.MN_GOROS = row->number(QStringLiteral("MN_GOROS"));
    s.MN_GORPOZ = row->number(QStringLiteral("MN_GORPOZ"));
    s.MN_OZ = row->number(QStringLiteral("MN_OZ"));
    s.MN_KLI = row->number(QStringLiteral("MN_KLI"));
    s.MN_TER = row->number(QStringLiteral("MN_TER"));
    s.MN_ZIM = row->number(QStringLiteral("MN_ZIM"));
    s.MN_SZK = row->number(QStringLiteral("MN_SZK"));
    s.MN_HOLON = row->number(QStringLiteral("MN_HOLON"));
    s.MN_HOLET = row->number(QStringLiteral("MN_HOLET"));
    s.NORMA_OON = row->number(QStringLiteral("NORMA_OON"));
    s.NORMA_OET = row->number(QStringLiteral("NORMA_OET"));
    return s;
}

void check(const RuleOutcome& outcome) {
    if (!outcome.ok()) throw std::runtime_error(outcome.error.toStdString());
}

void enter(CardRecord& card, const VehicleContext& v, const char* base, double quantity) {
    const Allowance& a = allowance(QLatin1String(base));
    card.*a.quantity = quantity;
    check(a.base == QLatin1String("DODH") ? towingEntered(card, v) : allowanceEntered(card, v, a));
}

bool winterMonth(int month) {
    return month >= 11 || month <= 3;
}

// The month's driving and fuel of a vehicle settled by norms and allowances.
void settleByNorms(CardRecord& card, const VehicleContext& v, Dice& dice) {
    const bool passenger = v.TYP == QLatin1String("O");
    card.PRZEBIEGM = passenger ? dice.between(900, 2200) : dice.between(120, 650);
    check(monthlyMileageEntered(card, v));
    const double km = card.PRZEBIEGM;
    enter(card, v, "DODPOS", dice.between(3, 24) * 10);
    if (v.NORMPOM > 0) enter(card, v, "DODNAP", dice.between(0, 18) * 10);
    if (v.NORMUR1 > 0 && dice.between(0, 2) > 0) enter(card, v, "DODUR1", dice.between(2, 12) * 10);
    if (v.NORMUR2 > 0 && card.MIED >= 6 && card.MIED <= 8) enter(card, v, "DODUR2", dice.between(6, 30) * 10);
    enter(card, v, "DODMIE", static_cast<int>(km * dice.factor(0.3, 0.6)));
    if (!passenger) enter(card, v, "DODA", static_cast<int>(km * dice.factor(0.1, 0.3)));
    if (winterMonth(card.MIED)) enter(card, v, "DODZ", static_cast<int>(km * dice.factor(0.5, 1.0)));
    if (!passenger && dice.between(0, 3) == 0)
        enter(card, v, "DODT", static_cast<int>(km * dice.factor(0.05, 0.2)));
    if (dice.between(0, 4) == 0) enter(card, v, "DODSZ", static_cast<int>(km * dice.factor(0.05, 0.15)));

    // The fuel taken: the norm plus most of what the allowances claim, now and then a little more.
    double claimed = 0;
    for (const Allowance& a : allowances())
        claimed += card.*a.settled;
    card.ZUZYCIEP = roundFuel(fuelRule(v), card.ZUZYCIEPN + claimed * dice.factor(0.55, 1.08));
    check(actualFuelEntered(card, v));
    check(recalculateByNorms(card, v));
    card.ZUZYCIEO = R1(card.ZUZYCIEON * dice.factor(0.7, 1.15));
    check(actualOilEntered(card, v));
}

// The month of a vehicle with a fuel meter: readings instead of allowances.
void settleByMeter(CardRecord& card, const VehicleContext& v, Dice& dice) {
    card.PRZEBIEGM = dice.between(150, 600);
    card.MIER_KON = card.MIER_POCZ + R1(v.NORMPAL * card.PRZEBIEGM / 100 * dice.factor(1.05, 1.3));
    card.ZUZYCIEP = R1((card.MIER_KON - card.MIER_POCZ) * dice.factor(0.97, 1.03));
    check(meterMileageEntered(card, v));
    card.ZUZYCIEO = R1(card.ZUZYCIEON * dice.factor(0.7, 1.15));
    check(meterChain(card, v));
}

} // namespace

int fillDemoTripCards(db::Attachment& attachment, const DemoScale& scale) {
    db::Transaction t(attachment);
    return db::inTransaction(t, [&](db::Transaction& tr) {
        const SystemSettings settings = readSettings(tr);
        const SystemMultipliers multipliers = multipliersOf(settings);
        const bool perMonth = numberingMode(settings.P6P12) == NumberingMode::PerMonth;
        std::vector<RegisterVehicle> vehicles;
        // By vehicle, its latest card: all the carry-over needs, and ten years of a country's cards
        // would not fit in memory.
        std::map<int, CardRecord> latest;
        for (const db::Row& row : tr.select(QStringLiteral("select * from A_AUTO order by KODA")))
            vehicles.push_back(vehicleFromRow(row));
        std::map<int, std::optional<int>> highest;
        auto scope = [&](int year, int month) { return perMonth ? year * 100 + month : 0; };
        for (const db::Row& row : tr.select(QStringLiteral("select * from A_KARTA"))) {
            const CardRecord c = cardFromRow(row);
            auto [at, fresh] = latest.try_emplace(c.KODA, c);
            if (!fresh && std::tie(c.ROKD, c.MIED, c.KODD) >
                              std::tie(at->second.ROKD, at->second.MIED, at->second.KODD))
                at->second = c;
            std::optional<int>& h = highest[scope(c.ROKD, c.MIED)];
            h = std::max(h.value_or(c.KODD), c.KODD);
        }

        // One transaction and one prepared statement: the load runs at the engine's pace, and the
        // database it fills gets its name only once the whole load is in.
        QStringList names, params;
        for (const CardColumn& c : cardColumns()) {
            names << QLatin1String(c.name);
            params << QLatin1Char(':') + QLatin1String(c.name);
        }
        db::Statement insert(attachment,
                             QStringLiteral("insert into A_KARTA (%1) values (%2)")
                                 .arg(names.join(QStringLiteral(", ")), params.join(QStringLiteral(", "))));
        int added = 0;
        for (int back = scale.months; back >= 1; --back) {
            if ((scale.months - back) % 12 == 0)
                scale.report(QStringLiteral("Karty drogowe: miesiąc %1 z %2")
                                 .arg(scale.months - back + 1)
                                 .arg(scale.months));
            // The month `back` months before the working period.
            const int index = (2000 + settings.ROK) * 12 + (settings.MIE - 1) - back;
            const int year = (index / 12) % 100;
            const int month = index % 12 + 1;
            const QDate monthEnd(index / 12, month, daysInMonth(year, month));
            for (const RegisterVehicle& vehicle : vehicles) {
                if (vehicle.blocked()) continue;
                const VehicleContext& v = vehicle.context;
                const auto own = latest.find(v.KODA);
                const bool first = own == latest.end();
                std::optional<int>& h = highest[scope(year, month)];
                const int number = nextCardNumber(h, settings.POCZNR);
                const NewCardOutcome created =
                    newCard(v, multipliers, {number, year, month, monthEnd},
                            first ? CarryOver{} : carryOverFrom(std::span(&own->second, 1)));
                if (!created.ok()) throw std::runtime_error(created.error.toStdString());
                h = number;
                CardRecord card = created.card;
                Dice dice(scale.dice(static_cast<std::uint32_t>(v.KODA * 1000 + index)));
                if (first) {
                    // A vehicle's first card: the counters it came with.
                    card.PRZEBIEG0 = dice.between(80, 1500) * 100;
                    card.PRZEBIEG0P = card.PRZEBIEG0 + dice.between(0, 200) * 10;
                    card.MIER_POCZ = dice.between(100, 9000);
                    check(startConvertedEntered(card, v));
                }
                if (settlementWindowFor(v) == SettlementWindow::Meter)
                    settleByMeter(card, v, dice);
                else
                    settleByNorms(card, v, dice);
                card.WYJAZDMZ = dice.between(0, v.TYP == QLatin1String("O") ? 2 : 12);
                card.WYJAZDP = dice.between(0, v.TYP == QLatin1String("O") ? 1 : 8);
                card.WYJAZDF = dice.between(0, 3);
                card.WYJAZDIN = dice.between(0, 5);
                insert.execute(tr, cardParams(card));
                latest.insert_or_assign(v.KODA, card);
                ++added;
            }
        }
        return added;
    });
}

} // namespace korven::tripcards
