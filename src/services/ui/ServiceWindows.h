#pragma once

class QWidget;

namespace korven::session {
class Session;
}

namespace korven::services {

// Opens the technical services register of the vehicle with that code modally over parent (which
// hides meanwhile). A vehicle that no longer exists is reported and nothing opens.
void openServiceRegister(QWidget* parent, session::Session& session, int KODA);

} // namespace korven::services
