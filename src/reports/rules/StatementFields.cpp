// The result tables of the statements: their fields, grid titles and display texts.

#include "reports/rules/Statements.h"

namespace korven::reports {

namespace {

FieldDef text(const char* name, int size, const char* title = "") {
    return {QString::fromUtf8(name), FieldType::Text, size, QString::fromUtf8(title), {}};
}
FieldDef integer(const char* name, const char* title = "", Display display = {}) {
    return {QString::fromUtf8(name), FieldType::Integer, 0, QString::fromUtf8(title), display};
}
FieldDef real(const char* name, const char* title = "", Display display = {}) {
    return {QString::fromUtf8(name), FieldType::Real, 0, QString::fromUtf8(title), display};
}
const Display kCard{Display::CardNumber, 0, 0};

QList<FieldDef> vehicleListFields() {
    const Display norm = numberDisplay(7, 2);
    return {integer("lp", "Lp."),
            text("nrrej", 10, "Nr Rejestr."),
            text("nazwa", 40, "Nazwa Pojazdu"),
            text("ko", 1, "KO"),
            text("komenda", 40, "Komenda"),
            text("nrjed", 10, "Nr Jednost."),
            text("ksrg", 1, "KSRG"),
            text("markapod", 20, "Marka Podwozia"),
            text("typpod", 20, "Typ Podwozia"),
            text("modelpod", 20, "Model Podwozia"),
            text("prodnad", 20, "Producent Nadwozia"),
            text("oznprod", 20, "Oznacz.Producenta"),
            text("typnad", 1, "Typ Nadwozia"),
            text("sr", 1, "SR"),
            text("so", 2, "SO"),
            text("parhar", 20, "Param.Charakter."),
            text("nrpod", 20, "Nr Podwozia"),
            text("nrsiln", 20, "Nr Silnika"),
            text("typsiln", 20, "Typ Silnika"),
            text("rpr", 4, "Rok Prod."),
            text("doekspl", 10, "Do Eksploat."),
            text("ppoj", 2, "PPOJ"),
            text("nroper", 20, "Nr Operacyjny"),
            text("rodzpal", 2, "Rodzaj paliwa"),
            real("normpal", "Norma paliwa", norm),
            real("normpom", "Norma Autopompa", norm),
            real("normug", "Norma UG", norm),
            text("rodzpoj", 40, "Rodzaj Pojazdu"),
            text("pn", 20, "PN"),
            text("grpoj", 60, "Grupa pojazdów"),
            text("klpoj", 1, "Klasy Pojazdu"),
            text("kat", 1, "Kategoria"),
            integer("ilomie", "Ilość miejsc", numberDisplay(3, 0)),
            text("zbiornik", 20, "Zbiornik"),
            text("parpomp", 20, "Parametry Pompy"),
            text("wyposaz", 1, "Wyposażenie"),
            text("typ", 10, "Typ Pojazdu"),
            integer("koda")};
}

QList<FieldDef> equipmentListFields() {
    const Display norm = numberDisplay(7, 3);
    return {integer("lp", "Lp."),
            text("nrrej", 10, "Nr Rejestr."),
            text("nazwa", 40, "Nazwa Pojazdu"),
            text("komenda", 40, "Komenda"),
            text("nrjed", 20, "Nr Jednost."),
            text("nrpod", 20, "Nr Podwozia"),
            text("nrident", 20, "Nr Ident."),
            text("markasiln", 30, "Marka Silnika"),
            text("typsiln", 20, "Typ Silnika"),
            text("rodzsiln", 5, "Rodzaj Silnika"),
            text("rpr", 4, "Rok Prod."),
            text("nrfabr", 30, "Nr Fabryczny"),
            text("pojskok", 10, "Poj.skok"),
            text("moc", 10, "Moc"),
            text("producent", 40, "Producent"),
            text("parhar", 20, "Param.Charakter."),
            text("nroper", 20, "Nr Operacyjny"),
            text("doekspl", 10, "Do Eksploat."),
            text("rodzpal", 2, "Rodzaj paliwa"),
            real("normpal", "Norma paliwa", norm),
            real("normolm", "Norma olej miesz.", norm),
            real("normols", "Norma olej smar.", norm),
            text("grsprz", 60, "Grupa sprzętu"),
            real("poj_zbio", "Pojemn.zbiorn."),
            real("poj_kani", "Pojemn.kanistr."),
            text("olej_kla", 20, "Olej klasa"),
            text("olej_mars", 20, "Olej marka siln."),
            text("olej_marl", 20, "Olej marka smarow."),
            integer("kods")};
}

QList<FieldDef> tripCardFields() {
    const Display n72 = numberDisplay(7, 2), n102 = numberDisplay(10, 2), n62 = numberDisplay(6, 2);
    return {integer("kodd", "Nr Karty", kCard),
            text("nrrej", 10, "Nr Rejestr."),
            text("nazwa", 40, "Nazwa Pojazdu"),
            text("dataD", 10, "Data Rozlicz."),
            real("zuzycieO", "Zużycie Olej", n72),
            real("zuzycieP", "Zużycie Paliwo", numberDisplay(9, 2)),
            real("przebiegM", "Przebieg m-c", n102),
            real("przebiegS", "Przebieg Sum", n102),
            real("przebiegMP", "Przebieg m-c Przel.", n102),
            real("przebiegSP", "Przebieg Sum Przel.", n102),
            real("przepalP", "Przepał Paliwo", n62),
            real("przepalO", "Przepał Olej", n62),
            real("dodPOS", "Dod.Postój [min]", n72),
            real("dodNAP", "Dod.Nap.Urz.[min]", n72),
            real("dodMIE", "Dod.Miejski[km]", n72),
            real("dodA", "Dod.Alarm.[km]", n72),
            real("dodG", "Dod.Górski [km]", n72),
            real("dodUG", "Dod.UG [km]", n72),
            real("dodOZ", "Dod.OZ [km]", n72),
            real("dodK", "Dod.Klimat.[km]", n72),
            real("dodT", "Dod.Teren.[km]", n72),
            real("dodZ", "Dod.Zima [km]", n72),
            real("dodSZ", "Dod.Szkol.[km]", n72),
            real("dodH", "Dod.Holown.[km]", n72),
            real("masaPR", "Masa Przyczepy [t]", n62),
            integer("wyjazdMZ", "Wyjazdy MZ", n62),
            integer("wyjazdP", "Wyjazdy P", n62),
            integer("wyjazdF", "Wyjazdy F", n62),
            integer("wyjazdIN", "Wyjazdy In", n62),
            text("komenda", 40),
            integer("lp")};
}

QList<FieldDef> equipmentCardFields() {
    const Display n72 = numberDisplay(7, 2);
    return {integer("kodk", "Nr Karty", kCard),
            text("nrrej", 10, "Nr Rejestr."),
            text("nazwa", 40, "Nazwa Pojazdu"),
            text("dataS", 10, "Data Rozlicz."),
            real("czas", "Czas pracy"),
            real("oszczpal", "Oszczędność", n72),
            real("pozostolm", "Pozost.olej miesz.", n72),
            real("pozostols", "Pozost.olej smar.", n72),
            real("zuzyciepalf", "Faktycz.zuż.paliwo", n72),
            real("ilopobolm", "Ilość pob.oleju siln.", n72),
            real("ilopobols", "Ilość pob.oleju smar.", n72),
            real("zuzyciepaln", "Zużycie Paliwo Norma", n72),
            real("zuzycieolmn", "Zuż.olej miesz.Norma", n72),
            real("zuzycieolsn", "Zuż.olej.smar.Norma", n72),
            text("komenda", 40),
            integer("lp")};
}

QList<FieldDef> consumptionFields(bool equipment) {
    const Display n82 = numberDisplay(8, 2);
    QList<FieldDef> f = {integer("kod", "Kod", kCard),
                         text("kodL", 2, equipment ? "" : "Lp."),
                         text("rodzpoj", 40, equipment ? "Grupa Sprzętu" : "Rodzaj Pojazdu"),
                         real("pb", "Zużycie ET", n82),
                         real("on", "Zużycie ON", n82),
                         real("lpg", "Zużycie LPG", n82),
                         real("km", equipment ? "Czas pracy [min]" : "Przebieg [km]",
                              equipment ? numberDisplay(6, 0) : numberDisplay(10, 2)),
                         real("ol", equipment ? "Zużycie Olej miesz." : "Zużycie Olej", n82)};
    if (equipment) f << real("ols", "Zużycie olej smar.", n82);
    f << text("pbT", 10) << text("onT", 10) << text("lpgT", 10) << text("kmT", 13);
    return f;
}

QList<FieldDef> yearlyFields(bool equipment) {
    static const char* roman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
    static const char* quarters[] = {"I KW", "II KW", "III KW", "IV KW"};
    const Display n72 = numberDisplay(7, 2);
    QList<FieldDef> f = {integer("lp", "Lp."),
                         text("nazwa", 40, equipment ? "Nazwa Sprzętu" : "Nazwa Pojazdu"),
                         FieldDef{QStringLiteral("rodzpal"),
                                  FieldType::Text,
                                  2,
                                  QStringLiteral("Rodzaj paliwa"),
                                  {Display::FuelType, 0, 0}}};
    for (int m = 1; m <= 12; ++m) {
        f << FieldDef{QStringLiteral("m%1").arg(m), FieldType::Real, 0, QString::fromUtf8(roman[m - 1]), n72};
        if (m % 3 == 0)
            f << FieldDef{QStringLiteral("k%1").arg(m / 3), FieldType::Real, 0,
                          QString::fromUtf8(quarters[m / 3 - 1]), n72};
    }
    f << real("RR", "RAZEM", numberDisplay(8, 2)) << integer("kod");
    return f;
}

QList<FieldDef> averageFields(bool equipment, int startYear) {
    const Display shown = numberDisplay(7, equipment ? 3 : 2);
    QList<FieldDef> f = {integer("lp", "Lp."),
                         text("nazwa", 40, equipment ? "Nazwa Sprzętu" : "Nazwa Pojazdu"),
                         text("rodzpal", 2, "Rodzaj paliwa")};
    for (int k = 1; k <= 6; ++k)
        f << FieldDef{QStringLiteral("m%1").arg(k), FieldType::Real, 0, QString::number(startYear + k - 1),
                      shown};
    f << real("sr", "Średnia", shown) << real("norma", "Norma", shown);
    for (int k = 1; k <= 6; ++k)
        f << FieldDef{QStringLiteral("z%1").arg(k), FieldType::Real, 0, {}, {}};
    for (int k = 1; k <= 6; ++k)
        f << FieldDef{QStringLiteral("p%1").arg(k), FieldType::Real, 0, {}, {}};
    f << integer("kod");
    return f;
}

QList<FieldDef> serviceFields() {
    return {real("lp", "Lp."),
            text("nrrej", 10, "Nr rejstr."),
            text("typ", 3, "Naz.skróc"),
            text("nazwa", 30, "Nazwa Rodzaju Obsługi"),
            text("dataw", 10, "Data Wyk.Obsługi"),
            real("stanW", "Stan Liczn.przy Obsł."),
            text("dataP", 10, "Data Plan.Obsługi"),
            real("stanP", "Stan Liczn.Plan."),
            text("planW", 1, "Plan"),
            text("nazwaA", 40, "Nazwa Pojazdu"),
            text("uwagi", 100, "Uwagi")};
}

QList<FieldDef> doubtfulFields() {
    return {integer("lp", "Lp."),
            text("nrrej", 10, "Nr rejstr."),
            text("nazwaA", 40, "Nazwa Pojazdu"),
            integer("kodd", "Nr Karty", kCard),
            real("przebieg0", "Licznik pocz."),
            real("przebiegM", "Przebieg [km]"),
            real("przebiegS", "Licznik końc."),
            real("zuzycieP", "Faktyczne zużycie [L]"),
            text("uwagi", 250, "Wątpliwości")};
}

QList<FieldDef> voucherFields(bool oil) {
    const Display n72 = numberDisplay(7, 2);
    return {integer("lp", "Lp."),
            text("dataS", 10, "Data"),
            text("nrident", 20, "Nr Identyfikacyjny"),
            integer("kodk", "Nr Karty", kCard),
            text("nazwa", 40, "Nazwa Pojazdu"),
            real("et", oil ? "Wydany olej mieszanka" : "Wydane ET", n72),
            real("on", oil ? "Wydany olej smarow." : "Wydane ON", n72),
            text("nrrej", 10),
            text("komenda", 40)};
}

} // namespace

ResultTable emptyStatement(StatementId id, const StatementChoices& choices) {
    switch (id) {
    case StatementId::Vehicles:
        return ResultTable(vehicleListFields());
    case StatementId::Equipment:
        return ResultTable(equipmentListFields());
    case StatementId::TripCards:
        return ResultTable(tripCardFields());
    case StatementId::EquipmentCards:
        return ResultTable(equipmentCardFields());
    case StatementId::ByKind:
        return ResultTable(consumptionFields(false));
    case StatementId::ByGroup:
        return ResultTable(consumptionFields(true));
    case StatementId::YearlyVehicles:
        return ResultTable(yearlyFields(false));
    case StatementId::YearlyEquipment:
        return ResultTable(yearlyFields(true));
    case StatementId::AverageVehicles:
        return ResultTable(averageFields(false, choices.fromYear));
    case StatementId::AverageEquipment:
        return ResultTable(averageFields(true, choices.fromYear));
    case StatementId::Services:
        return ResultTable(serviceFields());
    case StatementId::Voucher:
        return ResultTable(voucherFields(choices.oil));
    case StatementId::DoubtfulCards:
        return ResultTable(doubtfulFields());
    }
    return {};
}

} // namespace korven::reports
