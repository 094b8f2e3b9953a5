#pragma once

#include "admin/data/MainD.h"

#include <QWidget>

class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace korven::admin {

class BackupTab;
class DeletionTab;
class OutputTab;
class UpgradeTab;
class UsersTab;

// The hourglass cursor for the life of the object.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The administration program's window: one tab control with the eight tabs. Each activation reads the
// system record again; closing writes the configuration fields back into setup.ini.
class MainF : public QWidget {
    Q_OBJECT
public:
    MainF(MainD& data, QString setupIniPath, QWidget* parent = nullptr);

    // Reads the system record and shows its counters and flag (what every activation does).
    void refresh();
    // The configuration as the fields stand.
    AdminConfig fieldsConfig() const;

    QTabWidget* tabs() const { return tabs_; }
    BackupTab* backupTab() const { return backup_; }
    UsersTab* usersTab() const { return users_; }
    OutputTab* statisticsTab() const { return statistics_; }
    OutputTab* propertiesTab() const { return properties_; }
    OutputTab* attachedUsersTab() const { return attached_; }
    DeletionTab* deletionPanel() const { return deletion_; }
    UpgradeTab* upgradeTab() const { return upgrades_; }

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* configurationTab();
    QWidget* deletionTab();
    MainD& data_;
    QString setupIniPath_;
    QTabWidget* tabs_;
    BackupTab* backup_;
    UsersTab* users_;
    OutputTab* statistics_;
    OutputTab* properties_;
    OutputTab* attached_;
    DeletionTab* deletion_;
    UpgradeTab* upgrades_;
    QLineEdit *sciezka_, *serwer_, *protokol_, *cien_;
    QSpinBox* year_;
    bool shownOnce_ = false;
    bool refreshFailed_ = false;
};

} // namespace korven::admin
