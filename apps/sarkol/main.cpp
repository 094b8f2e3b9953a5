#include "admin/ui/AdminLogin.h"
#include "admin/ui/MainF.h"
#include "core/ProgramStart.h"
#include "ui/Application.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sarkol"));
    QApplication::setOrganizationName(QStringLiteral("KORVEN"));

    using namespace korven;
    // Polish Qt texts, Enter on a focused button and the program's icon, as in KORVEN.
    ui::setUpApplication(app, QStringLiteral("sarkol.png"));
    ui::routeComponentMessages();
    const QString setupIni = ui::setupIniPath();
    admin::AdminConfig config;
    try {
        prepareProgram();
        config = admin::MainD::loadConfig(setupIni);
    } catch (const std::exception& e) {
        ui::showError(nullptr, e);
        return 1;
    }
    admin::DialogAdminStartupUi startup;
    std::unique_ptr<admin::MainD> data = admin::startAdmin(config, startup);
    if (!data) return 1;

    admin::MainF window(*data, setupIni);
    window.show();
    return app.exec();
}
