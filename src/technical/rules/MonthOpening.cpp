#include "technical/rules/MonthOpening.h"

#include "core/Period.h"

namespace korven::technical {

QString techCaption(const SystemSettings& settings) {
    return padCut(QStringLiteral("Funkcje Techniczne"), 65) + titleSuffix(settings.ROK, settings.MIE);
}

const QStringList& calendarMonths() {
    static const QStringList names{
        QStringLiteral("Styczeń"),     QStringLiteral("Luty"),     QStringLiteral("Marzec"),
        QStringLiteral("Kwiecień"),    QStringLiteral("Maj"),      QStringLiteral("Czerwiec"),
        QStringLiteral("Lipiec"),      QStringLiteral("Sierpień"), QStringLiteral("Wrzesień"),
        QStringLiteral("Październik"), QStringLiteral("Listopad"), QStringLiteral("Grudzień")};
    return names;
}

bool mayOpenCalendar(int accessLevel) {
    return accessLevel == kAccessAll;
}

QString monthOpeningQuestion(CardKind kind) {
    const QString first =
        kind == CardKind::Trip
            ? QStringLiteral("Czy stworzyć Karty Drogowe dla wszystkich Pojazdów za miesiąc obowiązujący w "
                             "programie ?.")
            : QStringLiteral("Czy stworzyć Karty Sprzętowe dla wszystkich Sprzętów za miesiąc obowiązujący w "
                             "programie ?.");
    return first + QStringLiteral("\n\n\n\nZmiany miesiąca na właściwy, jeśli to konieczne, dokonujemy "
                                  "wcześniej w ramach [Funkcji Technicznych]\ni dalej [Kalendarz Systemu].");
}

namespace {
QString countsText(CardKind kind, const MonthOpeningCounts& c) {
    const bool trip = kind == CardKind::Trip;
    return QStringLiteral("Dodano kart: %1").arg(c.created) +
           (trip ? QStringLiteral("\nPominięto zablokowanych pojazdów: %1")
                 : QStringLiteral("\nPominięto zablokowanych sprzętów: %1"))
               .arg(c.skippedBlocked) +
           (trip ? QStringLiteral("\nPominięto pojazdów z kartą za ten miesiąc: %1")
                 : QStringLiteral("\nPominięto sprzętów z kartą za ten miesiąc: %1"))
               .arg(c.skippedHavingCard);
}
} // namespace

QString monthOpeningDone(CardKind kind, const MonthOpeningCounts& c) {
    return (kind == CardKind::Trip
                ? QStringLiteral(
                      "Karty Drogowe dla wszystkich Pojazdów za bieżący miesiąc zostały dodane ....")
                : QStringLiteral("Karty Sprzętowe dla wszystkich Sprzętów za bieżący miesiąc zostały dodane "
                                 "....")) +
           QStringLiteral("\n\n") + countsText(kind, c);
}

QString monthOpeningStopped(CardKind kind, const MonthOpeningCounts& c, const QString& error) {
    return error +
           QStringLiteral("\n\nTworzenie kart zostało przerwane; karty dodane do tej chwili zostały "
                          "zapisane, ponowne uruchomienie doda brakujące.\n\n") +
           countsText(kind, c);
}

namespace messages {
QString calendarRefused() {
    return QStringLiteral("Za niskie uprawnienia do zmiany Kalendarza ... pa,pa ...");
}
QString othersConnected() {
    return QStringLiteral(
        "Przed wykonaniem tej funkcji wszyscy pozostali użytkownicy muszą wyjść z programu ...!!!");
}
QString settingsRefused() {
    return QStringLiteral(
        "Za niskie uprawnienia do zmiany danych w ramach Funkcji Technicznych... pa,pa ...");
}
} // namespace messages

} // namespace korven::technical
