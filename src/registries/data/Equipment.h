#pragma once

#include "registries/data/Dictionary.h"
#include "registries/data/Registry.h"
#include "registries/data/Vehicle.h"
#include "registries/rules/Fields.h"

#include <QMap>

#include <optional>

namespace korven::registries {

// One machine (A_SPRZET), every column. Texts come trimmed, a null number as 0, a null date invalid.
struct EquipmentRecord {
    qint64 kods = 0;
    QString nrrej, nazwa, nrpod, nrident;
    qint64 kodGr = 0;
    QString grsprz;
    qint64 kodKo = 0;
    QString komenda, nrjed, info1, info2, info3, info4, foto, markasiln, typsiln, rodzsiln, rpr, nrfabr,
        pojskok, moc, producent, parhar, nroper;
    QDate doekspl;
    QString rodzpal;
    double normpal = 0, normolm = 0, normols = 0, pojZbio = 0, pojKani = 0;
    QString olejKla, olejMars, olejMarl;
    // Kit composition, lines "A." to "J.".
    QString skladZes1, skladZes2, skladZes3, skladZes4, skladZes5, skladZes6, skladZes7, skladZes8, skladZes9,
        skladZes10;
    QString blokada;

    // Kit line 0..9 ("A." to "J.").
    QString& kitLine(int index);
    const QString& kitLine(int index) const;
};

// Every column of A_SPRZET with its editor label, kind, size, upper-case flag and page; the key first.
const std::vector<FieldDef<EquipmentRecord>>& equipmentFields();
// The one grid layout of the equipment list.
const std::vector<GridColumn>& equipmentGrid();

namespace equipment {
inline const QString listReport = QStringLiteral("raporty/SprzSpis.rav");
inline const QString listDataView = QStringLiteral("RvDataSetConnectionSprzet");
inline const QString recordReport = QStringLiteral("raporty/Sprzet.rav");
inline const QString emptyCodeMessage = QStringLiteral("Pole Kodu Sprzętu nie może być puste !!! ...");
inline const QString engineKindMessage = QStringLiteral("Poprawna wartość pola to \"2\" lub \"4\"");
inline const QString engineHint = QStringLiteral("2-dwusuwowy, 4-czterosuwowy");
inline const QString fuelHint = QStringLiteral("ET-etylina, ON-olej napędowy");
} // namespace equipment

QString equipmentListTitle(int year, int month);
QString equipmentEditorTitle(const EquipmentRecord& e);
QString equipmentExportTitle(int year, int month);
// Leaving the engine kind field: the warning (equipment::engineKindMessage, after "mail.wav") when
// the trimmed value is neither "2" nor "4", an empty field included; nothing otherwise. It only warns:
// saving another value is not stopped.
std::optional<QString> checkEngineKind(const QString& rodzsiln);
// The label beside the engine kind: "dwusuwowy" for "2", "czterosuwowy" for "4", empty for an empty
// field; any other value keeps the label it had.
QString engineKindLabel(const QString& rodzsiln, const QString& previous);
FlagBox equipmentCardLockBox(const QString& blokada);

void applyGroup(EquipmentRecord& e, const LookupResult& r);
void applyUnit(EquipmentRecord& e, const LookupResult& r);

// The parameters of "raporty/Sprzet.rav" taken from the machine; "firma" and "osoba" come from the
// session. `engineLabel` is the label shown beside the engine kind.
QMap<QString, QString> equipmentReportParameters(const EquipmentRecord& e, const QString& engineLabel);

const RegistryDefinition<EquipmentRecord>& equipmentDefinition();

// The data of the equipment registry. Orders: 0 by KODS ("&Index wg Kodu"), 1 by NAZWA, 2 by NRJED.
class EquipmentRegistry : public Registry<EquipmentRecord> {
public:
    explicit EquipmentRegistry(db::Transaction& work) : Registry(equipmentDefinition(), work) {}

    // "&Nowy Sprzęt": a row holding only the next code; the table's defaults fill the rest.
    qint64 addNew();
    // Deletes the machine and commits; its work cards stay.
    void remove(qint64 kods);
    bool storeCardLock(qint64 kods, bool locked);
    QString storePhoto(qint64 kods, const QString& path);
};

} // namespace korven::registries
