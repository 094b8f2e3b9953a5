#pragma once

#include "registries/data/Dictionary.h"
#include "registries/data/Registry.h"
#include "registries/rules/Fields.h"

#include <QMap>

namespace korven::registries {

// One vehicle (A_AUTO), every column. Texts come trimmed, a null number as 0, a null date invalid.
struct VehicleRecord {
    qint64 koda = 0;
    QString nrrej, nazwa, rodzpoj, ko, komenda, nrjed, ksrg;
    QString markapod, typpod, modelpod, prodnad, oznprod, typnad, sr, so, parhar, nrpod, nrsiln, typsiln, rpr;
    QDate doekspl;
    QString ppoj, nroper, rodzpal;
    double normpal = 0, normpom = 0, normug = 0;
    QString pn, grpoj, klpoj, kat;
    qint64 ilomie = 0;
    QString zbiornik, parpomp, wyposaz, foto;
    qint64 kodRp = 0, kodGp = 0, kodKo = 0;
    QString typ;
    double pojZbio = 0, pojKani = 0;
    QString olejKla;
    double olejPoj = 0;
    QString olejMar, blokada, info1, info2, info3;
    double normur1 = 0, normur2 = 0;
    QString czyMiernik, osobOdp;
};

// Every column of A_AUTO with its editor label, kind, size, upper-case flag and page; the key first.
const std::vector<FieldDef<VehicleRecord>>& vehicleFields();

// The two grid layouts of the vehicle list.
enum class VehicleLayout { Normal, Wexlon };
const std::vector<GridColumn>& vehicleGrid(VehicleLayout layout);
// The caption of the layout check box and of the export button for a layout.
QString layoutCaption(VehicleLayout layout);
QString vehicleExportButton(VehicleLayout layout);

// ---------------------------------------------------------------------------------------------
// Rules of the vehicle windows (plain functions).

namespace vehicle {
inline const QString listReport = QStringLiteral("raporty/PojSpis.rav");
inline const QString listDataView = QStringLiteral("RvDataSetConnectionPoj");
inline const QString recordReport = QStringLiteral("raporty/Pojazd.rav");
inline const QString emptyCodeMessage = QStringLiteral("Pole Kodu Pojazdu nie może być puste !!! ...");
inline const QString cardsExistMessage = QStringLiteral(
    "UWAGA !!!... Aby wykasować dany Pojazd, usuń wcześniej podłączone do niego Karty Drogowe ...");
inline const QString typeHint = QStringLiteral("[O]sobowy [P]ozostałe");
inline const QString fuelHint = QStringLiteral("ET-etylina, ON-olej napędowy");
} // namespace vehicle

// "Kartoteka Pojazdów" filled to 80 characters and the period ("Marzec 2009").
QString vehicleListTitle(int year, int month);
// "Dane Szczegółowe Pojazdu :   " + name + " " + registration number.
QString vehicleEditorTitle(const VehicleRecord& v);
// The shared export title of the list, cut to 100 characters.
QString vehicleExportTitle(int year, int month);
// KLPOJ, KAT, ILOMIE, ZBIORNIK, PARPOMP and WYPOSAZ joined by "-" ("L-1-3-250-70/40-1"). A number of
// seats never typed (0) stands empty.
QString vehicleDesignation(const VehicleRecord& v);
// The label beside "Typ Pojazdu": "Osobowy" for "O", "Pozostałe" for "P", empty for an empty field;
// any other value keeps the label it had.
QString vehicleTypeLabel(const QString& typ, const QString& previous);

// How a flag check box looks: checked and red with one caption, or unchecked and black with the other.
struct FlagBox {
    bool checked = false;
    bool red = false;
    QString caption;
};
// A flag is set when it is neither "N" nor empty.
bool flagSet(const QString& flag);
QString flagValue(bool checked); // "T" or "N"
FlagBox vehicleCardLockBox(const QString& blokada);
FlagBox fuelGaugeBox(const QString& czyMiernik);

// Dictionary lookups of the editor put into the record: code and name (and the unit number).
void applyKind(VehicleRecord& v, const LookupResult& r);
void applyGroup(VehicleRecord& v, const LookupResult& r);
void applyUnit(VehicleRecord& v, const LookupResult& r);

// The parameters of "raporty/Pojazd.rav" taken from the vehicle ("nazpm", "logo", "typp" and the
// columns); "firma" and "osoba" come from the session.
QMap<QString, QString> vehicleReportParameters(const VehicleRecord& v);

// ---------------------------------------------------------------------------------------------

const RegistryDefinition<VehicleRecord>& vehicleDefinition();

// The data of the vehicle registry. Orders: 0 by KODA ("&Index wg Kodu"), 1 by NAZWA.
class VehicleRegistry : public Registry<VehicleRecord> {
public:
    explicit VehicleRegistry(db::Transaction& work) : Registry(vehicleDefinition(), work) {}

    // "&Nowy Pojazd": a new vehicle with TYP "P", RODZPAL "ON", KO "W", RPR "20" + the two-digit
    // working year and BLOKADA "N"; gives its code.
    qint64 addNew(int workingYear);
    // The trip cards of the vehicle ("select * from A_KARTA  where (KODA =  :KODA) order by KODA, KODD").
    int cardCount(qint64 koda);
    // Asked before the question "Czy napewno ...": refused with vehicle::cardsExistMessage while the
    // vehicle has trip cards.
    DeleteOutcome checkDelete(qint64 koda);
    // Deletes the vehicle and commits; the cards are counted again in the same transaction, so a card
    // added meanwhile by another operator still stops the delete.
    DeleteOutcome remove(qint64 koda);
    // The card lock and fuel gauge check boxes: stored and committed at once (false when the vehicle
    // is gone).
    bool storeCardLock(qint64 koda, bool locked);
    bool storeFuelGauge(qint64 koda, bool fitted);
    // Stores the photograph path (cut to the column) and commits; gives what was stored.
    QString storePhoto(qint64 koda, const QString& path);
};

} // namespace korven::registries
