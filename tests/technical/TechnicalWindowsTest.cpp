// The technical functions windows on an embedded database, driven as an operator would.

#include "history/ui/Historia.h"
#include "reports/ui/ReportPrint.h"
#include "technical/rules/MonthOpening.h"
#include "technical/rules/SettingsForm.h"
#include "technical/rules/UpdateCheck.h"
#include "technical/ui/Kalendar.h"
#include "technical/ui/Mapa.h"
#include "technical/ui/Tech.h"
#include "technical/ui/TechBaz.h"

#include "session/SessionFixture.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QComboBox>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::technical;
using namespace korven::test;

namespace {

struct Fixture {
    explicit Fixture(const QString& updateServer = QString()) {
        ini = writeSetupIni(iniDir, tdb.sciezka);
        if (!updateServer.isEmpty()) {
            QFile f(ini);
            f.open(QIODevice::Append);
            f.write(QStringLiteral("aktualizacje=%1\n").arg(updateServer).toUtf8());
        }
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = session::startSession(ini, ui);
    }
    void sql(const QString& text) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text); });
    }
    db::Value value(const QString& text) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(text); });
    }
    void addVehicle(int koda, const char* lock = "N") {
        sql(QStringLiteral(
                "insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, BLOKADA, NORMPAL) values (%1, "
                "'KN %1', 'Pojazd %1', 'P', 'ON', '%2', 30)")
                .arg(koda)
                .arg(QLatin1String(lock)));
    }
    TestDatabase tdb{9, 3};
    QTemporaryDir iniDir;
    QString ini;
    std::unique_ptr<session::Session> session;
    RecordingServices services;
};

QPushButton* button(QWidget* w, const char* name) {
    auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_TRUE(b) << name;
    return b;
}

// Waits (processing events) until cond holds or a few seconds have passed.
template <class Cond> bool waitFor(Cond cond, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < ms)
        QTest::qWait(10);
    return cond();
}

} // namespace

TEST(TechWindow, CaptionButtonsAndTheCalendarRefusedBelowLevelZero) {
    Fixture f;
    ASSERT_TRUE(f.session);
    Tech tech(*f.session, {}, nullptr, f.ini);
    EXPECT_EQ(tech.windowTitle(), techCaption(f.session->settings()));
    EXPECT_TRUE(tech.windowTitle().endsWith(QStringLiteral("Marzec 2009")));
    QStringList captions;
    for (const char* name : {"settings", "operators", "map", "calendar", "tripCards", "workCards", "exit"})
        captions << button(&tech, name)->text();
    EXPECT_EQ(captions,
              (QStringList{"Baza Danych Systemu", "Wykaz Aktywnych Operatorów", "Mapa Zbiorów Danych",
                           "Kalendarz Systemu ", "Tworzenie Kart Drogowych m-c",
                           "Tworzenie Kart Sprzętowych m-c", "Wyjście"}));
    EXPECT_FALSE(tech.findChild<QProgressBar*>(QStringLiteral("progress"))->isVisible());
    tech.show();
    screenshot(&tech, QStringLiteral("Tech"));

    // The refusal comes before any window opens (a calendar would block this click until closed).
    f.session->operatorSession().accessLevel = 99;
    QTest::mouseClick(button(&tech, "calendar"), Qt::LeftButton);
    EXPECT_EQ(f.services.messages, QStringList{messages::calendarRefused()});
}

