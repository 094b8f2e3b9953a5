#include "AdminFixture.h"

#include "admin/ui/BackupTab.h"
#include "admin/ui/MainF.h"
#include "admin/ui/ServerTabs.h"
#include "admin/ui/UsersTab.h"
#include "core/Clock.h"
#include "core/SetupIni.h"
#include "support/GuiSupport.h"
#include "support/OldShapes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::admin;

namespace {

// The window over an embedded database of its own, with recorded messages and programs.
struct Window {
    // Over the given database folder, or over a new database of its own.
    explicit Window(const QString& sciezka = QString(), const QString& cien = QStringLiteral("/srv/cien")) {
        tdb.attachment.reset();
        ini = dir.filePath(QStringLiteral("setup.ini"));
        MainD::saveConfig(ini, AdminConfig{sciezka.isEmpty() ? tdb.sciezka : sciezka,
                                           QStringLiteral("SERWER1"), QStringLiteral("L"), cien});
        data = std::make_unique<MainD>(MainD::loadConfig(ini),
                                       Credentials{QStringLiteral("SYSDBA"), QStringLiteral("x")});
        data->connect();
        window = std::make_unique<MainF>(*data, ini);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        window->refresh();
    }
    template <class T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void click(QWidget* tab, const char* name) const {
        auto* b = tab->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(b) << name;
        b->click();
    }
    test::RecordingServices services;
    test::TestDatabase tdb;
    QTemporaryDir dir;
    QString ini;
    std::unique_ptr<MainD> data;
    std::unique_ptr<MainF> window;
};

} // namespace

TEST(MainF, TabsCaptionAndTheStateOfTheSystemRecord) {
    Window w;
    EXPECT_EQ(w.window->windowTitle(),
              QStringLiteral("InterBase Administracja VELT v.1.00   ") + db::databaseName(w.tdb.sciezka));
    QTabWidget* tabs = w.window->tabs();
    QStringList names;
    for (int i = 0; i < tabs->count(); ++i)
        names << tabs->tabText(i);
    EXPECT_EQ(names, (QStringList{QStringLiteral("IB Conguration"), QStringLiteral("Kopia/Odtwarzanie"),
                                  QStringLiteral("Statyst/Log"), QStringLiteral("Zabezpieczenia"),
                                  QStringLiteral("Właściwości"), QStringLiteral("Kasowanie"),
                                  QStringLiteral("Aktywni użytkow."), QStringLiteral("Nowe wersje/bazy")}));
    EXPECT_EQ(w.find<QLineEdit>("sciezka")->text(), w.tdb.sciezka);
    EXPECT_EQ(w.find<QLineEdit>("serwer")->text(), QStringLiteral("SERWER1"));
    EXPECT_EQ(w.find<QLineEdit>("cien")->text(), QStringLiteral("/srv/cien"));
    EXPECT_EQ(w.find<QSpinBox>("year")->value(), 9);
    EXPECT_EQ(tabs->currentWidget(), w.window->backupTab());

    auto* flag = w.window->backupTab()->findChild<QLabel*>(QStringLiteral("backupFlag"));
    EXPECT_EQ(flag->text(), QStringLiteral("NIE"));
    // A flag left behind by an interrupted backup shows at every activation.
    w.data->setBackupFlag(true);
    w.window->refresh();
    EXPECT_EQ(flag->text(), QStringLiteral("TAK"));
    EXPECT_TRUE(flag->styleSheet().contains(QStringLiteral("red")));
    w.data->setBackupFlag(false);
    w.window->refresh();

    // A later activation (a message box closing) reads the record again but keeps what is typed and
    // the tab the administrator works on.
    w.find<QLineEdit>("sciezka")->setText(QStringLiteral("/nowy/folder"));
    tabs->setCurrentWidget(w.window->usersTab());
    w.data->setBackupFlag(true);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w.window.get(), &activate);
    EXPECT_EQ(flag->text(), QStringLiteral("TAK"));
    EXPECT_EQ(w.find<QLineEdit>("sciezka")->text(), QStringLiteral("/nowy/folder"));
    EXPECT_EQ(tabs->currentWidget(), w.window->usersTab());
    w.data->setBackupFlag(false);
    w.window->refresh();

    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        test::screenshot(w.window.get(), QStringLiteral("sarkol_tab%1").arg(i));
    }
}

TEST(MainF, BackupShowsItsOutputAndValidationWhatItFound) {
    Window w;
    BackupTab* tab = w.window->backupTab();
    w.click(tab, "backup");
    auto* output = tab->findChild<QPlainTextEdit*>(QStringLiteral("output"));
    EXPECT_GT(output->blockCount(), 10);
    EXPECT_TRUE(output->toPlainText().contains(QStringLiteral("closing file")));
    EXPECT_EQ(w.services.messages, QStringList{messages::backupDone()});
    test::screenshot(w.window.get(), QStringLiteral("sarkol_backup_done"));

    w.click(tab, "validate");
    EXPECT_EQ(w.services.messages.value(1), messages::validationClean());
}

