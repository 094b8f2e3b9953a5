// The report menus and the twelve statement windows over a demo unit, driven as an operator would.

#include "reports/ui/ReportMenus.h"
#include "reports/ui/ReportPrint.h"
#include "reports/ui/ReportWindow.h"
#include "reports/ui/SelectionFilter.h"
#include "schema/Demo.h"
#include "session/SessionFixture.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"
#include "ui/UiServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

using namespace korven;
using namespace korven::reports;
using namespace korven::reports::ui;
using korven::test::RecordingServices;
using korven::test::ScriptedStartup;
using korven::test::TestDatabase;

namespace {

// A session on the demo unit whose working period is June 2009, with the cards of June 2008 to
// May 2009.
struct Fixture {
    Fixture() {
        schema::fillDemoData(*tdb.attachment);
        // A few services and work cards of known values make the statements over them show rows;
        // the demo's own are cleared first so that the numbers stay free.
        execute("delete from A_OBSLU");
        execute("delete from A_KARTAS");
        execute("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, PLANW) values (1, 1, 'PT', 'Przegląd', "
                "'2009-06-10', 't')");
        execute(
            "insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, PLANW) values (2, 1, 'OC', 'Ubezpieczenie', "
            "'2009-06-20', 'N')");
        execute("insert into A_KARTAS (KODS, KODK, NRREJ, ROKS, MIES, ZUZYCIEPALF, ILOPOBOLM, CZAS) "
                "select KODS, KODS, NRREJ, 9, 6, 2.5, 0.1, 90 from A_SPRZET");
        ini = test::writeSetupIni(iniDir, tdb.sciezka);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = session::startSession(ini, ui);
        ReportUiServices& rs = reportUiServices();
        rs.chooseOutput = [this](QWidget*, const QString&) {
            OutputChoice c;
            c.destination = OutputChoice::Destination::File;
            c.format = OutputFormat::Pdf;
            c.filePath = out.filePath(QStringLiteral("print.pdf"));
            return c;
        };
        rs.showMessage = [this](QWidget*, const QString& text) { services.messages << text; };
    }
    ~Fixture() { resetReportUiServices(); }
    void execute(const char* sql) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(QString::fromUtf8(sql)); });
    }

    TestDatabase tdb{9, 6};
    QTemporaryDir iniDir, out;
    QString ini;
    std::unique_ptr<session::Session> session;
    RecordingServices services;
};

void click(ReportWindow& w, const char* button) {
    QTest::mouseClick(w.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

void pickFirst(FilterDimension* d) {
    ASSERT_TRUE(d);
    d->box()->setChecked(false);
    ASSERT_GT(d->list()->count(), 0);
    d->pick(d->list()->itemData(0).toInt());
}

struct WindowCase {
    StatementId id;
    std::function<void(ReportWindow&)> choose; // the operator's choices before "&Start"
    QString printed;                           // the project the print uses
};

const QList<WindowCase>& windowCases() {
    static const QList<WindowCase> cases = {
        {StatementId::Vehicles,
         [](ReportWindow& w) {
             w.radio(QStringLiteral("vehicles"))->button(2)->click();
             w.spin(QStringLiteral("section"))->setValue(3);
         },
         QStringLiteral("RapPoj3.rav")},
        {StatementId::Equipment, [](ReportWindow&) {}, QStringLiteral("RapSprzet.rav")},
        {StatementId::TripCards,
         [](ReportWindow& w) {
             w.check(QStringLiteral("anyMonth"))->setChecked(false);
             w.spin(QStringLiteral("month"))->setValue(3);
             pickFirst(w.dimension(QStringLiteral("units")));
         },
         QStringLiteral("RapKartD.rav")},
        {StatementId::EquipmentCards, [](ReportWindow&) {}, QStringLiteral("RapKartS.rav")},
        {StatementId::ByKind,
         [](ReportWindow& w) {
             w.check(QStringLiteral("tableForm"))->setChecked(false);
             w.spin(QStringLiteral("toMonth"))->setValue(5);
         },
         QStringLiteral("RapZuzySF.rav")},
        {StatementId::ByGroup, [](ReportWindow&) {}, QStringLiteral("RapZuzySSp.rav")},
        {StatementId::YearlyVehicles, [](ReportWindow& w) { w.spin(QStringLiteral("section"))->setValue(2); },
         QStringLiteral("RapZuzyA2.rav")},
        {StatementId::YearlyEquipment, [](ReportWindow&) {}, QStringLiteral("RapZuzySpA.rav")},
        {StatementId::AverageVehicles,
         [](ReportWindow& w) { w.spin(QStringLiteral("fromYear"))->setValue(2008); },
         QStringLiteral("RapSred.rav")},
        {StatementId::AverageEquipment, [](ReportWindow&) {}, QStringLiteral("RapSredSp.rav")},
        {StatementId::Services,
         [](ReportWindow& w) {
             w.radio(QStringLiteral("plan"))->button(1)->click();
             w.date(QStringLiteral("from"))->setDate(QDate(2008, 1, 1));
             w.date(QStringLiteral("to"))->setDate(QDate(2010, 12, 31));
         },
         QStringLiteral("RapObsl.rav")},
        {StatementId::Voucher,
         [](ReportWindow& w) { w.check(QStringLiteral("fuelSwitch"))->setChecked(false); },
         QStringLiteral("RapAsygnat2.rav")},
    };
    return cases;
}

TEST(ReportWindows, EachWindowFiltersBuildsPrintsAndExports) {
    Fixture f;
    ASSERT_TRUE(f.session);
    for (const WindowCase& k : windowCases()) {
        SCOPED_TRACE(statementName(k.id).toStdString());
        f.services.messages.clear();
        f.services.opened.clear();
        QFile::remove(f.out.filePath(QStringLiteral("print.pdf")));
        ReportWindow w(k.id, statementContext(*f.session, k.id));
        w.exportEnvironment.folder = f.out.path();
        w.show();
        EXPECT_TRUE(w.windowTitle().startsWith(statementTitle(k.id)));
        EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("Czerwiec 2009")));
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("counter"))->text(), QStringLiteral("0"));
        k.choose(w);
        click(w, "start");
        EXPECT_GT(w.table().rowCount(), 0);
        EXPECT_EQ(w.grid()->model()->rowCount(), w.table().rowCount());
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("counter"))->text(), QString());
        test::screenshot(&w, statementName(k.id));

        const PrintSpec spec =
            statementPrint(k.id, w.choices(), f.session->settings(), f.session->operatorSession().fullName);
        EXPECT_EQ(spec.projectFile, k.printed);
        click(w, "print");
        EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('\n').toStdString();
        EXPECT_GT(QFileInfo(f.out.filePath(QStringLiteral("print.pdf"))).size(), 1000);

        const exports::ExportOutcome exported = w.exportGrid();
        EXPECT_EQ(exported.status, exports::ExportOutcome::Status::Opened) << exported.message.toStdString();
        EXPECT_TRUE(QFileInfo::exists(exported.filePath));
        EXPECT_EQ(f.services.opened.size(), 1);
    }
}