TEST(TechWindow, ConfirmingAMonthWritesItAndRebuildsTheCaptions) {
    Fixture f;
    ASSERT_TRUE(f.session);
    int titleChanges = 0;
    Tech tech(
        *f.session, [&] { ++titleChanges; }, nullptr, f.ini);
    tech.show();
    QString year;
    int selected = -1;
    whenModalOpens([&](QWidget* w) {
        auto* calendar = static_cast<Kalendar*>(w);
        year = calendar->findChild<QLabel*>(QStringLiteral("year"))->text();
        selected = calendar->list()->currentRow();
        calendar->list()->setCurrentRow(1); // "Luty"
        screenshot(calendar, QStringLiteral("Kalendar"));
        QTest::keyClick(calendar->list(), Qt::Key_Return);
    });
    QTest::mouseClick(button(&tech, "calendar"), Qt::LeftButton);
    EXPECT_EQ(year, QStringLiteral("Rok 2009"));
    EXPECT_EQ(selected, 2); // the working month, March
    EXPECT_EQ(f.value(QStringLiteral("select MIE from FJ_BAZA where LP = 1")).toInt(), 2);
    EXPECT_EQ(f.session->settings().MIE, 2);
    EXPECT_TRUE(tech.windowTitle().endsWith(QStringLiteral("Luty 2009"))) << tech.windowTitle().toStdString();
    EXPECT_EQ(titleChanges, 1);
    EXPECT_TRUE(f.services.messages.isEmpty());

    // Esc closes the calendar without a change.
    whenModalOpens([&](QWidget* w) {
        auto* calendar = static_cast<Kalendar*>(w);
        calendar->list()->setCurrentRow(7);
        QTest::keyClick(calendar->list(), Qt::Key_Escape);
    });
    QTest::mouseClick(button(&tech, "calendar"), Qt::LeftButton);
    EXPECT_EQ(f.value(QStringLiteral("select MIE from FJ_BAZA where LP = 1")).toInt(), 2);
    EXPECT_EQ(titleChanges, 1);
}

TEST(TechWindow, OpeningTheMonthShowsProgressThenTheCounts) {
    Fixture f;
    ASSERT_TRUE(f.session);
    for (int koda = 1; koda <= 30; ++koda)
        f.addVehicle(koda, koda % 10 == 0 ? "T" : "N");
    Tech tech(*f.session, {}, nullptr, f.ini);
    tech.show();

    // No: nothing happens.
    f.services.answers = {false};
    QTest::mouseClick(button(&tech, "tripCards"), Qt::LeftButton);
    EXPECT_EQ(f.value(QStringLiteral("select count(*) from A_KARTA")).toInt(), 0);
    EXPECT_EQ(f.services.questions.size(), 1);
    EXPECT_EQ(f.services.questions.at(0),
              QStringLiteral("Ważne Pytanie: ") + monthOpeningQuestion(CardKind::Trip));

    // Yes: the progress is shown while the run goes on, and the window answers meanwhile.
    int progressSeen = 0;
    bool buttonsDisabled = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* bar = tech.findChild<QProgressBar*>(QStringLiteral("progress"));
        if (bar->isVisible() && bar->value() > progressSeen) {
            if (progressSeen == 0) screenshot(&tech, QStringLiteral("Tech-tworzenie-kart"));
            progressSeen = bar->value();
            buttonsDisabled = !button(&tech, "exit")->isEnabled();
        }
    });
    watch.start();
    f.services.answers = {true};
    QTest::mouseClick(button(&tech, "tripCards"), Qt::LeftButton);
    watch.stop();
    EXPECT_GT(progressSeen, 0);
    EXPECT_TRUE(buttonsDisabled);
    EXPECT_EQ(f.value(QStringLiteral("select count(*) from A_KARTA")).toInt(), 27);
    EXPECT_EQ(f.services.messages.last(), monthOpeningDone(CardKind::Trip, {27, 3, 0}));
    EXPECT_EQ(f.services.sounds, QStringList{QStringLiteral("notify.wav")});
    EXPECT_FALSE(tech.findChild<QProgressBar*>(QStringLiteral("progress"))->isVisible());
    EXPECT_TRUE(button(&tech, "exit")->isEnabled());

    // Again: nothing new, and the message says why.
    f.services.answers = {true};
    QTest::mouseClick(button(&tech, "tripCards"), Qt::LeftButton);
    EXPECT_EQ(f.value(QStringLiteral("select count(*) from A_KARTA")).toInt(), 27);
    EXPECT_EQ(f.services.messages.last(), monthOpeningDone(CardKind::Trip, {0, 3, 27}));
}

