#pragma once

#include "core/SystemSettings.h"
#include "exports/GridExport.h"
#include "reports/data/StatementData.h"
#include "reports/rules/Statements.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace korven::reports::ui {

class FilterDimension;
class StatementModel;

// What a report window works with: the operator's context, the filter's dictionaries and the read
// of a statement's rows for the chosen period.
struct ReportWindowContext {
    SystemSettings settings;
    QString operatorFullName;
    QDate today;
    FilterLists lists;
    std::function<StatementSources(const StatementChoices&)> read;
    // The additions' options: services due by the counter.
    bool serviceDueByCounter = false;
    int serviceCounterMargin = 500;
};

// The frame of every report window: the selection filter and the statement's own choices, a grid over
// the result table, a progress bar and counter, and "&Start", "&Export Excel", "D&rukuj",
// "&Wyjście". Which choices it shows, the build, the columns, the layouts and the export title
// come from the statement.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(StatementId id, ReportWindowContext context, QWidget* parent = nullptr);
    ~ReportWindow() override;

    StatementId statement() const { return id_; }
    // The choices as the controls stand.
    StatementChoices choices() const;
    const ResultTable& table() const { return table_; }

    // The behaviours of the buttons.
    void start();
    void print();
    exports::ExportOutcome exportGrid();

    // Where the export writes and how it opens its file.
    exports::ExportEnvironment exportEnvironment;

    QTableView* grid() const { return grid_; }
    FilterDimension* dimension(const QString& objectName) const;
    QSpinBox* spin(const QString& objectName) const;
    QCheckBox* check(const QString& objectName) const;
    QButtonGroup* radio(const QString& objectName) const;
    QDateEdit* date(const QString& objectName) const;
    bool building() const { return building_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void updateTitles();
    void showProgress(int counter);
    StatementId id_;
    ReportWindowContext context_;
    StatementChoices initial_;
    ResultTable table_;
    StatementModel* model_;
    QTableView* grid_;
    QProgressBar* progress_;
    QLabel* counter_;
    QPushButton* startButton_;
    QPushButton* exportButton_;
    QPushButton* printButton_;
    QPushButton* exitButton_;
    QWidget* controls_;
    bool building_ = false;
};

} // namespace korven::reports::ui
