#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace korven::db {

// An exact decimal as the database keeps it: a whole number of units of 10^-scale.
struct Decimal {
    std::int64_t units = 0;
    int scale = 0; // decimal places, 0..18

    double toDouble() const;
    QString toString() const; // "-12.50" style, always with `scale` decimals
    // Rounds half away from zero; values that are decimal fractions land exactly.
    static Decimal fromDouble(double value, int scale);
    friend bool operator==(const Decimal&, const Decimal&) = default;
};

// One value read from or sent to the database. A null number reads as 0, a null text as "".
class Value {
public:
    enum class Kind { Null, Integer, Decimal, Double, Text, Date, Timestamp, Boolean };

    Value() = default;
    Value(int v) : kind_(Kind::Integer), int_(v) {}
    Value(std::int64_t v) : kind_(Kind::Integer), int_(v) {}
    Value(double v) : kind_(Kind::Double), double_(v) {}
    Value(Decimal v) : kind_(Kind::Decimal), int_(v.units), scale_(v.scale) {}
    Value(const QString& v) : kind_(Kind::Text), text_(v) {}
    Value(const char* v) : kind_(Kind::Text), text_(QString::fromUtf8(v)) {}
    Value(QDate v) : kind_(v.isValid() ? Kind::Date : Kind::Null), dateTime_(v.startOfDay()) {}
    Value(const QDateTime& v) : kind_(v.isValid() ? Kind::Timestamp : Kind::Null), dateTime_(v) {}
    Value(bool v) : kind_(Kind::Boolean), int_(v ? 1 : 0) {}

    static Value null() { return Value(); }

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }

    std::int64_t toInt() const; // decimals and doubles rounded half away from zero; text parsed
    double toDouble() const;    // text parsed with '.' as decimal separator
    Decimal toDecimal(int scale) const;
    QString toText() const; // numbers in plain C notation, dates as yyyy-MM-dd
    QDate toDate() const;
    QDateTime toDateTime() const;
    bool toBool() const;
    // The value as a QVariant: null stays null, whole numbers (decimals without a scale too) become
    // qlonglong, other numbers double, dates and texts their own types.
    QVariant toVariant() const;

    // Raw access for the database layer.
    std::int64_t rawUnits() const { return int_; }
    int rawScale() const { return scale_; }

private:
    Kind kind_ = Kind::Null;
    std::int64_t int_ = 0;
    int scale_ = 0;
    double double_ = 0;
    QString text_;
    QDateTime dateTime_;
};

} // namespace korven::db