TEST(TechBazWindow, OpensOnTheAboutTabWithTheRecordFilled) {
    Fixture f;
    ASSERT_TRUE(f.session);
    TechBaz w(*f.session, f.ini);
    w.show();
    EXPECT_EQ(w.tabs()->tabText(w.tabs()->currentIndex()), QStringLiteral("O Programie"));
    EXPECT_EQ(w.field(QStringLiteral("NAZWASKR"))->text(), QStringLiteral("KORVEN"));
    EXPECT_EQ(w.field(QStringLiteral("NAZWASKR"))->maxLength(), 40);
    EXPECT_EQ(w.field(QStringLiteral("ROK"))->text(), QStringLiteral("9"));
    EXPECT_EQ(w.field(QStringLiteral("MN_POS"))->text(), QStringLiteral("60"));
    EXPECT_EQ(w.field(QStringLiteral("NORMA_OET"))->text(), QStringLiteral("0,5"));
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("MIE"))->text(), QStringLiteral("03"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("connections"))->text(), connectionsText(1));
    EXPECT_FALSE(w.switchBox(QStringLiteral("P6P12"))->isChecked());
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("downloadLink"))->isVisible());
    EXPECT_EQ(w.updateServer(), QStringLiteral("http://aktualizacje.korven.example"));
    screenshot(&w, QStringLiteral("tech_baz-O-Programie"));
    for (int i = 0; i < w.tabs()->count() - 1; ++i) {
        w.tabs()->setCurrentIndex(i);
        screenshot(&w, QStringLiteral("tech_baz-%1").arg(i + 1));
    }

    // The year is trimmed on leaving the field.
    auto* rok = w.field(QStringLiteral("ROK"));
    rok->setText(QStringLiteral(" 9 "));
    emit rok->editingFinished();
    EXPECT_EQ(rok->text(), QStringLiteral("9"));
}

TEST(TechBazWindow, SaveWritesTheRecordAndRebuildsTheCaptions) {
    Fixture f;
    ASSERT_TRUE(f.session);
    int titleChanges = 0;
    Tech tech(
        *f.session, [&] { ++titleChanges; }, nullptr, f.ini);
    whenModalOpens([&](QWidget* w) {
        auto* baz = static_cast<TechBaz*>(w);
        baz->field(QStringLiteral("NAZWASKR"))->setText(QStringLiteral("JRG 2 Opole"));
        baz->field(QStringLiteral("MN_MIE"))->setText(QStringLiteral("12,5"));
        baz->switchBox(QStringLiteral("P6P12"))->setChecked(true);
        baz->save();
    });
    tech.openSettings();
    EXPECT_EQ(f.value(QStringLiteral("select NAZWASKR from FJ_BAZA where LP = 1")).toText().trimmed(),
              QStringLiteral("JRG 2 Opole"));
    EXPECT_DOUBLE_EQ(f.value(QStringLiteral("select MN_MIE from FJ_BAZA where LP = 1")).toDouble(), 12.5);
    EXPECT_EQ(f.session->settings().NAZWASKR.trimmed(), QStringLiteral("JRG 2 Opole"));
    EXPECT_EQ(f.session->settings().P6P12, QStringLiteral("T"));
    EXPECT_EQ(titleChanges, 1);
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('|').toStdString();
}

TEST(TechBazWindow, AnInvalidNumberKeepsTheWindowOpenAndTheRecordUnchanged) {
    Fixture f;
    ASSERT_TRUE(f.session);
    TechBaz w(*f.session, f.ini);
    w.show();
    w.field(QStringLiteral("NAZWASKR"))->setText(QStringLiteral("Nowa"));
    w.field(QStringLiteral("MN_ALA"))->setText(QStringLiteral("1,5,0"));
    bool saved = false;
    QObject::connect(&w, &TechBaz::saved, [&] { saved = true; });
    button(&w, "ok")->click();
    EXPECT_FALSE(saved);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(f.services.messages.size(), 1);
    EXPECT_TRUE(f.services.messages.at(0).contains(QStringLiteral("Dodatek Alarmowy [%]")));
    EXPECT_EQ(w.field(QStringLiteral("NAZWASKR"))->text(), QStringLiteral("Nowa"));
    EXPECT_EQ(f.value(QStringLiteral("select NAZWASKR from FJ_BAZA where LP = 1")).toText().trimmed(),
              QStringLiteral("KORVEN"));
}

