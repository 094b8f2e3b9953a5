#include "tripcards/rules/Plausibility.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korven::tripcards {

namespace {

QString km(double value) {
    return QLocale().toString(value, 'f', 0);
}
QString litres(double value) {
    return QLocale().toString(value, 'f', 2);
}

bool meterCard(const VehicleContext& vehicle) {
    return vehicle.CZY_MIERNIK.trimmed().toUpper() == QLatin1String("T");
}

} // namespace

std::optional<double> medianMonthlyMileage(std::span<const double> mileages) {
    std::vector<double> driven;
    for (double m : mileages)
        if (m > 0) driven.push_back(m);
    if (static_cast<int>(driven.size()) < mileageHistoryMinimum) return std::nullopt;
    std::sort(driven.begin(), driven.end());
    const std::size_t n = driven.size();
    return n % 2 ? driven[n / 2] : (driven[n / 2 - 1] + driven[n / 2]) / 2;
}

std::optional<double> slipCorrection(double initial, double final, double longestMonth,
                                     double expectedMonth) {
    // A vehicle whose start reading is not known yet (0) gives nothing to compare a slip against.
    if (initial <= 0 || final <= initial + longestMonth) return std::nullopt;
    const QString digits = QString::number(static_cast<qlonglong>(std::floor(final)));
    std::optional<double> best;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        QString shorter = digits;
        shorter.remove(i, 1);
        if (shorter.isEmpty() || (shorter.size() > 1 && shorter.front() == QLatin1Char('0'))) continue;
        const double candidate = shorter.toDouble();
        if (candidate < initial || candidate > initial + longestMonth) continue;
        const double target = initial + expectedMonth;
        if (!best || std::abs(candidate - target) < std::abs(*best - target)) best = candidate;
    }
    return best;
}

int expectedFills(double fuelDue, double tankCapacity) {
    if (tankCapacity <= 0) return 0;
    return static_cast<int>(std::ceil(std::max(0.0, fuelDue) / tankCapacity - 1e-9)) + 1;
}

std::vector<PlausibilityWarning> plausibilityDoubts(const CardRecord& card, const VehicleContext& vehicle,
                                                    std::span<const double> history) {
    std::vector<PlausibilityWarning> w;
    const double initial = card.PRZEBIEG0;
    const double final = card.PRZEBIEGS;
    const double month = card.PRZEBIEGM;
    const std::optional<double> median = medianMonthlyMileage(history);

    if (final < initial)
        w.push_back(
            {Doubt::OdometerBackwards,
             QStringLiteral("Stan licznika na koniec miesiąca (%1 km) jest niższy niż na początku (%2 km).")
                 .arg(km(final), km(initial))});

    const double longest = median ? mileageMedianFactor * *median : slipFallbackMonth;
    const std::optional<double> meant = slipCorrection(initial, final, longest, median ? *median : 0.0);
    if (meant)
        w.push_back(
            {Doubt::OdometerSlip,
             QStringLiteral("Stan licznika na koniec miesiąca %1 km wygląda na pomyłkę przy wpisywaniu: "
                            "czy miało być %2 km?")
                 .arg(km(final), km(*meant))});

    if (median && month > mileageMedianFactor * *median)
        w.push_back(
            {Doubt::MileageBeyondHistory,
             QStringLiteral("Przebieg miesiąca %1 km przekracza %2-krotność mediany przebiegów pojazdu z "
                            "ostatnich miesięcy (%3 km).")
                 .arg(km(month), QString::number(mileageMedianFactor), km(*median))});

    // The capacity is kept as text; one that is not a number is not checked.
    const QString capacityText = vehicle.POJ_ZBIO.trimmed();
    bool capacityOk = false;
    double capacity = QLocale().toDouble(capacityText, &capacityOk);
    if (!capacityOk) capacity = capacityText.toDouble(&capacityOk);
    if (capacityOk && capacity > 0) {
        const double due = meterCard(vehicle) ? double(card.ZUZYCIEPN) : double(card.RAZEMP);
        const int fills = expectedFills(due, capacity);
        if (card.ZUZYCIEP > capacity * fills + 0.005)
            w.push_back({Doubt::FuelAboveTank,
                         QStringLiteral(
                             "Pobrane paliwo %1 L przekracza pojemność zbiornika %2 L razy liczbę tankowań "
                             "potrzebnych w miesiącu (%3).")
                             .arg(litres(card.ZUZYCIEP), litres(capacity), QString::number(fills))});
    }

    if (meterCard(vehicle) && card.MIER_KON < card.MIER_POCZ)
        w.push_back(
            {Doubt::MeterBackwards,
             QStringLiteral("Paliwomierz cofnął się: stan na koniec %1 L jest niższy niż na początek %2 L.")
                 .arg(litres(card.MIER_KON), litres(card.MIER_POCZ))});
    return w;
}

QStringList plausibilityWarnings(const CardRecord& card, const VehicleContext& vehicle,
                                 std::span<const double> history) {
    QStringList texts;
    for (const PlausibilityWarning& w : plausibilityDoubts(card, vehicle, history))
        texts << w.text;
    return texts;
}

QString plausibilityQuestion(const QStringList& warnings) {
    QString text = QStringLiteral("Dane karty budzą wątpliwości:\n");
    for (const QString& line : warnings)
        text += QStringLiteral("\n- ") + line;
    text += QStringLiteral("\n\nCzy zapisać kartę mimo to?");
    return text;
}

} // namespace korven::tripcards
