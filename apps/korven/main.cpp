#include "Navigation.h"

#include "core/ProgramStart.h"
#include "exports/ui/EquipmentDocuments.h"
#include "services/ui/ObslugiPilne.h"
#include "session/ui/LoginDialog.h"
#include "session/ui/MainWindows.h"
#include "ui/Application.h"
#include "ui/Stopping.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char** argv) {
    // The stop signals are read by the window loop; no thread is interrupted by them.
    korven::ui::blockStopSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVEN"));
    QApplication::setOrganizationName(QStringLiteral("KORVEN"));
    QApplication::setDesktopFileName(QStringLiteral("korven"));

    using namespace korven;
    ui::setUpApplication(app, QStringLiteral("korven.png"));
    ui::routeComponentMessages();
    ui::installStopSignals();
    exports::ui::installEquipmentDocuments();
    session::DialogStartupUi startup;
    std::unique_ptr<session::Session> session;
    try {
        prepareProgram();
        session = session::startSession(ui::setupIniPath(), startup);
    } catch (const std::exception& e) {
        ui::showError(nullptr, e);
        return 1;
    }
    if (!session) return 1;

    int rc = 0;
    {
        session::mainP window(*session, app::makeNavigator(*session));
        // Should the platform end the process without the window loop returning (the display went
        // away), the operator is still counted out and unregistered before the engine goes.
        ui::setEmergencyExit([&session, &window] {
            window.runExitSequence(false);
            session.reset();
        });
        if (ui::stopping()) {
            window.close(); // stopped during the start: the exit sequence all the same
        } else {
            window.show();
            // The services due now, once the menu is on the screen (only when switched on).
            QTimer::singleShot(0, &window,
                               [&window, &session] { services::showDueServicesAtLogin(&window, *session); });
            rc = app.exec();
        }
        window.runExitSequence(false);
        ui::setEmergencyExit({});
    }
    session.reset(); // unregisters the operator and disconnects
    return rc;
}
