#pragma once

#include <functional>

namespace korven::ui {

// Ends the program the way an operator would, from the window thread: every open window is closed
// as Esc closes it (what was typed and not posted is not stored, as with Esc), an open question is
// answered No, a message is closed, and then the top-level windows are closed without the closing
// question, so the main window runs its exit sequence; finally the window loop ends. Calling it
// again while the program is stopping changes nothing.
void stopProgram();

// True from the first stopProgram() on: no new window opens and no message or question is shown.
bool stopping();

// Keeps SIGTERM, SIGINT and SIGHUP from interrupting any thread: call it first in main(), before
// any thread is started (Qt's and the database engine's threads inherit it).
void blockStopSignals();

// Turns SIGTERM, SIGINT and SIGHUP, and the end of the desktop session, into stopProgram(), run in
// the window loop. Once the application exists; blocks the signals in the calling thread too.
void installStopSignals();

// Runs `last` once when the program ends without its window loop returning (the display went
// away and the platform ended the process): the place for an exit sequence that must not be
// skipped. Set it to nothing once that sequence has run normally.
void setEmergencyExit(std::function<void()> last);

} // namespace korven::ui
