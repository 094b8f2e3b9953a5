#include "AdminFixture.h"

#include "admin/ui/BackupTab.h"
#include "admin/ui/MainF.h"
#include "admin/ui/UsersTab.h"
#include "core/Clock.h"
#include "core/SetupIni.h"
#include "support/GuiSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::admin;

namespace {

// The window over an embedded database of its own, with recorded messages and programs.
struct Window {
    Window() {
        tdb.attachment.reset();
        ini = dir.filePath(QStringLiteral("setup.ini"));
        MainD::saveConfig(ini, AdminConfig{tdb.sciezka, QStringLiteral("SERWER1"), QStringLiteral("L"),
                                           QStringLiteral("/srv/cien")});
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
