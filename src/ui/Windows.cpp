#include "ui/Windows.h"
#include "ui/UiServices.h"

#include "core/SystemSettings.h"
#include "db/Error.h"
#include "exports/ui/GridExportView.h"
#include "reports/ui/ReportPrint.h"

#include <QDialog>
#include <QWidget>

namespace korven::ui {

void routeComponentMessages() {
    reports::ui::reportUiServices().showMessage = [](QWidget* parent, const QString& text) {
        services().message(parent, text, QStringLiteral("KORVEN"), MessageIcon::Warning);
    };
    exports::ui::exportMessageHandler() = [](QWidget* parent, const QString& text) {
        services().message(parent, text, QStringLiteral("KORVEN"), MessageIcon::Warning);
    };
}

void playSound(const SystemSettings& settings, const QString& fileName) {
    if (!settings.soundLocked()) services().playSound(fileName);
}

int openChild(QWidget* parent, QDialog& child) {
    const bool hide = parent && parent->isVisible();
    if (hide) parent->hide();
    int result = child.exec();
    if (hide) parent->show();
    return result;
}

QString errorText(const std::exception& error) {
    if (const auto* db = dynamic_cast<const db::DbError*>(&error)) {
        using R = db::DbError::Reason;
        switch (db->reason()) {
        case R::ConnectionLost:
            return QStringLiteral(
                       "Połączenie z bazą danych zostało przerwane. Zmiany, które nie zostały "
                       "zapisane, trzeba wprowadzić ponownie po ponownym uruchomieniu programu.\n\n") +
                   db->message();
        case R::LockConflict:
            return QStringLiteral(
                       "Ten rekord jest właśnie zmieniany przez innego operatora ... spróbuj za chwilę "
                       "jeszcze raz ...\n\n") +
                   db->message();
        default:
            return db->message();
        }
    }
    return QString::fromUtf8(error.what());
}

void showError(QWidget* parent, const std::exception& error) {
    services().message(parent, errorText(error), QStringLiteral("Błąd"), MessageIcon::Critical);
}

} // namespace korven::ui
