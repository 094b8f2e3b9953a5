#pragma once

#include "reports/engine/DataView.h"
#include "schema/History.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace korven::history {

// What the printed history shows in its heading and footer.
struct HistoryPrintContext {
    QString firma; // the unit's short name
    QString osoba; // who prints
    QString logo;  // the unit's picture, if any
};

// The print project of the history.
inline constexpr char kHistoryProject[] = "Historia.rav";

// "Historia Zmian": the recorded changes of cards, services, vehicles and machines, selected by
// period, operator, table and (from a card register) one row, and printed through the report
// engine's output options. Only the administrator may read them; everyone else is told so and sees
// no rows.
class Historia : public QDialog {
    Q_OBJECT
public:
    Historia(db::Attachment& attachment, HistoryPrintContext context, const QString& table = {},
             const QString& key = {}, QWidget* parent = nullptr);
    // Reads the history for the selection; false (with the message shown in the window) when the
    // user may not read it or the reading failed.
    bool refresh();
    // "Drukuj": the rows read last, through the output options; a message when there is nothing
    // to print.
    void print();
    int rows() const;
    QString message() const;

private:
    db::Attachment& attachment_;
    HistoryPrintContext context_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* user_;
    QComboBox* table_;
    QLineEdit* key_;
    QTableWidget* list_;
    QLabel* message_;
    std::vector<schema::HistoryEntry> entries_;
    bool readable_ = false;
};

// The text an operation is shown with: "Dopisanie", "Zmiana", "Usunięcie".
QString operationText(const QString& operation);

// The rows of the printed history, newest first as read: one row a change, continued in rows of their
// own when its list of columns is long.
reports::DataView historyPrintRows(const std::vector<schema::HistoryEntry>& entries);

// Opens the history of one row of a recorded table as a child window of `parent`: `key` holds the
// values of the table's key columns, in their order.
void openRowHistory(QWidget* parent, db::Attachment& attachment, const HistoryPrintContext& context,
                    const QString& table, const QList<int>& key);

// Opens the history as a child window of `parent`: all of it, or one row's when table and key are
// given.
void openHistory(QWidget* parent, db::Attachment& attachment, const HistoryPrintContext& context,
                 const QString& table = {}, const QString& key = {});

} // namespace korven::history
