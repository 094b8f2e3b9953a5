#include "core/NumberFormat.h"

#include <QRegularExpression>

#include <cmath>

namespace korven {

QString formatNumber(double value, int precision, int decimals, const QLocale& locale) {
    if (!std::isfinite(value)) return locale.toString(value);
    if (value == 0) return locale.toString(0.0, 'f', decimals);
    double magnitude = std::floor(std::log10(std::abs(value))) + 1; // whole digits
    if (magnitude > precision) return locale.toString(value, 'E', std::max(precision - 1, 0));
    // Round to the significant digits first, then show the fixed decimals.
    double rounded = QString::number(value, 'g', precision).toDouble();
    QString plain = QString::number(rounded, 'f', decimals); // C notation: "-1234567.89"
    bool negative = plain.startsWith(QLatin1Char('-'));
    if (negative) plain.remove(0, 1);
    qsizetype point = plain.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? plain : plain.left(point);
    QString fraction = point < 0 ? QString() : plain.mid(point + 1);
    // Groups of three everywhere, as the program has always shown amounts (the locale's own rule may
    // leave four-digit numbers ungrouped).
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += locale.groupSeparator();
        grouped += whole[i];
    }
    QString text = grouped;
    if (!fraction.isEmpty()) text += locale.decimalPoint() + fraction;
    bool allZero = true;
    for (QChar c : whole + fraction)
        allZero = allZero && c == QLatin1Char('0');
    return negative && !allZero ? locale.negativeSign() + text : text;
}

QString formatNumberOrEmpty(double value, int precision, int decimals, const QLocale& locale) {
    return value == 0 ? QString() : formatNumber(value, precision, decimals, locale);
}

QString formatGeneral(double value, const QLocale& locale) {
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) return locale.toString(value, 'g', 15);
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

bool parseNumber(const QString& text, double& value, const QLocale& locale) {
    QString t = text.trimmed();
    // Blanks (also the no-break blanks a locale groups digits with) may separate digit groups.
    t.remove(QLatin1Char(' '));
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    if (locale.groupSeparator() != QLatin1String(".") && locale.groupSeparator() != QLatin1String(","))
        t.remove(locale.groupSeparator());
    // Digits with at most one decimal separator; no exponents, no letters.
    static const QRegularExpression shape(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    if (!shape.match(t).hasMatch()) return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

QString valueTooLargeMessage(const QString& caption, double largest, int decimals, const QLocale& locale) {
    return QStringLiteral("%1: największa wartość %2")
        .arg(caption, formatNumber(largest, 15, decimals, locale));
}

} // namespace korven