// The "Dodatki" tab: every switch off and the default margin on a new database; what is saved is
// read back from FJ_OPCJE; a margin that is not a whole number keeps the window open, nothing saved.
TEST(TechBazWindow, AdditionsTabSavesTheOptions) {
    Fixture f;
    ASSERT_TRUE(f.session);
    {
        TechBaz w(*f.session, f.ini);
        w.show();
        EXPECT_FALSE(w.plausibilityBox()->isChecked());
        EXPECT_FALSE(w.dueByCounterBox()->isChecked());
        EXPECT_EQ(w.marginField()->text(), QStringLiteral("500"));
        EXPECT_FALSE(w.marginField()->isEnabled());
        w.tabs()->setCurrentIndex(w.tabs()->count() - 2);
        EXPECT_EQ(w.tabs()->tabText(w.tabs()->currentIndex()), QStringLiteral("Dodatki"));
        w.plausibilityBox()->setChecked(true);
        w.dueByCounterBox()->setChecked(true);
        EXPECT_TRUE(w.marginField()->isEnabled());
        w.marginField()->setText(QStringLiteral("12,5"));
        screenshot(&w, QStringLiteral("tech_baz-Dodatki"));
        button(&w, "ok")->click();
        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(f.services.messages.size(), 1);
        EXPECT_EQ(f.value(QStringLiteral("select count(*) from FJ_OPCJE")).toInt(), 0);
        f.services.messages.clear();
        w.marginField()->setText(QStringLiteral("800"));
        button(&w, "ok")->click();
        EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('\n').toStdString();
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_EQ(
        f.value(QStringLiteral("select WARTOSC from FJ_OPCJE where KLUCZ = 'OBSLUGI_MARGINES_KM'")).toText(),
        QStringLiteral("800"));
    TechBaz again(*f.session, f.ini);
    EXPECT_TRUE(again.plausibilityBox()->isChecked());
    EXPECT_TRUE(again.dueByCounterBox()->isChecked());
    EXPECT_EQ(again.marginField()->text(), QStringLiteral("800"));
}

TEST(TechBazWindow, BelowLevelZeroNothingIsSaved) {
    Fixture f;
    ASSERT_TRUE(f.session);
    f.session->operatorSession().accessLevel = 5;
    TechBaz w(*f.session, f.ini);
    w.show();
    w.field(QStringLiteral("NAZWASKR"))->setText(QStringLiteral("Nowa"));
    button(&w, "ok")->click();
    EXPECT_EQ(f.services.messages, QStringList{messages::settingsRefused()});
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.value(QStringLiteral("select NAZWASKR from FJ_BAZA where LP = 1")).toText().trimmed(),
              QStringLiteral("KORVEN"));
}

TEST(TechBazWindow, TheChosenLogoIsShownAndItsPathKeptOnlyWhenItFits) {
    Fixture f;
    ASSERT_TRUE(f.session);
    QTemporaryDir shortDir(QStringLiteral("/tmp/logoXXXXXX"));
    const QString shortPath = shortDir.filePath(QStringLiteral("logo.bmp"));
    QImage(40, 20, QImage::Format_RGB32).save(shortPath, "BMP");
    const QString longPath = shortDir.filePath(QString(50, QLatin1Char('d')) + QStringLiteral(".bmp"));
    QFile::copy(shortPath, longPath);
    TechBaz w(*f.session, f.ini);
    f.services.fileAnswers = {shortPath, longPath};
    button(&w, "chooseLogo")->click();
    EXPECT_EQ(w.field(QStringLiteral("LOGO"))->text(), shortPath);
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("logo"))->pixmap().isNull());
    button(&w, "chooseLogo")->click();
    EXPECT_EQ(w.field(QStringLiteral("LOGO"))->text(), shortPath);
    EXPECT_EQ(f.services.messages, QStringList{logoPathTooLong(longPath, 50)});
}

