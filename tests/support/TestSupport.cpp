#include "support/TestSupport.h"

namespace korven::test {

QString sourceDir() { return QStringLiteral(KORVEN_SOURCE_DIR); }

} // namespace korven::test
