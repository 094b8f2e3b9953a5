#pragma once

#include <QJsonObject>
#include <QString>

namespace korven::tripcards {

// The settlement rules driven by one JSON object, for checking them from outside a window
// (korven-cli settle):
//
//   {"vehicle": {"RODZPAL": "ON", "NORMPAL": 30, ...},     vehicle context, by A_AUTO column names
//    "meter": false,                                      card by fuel meter (default: CZY_MIERNIK)
//    "card": {"NORMAP": 30, "DATAD": "2009-06-15", ...},  card columns; a missing one is 0 or empty
//    "events": [["PRZEBIEGM", 1000], ..., ["PRZELICZ"]],  fields left with a typed value, the button
//    "history": [310, 295, ...]}                          optional: the vehicle's earlier months' km
//
// answers {"card": {every column}, "labels": {"PRZEPALP": ..., "PRZEPALO": ...}, "warnings": [...],
// "error": null}. "warnings" holds the doubts about the settled card the window asks about when the
// plausibility checks are on (a month beyond the vehicle's history only when "history" is given);
// they never stop the settlement.
// A value given as text in an event is read as typed into the field (a point as decimal separator, a
// date as year-month-day); text that is refused leaves the card as it was. "error" holds the first
// message an event produced (an arithmetic error, a refused value), or null; later events still run,
// as the operator goes on in the window after a message.
struct SettleAnswer {
    QJsonObject response;
    QString requestError; // the request itself is malformed; there is no response then
    bool ok() const { return requestError.isEmpty(); }
};

SettleAnswer settleJson(const QJsonObject& request);

} // namespace korven::tripcards
