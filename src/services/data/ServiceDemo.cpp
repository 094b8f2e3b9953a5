#include "services/data/ServiceDemo.h"

#include "core/Dice.h"
#include "services/rules/ServiceRules.h"

#include <stdexcept>

namespace korven::services {

namespace {

// The interval of each kind in months, and what its plan counts on the odometer.
struct KindPlan {
    const char* TYP;
    int months;
    double kilometres;  // planned odometer distance, 0: not by the odometer
    bool passengerCars; // also kept for passenger cars
};
const KindPlan plans[] = {
    {"BT", 12, 0, true},
    {"OT", 6, 15000, true},
    {"LT", 24, 0, false},
    {"UDT", 12, 0, false},
};

} // namespace

int fillDemoServices(db::Attachment& attachment, const DemoScale& scale) {
    db::Transaction t(attachment);
    scale.report(QStringLiteral("Obsługi techniczne pojazdów"));
    return db::inTransaction(t, [&](db::Transaction& tr) {
        const auto record = tr.selectOne(QStringLiteral("select ROK, MIE from FJ_BAZA where LP = 1"));
        if (!record) throw std::runtime_error("the system record FJ_BAZA is missing");
        const QDate reference(2000 + static_cast<int>(record->integer(QStringLiteral("ROK"))),
                              static_cast<int>(record->integer(QStringLiteral("MIE"))), 15);

        for (const KindPlan& p : plans)
            tr.execute(QStringLiteral("update A_OBSK set ILE = :ILE where TYP = :TYP"),
                       {{"ILE", p.months}, {"TYP", QString::fromLatin1(p.TYP)}});
        std::vector<ServiceKind> kinds;
        for (const db::Row& row : tr.select(QStringLiteral("select * from A_OBSK order by KOD")))
            kinds.push_back({static_cast<int>(row.integer(QStringLiteral("KOD"))),
                             row.text(QStringLiteral("TYP")).trimmed(),
                             row.text(QStringLiteral("NAZWA")).trimmed(),
                             static_cast<int>(row.integer(QStringLiteral("ILE")))});
        auto kindOf = [&](const char* typ) -> const ServiceKind& {
            for (const ServiceKind& k : kinds)
                if (k.TYP == QLatin1String(typ)) return k;
            throw std::runtime_error("a service kind of the demo is missing from A_OBSK");
        };

        db::Statement insert(
            attachment,
            QStringLiteral("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAW, DATAP, STANW, STANP, "
                           "PLANW, UWAGI, ILE) values (:KODA, :KODB, :TYP, :NAZWA, :DATAW, :DATAP, "
                           ":STANW, :STANP, :PLANW, :UWAGI, :ILE)"));
        int added = 0;
        for (const db::Row& v :
             tr.select(QStringLiteral("select KODA, TYP, BLOKADA from A_AUTO order by KODA"))) {
            const int koda = static_cast<int>(v.integer(QStringLiteral("KODA")));
            const bool passenger = v.text(QStringLiteral("TYP")).trimmed() == QLatin1String("O");
            Dice dice(scale.dice(static_cast<std::uint32_t>(koda * 7919)));
            int kodb = 0;
            double odometer = 20000 + dice.between(0, 900) * 100;
            for (const KindPlan& p : plans) {
                if (passenger && !p.passengerCars) continue;
                const ServiceKind& kind = kindOf(p.TYP);
                // The next plan falls between a few days and the whole interval after the reference day;
                // every fourth vehicle has one due within the coming weeks.
                const int daysAhead = koda % 4 == 0 ? dice.between(3, 25) : dice.between(20, p.months * 30);
                QDate next = reference.addDays(daysAhead);
                // The services carried out before it, one interval apart, the last one two intervals back.
                std::vector<QDate> done;
                for (int k = 2; k >= 1; --k)
                    done.push_back(*plannedDate(next, -k * p.months));
                for (std::size_t i = 0; i < done.size(); ++i) {
                    const bool last = i + 1 == done.size();
                    ServiceRecord s;
                    s.KODA = koda;
                    s.KODB = ++kodb;
                    applyKind(s, kind);
                    s.DATAW = done[i];
                    s.DATAP = *plannedDate(s.DATAW, s.ILE);
                    s.STANW = odometer;
                    s.STANP = p.kilometres > 0 ? odometer + p.kilometres : 0;
                    // The plan of the last one is still to be carried out.
                    s.PLANW = last ? QStringLiteral("N") : QStringLiteral("T");
                    s.UWAGI = last ? QString() : QStringLiteral("wykonano w terminie");
                    insert.execute(tr, {{"KODA", s.KODA},
                                        {"KODB", s.KODB},
                                        {"TYP", s.TYP},
                                        {"NAZWA", s.NAZWA},
                                        {"DATAW", s.DATAW},
                                        {"DATAP", s.DATAP},
                                        {"STANW", db::Decimal::fromDouble(s.STANW, 2)},
                                        {"STANP", db::Decimal::fromDouble(s.STANP, 2)},
                                        {"PLANW", s.PLANW},
                                        {"UWAGI", s.UWAGI},
                                        {"ILE", s.ILE}});
                    odometer += dice.between(40, 160) * 100;
                    ++added;
                }
            }
        }
        return added;
    });
}

} // namespace korven::services
