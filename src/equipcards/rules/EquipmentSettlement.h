#pragma once

#include "equipcards/rules/EquipmentCard.h"
#include "equipcards/rules/EquipmentContext.h"

#include <QAnyStringView>
#include <QString>
#include <QVariant>

#include <optional>

namespace korven::equipcards {

// The settlement of an equipment work card: the fuel due by the working time, for a two-stroke engine
// the mixture and chain oil due by the actual fuel and the oil left, and the fuel saving.

// "&Przelicz" and the exits of the working time, the actual fuel and the two oil quantities taken:
//   ZUZYCIEPALN = R1(CZAS x NORMAPAL)
//   two-stroke only: ZUZYCIEOLMN = R2(NORMOLM x R1(ZUZYCIEPALF)), ZUZYCIEOLSN = R1(NORMOLS x
//   R1(ZUZYCIEPALF)),
//                    POZOSTOLM = ILOPOBOLM - ZUZYCIEOLMN, POZOSTOLS = ILOPOBOLS - ZUZYCIEOLSN
//   OSZCZPAL = ZUZYCIEPALN - ZUZYCIEPALF
// The oil columns of any other engine kind are left as they are.
void recompute(EquipmentCard& card, EngineKind engine);

// The label of the saving: "Oszczędność (+)" in black for a saving of 0 or more, "Przepał (-)" in red
// for an overconsumption.
struct SavingLabel {
    QString text;
    bool red = false;
    friend bool operator==(const SavingLabel&, const SavingLabel&) = default;
};
SavingLabel savingLabel(double saving);
// The label of a card as it is stored (on opening the window).
inline SavingLabel savingLabel(const EquipmentCard& card) {
    return savingLabel(card.OSZCZPAL);
}

enum class EventHandling {
    Recomputed, // the value was stored and the card recomputed
    Stored,     // an input without a rule: the value was stored
    NotAnInput, // the column cannot be entered in the window: nothing changed
    Rejected,   // the value does not fit (or the result would not): nothing changed
};

struct EventOutcome {
    EventHandling handling = EventHandling::Recomputed;
    QString error; // why the value or its result was refused; empty when all went well
    SavingLabel label;
    bool ok() const { return error.isEmpty(); }
};

// The input fields of the settlement window and whether leaving them recomputes the card.
bool isInputColumn(QAnyStringView column);
bool recomputesOnLeave(QAnyStringView column);

// A field of the window left with a value: a number, a date, a text, or the text as the operator typed
// it (read in the locale's notation). The value is stored; the four recomputing fields then recompute
// the card. A value that does not fit its column, or a recomputation whose result would not fit a
// column, changes nothing and says why.
EventOutcome fieldEntered(EquipmentCard& card, EngineKind engine, QAnyStringView column,
                          const QVariant& value, const QLocale& locale = QLocale());
// "&Przelicz": the recomputation on its own, refused like fieldEntered when a result does not fit.
EventOutcome recomputeCard(EquipmentCard& card, EngineKind engine);

// --- Adding a card ------------------------------------------------------------------------------

// The values of a new card of the machine: its fuel norm, its registration number and the operator's
// name. A four-stroke machine gets oil norms 0 whatever its registry row holds, a two-stroke one the
// machine's oil norms; for an engine kind that is neither, the oil norms are left null (oilNormsNull).
struct NewEquipmentCard {
    EquipmentCard card;
    bool oilNormsNull = false;
};
NewEquipmentCard newEquipmentCard(const EquipmentContext& machine, int number, int year, int month,
                                  const QString& fullName, const QDate& today);

// --- Saving -------------------------------------------------------------------------------------

// Whether an operator may save a card of (cardYear, cardMonth) while the working period is
// (currentYear, currentMonth): access level 0 any card; every other level, 99 included, only the card
// of the working month, of the month before it, or of last December in January.
bool maySaveEquipmentCard(int cardYear, int cardMonth, int currentYear, int currentMonth, int accessLevel);
QString saveRefusedMessage();

} // namespace korven::equipcards
