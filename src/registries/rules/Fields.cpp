#include "registries/rules/Fields.h"

#include "core/DateText.h"
#include "core/NumberFormat.h"

#include <cmath>
#include <limits>

namespace korven::registries {

FieldInfo fieldInfo(const char* column, const char* label, FieldKind kind, int width, Page page) {
    FieldInfo f;
    f.column = QString::fromLatin1(column);
    f.label = QString::fromUtf8(label);
    f.kind = kind;
    f.width = width;
    f.page = page;
    return f;
}

std::optional<double> parseNumber(const QString& text) {
    double v = 0;
    if (!korven::parseNumber(text, v, QLocale::c())) return std::nullopt;
    return v;
}

QString cutToWidth(const QString& text, int width) {
    if (width <= 0 || text.size() <= width) return text;
    return text.left(width);
}

namespace {

QString trimEnd(const QString& s) {
    qsizetype end = s.size();
    while (end > 0 && s[end - 1].isSpace())
        --end;
    return s.left(end);
}

// The largest magnitude a column keeps: 10^(digits-scale) - 10^-scale, or the 32-bit range.
double columnLimit(const FieldInfo& f) {
    if (f.width <= 0) return static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return std::pow(10.0, f.width - f.scale) - std::pow(10.0, -f.scale);
}

Conversion refuse(const QString& message) {
    Conversion c;
    c.ok = false;
    c.message = message;
    return c;
}

} // namespace

Conversion convertInput(const FieldInfo& field, const QString& typed) {
    Conversion c;
    switch (field.kind) {
    case FieldKind::Text: {
        QString t = trimEnd(typed);
        if (field.upper) t = t.toUpper();
        c.value = db::Value(cutToWidth(t, field.width));
        return c;
    }
    case FieldKind::Integer:
    case FieldKind::Decimal: {
        if (typed.trimmed().isEmpty()) return c; // null, read back as 0
        std::optional<double> v = parseNumber(typed);
        if (!v)
            return refuse(QStringLiteral("Pole \"%1\": \"%2\" nie jest poprawną liczbą ...")
                              .arg(field.label, typed.trimmed()));
        if (field.kind == FieldKind::Integer && *v != std::trunc(*v))
            return refuse(
                QStringLiteral("Pole \"%1\": wartość musi być liczbą całkowitą ...").arg(field.label));
        db::Decimal d = db::Decimal::fromDouble(*v, field.kind == FieldKind::Integer ? 0 : field.scale);
        if (std::abs(d.toDouble()) > columnLimit(field) + 1e-9)
            return refuse(valueTooLargeMessage(field.label, columnLimit(field),
                                               field.kind == FieldKind::Integer ? 0 : field.scale));
        if (field.kind == FieldKind::Integer)
            c.value = db::Value(static_cast<std::int64_t>(d.units));
        else
            c.value = db::Value(d);
        return c;
    }
    case FieldKind::Date: {
        if (typed.trimmed().isEmpty()) return c; // no date
        std::optional<QDate> d = korven::parseDate(typed);
        if (!d)
            return refuse(QStringLiteral("Pole \"%1\": \"%2\" nie jest poprawną datą (rrrr-mm-dd) ...")
                              .arg(field.label, typed.trimmed()));
        c.value = db::Value(*d);
        return c;
    }
    }
    return c;
}

QString editText(const FieldInfo& field, const db::Value& value) {
    if (value.isNull()) return QString();
    switch (field.kind) {
    case FieldKind::Text:
        return value.toText();
    case FieldKind::Integer:
        return QString::number(value.toInt());
    case FieldKind::Decimal: {
        // As stored: the column's decimals without trailing zeros ("0.25", "30").
        QString s = value.toDecimal(field.scale).toString();
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        }
        return s;
    }
    case FieldKind::Date:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    }
    return QString();
}

QString displayText(const FieldInfo& field, const db::Value& value, const QLocale& locale) {
    if (field.kind == FieldKind::Decimal && field.displayDecimals >= 0) {
        if (value.isNull()) return QString();
        return formatNumber(value.toDecimal(field.scale).toDouble(), kDisplayPrecision, field.displayDecimals,
                            locale);
    }
    QString s = editText(field, value);
    if (field.kind == FieldKind::Decimal) s.replace(QLatin1Char('.'), locale.decimalPoint());
    return s;
}

} // namespace korven::registries
