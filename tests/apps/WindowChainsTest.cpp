// The real program under a window manager, driven by keys: every chain of windows from the main
// menu opens level by level, and every way of closing a window leaves its parent shown, active,
// where it was and able to open the window again.

#include "apps/Desktop.h"

#include <gtest/gtest.h>

using namespace korven::test;

namespace {

struct Close {
    const char* how;
    QStringList keys;
};

struct Level {
    const char* unit;  // the window, for the messages
    QStringList open;  // the keys that open it from its parent
    const char* title; // its title, as a pattern
    QList<Close> closes;
    // The keys that open it again once it closed, where the parent's focus then stands elsewhere
    // than at first (the parent comes back with the focus on the button that opened the child).
    QStringList reopen = {};
};

const Close esc{"Esc", {"Escape"}};
const QList<Close> listCloses{esc, {"&Wyjście", {"alt+w"}}};
const QList<Close> editorCloses{esc, {"O&K", {"alt+k"}}, {"&Anuluj", {"alt+a"}}};
// In a dictionary editor Enter means "O&K".
const QList<Close> dictionaryEditorCloses{
    esc, {"O&K", {"alt+k"}}, {"&Anuluj", {"alt+a"}}, {"Enter", {"Return"}}};

const char* const mainTitle = "^System KORVEN: ";

// The main menu's buttons in their Tab order from "Kartoteka Pojazdów", where the focus stands
// whenever the main window becomes active.
QStringList mainButton(int tabs) {
    QStringList keys;
    for (int i = 0; i < tabs; ++i)
        keys << QStringLiteral("Tab");
    return keys << QStringLiteral("space");
}

const Level pojazd{"Pojazd", mainButton(0), "^Kartoteka Pojazdów ", listCloses};
const Level pojazdEd{"PojazdEd", {"Return"}, "^Dane Szczegółowe Pojazdu :", editorCloses};
const Level karta{"Karta", {"alt+k"}, "^Karty Drogowe ", listCloses};
const Level kartaD{"KartaD", {"Return"}, "^Szczegółowe Dane Karty Drogowej", editorCloses};
const Level sprzet{"Sprzet", mainButton(3), "^Kartoteka Sprzętu ", listCloses};
const Level kartaSp{"KartaSp", {"alt+k"}, "^Karty Sprzętu ", listCloses};
const Level kartaSpEd{"KartaSpEd", {"Return"}, "^Szczegółowe Dane Karty Sprzętowej", editorCloses};
const Level obslugaT{"ObslugaT", {"alt+o"}, "^Kartoteka Obsług Technicznych ", listCloses};
const Level obslugaTD{
    "ObslugaTD", {"Return"}, "^Korekta Danych o Obsłudze Technicznej Pojazdu$", editorCloses};
const Level sprzetEd{"SprzetEd", {"Return"}, "^Dane Szczegółowe Sprzętu :", editorCloses};
const Level pozKarPa{"PozKarPa",
                     mainButton(1),
                     "^Pozostałe Kartoteki$",
                     {esc, {"Wyjście", {"Tab", "Tab", "Tab", "Tab", "space"}}}};
const Level pozKarSp{
    "PozKarSp", mainButton(4), "^Pozostałe Kartoteki Sprzętu$", {esc, {"Wyjście", {"Tab", "Tab", "space"}}}};
// The window opens on its first button; Shift+Tab from there reaches "Wyjście", the last one.
const Level tech{"Tech", mainButton(6), "^Funkcje Techniczne ", {esc, {"Wyjście", {"shift+Tab", "space"}}}};
// The change history, the last button before "Wyjście"; it opens with its selection and the list read.
const Level historia{
    "Historia", {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"}, "^Historia Zmian$", {esc}, {"space"}};
// The eighth button of "Funkcje Techniczne", after the change history; the window opens with the focus
// in its file field, the first of its fields, from where Shift+Tab reaches "Wyjście", its last button.
const Level impPal{"ImpPal",
                   {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"},
                   "^Import Transakcji Paliwowych$",
                   {esc, {"Wyjście", {"shift+Tab", "space"}}},
                   {"space"}};
const Level raport{"Raport", mainButton(2), "^Raporty dla Pojazdów$", {esc}};
// The doubtful cards statement: the seventh button of the vehicle report menu, which comes back with
// the focus on it.
const Level rapWatpl{"RapWatpl",
                     {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"},
                     "^Zestawienie Wątpliwych Kart Drogowych ",
                     {esc},
                     {"space"}};
const Level raportSp{"RaportSp", mainButton(5), "^Raporty dla Sprzętu$", {esc}};
// The chart window from a card register (its "W&ykres") and from a report menu (the button after the
// six statements); it comes back with the focus on the button that opened it.
const Level wykres{"Wykres", {"alt+y"}, "^Wykres Zużycia Paliwa$", listCloses};
const Level wykresMenu{"Wykres",
                       {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"},
                       "^Wykres Zużycia Paliwa$",
                       listCloses,
                       {"space"}};
// The vehicle report menu has the doubtful cards statement before its chart.
const Level wykresMenuP{"Wykres",
                        {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"},
                        "^Wykres Zużycia Paliwa$",
                        listCloses,
                        {"space"}};
// The change history of the selected card, from a card register's "&Historia".
const Level historiaKarty{"Historia", {"alt+h"}, "^Historia Zmian$", {esc}};
const Level wykazOP{
    "WykazOP", {"Tab", "space"}, "^Wykaz Aktywnych Operatorów --> \\d+$", listCloses, {"space"}};

// A dictionary list opened from its menu by the menu's button in Tab order, and its editor.
Level dictionary(const char* unit, int tabs, const char* title) {
    QStringList keys;
    for (int i = 0; i < tabs; ++i)
        keys << QStringLiteral("Tab");
    return Level{unit, keys << QStringLiteral("space"), title, listCloses};
}
Level dictionaryEditor(const char* unit, const char* title) {
    return Level{unit, {"Return"}, title, dictionaryEditorCloses};
}

struct Chain {
    const char* name;
    QList<Level> levels;
};

// Every chain of windows the main menu leads to; each new window adds a row.
const Chain chains[] = {
    {"Pojazd", {pojazd}},
    {"PojazdEd", {pojazd, pojazdEd}},
    {"Karta", {pojazd, karta}},
    {"KartaD", {pojazd, karta, kartaD}},
    {"Sprzet", {sprzet}},
    {"SprzetEd", {sprzet, sprzetEd}},
    {"KartaSp", {sprzet, kartaSp}},
    {"KartaSpEd", {sprzet, kartaSp, kartaSpEd}},
    {"ObslugaT", {pojazd, obslugaT}},
    {"ObslugaTD", {pojazd, obslugaT, obslugaTD}},
    {"PozKarPa", {pozKarPa}},
    {"RodzajPo", {pozKarPa, dictionary("RodzajPo", 0, "^Kartoteka Rodzajów Pojazdów$")}},
    {"RodzPEd",
     {pozKarPa, dictionary("RodzajPo", 0, "^Kartoteka Rodzajów Pojazdów$"),
      dictionaryEditor("RodzPEd", "^Korekta Rodzaju Pojazdu$")}},
    {"GrupPEd",
     {pozKarPa, dictionary("GrupaPo", 1, "^Kartoteka Grup Pojazdów$"),
      dictionaryEditor("GrupPEd", "^Korekta Grupy Pojazdu$")}},
    {"KomenEd",
     {pozKarPa, dictionary("Komenda", 2, "^Kartoteka Jednostek$"),
      dictionaryEditor("KomenEd", "^Korekta Nazwy Jednostki$")}},
    {"ObslugaE",
     {pozKarPa, dictionary("Obsluga", 3, "^Kartoteka Rodzajów Obsługi$"),
      dictionaryEditor("ObslugaE", "^Kartoteka Obsług Technicznych$")}},
    {"PozKarSp", {pozKarSp}},
    {"GrupSEd",
     {pozKarSp, dictionary("GrupaSp", 0, "^Kartoteka Grup Sprzętu Silnikowego$"),
      dictionaryEditor("GrupSEd", "^Korekta Grupy Sprzętu$")}},
    {"KomenEdSp",
     {pozKarSp, dictionary("Komenda", 1, "^Kartoteka Jednostek$"),
      dictionaryEditor("KomenEd", "^Korekta Nazwy Jednostki$")}},
    {"Raport", {raport}},
    {"RapWatpl", {raport, rapWatpl}},
    {"RaportSp", {raportSp}},
    {"WykresKarta", {pojazd, karta, wykres}},
    {"WykresKartaSp", {sprzet, kartaSp, wykres}},
    {"WykresRaport", {raport, wykresMenuP}},
    {"WykresRaportSp", {raportSp, wykresMenu}},
    {"HistoriaKarta", {pojazd, karta, historiaKarty}},
    {"HistoriaKartaSp", {sprzet, kartaSp, historiaKarty}},
    {"Tech", {tech}},
    {"WykazOP", {tech, wykazOP}},
    {"Historia", {tech, historia}},
    {"ImpPal", {tech, impPal}},
};

void PrintTo(const Chain& chain, std::ostream* out) {
    *out << chain.name;
}

class WindowChains : public ::testing::TestWithParam<Chain> {};

QRegularExpression pattern(const char* title) {
    return QRegularExpression(QString::fromUtf8(title));
}

} // namespace

TEST_P(WindowChains, EveryCloseReturnsToAWorkingParent) {
    const Chain& chain = GetParam();
    Desktop desktop;
    ASSERT_TRUE(desktop.ready()) << desktop.error().toStdString();
    Korven korven(programFolder());
    ASSERT_TRUE(korven.ready()) << korven.error().toStdString();
    ASSERT_TRUE(korven.startAndLogIn(desktop)) << korven.error().toStdString();
    const QRect mainPlace = desktop.activeGeometry();

    auto parentTitle = [&](int level) { return level == 0 ? mainTitle : chain.levels[level - 1].title; };
    auto shownNow = [&] { return desktop.visibleTitles().join(QStringLiteral(" | ")).toStdString(); };

    // Down the chain, one level after another.
    for (int i = 0; i < chain.levels.size(); ++i) {
        const Level& level = chain.levels[i];
        desktop.keys(level.open);
        ASSERT_TRUE(desktop.waitActive(pattern(level.title)))
            << level.unit << " did not open; shown: " << shownNow();
        EXPECT_FALSE(desktop.shown(pattern(parentTitle(i))))
            << "the parent of " << level.unit << " stays shown";
    }
    desktop.screenshot(QStringLiteral("desktop-") + QString::fromUtf8(chain.name));

    // The last level closed in every way it can be; each time its parent comes back and opens it
    // again.
    const int last = static_cast<int>(chain.levels.size()) - 1;
    const Level& deepest = chain.levels[last];
    const QRegularExpression parent = pattern(parentTitle(last));
    for (const Close& close : deepest.closes) {
        SCOPED_TRACE(std::string(deepest.unit) + " closed by " + close.how);
        desktop.keys(close.keys);
        ASSERT_TRUE(desktop.waitActive(parent)) << "its parent is not back; shown: " << shownNow();
        EXPECT_FALSE(desktop.shown(pattern(deepest.title)));
        if (last == 0) {
            EXPECT_EQ(desktop.activeGeometry(), mainPlace) << "the main window moved";
        }
        desktop.keys(deepest.reopen.isEmpty() ? deepest.open : deepest.reopen);
        ASSERT_TRUE(desktop.waitActive(pattern(deepest.title)))
            << "the parent does not open it again; shown: " << shownNow();
    }

    // Back up by Esc, level by level, to the main window, which still answers its keys.
    for (int i = last; i >= 0; --i) {
        desktop.keys({QStringLiteral("Escape")});
        ASSERT_TRUE(desktop.waitActive(pattern(parentTitle(i))))
            << "Esc in " << chain.levels[i].unit << " did not return to its parent; shown: " << shownNow();
    }
    EXPECT_EQ(desktop.activeGeometry(), mainPlace) << "the main window moved";
    desktop.keys(chain.levels[0].open);
    EXPECT_TRUE(desktop.waitActive(pattern(chain.levels[0].title)))
        << "the main window opens nothing any more";
}

INSTANTIATE_TEST_SUITE_P(MainMenu, WindowChains, ::testing::ValuesIn(chains),
                         [](const ::testing::TestParamInfo<Chain>& info) {
                             return std::string(info.param.name);
                         });
