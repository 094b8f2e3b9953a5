#pragma once

class QWidget;

namespace korven::session {
class Session;
}

namespace korven::equipcards {

// Opens the work card register of the machine with that code modally over parent (which hides
// meanwhile). A machine that no longer exists is reported and nothing opens.
void openEquipmentCardRegister(QWidget* parent, session::Session& session, int KODS);

} // namespace korven::equipcards