TEST(MainF, RestoreArchivesTheBackupAndEndsTheProgram) {
    Window w;
    korven::setTodayProvider([] { return QDate(2009, 3, 31); });
    BackupTab* tab = w.window->backupTab();
    w.click(tab, "backup");
    w.find<QLineEdit>("sciezka")->setText(w.tdb.sciezka + QStringLiteral("/"));
    w.services.messages.clear();
    w.click(tab, "restore");
    korven::setTodayProvider({});
    ASSERT_EQ(w.services.messages.size(), 2) << w.services.messages.join(' ').toStdString();
    EXPECT_EQ(w.services.messages[0], messages::restoreDone());
    EXPECT_TRUE(w.services.messages[1].startsWith(QStringLiteral("Powstał dodatkowy plik kopii o nazwie ") +
                                                  w.tdb.sciezka + QStringLiteral("/090331")));
    ASSERT_EQ(w.services.started.size(), 1);
    EXPECT_TRUE(w.services.started[0].startsWith(QStringLiteral("arj a -y -e ") + w.tdb.sciezka +
                                                 QStringLiteral("/090331")));
    EXPECT_TRUE(w.services.started[0].endsWith(QStringLiteral("/korven.abk")));
    // The window has closed and written the configuration as the fields stood.
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_EQ(SetupIni::load(w.ini).value(QStringLiteral("sciezka")), w.tdb.sciezka + QStringLiteral("/"));
}

TEST(MainF, UnpackingNeedsAChosenArchive) {
    Window w;
    BackupTab* tab = w.window->backupTab();
    w.click(tab, "unpack");
    EXPECT_EQ(w.services.messages, QStringList{messages::noArchiveChosen()});
    EXPECT_TRUE(w.services.started.isEmpty());

    w.services.fileAnswers = {QStringLiteral("/kopie/09033114.arj")};
    w.click(tab, "chooseArchive");
    // A cancelled dialog keeps the name chosen before.
    w.click(tab, "chooseArchive");
    EXPECT_EQ(w.find<QLineEdit>("archive")->text(), QStringLiteral("/kopie/09033114.arj"));
    w.click(tab, "unpack");
    EXPECT_EQ(w.services.started,
              QStringList{QStringLiteral("arj e -y /kopie/09033114.arj %1/").arg(w.tdb.sciezka)});
}

TEST(MainF, UserTabRefusesBeforeTheServiceIsAsked) {
    Window w;
    UsersTab* tab = w.window->usersTab();
    w.window->tabs()->setCurrentWidget(tab);
    w.click(tab, "find");
    EXPECT_EQ(w.services.messages, QStringList{messages::enterUserName()});

    tab->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(QStringLiteral("O'BRIEN"));
    w.click(tab, "add");
    ASSERT_EQ(w.services.messages.size(), 2);
    EXPECT_EQ(w.services.messages[1], userNameRefusal(QStringLiteral("O'BRIEN")));

    tab->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(QStringLiteral("OPJAN"));
    tab->findChild<QLineEdit*>(QStringLiteral("accessLevel"))->setText(QStringLiteral("abc"));
    w.click(tab, "add");
    ASSERT_EQ(w.services.messages.size(), 3);
    EXPECT_TRUE(w.services.messages[2].contains(QStringLiteral("Poziom dostępu")));
    test::screenshot(w.window.get(), QStringLiteral("sarkol_users"));
}

namespace {

db::Value scalarIn(const QString& sciezka, const QString& sql) {
    db::ConnectParams p;
    p.database = db::databaseName(sciezka);
    p.user = QStringLiteral("SYSDBA");
    auto att = db::Attachment::attach(p);
    db::Transaction t(*att);
    return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(sql); });
}

} // namespace

TEST(MainF, UpgradeButtonsRunTheirStepOnceAndSayWhenItIsInPlace) {
    QTemporaryDir old;
    {
        db::ConnectParams p;
        p.database = db::databaseName(old.path());
        p.user = QStringLiteral("SYSDBA");
        test::createOldDatabase(p, 0);
    }
    Window w(old.path());
    UpgradeTab* tab = w.window->upgradeTab();
    w.window->tabs()->setCurrentWidget(tab);
    for (const schema::UpgradeStep& s : schema::upgradeSteps())
        EXPECT_EQ(tab->result(s.version)->text(), "...");

    w.click(tab, "upgrade1.04");
    EXPECT_EQ(tab->result("1.04")->text(), "Tworzenie wersji v.1.04 zakończono pomyślnie");
    w.click(tab, "upgrade1.04");
    EXPECT_EQ(tab->result("1.04")->text(), schema::alreadyAppliedText(schema::upgradeStep("1.04")));

    // A step touches only its own label.
    w.click(tab, "upgrade1.31");
    EXPECT_EQ(tab->result("1.31")->text(), "Tworzenie wersji v.1.31\nzakończono pomyślnie");
    EXPECT_EQ(tab->result("1.27")->text(), "...");
    EXPECT_TRUE(w.services.messages.isEmpty()) << w.services.messages.join('\n').toStdString();

    // A step whose tables are not there yet fails with the server's error and writes no success.
    w.click(tab, "upgrade1.06");
    ASSERT_EQ(w.services.messages.size(), 1);
    EXPECT_TRUE(w.services.messages[0].contains("A_OBSK")) << w.services.messages[0].toStdString();
    EXPECT_EQ(tab->result("1.06")->text(), "");
    for (const char* version : {"1.05", "1.06", "1.09", "1.10", "1.18", "1.19", "1.27", "2.00"})
        w.click(tab, (QStringLiteral("upgrade") + QLatin1String(version)).toLatin1().constData());
    EXPECT_EQ(w.services.messages.size(), 1);
    test::screenshot(w.window.get(), QStringLiteral("sarkol_upgrades"));
}

