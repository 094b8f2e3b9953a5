#include "registries/data/Vehicle.h"

#include "core/Period.h"

namespace korven::registries {

namespace {

using VF = FieldDef<VehicleRecord>;
using V = VehicleRecord;

VF text(const char* column, const char* label, QString V::*member, int width, Page page, bool upper = false) {
    return textField(column, label, member, width, page, upper);
}

VF integer(const char* column, const char* label, qint64 V::*member, Page page, bool readOnly = false) {
    return integerField(column, label, member, 0, page, readOnly);
}

VF decimal(const char* column, const char* label, double V::*member, int digits, int scale, Page page,
           bool upper = false, int displayDecimals = -1) {
    return decimalField(column, label, member, digits, scale, page, upper, displayDecimals);
}

std::vector<VF> buildFields() {
    const Page G = Page::General, P = Page::Parameters, N = Page::Pn, X = Page::None;
    std::vector<VF> f;
    f.push_back(integer("KODA", "Kod", &V::koda, G, true));
    f.push_back(text("NRREJ", "Nr Rejestracyjny", &V::nrrej, 10, G, true));
    f.push_back(text("NAZWA", "Nazwa Pojazdu", &V::nazwa, 40, G));
    f.push_back(text("RODZPOJ", "Pojazdu", &V::rodzpoj, 40, G));
    f.push_back(text("KO", "KO", &V::ko, 1, G, true));
    f.push_back(text("KOMENDA", "Jednostka", &V::komenda, 40, G));
    f.push_back(text("NRJED", "Nr Jednostki", &V::nrjed, 10, G));
    f.back().info.readOnly = true;
    f.push_back(text("KSRG", "KSRG", &V::ksrg, 1, G, true));
    f.push_back(text("MARKAPOD", "Marka Podwozia", &V::markapod, 20, P));
    f.push_back(text("TYPPOD", "Typ Podwozia", &V::typpod, 20, P));
    f.push_back(text("MODELPOD", "Model Podwozia", &V::modelpod, 20, P));
    f.push_back(text("PRODNAD", "Producent Nadwozia", &V::prodnad, 20, P));
    f.push_back(text("OZNPROD", "Oznaczenie Producenta", &V::oznprod, 20, P));
    f.push_back(text("TYPNAD", "Typ Nadwozia", &V::typnad, 1, P));
    f.push_back(text("SR", "SR", &V::sr, 1, P));
    f.push_back(text("SO", "SO", &V::so, 2, P));
    f.push_back(text("PARHAR", "Parametry Charakter.", &V::parhar, 20, P));
    f.push_back(text("NRPOD", "Nr Podwozia", &V::nrpod, 20, P));
    f.push_back(text("NRSILN", "Nr Silnika", &V::nrsiln, 20, P));
    f.push_back(text("TYPSILN", "Typ Silnika", &V::typsiln, 20, P));
    f.push_back(text("RPR", "Rok Produkcji", &V::rpr, 4, P));
    f.push_back(dateField("DOEKSPL", "Do Eksploatacji", &V::doekspl, P));
    f.push_back(text("PPOJ", "PPOJ", &V::ppoj, 2, P));
    f.push_back(text("NROPER", "Nr Operacyjny", &V::nroper, 20, P));
    f.push_back(text("RODZPAL", "Rodzaj Paliwa [ET,ON]", &V::rodzpal, 2, P, true));
    f.push_back(decimal("NORMPAL", "Norma Podstawowa", &V::normpal, 9, 2, P, false, 2));
    f.push_back(decimal("NORMPOM", "Norma dla Autopompy", &V::normpom, 6, 3, P, false, 3));
    f.push_back(decimal("NORMUG", "Norma dla UG", &V::normug, 6, 3, P, false, 3));
    f.push_back(text("PN", "PN", &V::pn, 20, N));
    f.push_back(text("GRPOJ", "Nazwa Grupy Pojazdów", &V::grpoj, 60, N));
    f.push_back(text("KLPOJ", "Klasa Pojazdu", &V::klpoj, 1, N));
    f.push_back(text("KAT", "Kategoria", &V::kat, 1, N));
    f.push_back(integer("ILOMIE", "Ilość Miejsc", &V::ilomie, N));
    f.push_back(text("ZBIORNIK", "Zbiornik", &V::zbiornik, 20, N));
    f.push_back(text("PARPOMP", "Parametry Pompy", &V::parpomp, 20, N));
    f.push_back(text("WYPOSAZ", "Wyposażenie", &V::wyposaz, 1, N));
    f.push_back(text("FOTO", "Foto", &V::foto, 30, X));
    f.push_back(integer("KOD_RP", "Kod Rodzaju", &V::kodRp, G));
    f.push_back(integer("KOD_GP", "Kod Grupy Pojazdów", &V::kodGp, N));
    f.push_back(integer("KOD_KO", "Kod Jednostki", &V::kodKo, G));
    f.push_back(text("TYP", "Typ Pojazdu", &V::typ, 1, G, true));
    f.push_back(decimal("POJ_ZBIO", "Pojemność zbiorników", &V::pojZbio, 7, 2, P, true));
    f.push_back(decimal("POJ_KANI", "Pojemność kanistrów", &V::pojKani, 7, 2, P, true));
    f.push_back(text("OLEJ_KLA", "Klasa oleju", &V::olejKla, 20, P, true));
    f.push_back(decimal("OLEJ_POJ", "Poj.układu.smarow.", &V::olejPoj, 6, 2, P, true));
    f.push_back(text("OLEJ_MAR", "Marka, typ oleju", &V::olejMar, 20, P, true));
    f.push_back(text("BLOKADA", "Blokada", &V::blokada, 1, X));
    f.push_back(text("INFO1", "Inne", &V::info1, 100, G));
    f.push_back(text("INFO2", "Info", &V::info2, 100, G));
    f.push_back(text("INFO3", "Info", &V::info3, 100, G));
    f.push_back(decimal("NORMUR1", "Norma dla Urz.Specjal.", &V::normur1, 6, 3, P, false, 3));
    f.push_back(decimal("NORMUR2", "Norma dla Klimatyzacja", &V::normur2, 6, 3, P, false, 3));
    f.push_back(text("CZY_MIERNIK", "Paliwomierz", &V::czyMiernik, 1, X));
    f.push_back(text("OSOB_ODP", "Osoba odpowiedzialna", &V::osobOdp, 40, N));
    return f;
}

GridColumn col(const char* column, const char* title, CellColour colour = CellColour::Default,
               bool bold = false) {
    GridColumn c;
    c.column = QString::fromLatin1(column);
    c.title = QString::fromUtf8(title);
    c.colour = colour;
    c.bold = bold;
    // Wide enough for the title, and for the value up to a reasonable width.
    int valueWidth = 12;
    if (const FieldDef<VehicleRecord>* f = findField(vehicleFields(), c.column))
        valueWidth = f->info.kind == FieldKind::Text ? std::min(f->info.width, 30) : 12;
    c.width = std::max(static_cast<int>(c.title.size()), valueWidth);
    return c;
}

std::vector<GridColumn> lastFourteen() {
    return {col("KLPOJ", "Klasa Pojazdu"),    col("KAT", "Kategoria"),
            col("ILOMIE", "Ilość Miejsc"),    col("ZBIORNIK", "Zbiornik"),
            col("PARPOMP", "Param.Pompy"),    col("WYPOSAZ", "Wyposażenie"),
            col("TYP", "Typ Pojazdu"),        col("POJ_ZBIO", "Poj.Zbiorników"),
            col("POJ_KANI", "Poj.Kanistrów"), col("OLEJ_KLA", "Klasa oleju"),
            col("OLEJ_POJ", "Pojem.układu"),  col("OLEJ_MAR", "Marka oleju"),
            col("BLOKADA", "Blokada"),        col("FOTO", "Foto")};
}

std::vector<GridColumn> buildNormal() {
    const auto Y = CellColour::PaleYellow, G = CellColour::PaleGreen;
    std::vector<GridColumn> g = {
        col("KODA", "Kod", Y),
        col("NAZWA", "Nazwa Pojazdu", G, true),
        col("NRREJ", "Nr Rejestracyjny", G, true),
        col("KO", "KO"),
        col("KOMENDA", "Komenda"),
        col("NRJED", "Nr Jednostki"),
        col("RODZPOJ", "Rodzaj Pojazdu"),
        col("KSRG", "KSRG"),
        col("MARKAPOD", "Marka Podwozia"),
        col("TYPPOD", "Typ Podwozia"),
        col("MODELPOD", "Model Podwozia"),
        col("PRODNAD", "Producent Nadwozia"),
        col("OZNPROD", "Oznaczenie Producenta"),
        col("TYPNAD", "Typ Nadwozia"),
        col("SR", "SR"),
        col("SO", "SO"),
        col("PARHAR", "Param.Charakter."),
        col("NRPOD", "Nr Podwozia"),
        col("NRSILN", "Nr Silnika"),
        col("TYPSILN", "Typ Silnika"),
        col("RPR", "Rok Produkcji"),
        col("DOEKSPL", "Do Eksploatacji"),
        col("PPOJ", "PPOJ"),
        col("NROPER", "Nr Operacyjny"),
        col("RODZPAL", "Rodzaj Paliwa", G),
        col("NORMPAL", "Norma Podstawowa", G),
        col("NORMPOM", "Norma dla Autopompy"),
        col("NORMUG", "Norma dla UG"),
        col("PN", "PN"),
        col("GRPOJ", "Grupa Pojazdów"),
    };
    for (GridColumn& c : lastFourteen())
        g.push_back(c);
    return g;
}

std::vector<GridColumn> buildWexlon() {
    const auto Y = CellColour::PaleYellow, G = CellColour::PaleGreen;
    std::vector<GridColumn> g = {
        col("KODA", "Kod", Y),
        col("NRREJ", "Nr Rejestracyjny", G),
        col("KO", "KO"),
        col("KOMENDA", "Komenda"),
        col("NRJED", "Nr Jednostki"),
        col("MARKAPOD", "Marka Podwozia"),
        col("TYPPOD", "Typ Podwozia"),
        col("MODELPOD", "Model Podwozia"),
        col("PRODNAD", "Producent Nadwozia"),
        col("OZNPROD", "Oznaczenie Producenta"),
        col("TYPNAD", "Typ Nadwozia"),
        col("SR", "SR"),
        col("SO", "SO"),
        col("PARHAR", "Param.Charakter."),
        col("NRPOD", "Nr Podwozia"),
        col("NRSILN", "Nr Silnika"),
        col("TYPSILN", "Typ Silnika"),
        col("RPR", "Rok Produkcji"),
        col("DOEKSPL", "Do Eksploatacji"),
        col("PPOJ", "PPOJ"),
        col("NROPER", "Nr Operacyjny"),
        col("NORMPAL", "Norma Podstawowa", G),
        col("PN", "PN"),
        col("GRPOJ", "Grupa Pojazdów"),
        col("KLPOJ", "Klasa Pojazdów"),
        col("KAT", "Kategoria"),
        col("ILOMIE", "Ilość Miejsc"),
        col("ZBIORNIK", "Zbiornik"),
        col("PARPOMP", "Param.Pompy"),
        col("WYPOSAZ", "Wyposażenie"),
    };
    for (GridColumn& c : lastFourteen())
        g.push_back(c);
    return g;
}

} // namespace

const std::vector<FieldDef<VehicleRecord>>& vehicleFields() {
    static const std::vector<VF> fields = buildFields();
    return fields;
}

const std::vector<GridColumn>& vehicleGrid(VehicleLayout layout) {
    static const std::vector<GridColumn> normal = buildNormal();
    static const std::vector<GridColumn> wexlon = buildWexlon();
    return layout == VehicleLayout::Normal ? normal : wexlon;
}

QString layoutCaption(VehicleLayout layout) {
    return layout == VehicleLayout::Normal ? QStringLiteral("Normal") : QStringLiteral("WEXLON");
}

QString vehicleExportButton(VehicleLayout layout) {
    return layout == VehicleLayout::Normal ? QStringLiteral("&Export Excel")
                                           : QStringLiteral("&Export WEXLON");
}

QString vehicleListTitle(int year, int month) {
    return registryListTitle(QStringLiteral("Kartoteka Pojazdów"), year, month);
}

QString vehicleEditorTitle(const VehicleRecord& v) {
    return registryEditorTitle(QStringLiteral("Dane Szczegółowe Pojazdu :   "), v.nazwa, v.nrrej);
}

QString vehicleExportTitle(int year, int month) {
    return registryExportTitle(QStringLiteral("Kartoteka Pojazdów"), year, month);
}

QString vehicleDesignation(const VehicleRecord& v) {
    return QStringList{
        v.klpoj.trimmed(),    v.kat.trimmed(),     v.ilomie == 0 ? QString() : QString::number(v.ilomie),
        v.zbiornik.trimmed(), v.parpomp.trimmed(), v.wyposaz.trimmed()}
        .join(QLatin1Char('-'));
}

QString vehicleTypeLabel(const QString& typ, const QString& previous) {
    const QString t = typ.trimmed().toUpper();
    if (t == QLatin1String("O")) return QStringLiteral("Osobowy");
    if (t == QLatin1String("P")) return QStringLiteral("Pozostałe");
    if (t.isEmpty()) return QString();
    return previous;
}

bool flagSet(const QString& flag) {
    const QString f = flag.trimmed();
    return !f.isEmpty() && f != QLatin1String("N");
}

QString flagValue(bool checked) {
    return checked ? QStringLiteral("T") : QStringLiteral("N");
}

FlagBox vehicleCardLockBox(const QString& blokada) {
    bool on = flagSet(blokada);
    return {on, on,
            on ? QStringLiteral("Blokada Kart Drogowych") : QStringLiteral("Brak Blokady Kart Drogowych")};
}

FlagBox fuelGaugeBox(const QString& czyMiernik) {
    bool on = flagSet(czyMiernik);
    return {on, on, on ? QStringLiteral("Paliwomierz zamontowany") : QStringLiteral("Brak Paliwomierza")};
}

void applyKind(VehicleRecord& v, const LookupResult& r) {
    v.kodRp = r.code.value_or(0);
    v.rodzpoj = r.name;
}

void applyGroup(VehicleRecord& v, const LookupResult& r) {
    v.kodGp = r.code.value_or(0);
    v.grpoj = r.name;
}

void applyUnit(VehicleRecord& v, const LookupResult& r) {
    v.kodKo = r.code.value_or(0);
    v.komenda = r.name;
    v.nrjed = r.unitNumber;
}

QMap<QString, QString> vehicleReportParameters(const VehicleRecord& v) {
    QMap<QString, QString> p;
    p[QStringLiteral("nazpm")] = vehicleDesignation(v);
    p[QStringLiteral("logo")] = v.foto.trimmed();
    const char* const columns[] = {
        "nazwa",    "nrrej",    "rodzpoj", "ko",       "komenda",  "nrjed",    "ksrg",     "markapod",
        "typpod",   "modelpod", "prodnad", "oznprod",  "typnad",   "sr",       "so",       "parhar",
        "nrpod",    "nrsiln",   "typsiln", "rpr",      "doekspl",  "ppoj",     "nroper",   "rodzpal",
        "normpal",  "normpom",  "normug",  "pn",       "grpoj",    "klpoj",    "kat",      "ilomie",
        "zbiornik", "parpomp",  "wyposaz", "poj_zbio", "poj_kani", "olej_kla", "olej_poj", "olej_mar"};
    for (const char* c : columns) {
        const QString name = QString::fromLatin1(c);
        const FieldDef<VehicleRecord>* f = findField(vehicleFields(), name);
        p[name] = f ? editText(f->info, fieldValue(v, *f)).trimmed() : QString();
    }
    // A seat count never typed prints empty, as in the designation.
    if (v.ilomie == 0) p[QStringLiteral("ilomie")] = QString();
    const QString typ = v.typ.trimmed().toUpper();
    p[QStringLiteral("typp")] = typ == QLatin1String("O")   ? QStringLiteral("Osobowy")
                                : typ == QLatin1String("P") ? QStringLiteral("Pozostałe")
                                                            : QString();
    return p;
}

const RegistryDefinition<VehicleRecord>& vehicleDefinition() {
    static const RegistryDefinition<VehicleRecord> def{
        QStringLiteral("A_AUTO"), &vehicleFields,
        QStringList{QStringLiteral("KODA"), QStringLiteral("NAZWA")},
        QStringList{QStringLiteral("&Index wg Kodu"), QStringLiteral("&Index wg Nazwy")},
        vehicle::emptyCodeMessage};
    return def;
}

// ---------------------------------------------------------------------------------------------

qint64 VehicleRegistry::addNew(int workingYear) {
    db::Params p;
    p.set(QStringLiteral("TYP"), QStringLiteral("P"));
    p.set(QStringLiteral("RODZPAL"), QStringLiteral("ON"));
    p.set(QStringLiteral("KO"), QStringLiteral("W"));
    p.set(QStringLiteral("RPR"), QStringLiteral("20") + twoDigits(workingYear));
    p.set(QStringLiteral("BLOKADA"), QStringLiteral("N"));
    return insertNew({QStringLiteral("TYP"), QStringLiteral("RODZPAL"), QStringLiteral("KO"),
                      QStringLiteral("RPR"), QStringLiteral("BLOKADA")},
                     p);
}

namespace {
const QString cardsSql = QStringLiteral("select * from A_KARTA  where (KODA =  :KODA) order by KODA, KODD");
}

int VehicleRegistry::cardCount(qint64 koda) {
    return db::inTransaction(work(), [&](db::Transaction& t) {
        return static_cast<int>(t.select(cardsSql, {{"KODA", codeValue(koda)}}).size());
    });
}

DeleteOutcome VehicleRegistry::checkDelete(qint64 koda) {
    if (cardCount(koda) > 0) return DeleteOutcome{false, vehicle::cardsExistMessage};
    return DeleteOutcome{true, QString()};
}

DeleteOutcome VehicleRegistry::remove(qint64 koda) {
    return db::inTransaction(work(), [&](db::Transaction& t) {
        if (!t.select(cardsSql, {{"KODA", codeValue(koda)}}).empty())
            return DeleteOutcome{false, vehicle::cardsExistMessage};
        deleteRow(t, koda);
        return DeleteOutcome{true, QString()};
    });
}

bool VehicleRegistry::storeCardLock(qint64 koda, bool locked) {
    return storeColumn(koda, QStringLiteral("BLOKADA"), flagValue(locked));
}

bool VehicleRegistry::storeFuelGauge(qint64 koda, bool fitted) {
    return storeColumn(koda, QStringLiteral("CZY_MIERNIK"), flagValue(fitted));
}

QString VehicleRegistry::storePhoto(qint64 koda, const QString& path) {
    QString stored = cutToWidth(path.trimmed(), 30);
    storeColumn(koda, QStringLiteral("FOTO"), stored);
    return stored;
}

} // namespace korven::registries
