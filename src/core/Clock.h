#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

namespace korven {

// The environment variable that fixes the program's day: YYYY-MM-DD.
inline constexpr const char* kTodayVariable = "KORVEN_TODAY";

// Today's date as the program sees it: the day a test provider gives, else the day KORVEN_TODAY names
// when it is set, else the clock. Throws std::runtime_error when KORVEN_TODAY is set to anything but a
// real date; programs find that out at start with checkTodayVariable().
QDate today();
void setTodayProvider(std::function<QDate()> provider);

// The moment stamped on printouts and exported files: today() at the clock's time of day.
QDateTime now();

// Throws std::runtime_error with a readable text when KORVEN_TODAY is set but is not a date.
void checkTodayVariable();

} // namespace korven
