#pragma once

// The real program on a virtual display with a window manager, driven by keys as an operator
// drives it: a private X server, a window manager on it, a copy of the program folder with its own
// setup.ini over a fresh demo database, and the X tools that type and look at the windows.

#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace korven::test {

// A private X server with a window manager, stopped when this goes.
class Desktop {
public:
    Desktop();
    ~Desktop();
    bool ready() const { return !display_.isEmpty(); }
    const QString& error() const { return error_; }
    const QString& display() const { return display_; }
    // Stops the X server, as when the operator's session ends under a program.
    void pullThePlug();

    // Runs an X tool on this display; its output, or nothing when it failed.
    std::optional<QString> tool(const QString& program, const QStringList& arguments) const;
    // Types keys into the focused window: xdotool key names ("Return", "alt+k", "Tab").
    void keys(const QStringList& keys) const;
    void type(const QString& text) const;

    // The title of the active window (empty when there is none).
    QString activeTitle() const;
    // The titles of every window shown now.
    QStringList visibleTitles() const;
    // The place of the active window on the screen.
    QRect activeGeometry() const;
    // Waits until the active window's title matches; false after the time-out.
    bool waitActive(const QRegularExpression& title, int timeoutMs = 15000) const;
    // Waits until a window with a matching title is shown; false after the time-out.
    bool waitShown(const QRegularExpression& title, int timeoutMs = 15000) const;
    bool shown(const QRegularExpression& title) const;
    // Saves a picture of the whole screen as NAME.png into KORVEN_SCREENSHOT_DIR, when that is set
    // (scripts/screenshots.sh).
    void screenshot(const QString& name) const;

private:
    QProcess server_;
    QProcess manager_;
    QString display_;
    QString error_;
};

// The build's program folder, or the one in KORVEN_BIN_DIR (to run the same tests on another build).
QString programFolder();

// A copy of the program folder with a demo database, and the program started from it.
class Korven {
public:
    // Makes the folder and the demo database; `bin` is the build's program folder.
    explicit Korven(const QString& bin);
    ~Korven();
    bool ready() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    const QString& folder() const { return folderPath_; }
    QString database() const;

    // Starts the program on the desktop (not waiting for anything).
    void start(const Desktop& desktop);
    // Starts it and logs in as SYSDBA; false (and error()) when the main window did not come.
    bool startAndLogIn(const Desktop& desktop);
    QProcess& process() { return process_; }
    // Sends a signal to the program.
    void signal(int number);
    // Waits for the program to end; false after the time-out (it is killed then).
    bool waitEnded(int timeoutMs);
    QString output() const;

private:
    QTemporaryDir dir_;
    QString folderPath_;
    QString error_;
    QProcess process_;
    QString log_;
};

} // namespace korven::test
