#include "core/DateText.h"

#include <QRegularExpression>

namespace korven {

std::optional<QDate> parseDate(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = shape.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const int year = m.captured(1).toInt();
    if (year < 1) return std::nullopt; // "0000": there is no year 0
    const QDate d(year, m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

} // namespace korven
