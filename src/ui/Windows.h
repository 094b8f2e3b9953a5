#pragma once

#include <QString>

#include <exception>

class QDialog;
class QWidget;

namespace korven {
struct SystemSettings;
}

namespace korven::ui {

// Plays one of the program's sounds unless the system record has them locked ("Blokada dźwięku").
void playSound(const SystemSettings& settings, const QString& fileName);

// Opens a child window modally; the window that opens it hides itself meanwhile and shows itself
// again afterwards. Returns the dialog's result.
int openChild(QWidget* parent, QDialog& child);

// The general error display: a message box with the error's text. Database errors whose cause the
// operator can act on (a lost connection, a row held by another operator) say so in plain words
// before the server's own text.
void showError(QWidget* parent, const std::exception& error);
QString errorText(const std::exception& error);

// Sends the messages of the report engine and the spreadsheet export through the program's message
// service, so that every box the operator sees comes from one place (and tests can answer them).
void routeComponentMessages();

// Runs work and hands any error to the general error display; false when it failed.
template <class Work> bool guarded(QWidget* parent, Work&& work) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        showError(parent, e);
        return false;
    }
}

} // namespace korven::ui
