#pragma once

#include "core/Rounding.h"

namespace korven {

// A number held the way a DECIMAL column of the given scale holds it: every value assigned is
// rounded to the column's scale at once, so that a record in memory never carries more decimals than
// the database would keep. Reading gives a plain double, so arithmetic is done in double precision and
// only the assignment rounds. Comparisons and signs of such values are therefore those of the exact
// decimals (two nearest doubles of two decimals compare as the decimals do).
template <int Scale> class Decimal {
public:
    static constexpr int scale = Scale;

    constexpr Decimal() = default;
    Decimal(double value) : m_value(store(value)) {}
    Decimal& operator=(double value) {
        m_value = store(value);
        return *this;
    }
    operator double() const { return m_value; }
    double value() const { return m_value; }

private:
    static double store(double value) {
        const double rounded = roundToScale(value, Scale);
        // A stored decimal has no negative zero; keep -0 from showing up as "-0" anywhere.
        return rounded == 0 ? 0.0 : rounded;
    }
    double m_value = 0;
};

} // namespace korven
