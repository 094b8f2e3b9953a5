#include "reports/ui/ReportPrint.h"
#include "schema/Demo.h"
#include "services/ui/ObslugaT.h"
#include "services/ui/ObslugiPilne.h"
#include "session/SessionFixture.h"
#include "session/data/AddonOptionsData.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::services;
using namespace korven::test;

namespace {

constexpr int vehicle = 4;

// A session on a demo database whose working period is June 2009; every vehicle has its services.
struct Fixture {
    Fixture() : data(nullptr) {
        schema::fillDemoData(*tdb.attachment);
        ini = writeSetupIni(iniDir, tdb.sciezka);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = session::startSession(ini, ui);
        if (session) data = std::make_unique<ServiceData>(session->working(), session->bracket());
    }
    std::unique_ptr<ObslugaT> open() {
        auto w = std::make_unique<ObslugaT>(*data, *data->loadVehicle(vehicle), session->settings(),
                                            session->operatorSession().fullName);
        w->show();
        QApplication::setActiveWindow(w.get());
        QTest::qWait(20);
        return w;
    }
    ServiceRecord service(int KODB) {
        for (const db::Row& row : data->list(vehicle))
            if (row.integer(QStringLiteral("KODB")) == KODB) return serviceFromRow(row);
        ADD_FAILURE() << "no service " << KODB;
        return {};
    }

    TestDatabase tdb{9, 6};
    QTemporaryDir iniDir;
    QString ini;
    std::unique_ptr<session::Session> session;
    std::unique_ptr<ServiceData> data;
    RecordingServices services;
};

} // namespace

TEST(ServiceRegisterWindow, OpensOnTheLastServiceAndAddsTheNextNumber) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = f.open();
    const int count = w->model()->rowCount();
    ASSERT_GT(count, 0);
    EXPECT_EQ(w->currentPosition(), count - 1);
    EXPECT_EQ(w->windowTitle(),
              registerCaption(w->vehicle().NAZWA, w->vehicle().NRREJ, f.session->settings()));
    screenshot(w.get(), QStringLiteral("ObslugaT"));

    QTest::keyClick(w->grid(), Qt::Key_Insert);
    ASSERT_EQ(w->model()->rowCount(), count + 1);
    EXPECT_EQ(w->currentRow()->integer(QStringLiteral("KODB")), count + 1);
    EXPECT_TRUE(f.services.messages.isEmpty());

    // Deleting the last service leaves the cursor on the new last one.
    f.services.answers = {true};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(w->model()->rowCount(), count);
    EXPECT_EQ(w->currentPosition(), count - 1);
}

TEST(ServiceEditor, ChoosingAKindThenComputingThePlannedDate) {
    Fixture f;
    ASSERT_TRUE(f.session);
    const int kodb = f.data->add(vehicle, QDate(2009, 1, 31)).KODB;
    ObslugaTD editor(*f.data, f.service(kodb));
    editor.show();
    QApplication::setActiveWindow(&editor);
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), editor.input(QStringLiteral("DATAW")));
    // The demo gives "OT" an interval of 6 months; choose "Legalizacja Tachografu" (24) instead.
    QComboBox* names = editor.dropDown(QStringLiteral("NAZWA"));
    ASSERT_EQ(names->count(), 5);
    emit names->activated(2);
    EXPECT_EQ(editor.text(QStringLiteral("TYP")), QStringLiteral("LT"));
    EXPECT_EQ(editor.service().ILE, 24);
    QTest::mouseClick(editor.planButton(), Qt::LeftButton);
    EXPECT_EQ(editor.text(QStringLiteral("DATAP")), QStringLiteral("2011-01-31"));
    // 31 August plus the six months of "OT": the end of February.
    emit names->activated(1);
    editor.setText(QStringLiteral("DATAW"), QStringLiteral("2008-08-31"));
    QTest::mouseClick(editor.planButton(), Qt::LeftButton);
    EXPECT_EQ(editor.text(QStringLiteral("DATAP")), QStringLiteral("2009-02-28"));
    screenshot(&editor, QStringLiteral("ObslugaTD"));
    editor.setText(QStringLiteral("PLANW"), QStringLiteral("N"));
    editor.setText(QStringLiteral("STANP"), QStringLiteral("61000"));
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    const ServiceRecord stored = f.service(kodb);
    EXPECT_EQ(stored.TYP, QStringLiteral("OT"));
    EXPECT_EQ(stored.DATAW, QDate(2008, 8, 31));
    EXPECT_EQ(stored.DATAP, QDate(2009, 2, 28));
    EXPECT_DOUBLE_EQ(stored.STANP, 61000);
    EXPECT_EQ(stored.PLANW, QStringLiteral("N"));
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join(QLatin1Char('\n')).toStdString();
}

