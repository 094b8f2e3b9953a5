#pragma once

#include "tripcards/data/CardRegisterData.h"
#include "tripcards/rules/CardRegister.h"
#include "tripcards/rules/FieldEvents.h"

#include <QDialog>
#include <QList>
#include <QMap>

class QGridLayout;
class QLabel;
class QPushButton;

namespace korven::ui {
class CheckedEdit;
}

namespace korven::tripcards {

// How a field of a settlement window treats its column.
enum class FieldRole {
    Input,   // typed; leaving it runs the column's rule
    NoRule,  // typed; leaving it stores the value and recomputes nothing
    Display, // shows the value, cannot be entered
};

// One cell of a group's grid: a field bound to a card column, or a label.
struct CellSpec {
    int row;
    int column;
    QString id;             // the field's object name; for labels an optional name
    const char* cardColumn; // nullptr for a label
    FieldRole role = FieldRole::Display;
    QString text;        // label text
    bool header = false; // a column heading of a table group
};

struct GroupSpec {
    QString title;
    QString id;
    QList<CellSpec> cells;
};

// The frame of the two settlement windows: groups of fields bound to the columns of one card,
// built from tables. Leaving an input field runs that column's rule on the card (the field keeps the
// focus with a message when its text is not a number or a date), every field then shows the card's
// new values, and the result labels say saving or overconsumption. "&Przelicz" recomputes, "D&rukuj"
// prints the settlement, "O&K" saves the card if the operator may change it, "&Anuluj" and Esc close
// without saving.
class SettlementForm : public QDialog {
    Q_OBJECT
public:
    SettlementForm(SettlementMode mode, const CardRecord& card, const VehicleContext& vehicle,
                   CardRegisterData& data, QWidget* parent = nullptr);

    const CardRecord& card() const { return card_; }
    ui::CheckedEdit* field(const QString& id) const { return fields_.value(id).edit; }
    QLabel* label(const QString& id) const;
    QLabel* fuelResult() const { return fuelResult_; }
    QLabel* oilResult() const { return oilResult_; }
    QPushButton* button(const QString& id) const;

    void recalculateCard();
    void printCard();
    void saveCard();

protected:
    bool event(QEvent* event) override;

private:
    struct Field {
        CellSpec spec;
        ui::CheckedEdit* edit = nullptr;
    };
    QWidget* buildGroup(const GroupSpec& group);
    QString leaveField(const QString& id, ui::CheckedEdit& edit);
    void afterChange(const FieldOutcome& outcome, const QString& id);
    void refresh();
    void showResult(QLabel* label, const ResultLabel& result);
    QWidget* buttons();
    void buildLayout();
    QWidget* heading();

    SettlementMode mode_;
    CardRecord card_;
    CardKey original_;
    VehicleContext vehicle_;
    CardRegisterData& data_;
    QMap<QString, Field> fields_;
    QMap<QString, QLabel*> labels_;
    QMap<QString, QPushButton*> buttons_;
    QLabel* fuelResult_ = nullptr;
    QLabel* oilResult_ = nullptr;
    QStringList tabOrder_;
};

// "Karta Drogowa": the card of a vehicle without a fuel meter, settled by norms and allowances.
class KartaD : public SettlementForm {
    Q_OBJECT
public:
    KartaD(const CardRecord& card, const VehicleContext& vehicle, CardRegisterData& data,
           QWidget* parent = nullptr)
        : SettlementForm(SettlementMode::Norms, card, vehicle, data, parent) {}
};

// "Karta Drogowa z Paliwomierzem": the card of a vehicle with a fuel meter, settled by its readings.
class KartaD2 : public SettlementForm {
    Q_OBJECT
public:
    KartaD2(const CardRecord& card, const VehicleContext& vehicle, CardRegisterData& data,
            QWidget* parent = nullptr)
        : SettlementForm(SettlementMode::Meter, card, vehicle, data, parent) {}
};

} // namespace korven::tripcards
