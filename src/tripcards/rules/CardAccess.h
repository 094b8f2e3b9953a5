#pragma once

#include <QString>

namespace korven::tripcards {

// Access level that may do everything and also edit the start values of any card.
inline constexpr int fullAccessLevel = 0;
inline constexpr int startValuesAccessLevel = 99;

// The start odometer, the start converted mileage and the start meter reading can be typed only on a
// vehicle's first card; an operator of access level 99 may type them on any card.
bool startValuesEditable(int vehicleCardCount, int accessLevel);

// Whether an operator may save a card of the period (cardYear, cardMonth) while the working period is
// (currentYear, currentMonth); years are two-digit. Levels 0 and 99 may save any card; every other
// level only the card of the working month, of the month before it, or of last December in January.
bool maySaveCard(int cardYear, int cardMonth, int currentYear, int currentMonth, int accessLevel);

// The periods a restricted operator may still change: the working month, the month before it in the
// same year, and last December while the working month is January.
bool recentCardPeriod(int cardYear, int cardMonth, int currentYear, int currentMonth);

// The message shown when saving is refused.
QString saveRefusedMessage();

} // namespace korven::tripcards
