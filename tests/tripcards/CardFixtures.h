#pragma once

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/VehicleContext.h"

namespace korven::tripcards::test {

// The diesel vehicle of the worked example: basic norm 30 l/100 km, MN_POS 60 and MN_MIE 10, so
// DODPOS_1 = 0.5 l/min and DODMIE_1 = 0.03 l/km; oil norm 0.5 %.
inline VehicleContext dieselVehicle(double norm = 30) {
    VehicleContext v;
    v.RODZPAL = QStringLiteral("ON");
    v.NORMPAL = norm;
    return v;
}

inline VehicleContext petrolVehicle(double norm) {
    VehicleContext v;
    v.RODZPAL = QStringLiteral("ET");
    v.NORMPAL = norm;
    return v;
}

inline CardRecord exampleCard() {
    CardRecord c;
    c.NORMAP = 30;
    c.NORMAO = 0.5;
    c.DODPOS_1 = 0.5;
    c.DODMIE_1 = 0.03;
    c.DATAD = QDate(2009, 6, 15);
    return c;
}

} // namespace korven::tripcards::test
