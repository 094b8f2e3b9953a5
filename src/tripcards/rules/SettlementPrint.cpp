#include "tripcards/rules/SettlementPrint.h"

#include "core/NumberFormat.h"
#include "core/Period.h"
#include "tripcards/rules/Settlement.h"

namespace korven::tripcards {

QString settlementCaption(SettlementMode mode, const SystemSettings& settings) {
    const QString title = mode == SettlementMode::Norms
                              ? QStringLiteral("Szczegółowe Dane Karty Drogowej")
                              : QStringLiteral("Szczegółowe Dane Karty Drogowej z Paliwomierzem");
    return padCut(title, 80) + titleSuffix(settings.ROK, settings.MIE);
}

QString settlementHeading(const VehicleContext& vehicle) {
    return vehicle.NAZWA.trimmed() + QStringLiteral(" - ") + vehicle.NRREJ.trimmed();
}

QString settlementReportFile(SettlementMode mode) {
    return mode == SettlementMode::Norms ? QStringLiteral("Rozlicz.rav") : QStringLiteral("Rozlicz2.rav");
}

QMap<QString, QString> settlementReportParameters(const CardRecord& card, const VehicleContext& vehicle,
                                                  const SystemSettings& settings, const QString& operatorName,
                                                  SettlementMode mode, const QLocale& locale) {
    QMap<QString, QString> p;
    auto n = [&](double v, int precision, int decimals) {
        return formatNumber(v, precision, decimals, locale);
    };
    auto nz = [&](double v, int precision, int decimals) {
        return formatNumberOrEmpty(v, precision, decimals, locale);
    };
    p[QStringLiteral("firma")] = settings.NAZWASKR;
    p[QStringLiteral("od")] = monthName(settings.MIE) + QStringLiteral(" 20") + twoDigits(settings.ROK);
    p[QStringLiteral("osoba")] = operatorName;
    p[QStringLiteral("logo")] = settings.LOGO;
    p[QStringLiteral("kto")] = settlementHeading(vehicle);
    p[QStringLiteral("dataD")] =
        card.DATAD.isValid() ? card.DATAD.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    p[QStringLiteral("kodd")] = QString::number(card.KODD);

    p[QStringLiteral("normaO")] = n(card.NORMAO, 7, 2);
    p[QStringLiteral("zuzycieP")] = n(card.ZUZYCIEP, 7, 2);
    p[QStringLiteral("zuzycieO")] = n(card.ZUZYCIEO, 7, 2);
    p[QStringLiteral("zuzycieON")] = n(card.ZUZYCIEON, 7, 2);
    p[QStringLiteral("przebiegM")] = n(card.PRZEBIEGM, 7, 2);
    p[QStringLiteral("przebiegMP")] = n(card.PRZEBIEGMP, 7, 2);
    p[QStringLiteral("przebiegS")] = n(card.PRZEBIEGS, 10, 2);
    p[QStringLiteral("przebieg0")] = n(card.PRZEBIEG0, 10, 2);
    p[QStringLiteral("przebiegSP")] = n(card.PRZEBIEGSP, 10, 2);
    p[QStringLiteral("przebieg0P")] = n(card.PRZEBIEG0P, 10, 2);
    p[QStringLiteral("przepalP")] = nz(card.PRZEPALP, 7, 2);
    p[QStringLiteral("przepalO")] = nz(card.PRZEPALO, 7, 2);
    p[QStringLiteral("tresc1")] = fuelResultLabel(card).text;
    p[QStringLiteral("tresc2")] = oilResultLabel(card).text;
    p[QStringLiteral("wyjazdMZ")] = n(card.WYJAZDMZ, 4, 0);
    p[QStringLiteral("wyjazdP")] = n(card.WYJAZDP, 4, 0);
    p[QStringLiteral("wyjazdF")] = n(card.WYJAZDF, 4, 0);
    p[QStringLiteral("wyjazdIn")] = n(card.WYJAZDIN, 4, 0);

    if (mode == SettlementMode::Meter) {
        p[QStringLiteral("mier_kon")] = n(card.MIER_KON, 8, 2);
        p[QStringLiteral("mier_pocz")] = n(card.MIER_POCZ, 8, 2);
        p[QStringLiteral("zuzyciePN")] = n(card.ZUZYCIEPN, 8, 2);
        return p;
    }

    p[QStringLiteral("normaA")] = n(card.NORMAA, 7, 2);
    p[QStringLiteral("normaUG")] = n(card.NORMAUG, 7, 2);
    p[QStringLiteral("normaP")] = n(card.NORMAP, 7, 2);
    p[QStringLiteral("zuzyciePN")] = n(card.ZUZYCIEPN, 7, 2);
    // The parameter names of the allowances: "dod" and the column name after "DOD" ("dodPOS").
    for (const Allowance& a : allowances()) {
        const QString name = QStringLiteral("dod") + QLatin1String(a.base).mid(3);
        p[name] = nz(card.*a.quantity, 7, 2);
        p[name + QStringLiteral("_1")] = nz(card.*a.multiplier, 8, 5);
        p[name + QStringLiteral("_2")] = nz(card.*a.settled, 7, 2);
        p[name + QStringLiteral("_3")] = nz(card.*a.toSettle, 7, 2);
    }
    p[QStringLiteral("masaPR")] = nz(card.MASAPR, 7, 2);
    p[QStringLiteral("dodatkiP")] = nz(card.DODATKIP, 7, 2);
    p[QStringLiteral("razemP")] = nz(card.RAZEMP, 7, 2);
    return p;
}

} // namespace korven::tripcards
