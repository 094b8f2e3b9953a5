#pragma once

#include <QLocale>

namespace korven {

// The locale the program shows and reads numbers in: the system's own, except that a system without
// a real locale (C or POSIX) gets the Polish notation, decimal comma and thousands separated by a
// space, the notation of the program's users.
QLocale programLocale(const QLocale& system = QLocale::system());

// What every program does first, before its first window or command: makes programLocale() the
// default locale and checks KORVEN_TODAY. Throws std::runtime_error with a readable text when
// KORVEN_TODAY is set but is not a date.
void prepareProgram();

} // namespace korven
