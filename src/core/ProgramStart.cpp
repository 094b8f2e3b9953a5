#include "core/ProgramStart.h"

#include "core/Clock.h"

namespace korven {

QLocale programLocale(const QLocale& system) {
    if (system.language() == QLocale::C) return QLocale(QLocale::Polish, QLocale::Poland);
    return system;
}

void prepareProgram() {
    QLocale::setDefault(programLocale());
    checkTodayVariable();
}

} // namespace korven