TEST(MainF, DeletionTabEmptiesTheTickedTablesAndRefusesAnEmptyShadowFolder) {
    Window w{QString(), QString()};
    DeletionTab* tab = w.window->deletionPanel();
    w.window->tabs()->setCurrentIndex(5);
    tab->result(5)->setText(QStringLiteral("OK ..."));
    tab->box(8)->setChecked(true);
    w.click(tab, "startDeletion");
    EXPECT_EQ(tab->result(8)->text(), "OK ...");
    EXPECT_EQ(tab->result(0)->text(), "");
    EXPECT_EQ(tab->result(1)->text(), "");
    EXPECT_EQ(tab->result(5)->text(), "OK ...");
    EXPECT_EQ(scalarIn(w.tdb.sciezka, "select count(*) from A_OBSK").toInt(), 0);
    EXPECT_GT(scalarIn(w.tdb.sciezka, "select count(*) from A_GRUPS").toInt(), 0);

    w.click(tab, "createShadow");
    ASSERT_EQ(w.services.messages.size(), 1);
    EXPECT_TRUE(w.services.messages[0].contains("Nie podano położenia pliku cienia"));
    EXPECT_EQ(tab->shadowResult()->text(), "..");
    EXPECT_EQ(scalarIn(w.tdb.sciezka, "select count(*) from RDB$FILES").toInt(), 0);
    test::screenshot(w.window.get(), QStringLiteral("sarkol_deletion"));
}

TEST(MainF, ResetOfConnectionsAndANumberFieldWithoutAnInteger) {
    Window w;
    {
        db::ConnectParams p = w.tdb.params();
        auto att = db::Attachment::attach(p);
        db::Transaction t(*att);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute("update FJ_BAZA set ILE = 3, FTECH = 'T' where LP = 1");
            tr.execute("insert into FJ_FLOP (NAZWA) values ('JAN')");
        });
    }
    w.window->refresh();
    EXPECT_EQ(w.find<QLabel>("connections")->text(), "3");
    w.click(w.window->backupTab(), "resetConnections");
    EXPECT_EQ(w.find<QLabel>("connections")->text(), "0");
    EXPECT_EQ(w.find<QLabel>("backupFlag")->text(), "NIE");
    EXPECT_EQ(scalarIn(w.tdb.sciezka, "select FTECH from FJ_BAZA where LP = 1").toText(), "N");
    EXPECT_EQ(scalarIn(w.tdb.sciezka, "select count(*) from FJ_FLOP").toInt(), 0);

    w.window->tabs()->setCurrentIndex(0);
    w.find<QLineEdit>("setPageBuffersField")->setText(QStringLiteral("abc"));
    w.click(w.window->tabs()->widget(0), "setPageBuffers");
    ASSERT_EQ(w.services.messages.size(), 1);
    EXPECT_TRUE(w.services.messages[0].contains("'abc'"));
    test::screenshot(w.window.get(), QStringLiteral("sarkol_configuration"));
}

TEST(MainF, AttachedUsersAreListedOnePerLine) {
    Window w;
    OutputTab* tab = w.window->attachedUsersTab();
    w.window->tabs()->setCurrentWidget(tab);
    w.click(tab, "showUsers");
    EXPECT_TRUE(tab->output()->toPlainText().split('\n').contains("SYSDBA"))
        << tab->output()->toPlainText().toStdString();
}

TEST(MainF, StatisticsAndPropertiesComeLineByLine) {
    Window w;
    OutputTab* stats = w.window->statisticsTab();
    w.window->tabs()->setCurrentWidget(stats);
    w.click(stats, "statistics");
    EXPECT_TRUE(stats->output()->toPlainText().contains("A_KARTA"))
        << stats->output()->toPlainText().toStdString();
    EXPECT_TRUE(w.services.messages.isEmpty()) << w.services.messages.join('\n').toStdString();
    test::screenshot(w.window.get(), QStringLiteral("sarkol_statistics"));

    OutputTab* props = w.window->propertiesTab();
    w.window->tabs()->setCurrentWidget(props);
    w.click(props, "showProperties");
    const QStringList lines = props->output()->toPlainText().split('\n');
    EXPECT_TRUE(lines.filter(QRegularExpression("^Server Version: .+")).size() == 1)
        << lines.join('\n').toStdString();
    EXPECT_FALSE(w.data->isConnected());
    EXPECT_TRUE(w.services.messages.isEmpty()) << w.services.messages.join('\n').toStdString();
    test::screenshot(w.window.get(), QStringLiteral("sarkol_properties"));
}
