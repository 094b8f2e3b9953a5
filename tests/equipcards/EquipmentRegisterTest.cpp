#include "equipcards/rules/EquipmentRegister.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::equipcards;

namespace {

EquipmentContext saw() {
    EquipmentContext m;
    m.KODS = 3;
    m.NAZWA = QStringLiteral("Pilarka Stihl MS 440 ");
    m.NRREJ = QStringLiteral(" PIL-03");
    return m;
}

} // namespace

TEST(EquipmentRegister, CaptionsAreCutTo80ThenTheWorkingPeriod) {
    SystemSettings s;
    s.ROK = 9;
    s.MIE = 3;
    const QString caption = registerCaption(saw(), s);
    EXPECT_EQ(caption.left(80).trimmed(), QStringLiteral("Karty Sprzętu  Pilarka Stihl MS 440  PIL-03"));
    EXPECT_EQ(caption.mid(80), QStringLiteral("Marzec 2009"));
    const QString settlement = settlementCaption(s);
    EXPECT_EQ(settlement.left(80).trimmed(), QStringLiteral("Szczegółowe Dane Karty Sprzętowej"));
    EXPECT_EQ(settlement.mid(80), QStringLiteral("Marzec 2009"));
    EXPECT_EQ(settlementHeading(saw()), QStringLiteral("Pilarka Stihl MS 440 - PIL-03"));

    EquipmentContext longName = saw();
    longName.NAZWA = QString(90, QLatin1Char('N'));
    EXPECT_EQ(registerCaption(longName, s).size(), 80 + QStringLiteral("Marzec 2009").size());
    EXPECT_EQ(registerExportTitle(longName).size(), 100);
    EXPECT_EQ(registerExportTitle(saw()),
              QStringLiteral("Kartoteka Kart Sprzętowych dla Pilarka Stihl MS 440  PIL-03"));
}

TEST(EquipmentRegister, ZeroShowsAsEmptyTextOtherNumbersByTheirDecimals) {
    EquipmentCard c;
    c.CZAS = 0;
    c.NORMAPAL = 0.105;
    c.ZUZYCIEPALF = 1234.5;
    c.OSZCZPAL = -2.25;
    c.DATAS = QDate(2009, 3, 31);
    const QLocale en = QLocale::c();
    struct Case {
        const char* column;
        const char* shown;
    };
    for (const Case k : {Case{"CZAS", "0"}, Case{"NORMAPAL", "0.105"}, Case{"NORMOLM", ""},
                         Case{"ZUZYCIEPALN", ""}, Case{"ZUZYCIEPALF", "1,234.50"}, Case{"OSZCZPAL", "-2.25"},
                         Case{"POZOSTOLS", ""}, Case{"DATAS", "2009-03-31"}})
        EXPECT_EQ(displayText(c, k.column, en), QString::fromUtf8(k.shown)) << k.column;
    EXPECT_EQ(displayText(c, "ZUZYCIEPALF", QLocale(QLocale::Polish)), QStringLiteral("1\u00a0234,50"));
}

TEST(EquipmentRegister, TheCheckBoxChoosesTheWorkCardTemplate) {
    EXPECT_EQ(pagesCaption(false), QStringLiteral("Dwie strony"));
    EXPECT_EQ(pagesCaption(true), QStringLiteral("Jedna strona"));
    EXPECT_EQ(workCardTemplate(false), QStringLiteral("karta_pracy_sprzetu1.xlsx"));
    EXPECT_EQ(workCardTemplate(true), QStringLiteral("karta_pracy_sprzetu3.xlsx"));
}

TEST(EquipmentRegister, DocumentFieldsOfACard) {
    EquipmentContext m = saw();
    m.NROPER = QStringLiteral("OP-7");
    m.NORMPAL = 0.05;
    m.totalCapacity = QStringLiteral("15.5");
    EquipmentCard c;
    c.KODK = 12;
    c.ROKS = 9;
    c.MIES = 2;
    c.ZUZYCIEPALF = 10.5;
    c.IMIENAZ = QStringLiteral("Jan Nowak");
    const EquipmentDocumentFields f = documentFields(c, m, QLocale::c());
    EXPECT_EQ(f.machineName, QStringLiteral("Pilarka Stihl MS 440"));
    EXPECT_EQ(f.monthName, QStringLiteral("Luty "));
    EXPECT_EQ(f.year, QStringLiteral("2009"));
    EXPECT_EQ(f.monthTwoDigits, QStringLiteral("02"));
    EXPECT_EQ(f.cardNumber, QStringLiteral("12"));
    EXPECT_EQ(f.fuelNorm, QStringLiteral("0.05"));
    EXPECT_EQ(f.actualFuel, QStringLiteral("10.5"));
    EXPECT_EQ(f.totalCapacity, QStringLiteral("15.5"));
}
