#pragma once

#include "session/Navigator.h"
#include "session/Session.h"

namespace korven::app {

// Connects the main menu to the windows of every subsystem.
session::Navigator makeNavigator(session::Session& session);

} // namespace korven::app
