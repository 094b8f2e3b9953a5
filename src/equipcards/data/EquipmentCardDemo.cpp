#include "equipcards/data/EquipmentCardDemo.h"

#include "core/Dice.h"
#include "core/Period.h"
#include "core/Rounding.h"
#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentSettlement.h"
#include "tripcards/rules/CardRegister.h"

#include <map>
#include <optional>
#include <stdexcept>

namespace korven::equipcards {

namespace {

const char* const settlers[] = {"asp. Jan Nowak", "mł. ogn. Adam Mazur", "st. sekc. Paweł Wójcik"};

} // namespace

int fillDemoEquipmentCards(db::Attachment& attachment, const DemoScale& scale) {
    db::Transaction t(attachment);
    return db::inTransaction(t, [&](db::Transaction& tr) {
        const auto record =
            tr.selectOne(QStringLiteral("select ROK, MIE, P6P12, POCZNRS from FJ_BAZA where LP = 1"));
        if (!record) throw std::runtime_error("the system record FJ_BAZA is missing");
        SystemSettings settings;
        settings.ROK = static_cast<int>(record->integer(QStringLiteral("ROK")));
        settings.MIE = static_cast<int>(record->integer(QStringLiteral("MIE")));
        settings.P6P12 = record->text(QStringLiteral("P6P12")).trimmed();
        settings.POCZNRS = static_cast<int>(record->integer(QStringLiteral("POCZNRS")));
        settings.DZWIEK = QStringLiteral("T");
        const int workingYear = settings.ROK;
        const int workingMonth = settings.MIE;

        std::vector<RegisterMachine> machines;
        for (const db::Row& row : tr.select(QStringLiteral("select * from A_SPRZET order by KODS")))
            machines.push_back(machineFromRow(row));

        // The numbering the register's addition would give, kept here: the highest number of each
        // scope, one for running numbers, one per month otherwise.
        const bool perMonth = tripcards::numberingMode(settings.P6P12) == tripcards::NumberingMode::PerMonth;
        std::map<int, std::optional<int>> highest;
        auto scope = [&](int year, int month) { return perMonth ? year * 100 + month : 0; };
        for (const db::Row& row : tr.select(QStringLiteral("select ROKS, MIES, max(KODK) as H from A_KARTAS "
                                                           "group by ROKS, MIES")))
            highest[scope(static_cast<int>(row.integer(QStringLiteral("ROKS"))),
                          static_cast<int>(row.integer(QStringLiteral("MIES"))))] =
                std::max(highest[scope(static_cast<int>(row.integer(QStringLiteral("ROKS"))),
                                       static_cast<int>(row.integer(QStringLiteral("MIES"))))]
                             .value_or(0),
                         static_cast<int>(row.integer(QStringLiteral("H"))));

        // Two prepared statements, inserted as the addition inserts and then saved as the settlement
        // saves, in one transaction.
        db::Statement insert(attachment, equipmentCardInsertStatement());
        db::Statement save(attachment, equipmentCardUpdateStatement());
        int added = 0;
        for (int back = scale.months; back >= 1; --back) {
            if ((scale.months - back) % 12 == 0)
                scale.report(QStringLiteral("Karty pracy sprzętu: miesiąc %1 z %2")
                                 .arg(scale.months - back + 1)
                                 .arg(scale.months));
            const int index = (2000 + workingYear) * 12 + (workingMonth - 1) - back;
            settings.ROK = (index / 12) % 100;
            settings.MIE = index % 12 + 1;
            const QDate monthEnd(index / 12, settings.MIE, daysInMonth(settings.ROK, settings.MIE));
            for (const RegisterMachine& m : machines) {
                if (m.blocked()) continue;
                Dice dice(scale.dice(static_cast<std::uint32_t>(m.context.KODS * 1000 + index)));
                const QString settler = QString::fromUtf8(settlers[m.context.KODS % std::size(settlers)]);
                std::optional<int>& h = highest[scope(settings.ROK, settings.MIE)];
                const int number = tripcards::nextCardNumber(h, settings.POCZNRS);
                h = number;
                const NewEquipmentCard created = newEquipmentCard(
                    m.context.normalised(), number, settings.ROK, settings.MIE, settler, monthEnd);
                const db::Params all = equipmentCardParams(created.card);
                db::Params first;
                for (const QString& c : equipmentCardInsertColumns())
                    first.set(c, *all.find(c));
                if (created.oilNormsNull)
                    first.set(QStringLiteral("NORMOLM"), db::Value())
                        .set(QStringLiteral("NORMOLS"), db::Value());
                insert.execute(tr, first);
                EquipmentCard card = created.card;
                const EngineKind engine = engineKind(m.context.RODZSILN);
                // Pumps and generators run for hours in a busy month, saws and boats less; some months
                // the machine stands idle and is settled with nothing.
                if (dice.between(0, 9) > 0) {
                    card.CZAS = dice.between(2, 60) * 10;
                    recompute(card, engine);
                    card.ZUZYCIEPALF = R1(card.ZUZYCIEPALN * dice.factor(0.85, 1.12));
                    if (engine == EngineKind::TwoStroke) {
                        recompute(card, engine);
                        card.ILOPOBOLM = R1(card.ZUZYCIEOLMN * dice.factor(1.0, 1.6));
                        card.ILOPOBOLS = R1(card.ZUZYCIEOLSN * dice.factor(1.0, 1.4));
                    }
                    recompute(card, engine);
                }
                db::Params params = equipmentCardParams(card);
                params.set(QStringLiteral("OLD_KODS"), card.KODS)
                    .set(QStringLiteral("OLD_KODK"), card.KODK)
                    .set(QStringLiteral("OLD_ROKS"), card.ROKS)
                    .set(QStringLiteral("OLD_MIES"), card.MIES);
                save.execute(tr, params);
                ++added;
            }
        }
        return added;
    });
}

} // namespace korven::equipcards
