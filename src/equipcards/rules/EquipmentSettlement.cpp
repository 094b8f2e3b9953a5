#include "equipcards/rules/EquipmentSettlement.h"

#include "core/Rounding.h"
#include "core/SystemSettings.h"
#include "tripcards/rules/CardAccess.h"
#include "tripcards/rules/FieldEvents.h"

#include <cmath>

namespace korven::equipcards {

namespace {

const char* const recomputingInputs[] = {"CZAS", "ZUZYCIEPALF", "ILOPOBOLM", "ILOPOBOLS"};
const char* const plainInputs[] = {"DATAS", "IMIENAZ"};

bool isOneOf(QAnyStringView column, std::span<const char* const> names) {
    for (const char* n : names)
        if (QAnyStringView::compare(column, QLatin1String(n), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// The first column whose value is beyond what it stores, as a message; empty when every value fits.
QString valueBeyondColumn(const EquipmentCard& card) {
    for (const EquipmentColumn& c : equipmentColumns()) {
        if (c.shape.type != ColumnType::Decimal) continue;
        const double v = columnValue(card, c).toDouble();
        if (!std::isfinite(v) || std::abs(v) > columnLimit(c.shape))
            return QStringLiteral("Wynik %1 jest za duży dla pola %2 (największa wartość %3).")
                .arg(QString::number(v, 'f', c.shape.scale), QLatin1String(c.name()),
                     QString::number(columnLimit(c.shape), 'f', c.shape.scale));
    }
    return {};
}

// The recomputation on a copy; the card takes the result only when every value fits its column.
EventOutcome recomputeChecked(EquipmentCard& card, EngineKind engine) {
    EquipmentCard next = card;
    recompute(next, engine);
    EventOutcome outcome;
    if (QString beyond = valueBeyondColumn(next); !beyond.isEmpty()) {
        outcome.handling = EventHandling::Rejected;
        outcome.error = beyond;
        outcome.label = savingLabel(card);
        return outcome;
    }
    card = next;
    outcome.label = savingLabel(card.ZUZYCIEPALN - card.ZUZYCIEPALF);
    return outcome;
}

} // namespace

void recompute(EquipmentCard& card, EngineKind engine) {
    card.ZUZYCIEPALN = R1(card.CZAS * card.NORMAPAL);
    if (engine == EngineKind::TwoStroke) {
        // Both oils are due by the actual fuel, first rounded to tenths; the mixture oil to
        // hundredths, the chain oil to tenths.
        const double fuel = R1(card.ZUZYCIEPALF);
        card.ZUZYCIEOLMN = R2(card.NORMOLM * fuel);
        card.ZUZYCIEOLSN = R1(card.NORMOLS * fuel);
        card.POZOSTOLM = card.ILOPOBOLM - card.ZUZYCIEOLMN;
        card.POZOSTOLS = card.ILOPOBOLS - card.ZUZYCIEOLSN;
    }
    card.OSZCZPAL = card.ZUZYCIEPALN - card.ZUZYCIEPALF;
}

SavingLabel savingLabel(double saving) {
    if (saving < 0) return {QStringLiteral("Przepał (-)"), true};
    return {QStringLiteral("Oszczędność (+)"), false};
}

bool isInputColumn(QAnyStringView column) {
    return isOneOf(column, recomputingInputs) || isOneOf(column, plainInputs);
}

bool recomputesOnLeave(QAnyStringView column) {
    return isOneOf(column, recomputingInputs);
}

EventOutcome fieldEntered(EquipmentCard& card, EngineKind engine, QAnyStringView columnName,
                          const QVariant& value, const QLocale& locale) {
    EventOutcome outcome;
    outcome.label = savingLabel(card);
    const EquipmentColumn* column = findEquipmentColumn(columnName);
    if (!column || !isInputColumn(columnName)) {
        outcome.handling = EventHandling::NotAnInput;
        outcome.error =
            QStringLiteral("%1 nie jest polem do wpisania w Karcie Sprzętowej.").arg(columnName.toString());
        return outcome;
    }
    QVariant stored = value;
    QString problem;
    if (value.metaType().id() == QMetaType::QString && column->shape.type != ColumnType::Text) {
        const tripcards::ParsedInput parsed =
            tripcards::parseFieldInput(column->shape, value.toString(), locale);
        stored = parsed.value;
        problem = parsed.error;
    } else {
        if (column->shape.type == ColumnType::Text && stored.isValid() && !stored.isNull())
            stored = stored.toString().trimmed();
        problem = tripcards::checkFieldValue(column->shape, stored);
    }
    EquipmentCard next = card;
    if (problem.isEmpty() && !setColumnValue(next, *column, stored))
        problem = QStringLiteral("Wartość nie pasuje do pola %1.").arg(QLatin1String(column->name()));
    if (!problem.isEmpty()) {
        outcome.handling = EventHandling::Rejected;
        outcome.error = problem;
        return outcome;
    }
    if (!recomputesOnLeave(columnName)) {
        card = next;
        outcome.handling = EventHandling::Stored;
        return outcome;
    }
    outcome = recomputeChecked(next, engine);
    if (outcome.ok()) card = next;
    return outcome;
}

EventOutcome recomputeCard(EquipmentCard& card, EngineKind engine) {
    return recomputeChecked(card, engine);
}

NewEquipmentCard newEquipmentCard(const EquipmentContext& machine, int number, int year, int month,
                                  const QString& fullName, const QDate& today) {
    NewEquipmentCard n;
    EquipmentCard& c = n.card;
    c.KODS = machine.KODS;
    c.KODK = number;
    c.NRREJ = machine.NRREJ.left(10);
    c.ROKS = year;
    c.MIES = month;
    c.DATAS = today;
    c.NORMAPAL = machine.NORMPAL;
    c.IMIENAZ = fullName.left(40);
    switch (engineKind(machine.RODZSILN)) {
    case EngineKind::TwoStroke:
        c.NORMOLM = machine.NORMOLM;
        c.NORMOLS = machine.NORMOLS;
        break;
    case EngineKind::FourStroke:
        c.NORMOLM = 0;
        c.NORMOLS = 0;
        break;
    case EngineKind::Unknown:
        n.oilNormsNull = true;
        break;
    }
    return n;
}

bool maySaveEquipmentCard(int cardYear, int cardMonth, int currentYear, int currentMonth, int accessLevel) {
    return accessLevel == kAccessAll ||
           tripcards::recentCardPeriod(cardYear, cardMonth, currentYear, currentMonth);
}

QString saveRefusedMessage() {
    return QStringLiteral("... Za niskie uprawnienia do zmiany starej Karty Sprzętowej ... pa,pa ...");
}

} // namespace korven::equipcards
