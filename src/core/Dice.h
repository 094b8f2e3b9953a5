#pragma once

#include <cmath>
#include <cstdint>

namespace korven {

// A small deterministic generator for the demo data, so that a demo database looks the same every
// time.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    // A whole number from lo to hi inclusive.
    int between(int lo, int hi) {
        state_ = state_ * 1664525u + 1013904223u;
        return lo + static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
    }
    // A factor from lo to hi in hundredths.
    double factor(double lo, double hi) {
        return between(static_cast<int>(std::lround(lo * 100)), static_cast<int>(std::lround(hi * 100))) /
               100.0;
    }

private:
    std::uint32_t state_;
};

} // namespace korven
