#pragma once

#include "fuelimport/data/FuelImportData.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace korven::session {
class Session;
}

namespace korven::fuelimport {

// "Import Transakcji Paliwowych": a file of fuel-card transactions is chosen, read through a column
// mapping (chosen from the stored ones, edited and saved under a name), previewed per row and per
// card, and entered into the trip cards with "Zatwierdź".
class ImpPal : public QDialog {
    Q_OBJECT
public:
    explicit ImpPal(session::Session& session, QWidget* parent = nullptr);

    // Reads the file under the mapping of the fields and shows the preview; false with a message
    // when the file or the mapping cannot be used.
    bool preview();
    // Writes the preview's changes; false with a message when nothing was written.
    bool apply();
    void chooseFile();
    void saveMapping();
    void setFile(const QString& path);

    const ImportPlan& plan() const { return plan_; }

private:
    void loadMappings();
    void showMapping(const ColumnMapping& m);
    ColumnMapping mappingOfFields() const;
    void fillTables();

    session::Session& session_;
    FuelImportData data_;
    ImportPlan plan_;
    bool previewed_ = false;
    QLineEdit* file_ = nullptr;
    QComboBox* mappings_ = nullptr;
    QSpinBox* date_ = nullptr;
    QSpinBox* reg_ = nullptr;
    QSpinBox* litres_ = nullptr;
    QSpinBox* odometer_ = nullptr;
    QCheckBox* header_ = nullptr;
    QTableWidget* rows_ = nullptr;
    QTableWidget* cards_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* apply_ = nullptr;
};

// Opens the window as a child of parent.
void openFuelImport(QWidget* parent, session::Session& session);

} // namespace korven::fuelimport
