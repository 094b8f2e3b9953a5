#pragma once

#include "core/SystemSettings.h"
#include "reports/rules/ResultTable.h"
#include "reports/rules/Sources.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <optional>

namespace korven::reports {

// The statements of the report menus.
enum class StatementId {
    Vehicles,         // RapPoj
    Equipment,        // RapSprz
    TripCards,        // RapKartD
    EquipmentCards,   // RapKartS
    ByKind,           // RapZuzyS
    ByGroup,          // RapZuzySSp
    YearlyVehicles,   // RapZuzyA
    YearlyEquipment,  // RapZuzySpA
    AverageVehicles,  // RapSred
    AverageEquipment, // RapSredSp
    Services,         // RapObsl
    Voucher,          // RapAsygnat
    DoubtfulCards,    // RapWatpl: trip cards of a month whose values look doubtful
};

// The command-line names: "vehicles", "equipment", "trip-cards", ...
QString statementName(StatementId id);
std::optional<StatementId> statementFromName(const QString& name);
QList<StatementId> allStatements();

// Whether a statement lists machines (equipment registry, work cards) rather than vehicles.
bool isEquipmentStatement(StatementId id);

// One dimension of the selection filter: its "Wszystkie" box and the entry picked from its list.
struct FilterChoice {
    bool all = true;
    int code = 0;     // the picked entry's KOD; 0 until one is picked
    QString name;     // the picked entry's name as the list shows it; empty until one is picked
    QString typeCode; // service kinds: the picked entry's short name TYP

    // A row's code passes when the box is ticked or the code is the picked one.
    bool passes(int rowCode) const { return all || rowCode == code; }
};

// Radio groups; the first item of each is the default.
enum class VehicleChoice { All, Passenger, Other };     // "Pojazdy": wszystkie, osobowe, pozostałe
enum class EngineChoice { All, FourStroke, TwoStroke }; // "Rodzaj silnika"
enum class PlanChoice { Any, Yes, No };                 // "Plan": dowolny, TAK, NIE

// Everything a report window lets the operator choose.
struct StatementChoices {
    FilterChoice kind, group, unit, service;
    VehicleChoice vehicles = VehicleChoice::All;
    EngineChoice engine = EngineChoice::All;
    int section = 1; // "Nr sekcji": the layout
    // Card statements and voucher: the month and year spin boxes, and "Dowolny m-c".
    bool anyMonth = true;
    int month = 1;
    int year = 2000;
    bool registerForm = false; // trip cards: "Rejestr Kart Drogowych" instead of the statement
    bool formal = false;       // consumption by kind: "Zestawienie Formalne"
    int fromMonth = 1, toMonth = 12;
    int fromYear = 2007, toYear = 2012;
    PlanChoice plan = PlanChoice::Any;
    QDate from, to;
    bool oil = false; // voucher: the oils instead of the fuel
    // Services: when switched on in the options, a planned service whose counter the vehicle's
    // odometer has reached (less the margin) is listed whatever its planned date.
    bool dueByCounter = false;
    int counterMargin = 500;
};

// The choices a window starts with: the working period of the system record and today.
StatementChoices defaultChoices(StatementId id, const SystemSettings& settings, const QDate& today);
// The average statements' span: the end year follows the start year.
void setStartYear(StatementChoices& choices, int startYear);

// Called after every source row with the counter (1 to 100, then from 1 again) so that a window can
// show progress and handle input.
using Progress = std::function<void(int counter)>;

// Builds a statement's result table from its sources. Pure: nothing but the arguments is read.
// The text columns of the consumption statements use the locale's number format.
ResultTable buildStatement(StatementId id, const StatementChoices& choices, const StatementSources& sources,
                           const Progress& progress = {}, const QLocale& locale = QLocale());

// The empty result table of a statement, with the grid titles of the choices.
ResultTable emptyStatement(StatementId id, const StatementChoices& choices);

// What a statement prints with and the texts around it.
struct PrintSpec {
    QString projectFile; // a name in the report folder, e.g. "RapPoj.rav"
    bool landscape = true;
    QList<QPair<QString, QString>> parameters; // in the order they are passed
    QString dataView;
};

// The report title, the window caption (title, the statement's run of blanks, the period suffix) and
// the export title.
QString statementTitle(StatementId id);
QString statementCaption(StatementId id, int year, int month);
QString statementExportTitle(StatementId id);

// The print of a statement under the choices: "firma", "osoba" and the filter's texts come from
// the system record, the operator and the choices.
PrintSpec statementPrint(StatementId id, const StatementChoices& choices, const SystemSettings& settings,
                         const QString& operatorFullName);

// "Marzec 2005": the trimmed month name, a blank and the year.
QString periodText(int month, int year);
// "kiedy" and the other filter texts printed for a dimension.
QString filterText(const FilterChoice& choice, const QString& allText);

} // namespace korven::reports
