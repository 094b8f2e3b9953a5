#pragma once

#include "charts/data/ChartData.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <variant>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace korven::session {
class Session;
}

namespace korven::charts {

// What a print of a chart carries besides the chart: the unit's name, who prints, the logo.
struct ChartPrintContext {
    QString firma;
    QString osoba;
    QString logo;
    int workingYear = 0; // full year; the years offered first
};

// The project file a chart prints through.
inline const QString kChartProject = QStringLiteral("Wykres.rav");

// "Wykres Zużycia Paliwa": a chart of fuel consumption for a vehicle or machine (its rate by month
// over the chosen years, against its norm) or for a kind, group or unit (the chosen year's fuel by
// month). The chart is redrawn on "&Pokaż" and on every change of the choice; "D&rukuj" prints it
// through the output options (printer, preview, PDF, PNG, ...).
class Wykres : public QDialog {
    Q_OBJECT
public:
    Wykres(ChartData& data, ChartPrintContext context, ChartSubject subject, int code,
           QWidget* parent = nullptr);
    ~Wykres() override;

    // Reads the chosen chart and shows it; a failed read or wrong years are shown as a message and
    // leave the last chart in place. True when a chart was drawn.
    bool showChart();
    void printChart();
    // A fresh chart of what is shown, for printing and tests; null before any chart.
    QChart* makeChart() const;

    QComboBox* subjectBox() const { return subject_; }
    QComboBox* entryBox() const { return entry_; }
    QSpinBox* fromYear() const { return from_; }
    QSpinBox* toYear() const { return to_; }
    QChartView* view() const { return view_; }
    QString chartTitle() const;

private:
    void subjectChanged();
    void fillEntries(int code);
    ChartSubject subject() const;

    ChartData& data_;
    ChartPrintContext context_;
    QComboBox* subject_;
    QComboBox* entry_;
    QLabel* fromLabel_;
    QSpinBox* from_;
    QSpinBox* to_;
    QLabel* summary_;
    QChartView* view_;
    bool filling_ = false;

    struct Shown {
        ChartSubject subject;
        QString title;
        std::variant<RateSeries, std::vector<MonthFuel>> content;
    };
    std::optional<Shown> shown_;
};

// Opens the chart window over the session for one vehicle (KODA), one machine (KODS) or the first
// entry of a kind, group or unit.
void openChart(QWidget* parent, session::Session& session, ChartSubject subject, int code = 0);
// The same from a window that holds the working transaction and the print context itself.
void openChart(QWidget* parent, db::Transaction& working, const ChartPrintContext& context,
               ChartSubject subject, int code);
// The full year of the system record's two-digit working year.
int fullYear(int ROK);

} // namespace korven::charts
