#include "equipcards/data/EquipmentCardDemo.h"

#include "core/Dice.h"
#include "core/Period.h"
#include "core/Rounding.h"
#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentSettlement.h"

#include <stdexcept>

namespace korven::equipcards {

namespace {

const char* const settlers[] = {"asp. Jan Nowak", "mł. ogn. Adam Mazur", "st. sekc. Paweł Wójcik"};

} // namespace

int fillDemoEquipmentCards(db::Attachment& attachment) {
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

        int added = 0;
        for (int back = 12; back >= 1; --back) {
            const int index = (2000 + workingYear) * 12 + (workingMonth - 1) - back;
            settings.ROK = (index / 12) % 100;
            settings.MIE = index % 12 + 1;
            const QDate monthEnd(index / 12, settings.MIE, daysInMonth(settings.ROK, settings.MIE));
            for (const RegisterMachine& m : machines) {
                if (m.blocked()) continue;
                Dice dice(static_cast<std::uint32_t>(m.context.KODS * 1000 + index));
                const QString settler = QString::fromUtf8(settlers[m.context.KODS % std::size(settlers)]);
                const AddResult r = addEquipmentCard(tr, m.context, settings, settler, monthEnd);
                if (!r.added()) throw std::runtime_error(r.message.toStdString());
                EquipmentCard card = r.card;
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
                tr.execute(equipmentCardUpdateStatement(), params);
                ++added;
            }
        }
        return added;
    });
}

} // namespace korven::equipcards
