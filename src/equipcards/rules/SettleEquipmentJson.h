#pragma once

#include <QJsonObject>

namespace korven::equipcards {

// The settlement rules of an equipment work card driven by one JSON object (korven-cli
// settle-equipment):
//
//   {"engine": "2",                                   engine kind of the machine ("2", "4", other)
//    "card": {"CZAS": 0, "NORMAPAL": 0.105, ...},     A_KARTAS columns; a missing one is 0 or empty
//    "events": [["CZAS", 125], ["ZUZYCIEPALF", 10.04], ["PRZELICZ"]]}
//
// Each event sets a field as leaving it in the window does (a text is read as typed, with a point as
// the decimal separator and dates as year-month-day); "PRZELICZ" is the recompute button. The answer
// is {"card": {every A_KARTAS column}, "label": "Oszczędność (+)" or "Przepał (-)", "error": null}.
// A malformed request, a value a field refuses or a result beyond its column ends the run: "error"
// says why (with "card" as it stood then, or null when the request itself is malformed) and ok is
// false.
struct SettleEquipmentAnswer {
    QJsonObject response;
    bool ok = true;
};

SettleEquipmentAnswer settleEquipmentJson(const QJsonObject& request);

} // namespace korven::equipcards
