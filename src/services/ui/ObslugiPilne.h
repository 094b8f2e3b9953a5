#pragma once

#include "services/rules/ServiceRules.h"

#include <QDialog>

#include <vector>

class QTableWidget;

namespace korven::session {
class Session;
}

namespace korven::services {

// "Obsługi techniczne do wykonania": the services due now, by date and by the odometer, one line
// each, read-only. "&Zamknij" and Esc close it.
class ObslugiPilne : public QDialog {
    Q_OBJECT
public:
    ObslugiPilne(const std::vector<DueService>& due, QWidget* parent = nullptr);
    QTableWidget* grid() const { return grid_; }

private:
    QTableWidget* grid_ = nullptr;
};

// After the login: when services due by the odometer are switched on in the options and any
// service is due today, the list opens over parent. A failed read is passed over silently: the
// list is a reminder, the program works without it.
void showDueServicesAtLogin(QWidget* parent, session::Session& session);

} // namespace korven::services
