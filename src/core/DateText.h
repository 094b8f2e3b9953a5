#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace korven {

// The one reading of a date typed or given as text: year-month-day with "-" ("2009-03-31", month and
// day with one or two digits), the year in four digits from 0001 to 9999, the range a DATE column
// keeps. Blanks around the text are ignored. Nothing for any other text, a sign before the year, and
// a day that does not exist ("2009-02-29").
std::optional<QDate> parseDate(const QString& text);

// A date as the program writes it: "2009-03-31"; empty text for no date.
QString dateText(const QDate& date);

} // namespace korven
