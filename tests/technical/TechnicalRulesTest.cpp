// The rules of the technical functions that need no database.

#include "technical/rules/DataSetMap.h"
#include "technical/rules/MonthOpening.h"
#include "technical/rules/SettingsForm.h"
#include "technical/rules/UpdateCheck.h"
#include "tripcards/rules/CardRegister.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korven;
using namespace korven::technical;

TEST(TechnicalRules, CaptionIsPaddedTo65ThenThePeriod) {
    SystemSettings s;
    s.ROK = 9;
    s.MIE = 2;
    EXPECT_EQ(techCaption(s), QStringLiteral("Funkcje Techniczne") + QString(47, QLatin1Char(' ')) +
                                  QStringLiteral("Luty 2009"));
}

TEST(TechnicalRules, CounterRunsToOneHundredThenStartsAgain) {
    ProgressCounter c;
    std::vector<int> seen;
    for (int i = 0; i < 150; ++i)
        seen.push_back(c.advance());
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(seen[99], 100);
    EXPECT_EQ(seen[100], 1);
    EXPECT_EQ(seen.back(), 50);
}

TEST(TechnicalRules, OnlyAnEmptyOrNLockOpensWithTheMonth) {
    struct Case {
        const char* lock;
        bool opens;
    };
    for (const Case& c : {Case{"N", true}, Case{"", true}, Case{" N ", true}, Case{"   ", true},
                          Case{"T", false}, Case{"n", false}, Case{"t", false}, Case{"X", false}})
        EXPECT_EQ(tripcards::opensWithMonth(QString::fromLatin1(c.lock)), c.opens) << "'" << c.lock << "'";
}

TEST(TechnicalRules, FinalMessagesCarryTheCounts) {
    const MonthOpeningCounts c{12, 2, 3};
    EXPECT_EQ(
        monthOpeningDone(CardKind::Trip, c),
        QStringLiteral("Karty Drogowe dla wszystkich Pojazdów za bieżący miesiąc zostały dodane ....\n\n"
                       "Dodano kart: 12\nPominięto zablokowanych pojazdów: 2\n"
                       "Pominięto pojazdów z kartą za ten miesiąc: 3"));
    EXPECT_TRUE(
        monthOpeningDone(CardKind::Equipment, c)
            .startsWith(QStringLiteral("Karty Sprzętowe dla wszystkich Sprzętów za bieżący miesiąc")));
    const QString stopped = monthOpeningStopped(CardKind::Trip, c, QStringLiteral("lock conflict"));
    EXPECT_TRUE(stopped.startsWith(QStringLiteral("lock conflict\n\n")));
    EXPECT_TRUE(stopped.contains(QStringLiteral("Dodano kart: 12")));
    EXPECT_FALSE(stopped.contains(QStringLiteral("zostały dodane ....")));
    EXPECT_EQ(
        monthOpeningQuestion(CardKind::Trip),
        QStringLiteral("Czy stworzyć Karty Drogowe dla wszystkich Pojazdów za miesiąc obowiązujący w "
                       "programie ?.\n\n\n\nZmiany miesiąca na właściwy, jeśli to konieczne, dokonujemy "
                       "wcześniej w ramach [Funkcji Technicznych]\ni dalej [Kalendarz Systemu]."));
}

TEST(TechnicalRules, AnnouncedVersionIsFirstCharacterPointAndThreeMore) {
    struct Case {
        const char* answer;
        const char* version;
    };
    for (const Case& c : {Case{"1370", "1.370"}, Case{"136a\r\n", "1.36a"}, Case{"2", "2."}, Case{"", "."},
                          Case{"13", "1.3"}, Case{"x.yz9", "x..yz"}})
        EXPECT_EQ(announcedVersion(QByteArray(c.answer)), QString::fromLatin1(c.version)) << c.answer;
    EXPECT_EQ(downloadCaption(QStringLiteral("1.370")),
              QStringLiteral("Pobierz nową wersję programu : v.1.370"));
    EXPECT_TRUE(updateAnnouncement(QStringLiteral("1.370"))
                    .startsWith(QStringLiteral("Dostępna jest w Internecie wersja - v.1.370\n\n")));
}

TEST(TechnicalRules, UpdateFilesStandAtTheServersRoot) {
    for (const char* server :
         {"http://127.0.0.1:8080", "http://127.0.0.1:8080/", " http://127.0.0.1:8080// "}) {
        EXPECT_EQ(versionFileUrl(QString::fromLatin1(server)).toString(),
                  QStringLiteral("http://127.0.0.1:8080/ver5.txt"));
        EXPECT_EQ(installerUrl(QString::fromLatin1(server)).toString(),
                  QStringLiteral("http://127.0.0.1:8080/zovo_kv.exe"));
        EXPECT_EQ(changesUrl(QString::fromLatin1(server)).toString(),
                  QStringLiteral("http://127.0.0.1:8080/opis_zm_kv.txt"));
    }
}

