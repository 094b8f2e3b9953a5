#include "Navigation.h"

namespace korven::app {

session::Navigator makeNavigator(session::Session& /*session*/) {
    session::Navigator n;
    return n;
}

} // namespace korven::app
