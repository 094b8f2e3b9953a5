#pragma once

#include "core/SystemSettings.h"
#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/FieldEvents.h"
#include "tripcards/rules/VehicleContext.h"

#include <QLocale>
#include <QMap>
#include <QString>

namespace korven::tripcards {

// Texts of the two settlement windows and the parameters of the printed settlement. No database and
// no widgets: the windows show what these return.

// "Szczegółowe Dane Karty Drogowej" (by norms) or "... z Paliwomierzem" (by meter), filled and cut
// to 80 characters, then the working period.
QString settlementCaption(SettlementMode mode, const SystemSettings& settings);
// The bold heading of the card: trimmed vehicle name, " - ", trimmed registration number.
QString settlementHeading(const VehicleContext& vehicle);
// The report project of the printed settlement, a name inside the reports folder.
QString settlementReportFile(SettlementMode mode);

// "firma", "od", "osoba", "logo", "kto", "dataD", "kodd", the card's values in their number displays
// and the result label texts "tresc1" (fuel) and "tresc2" (oil). By norms every allowance with its
// multiplier, settled and to-settle values; by meter the meter readings instead. The allowances,
// MASAPR, DODATKIP, RAZEMP, PRZEPALP and PRZEPALO print as empty text when they are 0.
QMap<QString, QString> settlementReportParameters(const CardRecord& card, const VehicleContext& vehicle,
                                                  const SystemSettings& settings, const QString& operatorName,
                                                  SettlementMode mode, const QLocale& locale = QLocale());

} // namespace korven::tripcards