TEST(TechBazWindow, RepairsDeleteRowsWithCodeZeroAndSaySo) {
    Fixture f;
    ASSERT_TRUE(f.session);
    f.sql(QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED) values (0, 1, 9, 3)"));
    f.sql(QStringLiteral("insert into A_SPRZET (KODS, NAZWA) values (0, 'x')"));
    TechBaz w(*f.session, f.ini);
    button(&w, "repairTripCards")->click();
    button(&w, "repairEquipment")->click();
    EXPECT_EQ(button(&w, "repairTripCards")->text(), tripCardsRepairedCaption());
    EXPECT_EQ(button(&w, "repairEquipment")->text(), equipmentRepairedCaption());
    EXPECT_EQ(f.value(QStringLiteral("select count(*) from A_KARTA")).toInt(), 0);
    EXPECT_EQ(f.value(QStringLiteral("select count(*) from A_SPRZET")).toInt(), 0);
    EXPECT_EQ(f.services.sounds, (QStringList{"notify.wav", "notify.wav"}));
}

namespace {

// A local HTTP server for the update check: answers every request with the given body, or keeps the
// connection open without a word.
class UpdateServer {
public:
    explicit UpdateServer(QByteArray body, bool silent = false) : body_(std::move(body)), silent_(silent) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    requests << QString::fromLatin1(s->readAll().split('\r').value(0));
                    if (silent_) return;
                    s->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                             QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_);
                    s->disconnectFromHost();
                });
            }
        });
    }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    QStringList requests;

private:
    QTcpServer server_;
    QByteArray body_;
    bool silent_;
};

} // namespace

TEST(TechBazWindow, UpdateCheckAnnouncesTheServersVersion) {
    struct Case {
        const char* answer;
        const char* version;
    };
    for (const Case& c : {Case{"1370", "1.370"}, Case{"136a", "1.36a"}, Case{"13", "1.3"}}) {
        UpdateServer server(c.answer);
        Fixture f(server.address());
        ASSERT_TRUE(f.session);
        TechBaz w(*f.session, f.ini);
        w.show();
        button(&w, "checkUpdate")->click();
        ASSERT_TRUE(waitFor([&] { return !f.services.messages.isEmpty(); })) << c.answer;
        EXPECT_EQ(server.requests, QStringList{QStringLiteral("GET /ver5.txt HTTP/1.1")});
        EXPECT_EQ(f.services.messages.at(0), updateAnnouncement(QString::fromLatin1(c.version)));
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("downloadText"))->text(),
                  downloadCaption(QString::fromLatin1(c.version)));
        auto* link = w.findChild<QLabel*>(QStringLiteral("downloadLink"));
        EXPECT_TRUE(link->isVisible());
        EXPECT_TRUE(button(&w, "changes")->isVisible());
        if (QLatin1String(c.answer) == QLatin1String("1370"))
            screenshot(&w, QStringLiteral("tech_baz-aktualizacja"));

        // The installer and the description of changes open with the desktop's programs.
        emit link->linkActivated(server.address() + QStringLiteral("/zovo_kv.exe"));
        button(&w, "changes")->click();
        EXPECT_EQ(f.services.opened, (QStringList{server.address() + QStringLiteral("/zovo_kv.exe"),
                                                  server.address() + QStringLiteral("/opis_zm_kv.txt")}));
        EXPECT_TRUE(link->text().contains(server.address() + QStringLiteral("/zovo_kv.exe")));
    }
}