TEST(TechnicalRules, DataSetProgressSteps) {
    std::vector<int> steps;
    for (int k = 1; k <= 9; ++k)
        steps.push_back(dataSetProgress(k));
    EXPECT_EQ(steps, (std::vector<int>{11, 22, 33, 44, 55, 66, 77, 88, 100}));
    ASSERT_EQ(dataSets().size(), 9u);
    EXPECT_STREQ(dataSets()[6].statement, "select KODA,KODB from A_OBSLU");
}

// --- The settings form --------------------------------------------------------------------------

namespace {
SystemSettings stored() {
    SystemSettings s;
    s.NAZWASKR = QStringLiteral("KM PSP");
    s.ROK = 9;
    s.MIE = 3;
    s.MN_POS = 60;
    s.MN_MIE = 10;
    s.POCZNR = 1;
    s.POCZNRS = 1;
    s.DYRKOM = QStringLiteral("K");
    s.OBRO = QStringLiteral("N");
    return s;
}
} // namespace

TEST(SettingsForm, TypedValuesReplaceTheRecordsAndTheRestIsKept) {
    const SettingsOutcome out = applySettingsForm(stored(),
                                                  {{"NAZWASKR", "JRG 2"},
                                                   {"ROK", " 9 "},
                                                   {"MN_MIE", "12,5"},
                                                   {"POCZNR", "100"},
                                                   {"NIP", "123-456-78-901234"}},
                                                  {true, false, true});
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_EQ(out.settings.NAZWASKR, QStringLiteral("JRG 2"));
    EXPECT_EQ(out.settings.ROK, 9);
    EXPECT_EQ(out.settings.MIE, 3);
    EXPECT_DOUBLE_EQ(out.settings.MN_MIE, 12.5);
    EXPECT_DOUBLE_EQ(out.settings.MN_POS, 60);
    EXPECT_EQ(out.settings.POCZNR, 100);
    EXPECT_EQ(out.settings.NIP, QStringLiteral("123-456-78-90")); // cut to 13
    EXPECT_EQ(out.settings.P6P12, QStringLiteral("T"));
    EXPECT_EQ(out.settings.ZAPI, QStringLiteral("N"));
    EXPECT_EQ(out.settings.DZWIEK, QStringLiteral("T"));
    EXPECT_EQ(out.settings.DYRKOM, QStringLiteral("K"));
}

TEST(SettingsForm, InvalidOrOutOfRangeNumbersAreRefusedNamingTheField) {
    struct Case {
        const char* column;
        const char* text;
        const char* label;
    };
    for (const Case& c :
         {Case{"ROK", "2009", "Aktualny rok"}, Case{"ROK", "-1", "Aktualny rok"},
          Case{"ROK", "9a", "Aktualny rok"}, Case{"MN_ALA", "1,5,0", "Dodatek Alarmowy [%]"},
          Case{"MN_ALA", "abc", "Dodatek Alarmowy [%]"}, Case{"MN_ALA", "", "Dodatek Alarmowy [%]"},
          Case{"MN_TER", "100000", "Dodatek Terenowy (ciężki teren) [%]"},
          Case{"MN_TER", "1e3", "Dodatek Terenowy (ciężki teren) [%]"},
          Case{"POCZNRS", "10000", "Początkowy nr Karty Sprzętowej"},
          Case{"POCZNR", "1000000000", "Początkowy nr Karty Drogowej"}}) {
        const SettingsOutcome out = applySettingsForm(stored(), {{c.column, c.text}}, {});
        EXPECT_FALSE(out.ok()) << c.column << " " << c.text;
        EXPECT_TRUE(out.error.contains(QString::fromUtf8(c.label))) << out.error.toStdString();
    }
}

TEST(SettingsForm, EveryFieldShowsItsValueAndReadsItBackUnchanged) {
    SystemSettings s = stored();
    s.MN_KLI = 2.3456;
    s.NORMA_OET = 0.7;
    QMap<QString, QString> typed;
    for (const SettingsField& f : settingsFields())
        typed.insert(QLatin1String(f.column), fieldText(s, f));
    EXPECT_EQ(typed.value(QStringLiteral("MN_KLI")), QStringLiteral("2.3456"));
    const SettingsOutcome out = applySettingsForm(s, typed, {});
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_DOUBLE_EQ(out.settings.MN_KLI, 2.3456);
    EXPECT_DOUBLE_EQ(out.settings.NORMA_OET, 0.7);
    EXPECT_EQ(out.settings.NAZWASKR, s.NAZWASKR);
}
