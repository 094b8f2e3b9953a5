#pragma once

#include <QString>

namespace korven::test {

// The folder of the source tree, for reading fixtures and report projects in tests.
QString sourceDir();

} // namespace korven::test
