#include "SessionFixture.h"
#include "session/ui/MainWindows.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::session;
using namespace korven::test;

namespace {

struct Fixture {
    Fixture() {
        ini = writeSetupIni(iniDir, tdb.sciezka);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = startSession(ini, ui);
    }
    db::Row baza() {
        db::Transaction t(*tdb.attachment);
        return *db::inTransaction(t, [](db::Transaction& tr) {
            return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        });
    }
    TestDatabase tdb{9, 3};
    QTemporaryDir iniDir;
    QString ini;
    std::unique_ptr<Session> session;
    RecordingServices services;
};

} // namespace

TEST(MainWindow, TitleButtonsAndFocus) {
    Fixture f;
    ASSERT_TRUE(f.session);
    Navigator nav;
    nav.vehicles = [](QWidget*) {};
    mainP w(*f.session, nav);
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QTest::qWait(50);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("System KORVEN: KORVEN") + QString(37, QLatin1Char(' ')) +
                                   QStringLiteral("Marzec 2009"));
    QStringList captions;
    for (const char* name : {"vehicles", "vehicleDictionaries", "vehicleReports", "equipment",
                             "equipmentDictionaries", "equipmentReports", "technical", "quit"})
        captions << w.findChild<QPushButton*>(QString::fromLatin1(name))->text();
    EXPECT_EQ(captions,
              (QStringList{"Kartoteka Pojazdów", "Pozostałe Kartoteki Pojazd", "Raporty dla Pojazdów",
                           "Kartoteka Sprzętu", "Pozostałe Kartoteki Sprzęt", "Raporty dla Sprzętu",
                           "Funkcje Techniczne", "Koniec programu"}));
    EXPECT_EQ(QApplication::focusWidget(), w.findChild<QPushButton*>(QStringLiteral("vehicles")));
    // A window that does not exist yet is not offered.
    EXPECT_FALSE(w.findChild<QPushButton*>(QStringLiteral("equipment"))->isEnabled());
    screenshot(&w, QStringLiteral("mainP"));
    w.hide();
}

TEST(MainWindow, EscAsksAndNoKeepsTheProgram) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = std::make_unique<mainP>(*f.session, Navigator{});
    w->show();
    f.services.answers = {false};
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(f.services.questions, QStringList{QStringLiteral("Pytanie: Czy koniec pracy")});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(f.baza().integer("ILE"), 1);

    // Yes closes the window and counts the operator out.
    f.services.answers = {true};
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("quit")), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(f.baza().integer("ILE"), 0);
}

TEST(MainWindow, CloseBoxCountsOutWithoutAsking) {
    Fixture f;
    ASSERT_TRUE(f.session);
    mainP w(*f.session, Navigator{});
    w.show();
    w.close();
    EXPECT_TRUE(f.services.questions.isEmpty());
    EXPECT_EQ(f.baza().integer("ILE"), 0);
}

TEST(MainWindow, TechnicalFunctionsBracketSetsAndClearsTheFlag) {
    Fixture f;
    ASSERT_TRUE(f.session);
    QString seenInside;
    bool mainHidden = false;
    Navigator nav;
    mainP* window = nullptr;
    nav.technical = [&](QWidget*) {
        seenInside = f.baza().text("FTECH");
        mainHidden = !window->isVisible();
    };
    mainP w(*f.session, nav);
    window = &w;
    w.show();
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("technical")), Qt::LeftButton);
    EXPECT_EQ(seenInside, QStringLiteral("T"));
    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(f.baza().text("FTECH"), QStringLiteral("N"));
}

TEST(MainWindow, OperatorListShowsBothSessions) {
    Fixture f;
    ASSERT_TRUE(f.session);
    ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
    auto second = startSession(f.ini, ui);
    ASSERT_TRUE(second);
    // Whether the server knows SYSDBA's names or not, both sessions stand in the list.
    if (f.session->operatorSession().sessionNumber == 0)
        f.session->registerOperator(
            Session::operatorListText(QStringLiteral("Jan Nowak"), QStringLiteral("1")));
    if (second->operatorSession().sessionNumber == 0)
        second->registerOperator(Session::operatorListText(QStringLiteral("Ewa Lis"), QStringLiteral("2")));

    WykazOP list(*f.session);
    list.refresh();
    screenshot(&list, QStringLiteral("WykazOP"));
    const QString title = list.windowTitle();
    const QString text = list.findChild<QPlainTextEdit*>(QStringLiteral("list"))->toPlainText();
    EXPECT_EQ(title, QStringLiteral("Wykaz Aktywnych Operatorów --> 2"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("1. "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\n2. "))) << text.toStdString();
}

TEST(MainWindow, DictionaryMenuClosesAloneOnEsc) {
    Fixture f;
    ASSERT_TRUE(f.session);
    QList<Dictionary> opened;
    Navigator nav;
    nav.dictionary = [&](QWidget*, Dictionary d) { opened << d; };
    mainP w(*f.session, nav);
    w.show();
    bool mainHiddenMeanwhile = false;
    QStringList captions;
    whenModalOpens([&](QWidget* menu) {
        mainHiddenMeanwhile = !w.isVisible();
        for (QPushButton* b : menu->findChildren<QPushButton*>())
            captions << b->text();
        QTest::mouseClick(menu->findChild<QPushButton*>(QStringLiteral("dictionary2")), Qt::LeftButton);
        QTest::keyClick(menu, Qt::Key_Escape);
    });
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("vehicleDictionaries")), Qt::LeftButton);
    EXPECT_TRUE(mainHiddenMeanwhile);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(captions, (QStringList{"Kartoteka Rodzajów Pojazdów", "Kartoteka Grup Pojazdów",
                                     "Kartoteka Jednostek", "Kartoteka Obsług Technicznych", "Wyjście"}));
    EXPECT_EQ(opened, QList<Dictionary>{Dictionary::Units});
    EXPECT_TRUE(f.services.questions.isEmpty()); // Esc in the menu did not reach the main window
}