TEST(ServiceEditor, OkWithoutAKindSavesNothing) {
    Fixture f;
    ASSERT_TRUE(f.session);
    const int kodb = f.data->add(vehicle, QDate(2009, 6, 2)).KODB;
    ObslugaTD editor(*f.data, f.service(kodb));
    editor.show();
    editor.setText(QStringLiteral("UWAGI"), QStringLiteral("bez rodzaju"));
    // Without a date carried out there is nothing to count from.
    editor.setText(QStringLiteral("DATAW"), QString());
    QTest::mouseClick(editor.planButton(), Qt::LeftButton);
    EXPECT_EQ(f.services.messages, QStringList{noDateDoneMessage});
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(f.services.messages.last(), emptyShortNameMessage);
    const ServiceRecord stored = f.service(kodb);
    EXPECT_TRUE(stored.UWAGI.isEmpty());
    EXPECT_EQ(stored.DATAW, QDate(2009, 6, 2));
}

TEST(ServiceRegisterWindow, PrintsTheListLandscape) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = f.open();
    QTemporaryDir tmp;
    QString dir = qEnvironmentVariable("KORVEN_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = tmp.path();
    QDir().mkpath(dir);
    const QString file = QDir(dir).filePath(QStringLiteral("ObslugaD.pdf"));
    QFile::remove(file);
    reports::ui::ReportUiServices& rs = reports::ui::reportUiServices();
    rs.chooseOutput = [file](QWidget*, const QString&) {
        reports::ui::OutputChoice c;
        c.destination = reports::ui::OutputChoice::Destination::File;
        c.filePath = file;
        return c;
    };
    QStringList shown;
    rs.showMessage = [&](QWidget*, const QString& text) { shown << text; };
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("printList")), Qt::LeftButton);
    reports::ui::resetReportUiServices();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(QFile::exists(file));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file});
    if (!info.waitForFinished(20000) || info.exitCode() != 0) GTEST_SKIP() << "pdfinfo is not installed";
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    // A4 landscape: 842 x 595 points.
    EXPECT_TRUE(text.contains(QLatin1String("842 x 595"))) << text.toStdString();
}

// After the login the due services open only when services due by the counter are switched on; the
// list shows both kinds and closes with "&Zamknij".
TEST(DueServicesAtLogin, OpenOnlyWhenSwitchedOn) {
    Fixture f;
    ASSERT_TRUE(f.session);
    qputenv("KORVEN_TODAY", "2009-06-15");
    QStringList opened;
    // Switched off: nothing opens (a window that did would be recorded and closed).
    QTimer::singleShot(200, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened << w->objectName();
            w->close();
        }
    });
    showDueServicesAtLogin(nullptr, *f.session);
    QTest::qWait(300);
    EXPECT_TRUE(opened.isEmpty());

    AddonOptions on;
    on.serviceDueByCounter = true;
    on.serviceCounterMargin = 500;
    session::saveAddonOptions(f.session->working(), on);
    // One service of the vehicle is made due by its counter: planned a little above its odometer.
    ServiceRecord s = f.service(1);
    s.PLANW = QStringLiteral("N");
    s.DATAP = QDate(2010, 12, 31);
    s.STANP = 1;
    ASSERT_TRUE(f.data->post(s, s.KODA, s.KODB));
    opened.clear();
    int rows = 0;
    bool counterReason = false;
    whenModalOpens([&](QWidget* w) {
        opened << w->objectName();
        auto* list = qobject_cast<ObslugiPilne*>(w);
        ASSERT_TRUE(list);
        rows = list->grid()->rowCount();
        for (int r = 0; r < rows; ++r)
            counterReason =
                counterReason || list->grid()->item(r, 7)->text().contains(QStringLiteral("licznik"));
        screenshot(w, QStringLiteral("ObslugiPilne"));
        w->findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    showDueServicesAtLogin(nullptr, *f.session);
    qunsetenv("KORVEN_TODAY");
    EXPECT_EQ(opened, QStringList{QStringLiteral("ObslugiPilne")});
    EXPECT_GT(rows, 0);
    EXPECT_TRUE(counterReason);
}
