// The import window as it is used: a file chosen, previewed, applied, and a second preview of the
// same file finding only transactions imported before.

#include "fuelimport/ui/ImpPal.h"
#include "session/data/Session.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace korven;
using korven::test::TestDatabase;

TEST(ImpPal, PreviewShowsEveryRowThenZatwierdzEntersTheFuelOnce) {
    TestDatabase tdb{9, 3};
    {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute(
                QStringLiteral("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, BLOKADA, NORMPAL, "
                               "CZY_MIERNIK) values (1, 'KN 1001', 'Jelcz', 'P', 'ON', 'N', 30, 'N')"));
            tr.execute(
                QStringLiteral("insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, NORMAP, PRZEBIEG0, "
                               "PRZEBIEGM, ZUZYCIEP) values (1, 7, 'KN 1001', 9, 3, 30, 1000, 500, 20)"));
        });
    }
    const QString path = tdb.dir.filePath(QStringLiteral("transakcje.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Data;Nr rej.;Litry;Licznik\n2009-03-02;KN 1001;45,5;1200\n03.03.2009;kn1001;60;1400\n"
            "03.03.2009;kn1001;60;1400\n2009-03-04;WA 0001;30;\n2009-04-01;KN 1001;10;\n");
    f.close();

    test::RecordingServices services;
    session::Session session(db::Attachment::attach(tdb.params()));
    session.loadSettings();
    fuelimport::ImpPal window(session);
    window.show();
    window.setFile(path);
    ASSERT_TRUE(window.preview()) << services.messages.join('\n').toStdString();
    auto* rows = window.findChild<QTableWidget*>(QStringLiteral("rows"));
    auto* cards = window.findChild<QTableWidget*>(QStringLiteral("cards"));
    auto* apply = window.findChild<QPushButton*>(QStringLiteral("apply"));
    EXPECT_EQ(rows->rowCount(), 5);
    EXPECT_EQ(rows->item(2, 5)->text(), QStringLiteral("powtórzona"));
    EXPECT_EQ(rows->item(3, 6)->text(), QStringLiteral("Nieznany pojazd WA 0001"));
    ASSERT_EQ(cards->rowCount(), 1);
    EXPECT_EQ(cards->item(0, 6)->text(), QLocale().toString(125.5, 'f', 2));
    EXPECT_TRUE(apply->isEnabled());
    test::screenshot(&window, QStringLiteral("fuel_import_preview"));

    apply->click();
    EXPECT_FALSE(apply->isEnabled());
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0], QStringLiteral("Wprowadzono 2 transakcji do 1 kart drogowych."));

    ASSERT_TRUE(window.preview());
    EXPECT_EQ(window.plan().count(fuelimport::RowStatus::Duplicate), 3);
    EXPECT_TRUE(window.plan().cards.empty());
    EXPECT_FALSE(apply->isEnabled());
    test::screenshot(&window, QStringLiteral("fuel_import_again"));
}
