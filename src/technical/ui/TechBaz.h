#pragma once

#include "core/AddonOptions.h"
#include "core/SystemSettings.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace korven::session {
class Session;
}

namespace korven::technical {

class UpdateFetch;

// "Baza Danych Systemu": the system record on five tabs, the options of the additions on a sixth,
// the update check and the two repairs.
class TechBaz : public QDialog {
    Q_OBJECT
public:
    // The update server is read from setup.ini at setupIni; the check gives up after timeoutMs.
    TechBaz(session::Session& session, const QString& setupIni, QWidget* parent = nullptr,
            int timeoutMs = 10000);
    ~TechBaz() override;

    // "O&K": saves when the operator may and is alone. The window closes after a save and after a
    // refusal; a value that is not valid, or a database error, leaves it open with what was typed.
    void save();
    void chooseLogo();
    void checkForUpdate();
    void repairTripCards();
    void repairEquipment();

    QLineEdit* field(const QString& column) const { return fields_.value(column); }
    QCheckBox* switchBox(const QString& column) const { return switches_.value(column); }
    QTabWidget* tabs() const { return tabs_; }
    // The "Dodatki" tab: the switches and the margin of the optional additions.
    QCheckBox* plausibilityBox() const { return plausibility_; }
    QCheckBox* dueByCounterBox() const { return dueByCounter_; }
    QLineEdit* marginField() const { return margin_; }
    QString updateServer() const { return server_; }

signals:
    // After a save: the captions that show the short name and the period are to be rebuilt.
    void saved();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void showLogo(const QString& path);
    void updateChecked(bool ok, const QByteArray& body, const QString& error);
    QWidget* fieldsTab(int tab);
    QWidget* aboutTab();
    QWidget* addonsTab();

    session::Session& session_;
    SystemSettings read_;
    QString server_;
    int timeoutMs_;
    QTabWidget* tabs_ = nullptr;
    QMap<QString, QLineEdit*> fields_;
    QMap<QString, QCheckBox*> switches_;
    QLineEdit* month_ = nullptr;
    AddonOptions addons_;
    QCheckBox* plausibility_ = nullptr;
    QCheckBox* dueByCounter_ = nullptr;
    QLineEdit* margin_ = nullptr;
    QLabel* logo_ = nullptr;
    QLabel* connections_ = nullptr;
    QPushButton* check_ = nullptr;
    QLabel* downloadText_ = nullptr;
    QLabel* downloadLink_ = nullptr;
    QPushButton* changes_ = nullptr;
    QPushButton* repairCards_ = nullptr;
    QPushButton* repairEquipment_ = nullptr;
    UpdateFetch* fetch_ = nullptr;
};

} // namespace korven::technical
