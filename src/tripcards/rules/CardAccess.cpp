#include "tripcards/rules/CardAccess.h"

namespace korven::tripcards {

bool startValuesEditable(int vehicleCardCount, int accessLevel) {
    return vehicleCardCount <= 1 || accessLevel == startValuesAccessLevel;
}

bool maySaveCard(int cardYear, int cardMonth, int currentYear, int currentMonth, int accessLevel) {
    if (accessLevel == fullAccessLevel || accessLevel == startValuesAccessLevel) return true;
    return recentCardPeriod(cardYear, cardMonth, currentYear, currentMonth);
}

bool recentCardPeriod(int cardYear, int cardMonth, int currentYear, int currentMonth) {
    if (cardYear == currentYear && (cardMonth == currentMonth || cardMonth == currentMonth - 1)) return true;
    return cardYear == currentYear - 1 && cardMonth == 12 && currentMonth == 1;
}

QString saveRefusedMessage() {
    return QStringLiteral("... Za niskie uprawnienia do zmiany starej Karty Drogowej ... pa,pa ...");
}

} // namespace korven::tripcards
