#pragma once

#include "schema/History.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace korven::session {
class Session;
}

namespace korven::technical {

// "Historia Zmian": the recorded changes of cards, services, vehicles and machines, selected by
// period, operator, table and (from a card register) one row. Only the administrator may read them;
// everyone else is told so and sees no rows.
class Historia : public QDialog {
    Q_OBJECT
public:
    Historia(session::Session& session, const QString& table = {}, const QString& key = {},
             QWidget* parent = nullptr);
    // Reads the history for the selection; false (with the message shown in the window) when the
    // user may not read it or the reading failed.
    bool refresh();
    int rows() const;
    QString message() const;

private:
    session::Session& session_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* user_;
    QComboBox* table_;
    QLineEdit* key_;
    QTableWidget* list_;
    QLabel* message_;
};

} // namespace korven::technical
