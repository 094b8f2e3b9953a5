#pragma once

#include <QString>

namespace korven {

// "Styczeń " ... "Grudzień " for 1..12 (each ending in one blank), "Bil.Otw. " for 0, and 15 dashes
// for anything else.
QString monthName(int month);

// The number right-aligned in two characters with a leading zero ("09"); longer numbers keep their
// first two characters.
QString twoDigits(int n);

// Days of a month of a two-digit year; February has 29 days when the two-digit year divides by 4.
int daysInMonth(int year, int month);

// The ending of every window title that shows the working period: "Marzec 2009".
QString titleSuffix(int year, int month);

// Text filled with blanks and cut to exactly the given length, as window titles are built.
QString padCut(const QString& text, int length);

} // namespace korven