TEST(TechBazWindow, AServerThatDoesNotAnswerEndsTheCheckAfterTheTimeOut) {
    UpdateServer server("", true);
    Fixture f(server.address());
    ASSERT_TRUE(f.session);
    TechBaz w(*f.session, f.ini, nullptr, 300);
    w.show();
    button(&w, "checkUpdate")->click();
    EXPECT_FALSE(button(&w, "checkUpdate")->isEnabled());
    // The window goes on answering while it waits.
    w.tabs()->setCurrentIndex(0);
    EXPECT_EQ(w.tabs()->currentIndex(), 0);
    ASSERT_TRUE(waitFor([&] { return !f.services.messages.isEmpty(); }));
    EXPECT_TRUE(f.services.messages.at(0).startsWith(updateFailure(QString()).trimmed()));
    EXPECT_TRUE(f.services.messages.at(0).contains(QStringLiteral("nie odpowiedział")))
        << f.services.messages.at(0).toStdString();
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("downloadLink"))->isVisible());
    EXPECT_FALSE(button(&w, "changes")->isVisible());
    EXPECT_TRUE(button(&w, "checkUpdate")->isEnabled());
}

TEST(TechBazWindow, NoServerAtTheAddressIsReportedClearly) {
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    Fixture f(QStringLiteral("http://127.0.0.1:%1").arg(port));
    ASSERT_TRUE(f.session);
    TechBaz w(*f.session, f.ini);
    w.show();
    button(&w, "checkUpdate")->click();
    ASSERT_TRUE(waitFor([&] { return !f.services.messages.isEmpty(); }));
    EXPECT_TRUE(f.services.messages.at(0).contains(QStringLiteral("/ver5.txt")));
    EXPECT_FALSE(button(&w, "changes")->isVisible());
}

TEST(MapaWindow, CountsEveryDataSetAndStartsAfreshEachTime) {
    Fixture f;
    ASSERT_TRUE(f.session);
    f.addVehicle(1);
    f.addVehicle(2);
    f.sql(QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED) values (1, 1, 9, 3)"));
    Mapa w(*f.session);
    w.show();
    EXPECT_EQ(w.count(0), QStringLiteral("0"));
    button(&w, "start")->click();
    QStringList counts;
    for (int i = 0; i < 9; ++i)
        counts << w.count(i);
    EXPECT_EQ(counts, (QStringList{"2", "1", "0", "0", "0", "5", "0", "0", "16"}));
    EXPECT_EQ(w.progress(), 100);
    EXPECT_EQ(f.services.sounds, QStringList{QStringLiteral("notify.wav")});
    screenshot(&w, QStringLiteral("Mapa"));
    f.sql(QStringLiteral("delete from A_AUTO where KODA = 2"));
    button(&w, "start")->click();
    EXPECT_EQ(w.count(0), QStringLiteral("1"));
}

