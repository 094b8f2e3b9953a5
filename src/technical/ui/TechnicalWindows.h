#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace korven::session {
class Session;
}

namespace korven::technical {

// Opens "Funkcje Techniczne" modally over parent. titleChanged is called after the working month or
// the company's short name changed, so that the main window rebuilds its caption.
void openTechnicalFunctions(QWidget* parent, session::Session& session, std::function<void()> titleChanged);

// Where the programs keep setup.ini: beside the executable, or in the user's configuration folder
// when installed.
QString setupIniPath();

} // namespace korven::technical
