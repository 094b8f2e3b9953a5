#pragma once

#include <QDate>

#include <functional>

namespace korven {

// Today's date as the program sees it. Tests set a fixed day.
QDate today();
void setTodayProvider(std::function<QDate()> provider);

} // namespace korven
