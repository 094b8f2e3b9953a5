#include "registries/data/Equipment.h"

#include "core/Period.h"

namespace korven::registries {

namespace {

using EF = FieldDef<EquipmentRecord>;
using E = EquipmentRecord;

EF text(const char* column, const char* label, QString E::*member, int width, Page page, bool upper = false) {
    return textField(column, label, member, width, page, upper);
}

EF code(const char* column, const char* label, qint64 E::*member, int digits, Page page,
        bool readOnly = false) {
    return integerField(column, label, member, digits, page, readOnly);
}

EF decimal(const char* column, const char* label, double E::*member, int digits, int scale, Page page,
           bool upper = false) {
    return decimalField(column, label, member, digits, scale, page, upper);
}

std::vector<EF> buildFields() {
    const Page G = Page::General, P = Page::Parameters, X = Page::None;
    std::vector<EF> f;
    f.push_back(code("KODS", "Kod", &E::kods, 6, G, true));
    f.push_back(text("NRREJ", "Nr Rejestracyjny", &E::nrrej, 10, G, true));
    f.push_back(text("NAZWA", "Nazwa Sprzętu", &E::nazwa, 40, G));
    f.push_back(text("NRPOD", "Nr podwozia", &E::nrpod, 20, G, true));
    f.push_back(text("NRIDENT", "Nr identyfik.", &E::nrident, 20, G, true));
    f.push_back(code("KOD_GR", "Kod", &E::kodGr, 3, G));
    f.push_back(text("GRSPRZ", "Grupy", &E::grsprz, 60, G));
    f.push_back(code("KOD_KO", "Kod Jednostki", &E::kodKo, 3, G));
    f.push_back(text("KOMENDA", "Jednostka", &E::komenda, 40, G));
    f.push_back(text("NRJED", "Nr Jednostki", &E::nrjed, 20, G));
    f.back().info.readOnly = true;
    f.push_back(text("INFO1", "Inne", &E::info1, 60, G));
    f.push_back(text("INFO2", "Info", &E::info2, 60, G));
    f.push_back(text("INFO3", "Info", &E::info3, 60, G));
    f.push_back(text("INFO4", "Info", &E::info4, 60, G));
    f.push_back(text("FOTO", "Foto", &E::foto, 30, X));
    f.push_back(text("MARKASILN", "Marka Silnika", &E::markasiln, 30, P));
    f.push_back(text("TYPSILN", "Typ Silnika", &E::typsiln, 20, P));
    f.push_back(text("RODZSILN", "Rodzaj Silnika", &E::rodzsiln, 1, P));
    f.push_back(text("RPR", "Rok produkcji", &E::rpr, 4, P));
    f.push_back(text("NRFABR", "Nr fabryczny", &E::nrfabr, 30, P));
    f.push_back(text("POJSKOK", "Pojemność skok.", &E::pojskok, 10, P));
    f.push_back(text("MOC", "Moc [kM]", &E::moc, 10, P));
    f.push_back(text("PRODUCENT", "Producent", &E::producent, 40, P));
    f.push_back(text("PARHAR", "Parametry Charakter.", &E::parhar, 20, P));
    f.push_back(text("NROPER", "Nr Operacyjny", &E::nroper, 20, P));
    f.push_back(dateField("DOEKSPL", "Do Eksploatacji", &E::doekspl, P));
    f.push_back(text("RODZPAL", "Rodzaj Paliwa [ET,ON]", &E::rodzpal, 2, P, true));
    f.push_back(decimal("NORMPAL", "Norma Podstawowa", &E::normpal, 7, 3, P));
    f.push_back(decimal("NORMOLM", "Norma zużycia oleju do mieszanki (dla silników dwusuwowych)", &E::normolm,
                        7, 3, P));
    f.push_back(decimal("NORMOLS", "Norma zużycia oleju do smarowania łańcucha", &E::normols, 7, 3, P));
    f.push_back(decimal("POJ_ZBIO", "Pojemność zbiorników", &E::pojZbio, 7, 2, P, true));
    f.push_back(decimal("POJ_KANI", "Pojemność kanistrów", &E::pojKani, 7, 2, P, true));
    f.push_back(text("OLEJ_KLA", "Klasa oleju silnikowego", &E::olejKla, 20, P, true));
    f.push_back(text("OLEJ_MARS", "Marka, typ oleju silnik.", &E::olejMars, 20, P, true));
    f.push_back(text("OLEJ_MARL", "Marka typ oleju do smarowania łańcucha", &E::olejMarl, 20, P, true));
    QString E::*const kit[] = {&E::skladZes1, &E::skladZes2, &E::skladZes3, &E::skladZes4, &E::skladZes5,
                               &E::skladZes6, &E::skladZes7, &E::skladZes8, &E::skladZes9, &E::skladZes10};
    for (int i = 0; i < 10; ++i) {
        QByteArray column = "SKLAD_ZES" + QByteArray::number(i + 1);
        QByteArray label = QByteArray(1, static_cast<char>('A' + i)) + '.';
        f.push_back(text(column.constData(), label.constData(), kit[i], 50, Page::Kit));
    }
    f.push_back(text("BLOKADA", "Blokada", &E::blokada, 1, X));
    return f;
}

GridColumn col(const char* column, const char* title, CellColour colour = CellColour::Default,
               bool bold = false) {
    GridColumn c;
    c.column = QString::fromLatin1(column);
    c.title = QString::fromUtf8(title);
    c.colour = colour;
    c.bold = bold;
    int valueWidth = 12;
    if (const EF* f = findField(equipmentFields(), c.column))
        valueWidth = f->info.kind == FieldKind::Text ? std::min(f->info.width, 30) : 12;
    c.width = std::max(static_cast<int>(c.title.size()), valueWidth);
    return c;
}

} // namespace

const std::vector<FieldDef<EquipmentRecord>>& equipmentFields() {
    static const std::vector<EF> fields = buildFields();
    return fields;
}

QString& EquipmentRecord::kitLine(int index) {
    QString* lines[] = {&skladZes1, &skladZes2, &skladZes3, &skladZes4, &skladZes5,
                        &skladZes6, &skladZes7, &skladZes8, &skladZes9, &skladZes10};
    return *lines[std::clamp(index, 0, 9)];
}

const QString& EquipmentRecord::kitLine(int index) const {
    return const_cast<EquipmentRecord*>(this)->kitLine(index);
}

const std::vector<GridColumn>& equipmentGrid() {
    static const std::vector<GridColumn> grid = [] {
        const auto Y = CellColour::PaleYellow, G = CellColour::PaleGreen;
        return std::vector<GridColumn>{
            col("KODS", "kod", Y),
            col("NAZWA", "Nazwa Sprzętu", G, true),
            col("NRREJ", "Nr Rejestracyjny", G, true),
            col("KOMENDA", "Komenda"),
            col("NRJED", "Nr Jednostki"),
            col("NRIDENT", "Nr Identyfikacyjny"),
            col("NRPOD", "Nr Podwozia"),
            col("GRSPRZ", "Grupa Sprzętu"),
            col("MARKASILN", "Marka Silnika"),
            col("TYPSILN", "Typ Silnika"),
            col("RODZSILN", "Rodzaj Silnika"),
            col("RPR", "Rok produkcji"),
            col("NRFABR", "Nr fabryczny"),
            col("POJSKOK", "Pojemność skokowa"),
            col("MOC", "Moc"),
            col("PARHAR", "Parametry char."),
            col("NROPER", "Nr operacyjny"),
            col("DOEKSPL", "Do eksploatacji"),
            col("RODZPAL", "Rodzaj paliwa"),
            col("NORMPAL", "Norma podstawowa", CellColour::Yellow),
            col("BLOKADA", "Blokada"),
            col("FOTO", "Foto"),
        };
    }();
    return grid;
}

QString equipmentListTitle(int year, int month) {
    return registryListTitle(QStringLiteral("Kartoteka Sprzętu"), year, month);
}

QString equipmentEditorTitle(const EquipmentRecord& e) {
    return registryEditorTitle(QStringLiteral("Dane Szczegółowe Sprzętu :   "), e.nazwa, e.nrrej);
}

QString equipmentExportTitle(int year, int month) {
    return registryExportTitle(QStringLiteral("Kartoteka Sprzętu"), year, month);
}

std::optional<QString> checkEngineKind(const QString& rodzsiln) {
    const QString t = rodzsiln.trimmed();
    if (t == QLatin1String("2") || t == QLatin1String("4")) return std::nullopt;
    return equipment::engineKindMessage;
}

QString engineKindLabel(const QString& rodzsiln, const QString& previous) {
    const QString t = rodzsiln.trimmed();
    if (t == QLatin1String("2")) return QStringLiteral("dwusuwowy");
    if (t == QLatin1String("4")) return QStringLiteral("czterosuwowy");
    if (t.isEmpty()) return QString();
    return previous;
}

FlagBox equipmentCardLockBox(const QString& blokada) {
    bool on = flagSet(blokada);
    return {on, on,
            on ? QStringLiteral("Blokada Kart Sprzętu") : QStringLiteral("Brak Blokady Kart Sprzętu")};
}

void applyGroup(EquipmentRecord& e, const LookupResult& r) {
    e.kodGr = r.code.value_or(0);
    e.grsprz = r.name;
}

void applyUnit(EquipmentRecord& e, const LookupResult& r) {
    e.kodKo = r.code.value_or(0);
    e.komenda = r.name;
    e.nrjed = r.unitNumber;
}

QMap<QString, QString> equipmentReportParameters(const EquipmentRecord& e, const QString& engineLabel) {
    QMap<QString, QString> p;
    p[QStringLiteral("logo")] = e.foto.trimmed();
    QStringList columns{QStringLiteral("nazwa"),     QStringLiteral("nrrej"),    QStringLiteral("nrpod"),
                        QStringLiteral("nrident"),   QStringLiteral("komenda"),  QStringLiteral("nrjed"),
                        QStringLiteral("grsprz"),    QStringLiteral("info1"),    QStringLiteral("info2"),
                        QStringLiteral("info3"),     QStringLiteral("info4"),    QStringLiteral("markasiln"),
                        QStringLiteral("typsiln"),   QStringLiteral("rpr"),      QStringLiteral("nrfabr"),
                        QStringLiteral("pojskok"),   QStringLiteral("moc"),      QStringLiteral("parhar"),
                        QStringLiteral("nroper"),    QStringLiteral("doekspl"),  QStringLiteral("rodzpal"),
                        QStringLiteral("normpal"),   QStringLiteral("normolm"),  QStringLiteral("normols"),
                        QStringLiteral("poj_zbio"),  QStringLiteral("poj_kani"), QStringLiteral("olej_kla"),
                        QStringLiteral("olej_mars"), QStringLiteral("olej_marl")};
    for (int i = 1; i <= 10; ++i)
        columns << QStringLiteral("sklad_zes%1").arg(i);
    for (const QString& name : columns) {
        const EF* f = findField(equipmentFields(), name);
        p[name] = f ? editText(f->info, fieldValue(e, *f)).trimmed() : QString();
    }
    p[QStringLiteral("rodzsiln")] = engineLabel;
    return p;
}

const RegistryDefinition<EquipmentRecord>& equipmentDefinition() {
    static const RegistryDefinition<EquipmentRecord> def{
        QStringLiteral("A_SPRZET"), &equipmentFields,
        QStringList{QStringLiteral("KODS"), QStringLiteral("NAZWA"), QStringLiteral("NRJED")},
        QStringList{QStringLiteral("&Index wg Kodu"), QStringLiteral("&Index wg Nazwy"),
                    QStringLiteral("&Index wg Jednostki")},
        equipment::emptyCodeMessage};
    return def;
}

// ---------------------------------------------------------------------------------------------

qint64 EquipmentRegistry::addNew() {
    return insertNew({}, {});
}

void EquipmentRegistry::remove(qint64 kods) {
    db::inTransaction(work(), [&](db::Transaction& t) { deleteRow(t, kods); });
}

bool EquipmentRegistry::storeCardLock(qint64 kods, bool locked) {
    return storeColumn(kods, QStringLiteral("BLOKADA"), flagValue(locked));
}

QString EquipmentRegistry::storePhoto(qint64 kods, const QString& path) {
    QString stored = cutToWidth(path.trimmed(), 30);
    storeColumn(kods, QStringLiteral("FOTO"), stored);
    return stored;
}

} // namespace korven::registries
