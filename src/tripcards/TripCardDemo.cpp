#include "tripcards/TripCardDemo.h"

#include "core/Period.h"
#include "core/Rounding.h"
#include "tripcards/CardRegisterData.h"
#include "tripcards/Settlement.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace korven::tripcards {

namespace {

// A small deterministic generator, so that a demo database looks the same every time.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    // A whole number from lo to hi inclusive.
    int between(int lo, int hi) {
        state_ = state_ * 1664525u + 1013904223u;
        return lo + static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
    }
    // A factor from lo to hi in hundredths.
    double factor(double lo, double hi) {
        return between(static_cast<int>(std::lround(lo * 100)), static_cast<int>(std::lround(hi * 100))) / 100.0;
    }

private:
    std::uint32_t state_;
};

SystemSettings readSettings(db::Transaction& t) {
    const auto row = t.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
    if (!row) throw std::runtime_error("the system record FJ_BAZA is missing");
    SystemSettings s;
    s.ROK = static_cast<int>(row->integer(QStringLiteral("ROK")));
    s.MIE = static_cast<int>(row->integer(QStringLiteral("MIE")));
    s.P6P12 = row->text(QStringLiteral("P6P12")).trimmed();
    s.POCZNR = static_cast<int>(row->integer(QStringLiteral("POCZNR")));
    s.DZWIEK = QStringLiteral("T");
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
    if (!passenger && dice.between(0, 3) == 0) enter(card, v, "DODT", static_cast<int>(km * dice.factor(0.05, 0.2)));
    if (dice.between(0, 4) == 0) enter(card, v, "DODSZ", static_cast<int>(km * dice.factor(0.05, 0.15)));

    // The fuel taken: the norm plus most of what the allowances claim, now and then a little more.
    double claimed = 0;
    for (const Allowance& a : allowances()) claimed += card.*a.settled;
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

int fillDemoTripCards(db::Attachment& attachment) {
    db::Transaction working(attachment);
    db::Transaction bracket(attachment);
    const SystemSettings settings = db::inTransaction(working, [](db::Transaction& t) { return readSettings(t); });
    const std::vector<RegisterVehicle> vehicles = db::inTransaction(working, [](db::Transaction& t) {
        std::vector<RegisterVehicle> list;
        for (const db::Row& row : t.select(QStringLiteral("select * from A_AUTO order by KODA")))
            list.push_back(vehicleFromRow(row));
        return list;
    });

    int added = 0;
    for (int back = 12; back >= 1; --back) {
        // The month `back` months before the working period.
        const int index = (2000 + settings.ROK) * 12 + (settings.MIE - 1) - back;
        SystemSettings period = settings;
        period.ROK = (index / 12) % 100;
        period.MIE = index % 12 + 1;
        const QDate monthEnd(index / 12, period.MIE, daysInMonth(period.ROK, period.MIE));
        CardRegisterData data(working, bracket, period, OperatorSession{});
        for (const RegisterVehicle& vehicle : vehicles) {
            const VehicleContext& v = vehicle.context;
            const AddResult result = data.addCard(v, monthEnd);
            if (result.status == AddStatus::Blocked) continue;
            if (!result.added()) throw std::runtime_error(result.message.toStdString());
            CardRecord card = result.card;
            Dice dice(static_cast<std::uint32_t>(v.KODA * 1000 + index));
            if (back == 12) {
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
            const PostResult posted = data.postCard(card, result.key);
            if (!posted.posted()) throw std::runtime_error(posted.message.toStdString());
            ++added;
        }
    }
    return added;
}

} // namespace korven::tripcards
