#include "equipcards/rules/EquipmentContext.h"

namespace korven::equipcards {

EquipmentContext EquipmentContext::normalised() const {
    EquipmentContext c = *this;
    auto cut = [](QString& s, int width) { s = s.trimmed().left(width); };
    cut(c.NRREJ, 10);
    cut(c.NAZWA, 40);
    cut(c.RODZSILN, 1);
    cut(c.NROPER, 20);
    cut(c.RODZPAL, 2);
    cut(c.POJ_ZBIO, 10);
    cut(c.POJ_KANI, 10);
    cut(c.totalCapacity, 10);
    cut(c.NRIDENT, 20);
    cut(c.NRFABR, 30);
    cut(c.NRPOD, 20);
    return c;
}

EngineKind engineKind(const QString& RODZSILN) {
    const QString kind = RODZSILN.trimmed();
    if (kind == QLatin1String("2")) return EngineKind::TwoStroke;
    if (kind == QLatin1String("4")) return EngineKind::FourStroke;
    return EngineKind::Unknown;
}

} // namespace korven::equipcards
