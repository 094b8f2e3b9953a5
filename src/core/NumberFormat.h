#pragma once

#include <QLocale>
#include <QString>

namespace korven {

// The number display "N p.d": thousands separators and the locale's decimal separator, d decimals,
// the value first rounded to at most p significant digits; a value with more than p whole digits is
// shown in scientific notation. Zero is shown with its decimals ("0,00").
QString formatNumber(double value, int precision, int decimals, const QLocale& locale = QLocale());

// The same, but empty text when the value is 0 (the report and list columns that hide zeros).
QString formatNumberOrEmpty(double value, int precision, int decimals, const QLocale& locale = QLocale());

// A number in general format: up to 15 significant digits, the locale's decimal separator, no
// thousands separators.
QString formatGeneral(double value, const QLocale& locale = QLocale());

// Reads a number typed by the operator: either '.' or ',' as the decimal separator, blanks and the
// locale's group separator ignored. Returns false for anything else.
bool parseNumber(const QString& text, double& value, const QLocale& locale = QLocale());

// The refusal of a value that its column cannot keep, told with the field's caption and the largest
// value in display format: "Faktyczne zużycie paliwa: największa wartość 21 474 836,47".
QString valueTooLargeMessage(const QString& caption, double largest, int decimals,
                             const QLocale& locale = QLocale());

} // namespace korven
