#include "technical/rules/SettingsForm.h"

#include "core/NumberFormat.h"

#include <cmath>

namespace korven::technical {

namespace {

using T = SettingsTab;
using K = FieldKind;

constexpr SettingsField fields[] = {
    {"NAZWASKR", "Nazwa skrócona Firmy ", T::General, K::Text, 40},
    {"ROK", "Aktualny rok", T::General, K::Integer, 99},
    {"LOGO", "Logo Firmy", T::General, K::Text, 50},
    {"NAZWAP1", "Nazwa Firmy1", T::Company, K::Text, 50},
    {"NAZWAP2", "Nazwa Firmy2", T::Company, K::Text, 50},
    {"NIP", "NIP", T::Company, K::Text, 13},
    {"REGON", "REGON", T::Company, K::Text, 14},
    {"KRAJ", "kraj", T::Company, K::Text, 20},
    {"WOJEW", "województwo", T::Company, K::Text, 20},
    {"POWIAT", "powiat", T::Company, K::Text, 20},
    {"GMINA", "gmina", T::Company, K::Text, 20},
    {"ULICA", "ulica", T::Company, K::Text, 20},
    {"NRDOM", "nr domu", T::Company, K::Text, 5},
    {"NRLOK", "nr lokalu", T::Company, K::Text, 5},
    {"MIEJSC", "miejscowość", T::Company, K::Text, 20},
    {"KODP", "kod pocztowy", T::Company, K::Text, 6},
    {"POCZTA", "poczta", T::Company, K::Text, 20},
    {"MER", "Sprawdził pod względem merytorycznym :", T::Signatures, K::Text, 60},
    {"RAC", "Sprawdził pod względem rachunkowym :", T::Signatures, K::Text, 60},
    {"GLK", "Zatwierdził:", T::Signatures, K::Text, 60},
    {"DYR", "Komendant:", T::Signatures, K::Text, 60},
    {"SPO", "Sporządził:", T::Signatures, K::Text, 60},
    {"MN_POS", "Praca silnika na postoju", T::Multipliers, K::Decimal, 0},
    {"MN_MIE", "Jazda w warunkach miejskich [%]", T::Multipliers, K::Decimal, 0},
    {"MN_ALA", "Dodatek Alarmowy [%]", T::Multipliers, K::Decimal, 0},
    {"MN_GOROS", "Dodatek Górski - Auta Osobowe [%]", T::Multipliers, K::Decimal, 0},
    {"MN_GORPOZ", "Dodatek Górski - Auta Pozostałe [%]", T::Multipliers, K::Decimal, 0},
    {"MN_OZ", "Dodatek Oz (krótkie trasy) [%]", T::Multipliers, K::Decimal, 0},
    {"MN_KLI", "Dodatek Klimatyzacja [%]", T::Multipliers, K::Decimal, 0},
    {"MN_TER", "Dodatek Terenowy (ciężki teren) [%]", T::Multipliers, K::Decimal, 0},
    {"MN_ZIM", "Dodatek Zimowy [%]", T::Multipliers, K::Decimal, 0},
    {"MN_SZK", "Dodatek Szkoleniowy [%]", T::Multipliers, K::Decimal, 0},
    {"MN_HOLON", "Dodatek Holowniczy ON [%]", T::Multipliers, K::Decimal, 0},
    {"MN_HOLET", "Dodatek Holowniczy ET [%]", T::Multipliers, K::Decimal, 0},
    {"NORMA_OON", "Norma zużycia oleju silnikowego [%] ON", T::Multipliers, K::Decimal, 0},
    {"NORMA_OET", "Norma zużycia oleju silnikowego [%] Etylina", T::Multipliers, K::Decimal, 0},
    // The first numbers are limited by their columns (and the card numbers they start).
    {"POCZNR", "Początkowy nr Karty Drogowej", T::Multipliers, K::Integer, 999999999},
    {"POCZNRS", "Początkowy nr Karty Sprzętowej", T::Multipliers, K::Integer, 9999},
};

// The multipliers are kept with 4 decimals in columns of 9 digits.
constexpr double decimalLimit = 100000;

QString* textOf(SystemSettings& s, const QString& c) {
    static const QMap<QString, QString SystemSettings::*> map{{"NAZWASKR", &SystemSettings::NAZWASKR},
                                                              {"LOGO", &SystemSettings::LOGO},
                                                              {"NAZWAP1", &SystemSettings::NAZWAP1},
                                                              {"NAZWAP2", &SystemSettings::NAZWAP2},
                                                              {"NIP", &SystemSettings::NIP},
                                                              {"REGON", &SystemSettings::REGON},
                                                              {"KRAJ", &SystemSettings::KRAJ},
                                                              {"WOJEW", &SystemSettings::WOJEW},
                                                              {"POWIAT", &SystemSettings::POWIAT},
                                                              {"GMINA", &SystemSettings::GMINA},
                                                              {"ULICA", &SystemSettings::ULICA},
                                                              {"NRDOM", &SystemSettings::NRDOM},
                                                              {"NRLOK", &SystemSettings::NRLOK},
                                                              {"MIEJSC", &SystemSettings::MIEJSC},
                                                              {"KODP", &SystemSettings::KODP},
                                                              {"POCZTA", &SystemSettings::POCZTA},
                                                              {"MER", &SystemSettings::MER},
                                                              {"RAC", &SystemSettings::RAC},
                                                              {"GLK", &SystemSettings::GLK},
                                                              {"DYR", &SystemSettings::DYR},
                                                              {"SPO", &SystemSettings::SPO}};
    auto it = map.find(c);
    return it == map.end() ? nullptr : &(s.*(*it));
}

int* integerOf(SystemSettings& s, const QString& c) {
    if (c == QLatin1String("ROK")) return &s.ROK;
    if (c == QLatin1String("POCZNR")) return &s.POCZNR;
    if (c == QLatin1String("POCZNRS")) return &s.POCZNRS;
    return nullptr;
}

double* decimalOf(SystemSettings& s, const QString& c) {
    static const QMap<QString, double SystemSettings::*> map{
        {"MN_POS", &SystemSettings::MN_POS},       {"MN_MIE", &SystemSettings::MN_MIE},
        {"MN_ALA", &SystemSettings::MN_ALA},       {"MN_GOROS", &SystemSettings::MN_GOROS},
        {"MN_GORPOZ", &SystemSettings::MN_GORPOZ}, {"MN_OZ", &SystemSettings::MN_OZ},
        {"MN_KLI", &SystemSettings::MN_KLI},       {"MN_TER", &SystemSettings::MN_TER},
        {"MN_ZIM", &SystemSettings::MN_ZIM},       {"MN_SZK", &SystemSettings::MN_SZK},
        {"MN_HOLON", &SystemSettings::MN_HOLON},   {"MN_HOLET", &SystemSettings::MN_HOLET},
        {"NORMA_OON", &SystemSettings::NORMA_OON}, {"NORMA_OET", &SystemSettings::NORMA_OET}};
    auto it = map.find(c);
    return it == map.end() ? nullptr : &(s.*(*it));
}

QString invalid(const SettingsField& f, const QString& text) {
    return QStringLiteral("„%1” nie jest poprawną wartością pola „%2”. Dane nie zostały zapisane.")
        .arg(text, QString::fromUtf8(f.label).trimmed());
}

} // namespace

std::span<const SettingsField> settingsFields() {
    return fields;
}

QString fieldText(const SystemSettings& settings, const SettingsField& field, const QLocale& locale) {
    SystemSettings s = settings;
    const QString column = QLatin1String(field.column);
    switch (field.kind) {
    case FieldKind::Text:
        return *textOf(s, column);
    case FieldKind::Integer:
        return QString::number(*integerOf(s, column));
    case FieldKind::Decimal:
        return formatGeneral(*decimalOf(s, column), locale);
    }
    return {};
}

SettingsOutcome applySettingsForm(const SystemSettings& read, const QMap<QString, QString>& typed,
                                  const SettingsSwitches& switches, const QLocale& locale) {
    SettingsOutcome out;
    out.settings = read;
    SystemSettings& s = out.settings;
    for (const SettingsField& f : fields) {
        const QString column = QLatin1String(f.column);
        auto it = typed.find(column);
        if (it == typed.end()) continue;
        const QString& text = *it;
        switch (f.kind) {
        case FieldKind::Text:
            *textOf(s, column) = text.left(f.width);
            break;
        case FieldKind::Integer: {
            bool ok = false;
            const int value = text.trimmed().toInt(&ok);
            if (!ok || value < 0 || value > f.width) {
                out.error = invalid(f, text);
                return out;
            }
            *integerOf(s, column) = value;
            break;
        }
        case FieldKind::Decimal: {
            double value = 0;
            if (!parseNumber(text, value, locale) || !(std::fabs(value) < decimalLimit)) {
                out.error = invalid(f, text);
                return out;
            }
            *decimalOf(s, column) = std::round(value * 10000) / 10000;
            break;
        }
        }
    }
    auto flag = [](bool on) { return on ? QStringLiteral("T") : QStringLiteral("N"); };
    s.P6P12 = flag(switches.P6P12);
    s.ZAPI = flag(switches.ZAPI);
    s.DZWIEK = flag(switches.DZWIEK);
    return out;
}

QString logoPathTooLong(const QString& path, int width) {
    return QStringLiteral("Ścieżka pliku logo jest dłuższa niż %1 znaków:\n%2\n\nPrzenieś plik do folderu o "
                          "krótszej ścieżce i wybierz go ponownie.")
        .arg(width)
        .arg(path);
}

QString connectionsText(int ILE) {
    return QStringLiteral("Ilość podlączeń do bazy: %1").arg(ILE);
}

QString programVersion() {
    return QStringLiteral("v.1.36a");
}

QString tripCardsRepairedCaption() {
    return QStringLiteral("Karty Pracy Pojazdu jest OK !!!");
}

QString equipmentRepairedCaption() {
    return QStringLiteral("Karty Pracy Sprzętu jest OK !!!");
}

} // namespace korven::technical
