#pragma once

#include "session/data/Session.h"
#include "session/ui/Navigator.h"

namespace korven::app {

// Connects the main menu to the windows of every subsystem.
session::Navigator makeNavigator(session::Session& session);

} // namespace korven::app
