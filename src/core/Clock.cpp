#include "core/Clock.h"

#include "core/DateText.h"

#include <stdexcept>

namespace korven {

namespace {
std::function<QDate()>& provider() {
    static std::function<QDate()> p;
    return p;
}

// The day KORVEN_TODAY names; an invalid date when it is not set (or set to nothing, as a shell's
// "KORVEN_TODAY= program" does to clear it).
QDate todayFromVariable() {
    if (qEnvironmentVariableIsEmpty(kTodayVariable)) return {};
    const QString text = qEnvironmentVariable(kTodayVariable);
    const std::optional<QDate> d = parseDate(text);
    if (!d)
        throw std::runtime_error(QStringLiteral("Zmienna %1 ma wartość \"%2\", a powinna zawierać "
                                                "istniejącą datę w postaci RRRR-MM-DD.")
                                     .arg(QLatin1String(kTodayVariable), text)
                                     .toStdString());
    return *d;
}
} // namespace

QDate today() {
    if (provider()) return provider()();
    const QDate fixed = todayFromVariable();
    return fixed.isValid() ? fixed : QDate::currentDate();
}

QDateTime now() {
    return QDateTime(today(), QTime::currentTime());
}

void setTodayProvider(std::function<QDate()> p) {
    provider() = std::move(p);
}

void checkTodayVariable() {
    todayFromVariable();
}

} // namespace korven