TEST(ReportWindows, ChoicesReachTheBuildAndTitlesFollowTheSwitches) {
    Fixture f;
    ASSERT_TRUE(f.session);
    {
        ReportWindow w(StatementId::TripCards, statementContext(*f.session, StatementId::TripCards));
        w.show();
        auto* units = w.dimension(QStringLiteral("units"));
        EXPECT_EQ(units->box()->text(), QStringLiteral("&Jednostki Wszystkie"));
        EXPECT_FALSE(units->list()->isVisible());
        units->box()->setChecked(false);
        EXPECT_EQ(units->box()->text(), QStringLiteral("&Jednostki Wybrane"));
        EXPECT_TRUE(units->list()->isVisible());
        // Nothing picked yet: the filter is on code 0 and the print names no unit.
        EXPECT_EQ(w.choices().unit.code, 0);
        click(w, "start");
        EXPECT_EQ(w.table().rowCount(), 1) << "only the totals row";
        // The register has no sections and no totals row.
        w.check(QStringLiteral("statementSwitch"))->setChecked(false);
        EXPECT_EQ(w.check(QStringLiteral("statementSwitch"))->text(),
                  QStringLiteral("Rejestr Kart Drogowych"));
        EXPECT_FALSE(w.spin(QStringLiteral("section"))->isVisible());
        units->box()->setChecked(true);
        w.check(QStringLiteral("anyMonth"))->setChecked(false);
        click(w, "start");
        EXPECT_EQ(w.table().rowCount(), 0) << "June 2009 has no cards yet";
        w.spin(QStringLiteral("month"))->setValue(5);
        click(w, "start");
        EXPECT_GT(w.table().rowCount(), 30);
        EXPECT_NE(w.table().value(w.table().rowCount() - 1, QStringLiteral("kodd")).toInt(), kTotalsCode);
    }
    {
        ReportWindow w(StatementId::Voucher, statementContext(*f.session, StatementId::Voucher));
        w.show();
        QAbstractItemModel* m = w.grid()->model();
        auto titleOf = [&](const char* field) {
            for (int c = 0; c < m->columnCount(); ++c)
                if (m->headerData(c, Qt::Horizontal, FieldNameRole).toString() == QLatin1String(field))
                    return m->headerData(c, Qt::Horizontal).toString();
            return QString();
        };
        EXPECT_EQ(titleOf("et"), QStringLiteral("Wydane ET"));
        w.check(QStringLiteral("fuelSwitch"))->setChecked(false);
        EXPECT_EQ(w.check(QStringLiteral("fuelSwitch"))->text(), QStringLiteral("Zestwienie dla Oleju"));
        EXPECT_EQ(titleOf("et"), QStringLiteral("Wydany olej mieszanka"));
    }
    {
        ReportWindow w(StatementId::AverageVehicles,
                       statementContext(*f.session, StatementId::AverageVehicles));
        w.show();
        EXPECT_EQ(w.spin(QStringLiteral("fromYear"))->value(), 2007);
        EXPECT_EQ(w.spin(QStringLiteral("toYear"))->value(), 2009);
        w.spin(QStringLiteral("fromYear"))->setValue(2008);
        EXPECT_EQ(w.spin(QStringLiteral("toYear"))->value(), 2013);
        EXPECT_EQ(w.grid()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("2008"));
    }
}

