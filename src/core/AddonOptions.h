#pragma once

#include <QMap>
#include <QString>

namespace korven {

// The switches and numbers of the optional additions, kept as key/value rows of FJ_OPCJE. A key
// that has no row takes its default; everything that could surprise a unit used to the program
// without the additions is off by default.
struct AddonOptions {
    bool plausibilityChecks = false;  // warnings about doubtful values when a trip card is saved
    bool serviceDueByCounter = false; // services with a planned counter fall due by the odometer too
    int serviceCounterMargin = 500;   // km before the planned counter at which such a service is due

    bool operator==(const AddonOptions&) const = default;
};

namespace addon_keys {
inline const QString plausibilityChecks = QStringLiteral("KONTROLA_WIARYGODNOSCI");
inline const QString serviceDueByCounter = QStringLiteral("OBSLUGI_WG_LICZNIKA");
inline const QString serviceCounterMargin = QStringLiteral("OBSLUGI_MARGINES_KM");
} // namespace addon_keys

// The largest margin the settings accept, in km.
inline constexpr int maxServiceCounterMargin = 100000;

// The options from the rows read (key -> value). Flags are "T" for on; anything else is off. A
// margin that is not a whole number from 0 to maxServiceCounterMargin takes its default.
AddonOptions addonOptionsFrom(const QMap<QString, QString>& rows);

// The rows that store the options, one per key.
QMap<QString, QString> addonOptionRows(const AddonOptions& options);

// The margin as typed in the settings window: a whole number from 0 to maxServiceCounterMargin, or
// an error text naming the field.
struct MarginOutcome {
    int value = 0;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
MarginOutcome parseServiceCounterMargin(const QString& typed);

} // namespace korven
