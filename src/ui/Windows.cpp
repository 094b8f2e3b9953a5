#include "ui/Windows.h"
#include "ui/Stopping.h"
#include "ui/UiServices.h"

#include "core/SystemSettings.h"
#include "db/Error.h"
#include "exports/ui/GridExportView.h"
#include "reports/ui/ReportPrint.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>
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

namespace {

// Set on a window while it is hidden for a child: whatever Qt does to a hidden dialog, that must
// not count as the window being closed.
const char* const hiddenForChild = "korvenHiddenForChild";

QList<QPointer<QDialog>>& windowStack() {
    static QList<QPointer<QDialog>> stack;
    return stack;
}

} // namespace

struct HiddenWhileOpen::State {
    QPointer<QWidget> window;
    QPointer<QWidget> focus;
    QRect geometry;
};

HiddenWhileOpen::HiddenWhileOpen(QWidget* window) {
    if (!window || !window->isVisible()) return;
    state_ = std::make_unique<State>();
    state_->window = window;
    state_->focus = window->focusWidget();
    state_->geometry = window->geometry();
    window->setProperty(hiddenForChild, true);
    window->hide();
}

HiddenWhileOpen::~HiddenWhileOpen() {
    if (!state_ || !state_->window) return;
    QWidget* window = state_->window;
    window->setProperty(hiddenForChild, false);
    if (stopping()) return; // the window is about to close as well: no flash on the way out
    window->show();
    // A window manager may place a window that comes back anew; it stays where the operator had it.
    window->setGeometry(state_->geometry);
    window->raise();
    window->activateWindow();
    if (state_->focus && state_->focus->window() == window) state_->focus->setFocus(Qt::OtherFocusReason);
}

int openChild(QWidget* parent, QDialog& child) {
    if (stopping()) return QDialog::Rejected;
    // The dialog runs in an event loop of its own rather than in QDialog::exec(): a dialog hidden
    // inside exec() ends its loop, which would close the parent behind its child's back.
    child.setResult(QDialog::Rejected);
    child.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QPointer<QDialog> watched(&child);
    auto end = [&loop, watched] {
        if (!watched || !watched->property(hiddenForChild).toBool()) loop.quit();
    };
    QObject::connect(&child, &QDialog::finished, &loop, end);
    QObject::connect(&child, &QObject::destroyed, &loop, &QEventLoop::quit);
    {
        HiddenWhileOpen hidden(parent ? parent->window() : nullptr);
        windowStack().append(&child);
        child.show();
        if (child.isVisible()) loop.exec(QEventLoop::DialogExec);
        windowStack().removeAll(watched);
        windowStack().removeAll(nullptr);
    }
    return watched ? watched->result() : QDialog::Rejected;
}

QList<QDialog*> openWindows() {
    QList<QDialog*> out;
    for (const QPointer<QDialog>& d : std::as_const(windowStack()))
        if (d) out << d;
    return out;
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
