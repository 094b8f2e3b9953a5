#include "admin/ui/AdminLogin.h"
#include "admin/ui/MainF.h"
#include "core/ProgramStart.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sarkol"));
    QApplication::setOrganizationName(QStringLiteral("KORVEN"));

    using namespace korven;
    ui::routeComponentMessages();
    const QString setupIni = QDir(ui::programFolder()).filePath(QStringLiteral("setup.ini"));
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
