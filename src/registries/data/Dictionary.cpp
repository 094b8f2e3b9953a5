#include "registries/data/Dictionary.h"

#include "registries/data/Codes.h"

namespace korven::registries {

namespace {

FieldInfo keyField(const QString& label, int digits) {
    FieldInfo f;
    f.column = QStringLiteral("KOD");
    f.label = label;
    f.kind = FieldKind::Integer;
    f.width = digits;
    f.readOnly = true;
    return f;
}

DictionaryColumn textColumn(const QString& column, const QString& label, const QString& gridTitle,
                            int width) {
    FieldInfo f;
    f.column = column;
    f.label = label;
    f.kind = FieldKind::Text;
    f.width = width;
    return {f, gridTitle};
}

std::vector<DictionaryConfig> buildConfigs() {
    std::vector<DictionaryConfig> all;

    DictionaryConfig kinds;
    kinds.kind = DictionaryKind::VehicleKinds;
    kinds.listUnit = QStringLiteral("RodzajPo");
    kinds.editorUnit = QStringLiteral("RodzPEd");
    kinds.table = QStringLiteral("A_RODZP");
    kinds.listTitle = QStringLiteral("Kartoteka Rodzajów Pojazdów");
    kinds.editorTitle = QStringLiteral("Korekta Rodzaju Pojazdu");
    kinds.emptyCodeMessage = QStringLiteral("Pole Kodu Rodzaju Pojazdu nie może być puste !!! ...");
    kinds.reportProject = QStringLiteral("raporty/RodzajP.rav");
    kinds.dataView = QStringLiteral("RvDataSetRodzajP");
    kinds.unknownCodeName = QStringLiteral("Błędna Nazwa Rodzaju Pojazdów ...");
    kinds.key = keyField(QStringLiteral("Kod Rodzaju Pojazdu"), 0);
    kinds.keyGridTitle = QStringLiteral("Kod");
    kinds.columns = {textColumn(QStringLiteral("NAZWA"), QStringLiteral("Nazwa Rodzaju Pojazdu"),
                                QStringLiteral("Nazwa Rodzaju Pojazdu"), 40)};
    all.push_back(kinds);

    DictionaryConfig groups;
    groups.kind = DictionaryKind::VehicleGroups;
    groups.listUnit = QStringLiteral("GrupaPo");
    groups.editorUnit = QStringLiteral("GrupPEd");
    groups.table = QStringLiteral("A_GRUPP");
    groups.listTitle = QStringLiteral("Kartoteka Grup Pojazdów");
    groups.editorTitle = QStringLiteral("Korekta Grupy Pojazdu");
    groups.emptyCodeMessage = QStringLiteral("Pole Kodu Grupy Pojazdu nie może być puste !!! ...");
    groups.reportProject = QStringLiteral("raporty/GrupaP.rav");
    groups.dataView = QStringLiteral("RvDataSetGrupaPo");
    groups.unknownCodeName = QStringLiteral("Błędna Nazwa Grupy Pojazdów ...");
    groups.key = keyField(QStringLiteral("Kod"), 0);
    groups.keyGridTitle = QStringLiteral("Kod");
    groups.columns = {textColumn(QStringLiteral("NAZWA"), QStringLiteral("Nazwa Grupy Pojazdu"),
                                 QStringLiteral("Nazwa Grupy Pojazdu"), 40)};
    all.push_back(groups);

    DictionaryConfig units;
    units.kind = DictionaryKind::Units;
    units.listUnit = QStringLiteral("Komenda");
    units.editorUnit = QStringLiteral("KomenEd");
    units.table = QStringLiteral("A_KOMEN");
    units.listTitle = QStringLiteral("Kartoteka Jednostek");
    units.editorTitle = QStringLiteral("Korekta Nazwy Jednostki");
    units.emptyCodeMessage = QStringLiteral("Pole Kodu Jednostki nie może być puste !!! ...");
    units.reportProject = QStringLiteral("raporty/KomendaP.rav");
    units.dataView = QStringLiteral("RvDataSetKomendaP");
    units.unknownCodeName = QStringLiteral("Błędna Nazwa Jednostki ...");
    units.key = keyField(QStringLiteral("Kod Jednostki"), 0);
    units.keyGridTitle = QStringLiteral("Kod");
    units.columns = {textColumn(QStringLiteral("NAZWA"), QStringLiteral("Nazwa Jednostki"),
                                QStringLiteral("Nazwa Jednostki"), 40),
                     textColumn(QStringLiteral("NRJED"), QStringLiteral("Nr Jednostki"),
                                QStringLiteral("Nr Jednostki"), 20)};
    all.push_back(units);

    DictionaryConfig services;
    services.kind = DictionaryKind::ServiceKinds;
    services.listUnit = QStringLiteral("Obsluga");
    services.editorUnit = QStringLiteral("ObslugaE");
    services.table = QStringLiteral("A_OBSK");
    services.listTitle = QStringLiteral("Kartoteka Rodzajów Obsługi");
    services.editorTitle = QStringLiteral("Kartoteka Obsług Technicznych");
    services.emptyCodeMessage = QStringLiteral("Pole Kodu Rodzaju Obsługi nie może być puste !!! ...");
    services.reportProject = QStringLiteral("raporty/ObslugaT.rav");
    services.dataView = QStringLiteral("RvDataSetObslugaT");
    services.key = keyField(QStringLiteral("Kod Obsługi"), 3);
    services.keyGridTitle = QStringLiteral("Kod");
    FieldInfo ile;
    ile.column = QStringLiteral("ILE");
    ile.label = QStringLiteral("Następna Obsługa (m-c)");
    ile.kind = FieldKind::Integer;
    ile.width = 4;
    services.columns = {textColumn(QStringLiteral("TYP"), QStringLiteral("Nazwa Skrócona"),
                                   QStringLiteral("Nazwa skrócona"), 3),
                        textColumn(QStringLiteral("NAZWA"), QStringLiteral("Nazwa Rodzaju Obsługi"),
                                   QStringLiteral("Nazwa Rodzaju Obsługi"), 30),
                        {ile, QStringLiteral("Następna Obsługa (m-c)")}};
    all.push_back(services);

    DictionaryConfig equipment;
    equipment.kind = DictionaryKind::EquipmentGroups;
    equipment.listUnit = QStringLiteral("GrupaSp");
    equipment.editorUnit = QStringLiteral("GrupSEd");
    equipment.table = QStringLiteral("A_GRUPS");
    equipment.listTitle = QStringLiteral("Kartoteka Grup Sprzętu Silnikowego");
    // Its own title, in the words of the vehicle groups editor.
    equipment.editorTitle = QStringLiteral("Korekta Grupy Sprzętu");
    equipment.emptyCodeMessage = QStringLiteral("Pole Kodu Grupy Sprzętu nie może być puste !!! ...");
    equipment.reportProject = QStringLiteral("raporty/GrupaS.rav");
    equipment.dataView = QStringLiteral("RvDataSetGrupaSp");
    equipment.unknownCodeName = QStringLiteral("Błędna Nazwa Grupy Sprzętu ...");
    equipment.key = keyField(QStringLiteral("Kod"), 3);
    equipment.keyGridTitle = QStringLiteral("Kod");
    equipment.columns = {textColumn(QStringLiteral("NAZWA"), QStringLiteral("Nazwa Grupy Sprzętu"),
                                    QStringLiteral("Nazwa Grupy Sprzętu"), 60)};
    all.push_back(equipment);
    return all;
}

const std::vector<DictionaryConfig>& configs() {
    static const std::vector<DictionaryConfig> all = buildConfigs();
    return all;
}

} // namespace

const DictionaryConfig& dictionaryConfig(DictionaryKind kind) {
    return configs().at(static_cast<std::size_t>(kind));
}

const std::vector<DictionaryKind>& allDictionaries() {
    static const std::vector<DictionaryKind> all = {
        DictionaryKind::VehicleKinds, DictionaryKind::VehicleGroups, DictionaryKind::Units,
        DictionaryKind::ServiceKinds, DictionaryKind::EquipmentGroups};
    return all;
}

QString DictionaryRow::text(int column) const {
    if (column < 0 || column >= static_cast<int>(values.size())) return QString();
    return values[static_cast<std::size_t>(column)].toText();
}

Dictionary::Dictionary(DictionaryKind kind, db::Transaction& work)
    : Dictionary(dictionaryConfig(kind), work) {}

Dictionary::Dictionary(const DictionaryConfig& config, db::Transaction& work)
    : config_(config), work_(work) {}

QString Dictionary::listSql() const {
    return QStringLiteral("select * from %1 order by KOD").arg(config_.table);
}

QString Dictionary::maxSql() const {
    return QStringLiteral("SELECT MAX (KOD) AS KOD FROM %1 ;").arg(config_.table);
}

std::vector<DictionaryRow> Dictionary::list() {
    db::Rows rows = db::inTransaction(work_, [&](db::Transaction& t) { return t.select(listSql()); });
    std::vector<DictionaryRow> out;
    out.reserve(rows.size());
    for (const db::Row& r : rows) {
        DictionaryRow row;
        row.code = r.integer(QStringLiteral("KOD"));
        for (const DictionaryColumn& c : config_.columns)
            row.values.push_back(r[c.field.column]);
        out.push_back(std::move(row));
    }
    return out;
}

ListRead<DictionaryRow> Dictionary::open(db::Transaction& bracket) {
    return readInBracket<DictionaryRow>(bracket, [&] { return list(); });
}

qint64 Dictionary::nextCode() {
    return registries::nextCode(work_, maxSql(), QStringLiteral("KOD"));
}

qint64 Dictionary::addNew() {
    const QString insert = QStringLiteral("insert into %1 (KOD) values (:KOD)").arg(config_.table);
    return insertWithNextCode(work_, maxSql(), QStringLiteral("KOD"), [&](db::Transaction& t, qint64 code) {
        t.execute(insert, {{"KOD", codeValue(code)}});
    });
}

SaveOutcome Dictionary::save(qint64 codeBeforeEdit, const QString& codeText, const QStringList& typed) {
    SaveOutcome out;
    if (codeText.trimmed().isEmpty()) {
        out.message = config_.emptyCodeMessage;
        return out;
    }
    Conversion code = convertInput(config_.key, codeText);
    if (!code.ok) {
        out.message = code.message;
        return out;
    }
    db::Params params;
    params.set(QStringLiteral("KOD"), code.value);
    params.set(QStringLiteral("OLD_KOD"), codeValue(codeBeforeEdit));
    QStringList sets{QStringLiteral("KOD = :KOD")};
    for (std::size_t i = 0; i < config_.columns.size(); ++i) {
        const FieldInfo& f = config_.columns[i].field;
        Conversion c = convertInput(f, i < static_cast<std::size_t>(typed.size()) ? typed[static_cast<int>(i)]
                                                                                  : QString());
        if (!c.ok) {
            out.message = c.message;
            return out;
        }
        params.set(f.column, c.value);
        sets << QStringLiteral("%1 = :%1").arg(f.column);
    }
    const QString sql = QStringLiteral("update %1 set %2 where KOD = :OLD_KOD")
                            .arg(config_.table, sets.join(QStringLiteral(", ")));
    if (db::inTransaction(work_, [&](db::Transaction& t) { return t.execute(sql, params); }) == 0) {
        out.message = texts::rowGone;
        return out;
    }
    out.saved = true;
    return out;
}

void Dictionary::remove(qint64 code) {
    const QString sql = QStringLiteral("delete from %1 where KOD = :KOD").arg(config_.table);
    db::inTransaction(work_, [&](db::Transaction& t) { t.execute(sql, {{"KOD", codeValue(code)}}); });
}

// ---------------------------------------------------------------------------------------------

DictionaryLookup::DictionaryLookup(const DictionaryConfig& config, std::vector<DictionaryRow> rows)
    : config_(&config), rows_(std::move(rows)) {}

DictionaryLookup DictionaryLookup::load(DictionaryKind kind, db::Transaction& work) {
    Dictionary d(kind, work);
    return DictionaryLookup(d.config(), d.list());
}

namespace {
int columnIndex(const DictionaryConfig& config, const char* column) {
    for (std::size_t i = 0; i < config.columns.size(); ++i)
        if (config.columns[i].field.column == QLatin1String(column)) return static_cast<int>(i);
    return -1;
}
} // namespace

QStringList DictionaryLookup::names() const {
    QStringList out;
    if (!config_) return out;
    int name = columnIndex(*config_, "NAZWA");
    for (const DictionaryRow& r : rows_)
        out << r.text(name).trimmed();
    return out;
}

LookupResult DictionaryLookup::fromRow(const DictionaryRow& row) const {
    LookupResult r;
    r.status = LookupResult::Status::Found;
    r.code = row.code;
    r.name = row.text(columnIndex(*config_, "NAZWA")).trimmed();
    int nrjed = columnIndex(*config_, "NRJED");
    if (nrjed >= 0) r.unitNumber = row.text(nrjed).left(10).trimmed();
    return r;
}

LookupResult DictionaryLookup::typed(const QString& codeText) const {
    LookupResult r;
    const QString t = codeText.trimmed();
    if (t.isEmpty()) return r; // empty name, empty unit number
    bool numeric = false;
    qint64 code = t.toLongLong(&numeric);
    if (numeric && config_) {
        for (const DictionaryRow& row : rows_)
            if (row.code == code) return fromRow(row);
    }
    r.status = LookupResult::Status::Unknown;
    if (numeric) r.code = code;
    r.name = config_ ? config_->unknownCodeName : QString();
    return r;
}

LookupResult DictionaryLookup::chosen(int index) const {
    if (!config_ || index < 0 || index >= count()) return LookupResult{};
    return fromRow(rows_[static_cast<std::size_t>(index)]);
}

} // namespace korven::registries