// The change history window: the administrator sees the changes and prints them; an operator, who has
// no right on the history, is told so, sees no rows and has nothing to print.
TEST(HistoriaWindow, TheAdministratorSeesTheChangesAnOperatorIsRefused) {
    using history::Historia;
    Fixture f;
    ASSERT_TRUE(f.session);
    f.addVehicle(7);
    f.sql(QStringLiteral("update A_AUTO set NRREJ = 'KN 77', NORMPAL = 31 where KODA = 7"));
    {
        Historia w(f.session->attachment(),
                   {QStringLiteral("KM PSP Test"), QStringLiteral("Jan Kowalski"), {}});
        w.show();
        ASSERT_EQ(w.rows(), 2);
        EXPECT_EQ(w.message(), QString());
        auto* list = w.findChild<QTableWidget*>(QStringLiteral("list"));
        EXPECT_EQ(list->item(0, 4)->text(), QStringLiteral("Zmiana"));
        EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("KODA=7"));
        EXPECT_EQ(list->item(0, 5)->text(), QStringLiteral("NRREJ: KN 7 -> KN 77\nNORMPAL: 30.00 -> 31.00"));
        screenshot(&w, QStringLiteral("Historia"));
        // "Drukuj" prints what the list shows, through the output options.
        // Kept with the screenshots when they are taken, for people to look at.
        QTemporaryDir out;
        const QString shots = qEnvironmentVariable("KORVEN_SCREENSHOT_DIR");
        const QString pdf =
            QDir(shots.isEmpty() ? out.path() : shots).filePath(QStringLiteral("Historia.pdf"));
        QStringList messages;
        reports::ui::reportUiServices().chooseOutput = [&](QWidget*, const QString&) {
            return reports::ui::OutputChoice{reports::ui::OutputChoice::Destination::File,
                                             reports::OutputFormat::Pdf, pdf};
        };
        reports::ui::reportUiServices().showMessage = [&](QWidget*, const QString& text) {
            messages << text;
        };
        QTest::mouseClick(button(&w, "print"), Qt::LeftButton);
        reports::ui::resetReportUiServices();
        EXPECT_EQ(messages, QStringList{});
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished(20000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* expected : {"Historia Zmian", "KM PSP Test", "Wydrukował: Jan Kowalski", "KODA=7",
                                     "NRREJ: KN 7 -> KN 77", "NORMPAL: 30.00 -> 31.00", "Dopisanie"})
            EXPECT_TRUE(printed.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                       << printed.toStdString();
        // A selection of another table shows nothing, with a word why.
        w.findChild<QComboBox*>(QStringLiteral("table"))->setCurrentText(QStringLiteral("A_KARTA"));
        QTest::mouseClick(button(&w, "show"), Qt::LeftButton);
        EXPECT_EQ(w.rows(), 0);
        EXPECT_EQ(w.message(), QStringLiteral("Brak zmian w wybranym okresie."));
    }
    f.sql(QStringLiteral("GRANT SELECT ON FJ_BAZA TO OPERATOR1"));
    session::Session operatorSession(db::Attachment::attach(f.tdb.params(QStringLiteral("OPERATOR1"))));
    Historia w(operatorSession.attachment(), {});
    w.show();
    EXPECT_EQ(w.rows(), 0);
    EXPECT_EQ(w.message(), schema::historyDeniedText());
    f.services.messages.clear();
    QTest::mouseClick(button(&w, "print"), Qt::LeftButton);
    EXPECT_EQ(f.services.messages, QStringList{schema::historyDeniedText()});
    screenshot(&w, QStringLiteral("HistoriaBrakUprawnien"));
    QTest::mouseClick(button(&w, "exit"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

// A change of many columns prints on as many rows as its lines need, the row's own fields on the first.
TEST(HistoryPrint, ALongListOfChangesContinuesOnRowsOfItsOwn) {
    schema::HistoryEntry deleted{2,
                                 QStringLiteral("A_KARTA"),
                                 QStringLiteral("KODA=1;KODD=5;ROKD=26;MIED=3"),
                                 QStringLiteral("D"),
                                 QStringLiteral("SYSDBA"),
                                 {},
                                 {}};
    for (int i = 1; i <= 9; ++i)
        deleted.changes += QStringLiteral("C%1: %1\n").arg(i);
    const schema::HistoryEntry updated{
        1,  QStringLiteral("A_AUTO"),       QStringLiteral("KODA=1"), QStringLiteral("U"), {},
        {}, QStringLiteral("NRREJ: A -> B")};
    const reports::DataView view = history::historyPrintRows({deleted, updated});
    ASSERT_EQ(view.rows.size(), 4);
    const QStringList lp = {view.rows[0].text(QStringLiteral("lp")), view.rows[1].text(QStringLiteral("lp")),
                            view.rows[2].text(QStringLiteral("lp")), view.rows[3].text(QStringLiteral("lp"))};
    EXPECT_EQ(lp, (QStringList{"1", "", "", "2"}));
    EXPECT_EQ(view.rows[0].text(QStringLiteral("operacja")), QStringLiteral("Usunięcie"));
    EXPECT_EQ(view.rows[1].text(QStringLiteral("zmiany")), QStringLiteral("C5: 5\nC6: 6\nC7: 7\nC8: 8"));
    EXPECT_EQ(view.rows[2].text(QStringLiteral("zmiany")), QStringLiteral("C9: 9"));
    EXPECT_EQ(view.rows[3].text(QStringLiteral("zmiany")), QStringLiteral("NRREJ: A -> B"));
}
