#pragma once

#include "charts/rules/ConsumptionSeries.h"
#include "db/Database.h"

#include <QString>

#include <vector>

namespace korven::charts {

// What a chart is drawn for: one vehicle or machine (a rate by month over years), or every vehicle
// or machine of a kind, group or unit (the year's fuel by month).
enum class ChartSubject {
    Vehicle,
    Machine,
    VehicleKind,
    VehicleGroup,
    VehicleUnit,
    MachineGroup,
    MachineUnit
};

// A choice in the window's list of the subject: the vehicle, machine or dictionary entry.
struct ChartEntry {
    int code = 0;
    QString caption;
};

// "Pojazd", "Rodzaj pojazdów", ...: the caption of a subject in the window's choice.
QString subjectCaption(ChartSubject subject);
bool isRateChart(ChartSubject subject);

// The reads of the charts. Each chart is one query over the cards of its period; the lists of
// choices are one query each. Reads run in the working transaction by the shared transaction
// pattern; a failure is a db::DbError for the general error display.
class ChartData {
public:
    explicit ChartData(db::Transaction& working) : working_(working) {}

    std::vector<ChartEntry> entries(ChartSubject subject);
    // The cards of one vehicle (KODA) or machine (KODS) in the years, in no particular order.
    std::vector<CardFigures> cards(ChartSubject subject, int code, int fromYear, int toYear);
    // The sums by month of the cards of a year for the vehicles or machines of a dictionary entry.
    std::vector<MonthFuel> monthSums(ChartSubject subject, int code, int year);

private:
    db::Transaction& working_;
};

} // namespace korven::charts
