#pragma once

namespace korven::db {

// Ends every connection of this program and stops the engine cleanly, waiting at most timeoutMs. A
// program that must end at once (a stop signal) calls it first: the embedded engine keeps locks in
// files shared by every program on the machine, and a process that vanishes in the middle of the
// engine's work can leave them held. Does nothing when the client library was never loaded; never
// throws.
void shutdownClient(unsigned timeoutMs) noexcept;

} // namespace korven::db
