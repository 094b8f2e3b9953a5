#include "core/Period.h"

namespace korven {

QString monthName(int month) {
    static const char* const names[] = {"Bil.Otw. ",    "Styczeń ",  "Luty ",    "Marzec ",   "Kwiecień ",
                                        "Maj ",         "Czerwiec ", "Lipiec ",  "Sierpień ", "Wrzesień ",
                                        "Październik ", "Listopad ", "Grudzień "};
    if (month < 0 || month > 12) return QString(15, QLatin1Char('-'));
    return QString::fromUtf8(names[month]);
}

QString twoDigits(int n) {
    QString text = QString::number(n);
    if (text.size() == 1) return QLatin1Char('0') + text;
    return text.left(2);
}

int daysInMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return year % 4 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

QString titleSuffix(int year, int month) {
    return monthName(month) + QStringLiteral("20") + twoDigits(year);
}

QString padCut(const QString& text, int length) {
    return text.leftJustified(length, QLatin1Char(' '), true);
}

} // namespace korven
