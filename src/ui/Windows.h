#pragma once

#include <QList>
#include <QString>

#include <exception>
#include <memory>

class QDialog;
class QWidget;

namespace korven {
struct SystemSettings;
}

namespace korven::ui {

// Plays one of the program's sounds unless the system record has them locked ("Blokada dźwięku").
void playSound(const SystemSettings& settings, const QString& fileName);

// Opens a child window modally and waits until it closes; the window that opens it (the window of
// `parent`) hides itself meanwhile and comes back afterwards where it was, with the focus where it
// was. The parent keeps running: hiding it ends nothing, so a window opened from a window opened
// from another closes back to its own parent only. Returns the dialog's result; while the program
// is stopping nothing opens and the result is Rejected.
int openChild(QWidget* parent, QDialog& child);

// Hides a window for as long as it lives and then shows it again at its place, with the focus on
// the widget that had it (unless the program is stopping meanwhile). A window that is not visible
// is left alone.
class HiddenWhileOpen {
public:
    explicit HiddenWhileOpen(QWidget* window);
    ~HiddenWhileOpen();
    HiddenWhileOpen(const HiddenWhileOpen&) = delete;
    HiddenWhileOpen& operator=(const HiddenWhileOpen&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The windows opened by openChild that are open now, the first opened first.
QList<QDialog*> openWindows();

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
