#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace korven {

// The size of a demo database: how many vehicles and machines, how many months of settled cards
// before the working period, and the seed that varies the numbers. The default is the small unit of
// the ordinary demo; seed 0 gives exactly the cards that demo always had.
struct DemoScale {
    int vehicles = 36;
    int machines = 28;
    int months = 12;
    std::uint32_t seed = 0;
    // Told what is being loaded now, for a line on the terminal; may be empty.
    std::function<void(const QString& stage)> progress;

    // The dice seed of one card: the card's own number mixed with the demo seed.
    std::uint32_t dice(std::uint32_t base) const { return base ^ (seed * 0x9E3779B9u); }
    void report(const QString& stage) const {
        if (progress) progress(stage);
    }
};

// A whole country: 5,000 vehicles, 5,000 machines and ten years of monthly cards of both kinds.
inline DemoScale nationalScale(std::uint32_t seed) {
    DemoScale s;
    s.vehicles = 5000;
    s.machines = 5000;
    s.months = 120;
    s.seed = seed;
    return s;
}

} // namespace korven
