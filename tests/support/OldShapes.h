#pragma once

#include "db/Database.h"

#include <QString>

#include <memory>

namespace korven::test {

// A database of the oldest shape the upgrades start from: the system record, the operator list and
// its generator, the vehicle dictionaries, the vehicles and their trip cards as they were before the
// first upgrade step, with one vehicle and one card in it. `stepsApplied` upgrade steps (in version
// order, by the upgrade code itself) bring it to the shape before the next step.
std::unique_ptr<db::Attachment> createOldDatabase(const db::ConnectParams& params, int stepsApplied = 0);

} // namespace korven::test
