#include "core/Rounding.h"

#include <cmath>

namespace korven {

namespace {
double roundWithOffset(double x, double factor) {
    double product = x * factor;
    if (product >= 0)
        product += 0.50001;
    else
        product -= 0.50001;
    return std::trunc(product) / factor;
}
} // namespace

double R1(double x) {
    return roundWithOffset(x, 10.0);
}
double R2(double x) {
    return roundWithOffset(x, 100.0);
}
double R5(double x) {
    return roundWithOffset(x, 100000.0);
}

double R0(double x) {
    double product = x * 10.0;
    if (product >= 0)
        product += 5.0;
    else
        product -= 5.0;
    return std::trunc(std::trunc(product) / 10.0);
}

double roundToScale(double x, int scale) {
    double factor = std::pow(10.0, scale);
    // The product of a decimal fraction and its factor lands within a few ulps of a whole number
    // (2.675 * 100 = 267.49999999999997); nudging by a tiny relative amount before rounding keeps
    // such values on the decimal they were meant to be.
    double product = x * factor;
    double nudge = std::abs(product) * 1e-12;
    return std::round(product >= 0 ? product + nudge : product - nudge) / factor;
}

} // namespace korven
