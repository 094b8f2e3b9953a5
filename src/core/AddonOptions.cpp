#include "core/AddonOptions.h"

namespace korven {

namespace {

bool flag(const QMap<QString, QString>& rows, const QString& key) {
    return rows.value(key).trimmed().toUpper() == QLatin1String("T");
}

QString flagText(bool on) {
    return on ? QStringLiteral("T") : QStringLiteral("N");
}

} // namespace

AddonOptions addonOptionsFrom(const QMap<QString, QString>& rows) {
    AddonOptions o;
    o.plausibilityChecks = flag(rows, addon_keys::plausibilityChecks);
    o.serviceDueByCounter = flag(rows, addon_keys::serviceDueByCounter);
    if (rows.contains(addon_keys::serviceCounterMargin)) {
        const MarginOutcome m = parseServiceCounterMargin(rows.value(addon_keys::serviceCounterMargin));
        if (m.ok()) o.serviceCounterMargin = m.value;
    }
    return o;
}

QMap<QString, QString> addonOptionRows(const AddonOptions& options) {
    return {{addon_keys::plausibilityChecks, flagText(options.plausibilityChecks)},
            {addon_keys::serviceDueByCounter, flagText(options.serviceDueByCounter)},
            {addon_keys::serviceCounterMargin, QString::number(options.serviceCounterMargin)}};
}

MarginOutcome parseServiceCounterMargin(const QString& typed) {
    MarginOutcome m;
    bool ok = false;
    const int value = typed.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > maxServiceCounterMargin) {
        m.error = QStringLiteral("Margines obsługi wg licznika [km]: wpisz liczbę całkowitą od 0 do %1.")
                      .arg(maxServiceCounterMargin);
        return m;
    }
    m.value = value;
    return m;
}

} // namespace korven
