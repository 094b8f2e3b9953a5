#pragma once

#include "exports/GridExport.h"
#include "reports/engine/ReportEngine.h"
#include "ui/RowsModel.h"

#include <QDialog>

#include <functional>
#include <optional>

class QHBoxLayout;
class QPushButton;
class QTableView;
class QToolBar;

namespace korven::ui {

// The buttons of the record navigator a list may show.
enum class NavButton { First, Prior, Next, Last, Delete, Cancel, Refresh };

// A record navigator: a tool bar with the chosen buttons, their hints ("pierwszy", "poprzedni", ...)
// and object names ("navFirst", "navPrior", ...); a press runs `pressed` with the button.
QToolBar* makeNavigator(QWidget* parent, const QList<NavButton>& buttons,
                        std::function<void(NavButton)> pressed);

struct ListConfig {
    QString objectName;
    QString title;
    QList<ListColumn> columns;
    QList<NavButton> navigator = {NavButton::First,  NavButton::Prior,  NavButton::Next,   NavButton::Last,
                                  NavButton::Delete, NavButton::Cancel, NavButton::Refresh};
    QString keyField;      // the column that finds a row again after a re-read
    QString reportProject; // "RodzajP.rav"
    QString dataView;      // "RvDataSetRodzajP"
    reports::Orientation orientation = reports::Orientation::Portrait; // of the printed list
};

// The frame of every list window: a read-only grid with whole-row selection, a record navigator,
// panels for buttons, and the keys Enter (edit), Insert (new), Delete (delete after a question) and
// Esc (close). The window sees these keys before its controls, except text fields, which keep Delete
// and Enter for themselves. After every change the list is re-read and the cursor returns to its row.
class ListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ListWindow(ListConfig config, QWidget* parent = nullptr);

    // Where the rows come from. Errors are swallowed (the list opens empty) and re-reads keep going.
    std::function<db::Rows()> loader;
    // Opens the editor on a row.
    std::function<void(const db::Row&)> onEdit;
    // Adds a row and returns its key, or nothing when no row was added.
    std::function<std::optional<db::Value>()> onNew;
    // Asked before the delete question; false stops the delete (the hook tells the operator why).
    std::function<bool(const db::Row&)> beforeDelete;
    // Deletes a row; throws on failure.
    std::function<void(const db::Row&)> onDelete;
    // The parameters of the printed list.
    std::function<reports::ReportParameters()> reportParameters;
    // The rows of the printed list; unset: the grid's columns as shown.
    std::function<reports::DataView()> reportData;

    // Reads the rows and puts the cursor on the row with this key (or the first row).
    void reload(const std::optional<db::Value>& key = std::nullopt);
    // Reads the rows and puts the cursor on this position (clamped).
    void reloadAt(int position);

    QTableView* grid() const { return grid_; }
    RowsModel* model() const { return model_; }
    const db::Row* currentRow() const;
    int currentPosition() const;
    void setCurrentPosition(int position);
    const ListConfig& config() const { return config_; }
    void setColumns(QList<ListColumn> columns);

    QHBoxLayout* upperPanel() const { return upper_; }
    QHBoxLayout* lowerPanel() const { return lower_; }
    QPushButton* addButton(QHBoxLayout* panel, const QString& caption, const QString& objectName,
                           std::function<void()> action);

    // The behaviours the buttons and keys run.
    void editCurrent();
    void addNew();
    // Asks "Czy napewno wykasować daną pozycję ?" and deletes on Yes. From the Delete key a failure is
    // rolled back silently; from the navigator it is reported.
    void deleteCurrent(bool fromKey);
    // Prints the list with the configured project, or with the one named (a window whose printout
    // depends on a choice of the operator).
    void printList(const QString& projectFile = QString());
    exports::ExportOutcome exportList(const QString& title);
    // Where the export writes and how it opens its file: by default the documents folder and the
    // desktop's application through the window services.
    exports::ExportEnvironment exportEnvironment;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyColumnLayout();
    void watchKeys(QObject* object);
    ListConfig config_;
    RowsModel* model_;
    QTableView* grid_;
    QToolBar* navigator_;
    QHBoxLayout* upper_;
    QHBoxLayout* lower_;
};

} // namespace korven::ui
