#include "db/Value.h"

#include <cmath>

namespace korven::db {

namespace {
std::int64_t pow10(int n) {
    std::int64_t r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

std::int64_t roundHalfAway(double v) {
    // Decimal fractions multiplied by their factor land within a few ulps of a whole number;
    // the tiny relative nudge keeps 2.675 * 100 on 268 rather than 267.
    double nudge = std::abs(v) * 1e-12;
    return static_cast<std::int64_t>(std::llround(v >= 0 ? v + nudge : v - nudge));
}
} // namespace

double Decimal::toDouble() const {
    return static_cast<double>(units) / static_cast<double>(pow10(scale));
}

QString Decimal::toString() const {
    if (scale == 0) return QString::number(units);
    std::int64_t f = pow10(scale);
    std::uint64_t absUnits = units < 0 ? static_cast<std::uint64_t>(-(units + 1)) + 1 : units;
    QString whole = QString::number(absUnits / static_cast<std::uint64_t>(f));
    QString frac =
        QString::number(absUnits % static_cast<std::uint64_t>(f)).rightJustified(scale, QLatin1Char('0'));
    return (units < 0 ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + frac;
}

Decimal Decimal::fromDouble(double value, int scale) {
    return Decimal{roundHalfAway(value * static_cast<double>(pow10(scale))), scale};
}

std::int64_t Value::toInt() const {
    switch (kind_) {
    case Kind::Integer:
    case Kind::Boolean:
        return int_;
    case Kind::Decimal: {
        if (scale_ == 0) return int_;
        return roundHalfAway(Decimal{int_, scale_}.toDouble());
    }
    case Kind::Double:
        return roundHalfAway(double_);
    case Kind::Text: {
        bool ok = false;
        qlonglong v = text_.trimmed().toLongLong(&ok);
        if (ok) return v;
        return roundHalfAway(text_.trimmed().toDouble());
    }
    default:
        return 0;
    }
}

double Value::toDouble() const {
    switch (kind_) {
    case Kind::Integer:
    case Kind::Boolean:
        return static_cast<double>(int_);
    case Kind::Decimal:
        return Decimal{int_, scale_}.toDouble();
    case Kind::Double:
        return double_;
    case Kind::Text:
        return text_.trimmed().toDouble();
    default:
        return 0;
    }
}

Decimal Value::toDecimal(int scale) const {
    if (kind_ == Kind::Decimal && scale_ == scale) return Decimal{int_, scale_};
    if (kind_ == Kind::Integer) return Decimal{int_ * pow10(scale), scale};
    if (kind_ == Kind::Decimal && scale_ < scale) return Decimal{int_ * pow10(scale - scale_), scale};
    return Decimal::fromDouble(toDouble(), scale);
}

QString Value::toText() const {
    switch (kind_) {
    case Kind::Text:
        return text_;
    case Kind::Integer:
        return QString::number(int_);
    case Kind::Decimal:
        return Decimal{int_, scale_}.toString();
    case Kind::Double:
        return QString::number(double_, 'g', 17);
    case Kind::Date:
        return dateTime_.date().toString(Qt::ISODate);
    case Kind::Timestamp:
        return dateTime_.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Kind::Boolean:
        return int_ ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QString();
    }
}

QDate Value::toDate() const {
    if (kind_ == Kind::Date || kind_ == Kind::Timestamp) return dateTime_.date();
    if (kind_ == Kind::Text) return QDate::fromString(text_.trimmed(), Qt::ISODate);
    return QDate();
}

QDateTime Value::toDateTime() const {
    if (kind_ == Kind::Date || kind_ == Kind::Timestamp) return dateTime_;
    return QDateTime();
}

bool Value::toBool() const {
    return toInt() != 0;
}

QVariant Value::toVariant() const {
    const Value& v = *this;
    switch (v.kind()) {
    case Value::Kind::Null:
        return QVariant();
    case Value::Kind::Integer:
        return QVariant::fromValue<qlonglong>(v.toInt());
    case Value::Kind::Decimal:
        return v.rawScale() == 0 ? QVariant::fromValue<qlonglong>(v.toInt()) : QVariant(v.toDouble());
    case Value::Kind::Double:
        return v.toDouble();
    case Value::Kind::Date:
        return v.toDate();
    case Value::Kind::Timestamp:
        return v.toDateTime();
    case Value::Kind::Boolean:
        return v.toBool();
    case Value::Kind::Text:
        return v.toText();
    }
    return QVariant();
}

} // namespace korven::db
