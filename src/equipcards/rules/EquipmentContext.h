#pragma once

#include <QString>

namespace korven::equipcards {

// What the equipment card register copies from the machine that is current in the equipment registry
// when it opens. The names are those of the A_SPRZET columns the values come from; texts are held
// trimmed and cut to their widths (normalised()); the capacities are text in general format.
struct EquipmentContext {
    int KODS = 0;
    QString NRREJ;         // 10
    QString NAZWA;         // 40
    double NORMPAL = 0;    // fuel norm, litres per minute
    double NORMOLM = 0;    // mixture oil norm, applied to the actual fuel
    double NORMOLS = 0;    // chain oil norm, applied to the actual fuel
    QString RODZSILN;      // engine kind: "2" two-stroke, "4" four-stroke
    QString NROPER;        // 20
    QString RODZPAL;       // 2
    QString POJ_ZBIO;      // tank capacity, 10
    QString POJ_KANI;      // canister capacity, 10
    QString totalCapacity; // canisters plus tanks, general format, 10
    QString NRIDENT;       // 20
    QString NRFABR;        // 30
    QString NRPOD;         // 20

    EquipmentContext normalised() const;
};

// How the engine kind of a machine decides its oil: a two-stroke engine settles mixture and chain oil,
// a four-stroke one has none; any other value is not known.
enum class EngineKind { TwoStroke, FourStroke, Unknown };
EngineKind engineKind(const QString& RODZSILN);

} // namespace korven::equipcards
