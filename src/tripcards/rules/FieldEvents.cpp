#include "tripcards/rules/FieldEvents.h"

#include "core/DateText.h"
#include "core/NumberFormat.h"

#include <cmath>

namespace korven::tripcards {

namespace {

using Handler = RuleOutcome (*)(CardRecord&, const VehicleContext&);

RuleOutcome endOdometer(CardRecord& card, const VehicleContext&) {
    endOdometerEntered(card);
    return {};
}
RuleOutcome monthConverted(CardRecord& card, const VehicleContext&) {
    monthConvertedEntered(card);
    return {};
}
RuleOutcome endConverted(CardRecord& card, const VehicleContext&) {
    endConvertedEntered(card);
    return {};
}

struct FieldRule {
    const char* column;
    Handler handler; // nullptr: an input field without a rule
};

const FieldRule normsFields[] = {
    {"PRZEBIEGM", monthlyMileageEntered},
    {"ZUZYCIEP", actualFuelEntered},
    {"PRZEBIEG0", startOdometerEntered},
    {"PRZEBIEGS", endOdometer},
    {"PRZEBIEG0P", startConvertedEntered},
    {"PRZEBIEGMP", monthConverted},
    {"PRZEBIEGSP", endConverted},
    {"ZUZYCIEO", actualOilEntered},
    {"MASAPR", towingEntered},
    {"DATAD", settlementDateEntered},
    {"WYJAZDMZ", nullptr},
    {"WYJAZDP", nullptr},
    {"WYJAZDF", nullptr},
    {"WYJAZDIN", nullptr},
};

const FieldRule meterFields[] = {
    {"PRZEBIEGM", meterMileageEntered},
    {"ZUZYCIEP", meterMileageEntered},
    {"MIER_KON", meterEndReadingEntered},
    {"PRZEBIEG0", meterStartOdometerEntered},
    {"PRZEBIEGS", endOdometer},
    {"PRZEBIEG0P", meterStartConvertedEntered},
    {"ZUZYCIEO", meterChain},
    {"DATAD", nullptr},
    {"MIER_POCZ", nullptr},
    {"ZUZYCIEPN", nullptr},
    {"WYJAZDMZ", nullptr},
    {"WYJAZDP", nullptr},
    {"WYJAZDF", nullptr},
    {"WYJAZDIN", nullptr},
};

// The field of that column on the window of that mode; found is false when there is none.
Handler findHandler(QAnyStringView column, SettlementMode mode, bool& found) {
    found = true;
    if (mode == SettlementMode::Norms) {
        if (const Allowance* a = findAllowance(column))
            return a->quantity == &CardRecord::DODH ? towingEntered : nullptr;
        for (const FieldRule& f : normsFields)
            if (QAnyStringView::compare(column, QLatin1String(f.column), Qt::CaseInsensitive) == 0)
                return f.handler;
    } else {
        for (const FieldRule& f : meterFields)
            if (QAnyStringView::compare(column, QLatin1String(f.column), Qt::CaseInsensitive) == 0)
                return f.handler;
    }
    found = false;
    return nullptr;
}

FieldOutcome withLabels(FieldOutcome outcome, const CardRecord& card) {
    outcome.fuelLabel = fuelResultLabel(card);
    outcome.oilLabel = oilResultLabel(card);
    return outcome;
}

QString notAnInputMessage(QAnyStringView column) {
    return QStringLiteral("Pole %1 nie jest polem do wpisywania na tej karcie.").arg(column.toString());
}

} // namespace

namespace {

// Runs an operation of a field or of "&Przelicz". A result that its column could not keep (a sum of
// two largest odometer readings, say) is refused like a value typed too large: the card is put back
// as it was before the operation, and the outcome names the field and its largest value.
template <class Operation> FieldOutcome keepingLimits(CardRecord& card, Operation operation) {
    const CardRecord before = card;
    FieldOutcome outcome = operation();
    if (const CardColumn* beyond = columnBeyondLimit(card)) {
        card = before;
        return withLabels({FieldHandling::Rejected, tooLargeMessage(*beyond), {}, {}}, card);
    }
    return outcome;
}

FieldOutcome runFieldRule(CardRecord& card, const VehicleContext& vehicle, QAnyStringView column,
                          SettlementMode mode) {
    bool found = false;
    Handler handler = findHandler(column, mode, found);
    if (!found) return withLabels({FieldHandling::NotAnInput, notAnInputMessage(column), {}, {}}, card);
    if (mode == SettlementMode::Norms && !handler) {
        // The quantity of an allowance other than towing.
        if (const Allowance* a = findAllowance(column))
            return withLabels({FieldHandling::Recomputed, allowanceEntered(card, vehicle, *a).error, {}, {}},
                              card);
    }
    if (!handler) return withLabels({FieldHandling::NoRule, {}, {}, {}}, card);
    return withLabels({FieldHandling::Recomputed, handler(card, vehicle).error, {}, {}}, card);
}

} // namespace

FieldOutcome fieldLeft(CardRecord& card, const VehicleContext& vehicle, QAnyStringView column,
                       SettlementMode mode) {
    return keepingLimits(card, [&] { return runFieldRule(card, vehicle, column, mode); });
}

namespace {

// Checks the value (reading typed text first) and stores it; false with the outcome set when refused.
bool store(CardRecord& card, const CardColumn& column, const QVariant& value, FieldOutcome& outcome) {
    QVariant typed = value;
    QString problem;
    if (value.metaType().id() == QMetaType::QString && column.type != ColumnType::Text) {
        const ParsedInput parsed = parseFieldInput(column, value.toString());
        typed = parsed.value;
        problem = parsed.error;
    } else {
        problem = checkFieldValue(column, value);
    }
    if (problem.isEmpty() && setCardValue(card, column, typed)) return true;
    outcome = withLabels({FieldHandling::Rejected, problem, {}, {}}, card);
    return false;
}

} // namespace

FieldOutcome applyFieldEvent(CardRecord& card, const VehicleContext& vehicle, QAnyStringView column,
                             const QVariant& value, SettlementMode mode) {
    bool found = false;
    findHandler(column, mode, found);
    const CardColumn* target = findCardColumn(column);
    if (!found || !target)
        return withLabels({FieldHandling::NotAnInput, notAnInputMessage(column), {}, {}}, card);
    return keepingLimits(card, [&] {
        FieldOutcome refused;
        if (!store(card, *target, value, refused)) return refused;
        return runFieldRule(card, vehicle, column, mode);
    });
}

FieldOutcome storeFieldValue(CardRecord& card, QAnyStringView column, const QVariant& value) {
    const CardColumn* target = findCardColumn(column);
    if (!target) return withLabels({FieldHandling::NotAnInput, notAnInputMessage(column), {}, {}}, card);
    FieldOutcome outcome;
    if (!store(card, *target, value, outcome)) return outcome;
    return withLabels({FieldHandling::NoRule, {}, {}, {}}, card);
}

FieldOutcome recalculate(CardRecord& card, const VehicleContext& vehicle, SettlementMode mode) {
    return keepingLimits(card, [&] {
        const RuleOutcome r =
            mode == SettlementMode::Norms ? recalculateByNorms(card, vehicle) : meterChain(card, vehicle);
        return withLabels({FieldHandling::Recomputed, r.error, {}, {}}, card);
    });
}

QString checkFieldValue(const ColumnShape& column, const QVariant& value) {
    const bool null = !value.isValid() || value.isNull();
    switch (column.type) {
    case ColumnType::Date:
        if (null || value.metaType().id() == QMetaType::QDate) return {};
        return QStringLiteral("„%1” nie jest poprawną datą (rrrr-mm-dd).").arg(value.toString());
    case ColumnType::Text:
        if (!null && value.toString().size() > column.precision)
            return QStringLiteral("Tekst „%1” jest dłuższy niż %2 znaków.")
                .arg(value.toString())
                .arg(column.precision);
        return {};
    case ColumnType::Integer:
    case ColumnType::Decimal: {
        if (null) return {};
        bool ok = false;
        const double number = value.metaType().id() == QMetaType::QString ? 0 : value.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            return QStringLiteral("„%1” nie jest poprawną liczbą.").arg(value.toString());
        if (column.type == ColumnType::Integer && number != std::trunc(number))
            return QStringLiteral("„%1” nie jest liczbą całkowitą.").arg(value.toString());
        const double stored = roundToScale(number, column.scale);
        if (std::abs(stored) > columnLimit(column)) {
            // A trip card column is named by its caption, a column of another card by its name.
            if (const CardColumn* card = findCardColumn(QLatin1String(column.name)))
                return tooLargeMessage(*card);
            return valueTooLargeMessage(QLatin1String(column.name), columnLimit(column), column.scale);
        }
        return {};
    }
    }
    return {};
}

ParsedInput parseFieldInput(const ColumnShape& column, const QString& text, const QLocale& locale) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) return {};
    QVariant value;
    bool ok = false;
    switch (column.type) {
    case ColumnType::Date: {
        const std::optional<QDate> date = parseDate(typed);
        if (!date) return {{}, QStringLiteral("„%1” nie jest poprawną datą (rrrr-mm-dd).").arg(typed)};
        value = *date;
        break;
    }
    case ColumnType::Text:
        value = typed;
        break;
    case ColumnType::Integer:
    case ColumnType::Decimal: {
        double number = locale.toDouble(typed, &ok);
        if (!ok) number = QLocale::c().toDouble(typed, &ok);
        if (!ok || !std::isfinite(number))
            return {{}, QStringLiteral("„%1” nie jest poprawną liczbą.").arg(typed)};
        value = number;
        break;
    }
    }
    const QString problem = checkFieldValue(column, value);
    if (!problem.isEmpty()) return {{}, problem};
    return {value, {}};
}

} // namespace korven::tripcards