TEST(ReportWindows, PrintingBeforeStartPrintsNoRowsAndAMissingProjectIsNamed) {
    Fixture f;
    ASSERT_TRUE(f.session);
    ReportWindow w(StatementId::Services, statementContext(*f.session, StatementId::Services));
    w.show();
    click(w, "print");
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(f.out.filePath(QStringLiteral("print.pdf"))));

    const QString project = QDir(reportsFolder()).filePath(QStringLiteral("RapObsl.rav"));
    const QString moved = project + QStringLiteral(".away");
    ASSERT_TRUE(QFile::rename(project, moved));
    click(w, "print");
    QFile::rename(moved, project);
    ASSERT_EQ(f.services.messages.size(), 1);
    EXPECT_TRUE(f.services.messages.first().contains(QStringLiteral("RapObsl.rav")));
}

TEST(ReportMenus, MenusOpenTheirWindowsAndTheForms) {
    Fixture f;
    ASSERT_TRUE(f.session);
    QStringList seen;
    // The vehicle menu: a window opens from its button and Esc closes it, then the menu closes.
    test::whenModalOpens([&](QWidget* menu) {
        seen << menu->objectName() + QLatin1Char(':') + menu->windowTitle();
        test::whenModalOpens([&](QWidget* window) {
            seen << window->objectName();
            QTest::keyClick(window, Qt::Key_Escape);
        });
        menu->findChild<QPushButton*>(QStringLiteral("by-kind"))->click();
        menu->findChild<QPushButton*>(QStringLiteral("workCardForm"))->click();
        menu->findChild<QPushButton*>(QStringLiteral("insertForm"))->click();
        QTest::keyClick(menu, Qt::Key_Escape);
    });
    openVehicleReports(nullptr, *f.session);
    EXPECT_EQ(seen,
              (QStringList{QStringLiteral("Raport:Raporty dla Pojazdów"), QStringLiteral("Report_by-kind")}));
    ASSERT_EQ(f.services.opened.size(), 2) << f.services.messages.join('\n').toStdString();
    EXPECT_TRUE(f.services.opened[0].endsWith(QStringLiteral("/karta.doc")));
    EXPECT_TRUE(f.services.opened[1].endsWith(QStringLiteral("/wkladka.doc")));

    seen.clear();
    test::whenModalOpens([&](QWidget* menu) {
        seen << menu->objectName();
        auto* services = menu->findChild<QPushButton*>(QStringLiteral("services"));
        EXPECT_FALSE(services->isVisible());
        EXPECT_FALSE(services->isEnabled());
        EXPECT_TRUE(menu->findChild<QPushButton*>(QStringLiteral("voucher"))->isVisible());
        menu->findChild<QPushButton*>(QStringLiteral("exit"))->click();
    });
    openEquipmentReports(nullptr, *f.session);
    EXPECT_EQ(seen, QStringList{QStringLiteral("RaportSp")});

    // A form that is not there, or no application to open it, ends with a message.
    f.services.messages.clear();
    EXPECT_FALSE(openForm(nullptr, QStringLiteral("brak.doc")));
    f.services.openSucceeds = false;
    EXPECT_FALSE(openForm(nullptr, kWorkCardForm));
    EXPECT_EQ(f.services.messages.size(), 2);
}

// The word processor reads the blank forms placed beside the program, Polish letters included.
TEST(ReportMenus, TheFormsOpenInTheWordProcessor) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty() || !QFileInfo::exists(QStringLiteral("/usr/lib/libreoffice/program/libswlo.so")))
        GTEST_SKIP() << "LibreOffice Writer (libreoffice-writer-nogui) is not installed";
    QTemporaryDir dir;
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    p.setProcessEnvironment(environment);
    p.setProcessChannelMode(QProcess::MergedChannels);
    const QDir program(korven::ui::programFolder());
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), dir.path(),
                      program.filePath(kWorkCardForm), program.filePath(kInsertForm)});
    ASSERT_TRUE(p.waitForFinished(180000));
    const QString log = QString::fromUtf8(p.readAll());
    struct Form {
        const char* text;
        const char* expected;
    } forms[] = {{"karta.txt", "KARTA PRACY POJAZDU"},
                 {"wkladka.txt", "WKŁADKA UZUPEŁNIAJĄCA DO KARTY PRACY POJAZDU"}};
    for (const Form& form : forms) {
        QFile f(dir.filePath(QString::fromLatin1(form.text)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << log.toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(text.contains(QString::fromUtf8(form.expected))) << form.text;
        EXPECT_TRUE(text.contains(QStringLiteral("Stan licznika przy wyjeździe"))) << form.text;
    }
}

} // namespace
