#include "Navigation.h"

#include "core/ProgramStart.h"
#include "exports/ui/EquipmentDocuments.h"
#include "session/ui/LoginDialog.h"
#include "session/ui/MainWindows.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVEN"));
    QApplication::setOrganizationName(QStringLiteral("KORVEN"));

    using namespace korven;
    ui::routeComponentMessages();
    exports::ui::installEquipmentDocuments();
    session::DialogStartupUi startup;
    std::unique_ptr<session::Session> session;
    try {
        prepareProgram();
        session =
            session::startSession(QDir(ui::programFolder()).filePath(QStringLiteral("setup.ini")), startup);
    } catch (const std::exception& e) {
        ui::showError(nullptr, e);
        return 1;
    }
    if (!session) return 1;

    int rc = 0;
    {
        session::mainP window(*session, app::makeNavigator(*session));
        window.show();
        rc = app.exec();
    }
    session.reset(); // unregisters the operator and disconnects
    return rc;
}
