#include "core/Clock.h"

namespace korven {

namespace {
std::function<QDate()>& provider() {
    static std::function<QDate()> p;
    return p;
}
} // namespace

QDate today() {
    return provider() ? provider()() : QDate::currentDate();
}

void setTodayProvider(std::function<QDate()> p) {
    provider() = std::move(p);
}

} // namespace korven
