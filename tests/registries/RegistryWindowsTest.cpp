#include "exports/XlsxReader.h"
#include "registries/ui/EquipmentWindows.h"
#include "registries/ui/VehicleWindows.h"
#include "reports/ui/ReportPrint.h"
#include "schema/Demo.h"
#include "session/SessionFixture.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::registries;
using namespace korven::test;

namespace {

// A demo unit on an embedded database, a session on it, the demo photographs and the report projects
// beside the test program, and recording window services.
struct Fixture {
    Fixture() {
        schema::fillDemoData(*tdb.attachment);
        const QString program = ui::programFolder();
        QFile::remove(program + QStringLiteral("/brak.bmp"));
        QFile::copy(sourceDir() + QStringLiteral("/data/brak.bmp"), program + QStringLiteral("/brak.bmp"));
        fillDemoPhotos(*tdb.attachment, program);
        QDir().mkpath(program + QStringLiteral("/raporty"));
        for (const char* name : {"PojSpis.rav", "Pojazd.rav", "SprzSpis.rav", "Sprzet.rav"}) {
            const QString target = program + QStringLiteral("/raporty/") + QString::fromLatin1(name);
            QFile::remove(target);
            QFile::copy(sourceDir() + QStringLiteral("/raporty/") + QString::fromLatin1(name), target);
        }
        ini = writeSetupIni(iniDir, tdb.sciezka);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = session::startSession(ini, ui);
    }
    ~Fixture() { reports::ui::resetReportUiServices(); }

    db::Rows rows(const QString& sql, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.select(sql, params); });
    }
    void execute(const QString& sql) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(sql); });
    }
    db::Row vehicle(qint64 koda) {
        return rows(QStringLiteral("select * from A_AUTO where KODA = :K"), {{"K", codeValue(koda)}}).at(0);
    }

    TestDatabase tdb{9, 3};
    QTemporaryDir iniDir;
    QString ini;
    std::unique_ptr<session::Session> session;
    RecordingServices services;
};

void activate(QWidget* w) {
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QTest::qWait(30);
}

// Opens the editor with Enter on the list's current row and runs `work` on it while it is open.
template <class Editor, class List> void withEditor(List& list, const std::function<void(Editor&)>& work) {
    bool opened = false;
    whenModalOpens([&](QWidget* w) {
        auto* editor = dynamic_cast<Editor*>(w);
        ASSERT_NE(editor, nullptr);
        opened = true;
        activate(editor);
        work(*editor);
        if (editor->isVisible()) editor->reject();
    });
    QTest::keyClick(list.grid(), Qt::Key_Return);
    EXPECT_TRUE(opened);
}

template <class List> std::unique_ptr<List> openList(Fixture& f, const RegistryLinks& links = {}) {
    auto w = std::make_unique<List>(*f.session, links);
    w->reload();
    w->show();
    activate(w.get());
    return w;
}

QPushButton* button(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

void screenshotPages(ui::RecordEditor& editor, const QString& name) {
    for (int i = 0; i < editor.tabs()->count(); ++i) {
        editor.tabs()->setCurrentIndex(i);
        QTest::qWait(20);
        screenshot(&editor, name + QLatin1Char('_') + QString::number(i + 1));
    }
    editor.tabs()->setCurrentIndex(0);
}

QString columnName(int column) { // 1 -> A, 27 -> AA
    QString s;
    for (; column > 0; column = (column - 1) / 26)
        s.prepend(QChar(QLatin1Char('A' + (column - 1) % 26)));
    return s;
}

} // namespace

TEST(VehicleWindows, InsertAddsEditSavesEscCancels) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    EXPECT_EQ(w->windowTitle(), vehicleListTitle(9, 3));
    screenshot(w.get(), QStringLiteral("Pojazd"));
    const int before = w->model()->rowCount();
    ASSERT_GT(before, 0);

    QTest::keyClick(w->grid(), Qt::Key_Insert);
    ASSERT_EQ(w->model()->rowCount(), before + 1);
    const qint64 code = w->currentCode();
    db::Row fresh = f.vehicle(code);
    EXPECT_EQ(fresh.text("TYP"), QStringLiteral("P"));
    EXPECT_EQ(fresh.text("RPR"), QStringLiteral("2009"));

    withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
        EXPECT_EQ(ed.text(QStringLiteral("KODA")), QString::number(code));
        EXPECT_TRUE(ed.input(QStringLiteral("KODA"))->isReadOnly());
        EXPECT_EQ(ed.typeLabel()->text(), QStringLiteral("Pozostałe"));
        ed.setText(QStringLiteral("NAZWA"), QStringLiteral("GBA 2,5/16 Nowy"));
        QTest::keyClicks(ed.input(QStringLiteral("NRREJ")), QStringLiteral("wpr 123"));
        ed.setText(QStringLiteral("NORMPAL"), QStringLiteral("31,5"));
        QTest::mouseClick(ed.okButton(), Qt::LeftButton);
        EXPECT_FALSE(ed.isVisible());
    });
    db::Row saved = f.vehicle(code);
    EXPECT_EQ(saved.text("NAZWA").trimmed(), QStringLiteral("GBA 2,5/16 Nowy"));
    EXPECT_EQ(saved.text("NRREJ").trimmed(), QStringLiteral("WPR 123"));
    EXPECT_DOUBLE_EQ(saved.number("NORMPAL"), 31.5);
    EXPECT_EQ(w->currentCode(), code); // back on the same vehicle
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('|').toStdString();

    // Esc closes without saving.
    withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
        ed.setText(QStringLiteral("NAZWA"), QStringLiteral("Nie zapisuj"));
        QTest::keyClick(ed.input(QStringLiteral("NAZWA")), Qt::Key_Escape);
        EXPECT_FALSE(ed.isVisible());
    });
    EXPECT_EQ(f.vehicle(code).text("NAZWA").trimmed(), QStringLiteral("GBA 2,5/16 Nowy"));
}

TEST(VehicleWindows, DeleteAsksRefusesWithCardsAndKeepsTheCursor) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    const int count = w->model()->rowCount();
    w->setCurrentPosition(2);
    const qint64 withCards = w->currentCode();
    f.execute(QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED) values (%1, 99001, 9, 3)")
                  .arg(withCards));

    // A vehicle with trip cards: "mail.wav", the message, no question, nothing deleted.
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(f.services.sounds, QStringList{QStringLiteral("mail.wav")});
    EXPECT_EQ(f.services.messages, QStringList{vehicle::cardsExistMessage});
    EXPECT_TRUE(f.services.questions.isEmpty());
    EXPECT_EQ(w->model()->rowCount(), count);

    // Without cards, No keeps the row and the cursor.
    f.execute(QStringLiteral("delete from A_KARTA where KODA = %1").arg(withCards));
    f.services.answers = {false};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(f.services.questions,
              QStringList{QStringLiteral("Ważne Pytanie: Czy napewno wykasować daną pozycję ?")});
    EXPECT_EQ(w->model()->rowCount(), count);
    EXPECT_EQ(w->currentPosition(), 2);
    EXPECT_EQ(w->currentCode(), withCards);

    // Yes deletes it; the cursor stays at its position.
    f.services.answers = {true};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(w->model()->rowCount(), count - 1);
    EXPECT_EQ(w->currentPosition(), 2);
    EXPECT_TRUE(f.rows(QStringLiteral("select KODA from A_AUTO where KODA = %1").arg(withCards)).empty());
}

TEST(VehicleWindows, SearchFindsTheNextMatchThenTheEndOfData) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    // The demo names that contain the text, in list order.
    QList<int> matches;
    for (int i = 0; i < static_cast<int>(w->records().size()); ++i)
        if (w->records()[static_cast<std::size_t>(i)].nazwa.toUpper().contains(QStringLiteral("GBA")))
            matches << i;
    ASSERT_GE(matches.size(), 2);
    w->setCurrentPosition(0);
    w->searchField()->setText(QStringLiteral(" gba "));
    QPushButton* search = button(w.get(), "search");
    QTest::mouseClick(search, Qt::LeftButton);
    const int first = w->currentPosition();
    EXPECT_EQ(first, matches[0] == 0 ? matches[1] : matches[0]);
    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_GT(w->currentPosition(), first);
    EXPECT_TRUE(matches.contains(w->currentPosition()));
    EXPECT_TRUE(f.services.messages.isEmpty());

    w->searchField()->setText(QStringLiteral("nie ma takiego"));
    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_EQ(f.services.messages, QStringList{texts::endOfData});
    EXPECT_EQ(w->currentPosition(), w->model()->rowCount() - 1);
}

TEST(VehicleWindows, LookupsFillNamesAndAnUnknownKindCodeIsSavedAsSuch) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    w->setCurrentPosition(0);
    const qint64 code = w->currentCode();
    const db::Rows units = f.rows(QStringLiteral("select * from A_KOMEN order by KOD"));
    ASSERT_FALSE(units.empty());
    withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
        QLineEdit* kind = ed.input(QStringLiteral("KOD_RP"));
        kind->setFocus();
        kind->selectAll();
        QTest::keyClicks(kind, QStringLiteral("999"));
        EXPECT_EQ(ed.text(QStringLiteral("RODZPOJ")), QStringLiteral("Błędna Nazwa Rodzaju Pojazdów ..."));

        QLineEdit* unit = ed.input(QStringLiteral("KOD_KO"));
        unit->selectAll();
        QTest::keyClicks(unit, units.front().text("KOD"));
        EXPECT_EQ(ed.text(QStringLiteral("KOMENDA")), units.front().text("NAZWA").trimmed());
        EXPECT_EQ(ed.text(QStringLiteral("NRJED")), units.front().text("NRJED").left(10).trimmed());

        // Choosing a group by name sets its code.
        QComboBox* groups = ed.dropDown(QStringLiteral("GRPOJ"));
        ASSERT_GT(groups->count(), 1);
        groups->setCurrentIndex(1);
        emit groups->activated(1);
        const db::Rows g = f.rows(QStringLiteral("select * from A_GRUPP order by KOD"));
        EXPECT_EQ(ed.text(QStringLiteral("KOD_GP")), g.at(1).text("KOD"));
        QTest::mouseClick(ed.okButton(), Qt::LeftButton);
    });
    db::Row saved = f.vehicle(code);
    EXPECT_EQ(saved.integer("KOD_RP"), 999);
    EXPECT_EQ(saved.text("RODZPOJ").trimmed(), QStringLiteral("Błędna Nazwa Rodzaju Pojazdów ..."));
    EXPECT_EQ(saved.text("KOMENDA").trimmed(), units.front().text("NAZWA").trimmed());
}

TEST(VehicleWindows, BadInputGivesAMessageAndSavesNothing) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    w->setCurrentPosition(0);
    const qint64 code = w->currentCode();
    const db::Row before = f.vehicle(code);
    struct Case {
        const char* field;
        const char* typed;
        const char* message; // part of the message
    } cases[] = {{"NORMPAL", "abc", "nie jest poprawną liczbą"},
                 {"DOEKSPL", "2009-02-30", "nie jest poprawną datą"},
                 {"ILOMIE", "3,5", "liczbą całkowitą"},
                 {"NORMPOM", "1234", "największa wartość 999,999"}};
    for (const Case& c : cases) {
        f.services.messages.clear();
        withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
            ed.setText(QStringLiteral("NAZWA"), QStringLiteral("Nie powinno się zapisać"));
            ed.setText(QString::fromLatin1(c.field), QString::fromUtf8(c.typed));
            QTest::mouseClick(ed.okButton(), Qt::LeftButton);
            EXPECT_TRUE(ed.isVisible()) << c.field; // the typing stays for correction
            EXPECT_EQ(ed.tabs()->tabText(ed.tabs()->currentIndex()),
                      pageTitle(findField(vehicleFields(), QString::fromLatin1(c.field))->info.page));
        });
        ASSERT_EQ(f.services.messages.size(), 1) << c.field;
        EXPECT_TRUE(f.services.messages[0].contains(QString::fromUtf8(c.message)))
            << f.services.messages[0].toStdString();
        EXPECT_EQ(f.vehicle(code).text("NAZWA"), before.text("NAZWA")) << c.field; // no partial row
    }
    // Text longer than its column is cut.
    withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
        ed.setText(QStringLiteral("NAZWA"), QString(45, QLatin1Char('X')));
        ed.setText(QStringLiteral("KO"), QStringLiteral("abc"));
        QTest::mouseClick(ed.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(f.vehicle(code).text("NAZWA"), QString(40, QLatin1Char('X')));
    EXPECT_EQ(f.vehicle(code).text("KO"), QStringLiteral("A"));
}

TEST(VehicleWindows, PhotographPathIsCutAndAFileThatIsNoPictureIsRefused) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    w->setCurrentPosition(0);
    const qint64 code = w->currentCode();
    const QString before = f.vehicle(code).text("FOTO");

    QString longPath = QStringLiteral("/tmp/kv") + QString::number(QCoreApplication::applicationPid());
    longPath += QString(31 - 4 - longPath.size(), QLatin1Char('f')) + QStringLiteral(".bmp");
    ASSERT_EQ(longPath.size(), 31);
    QImage(8, 8, QImage::Format_RGB32).save(longPath, "BMP");
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("opis.jpg"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("to nie jest obraz");
    file.close();

    f.services.fileAnswers = {text, longPath};
    withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
        QPushButton* choose = button(&ed, "choosePhoto");
        QTest::mouseClick(choose, Qt::LeftButton);
        EXPECT_EQ(f.services.messages, QStringList{photo::notAPictureMessage});
        EXPECT_EQ(f.vehicle(code).text("FOTO"), before);

        QTest::mouseClick(choose, Qt::LeftButton);
        EXPECT_EQ(f.vehicle(code).text("FOTO").trimmed(), longPath.left(30));
        EXPECT_TRUE(ed.photo()->property("file").toString().endsWith(QStringLiteral("/brak.bmp")));
        EXPECT_EQ(f.services.messages.last(), photo::pathCutMessage);
    });
    QFile::remove(longPath);
}

TEST(VehicleWindows, WexlonLayoutIsExportedWithItsColumns) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    QTemporaryDir out;
    w->exportEnvironment.folder = out.path();
    auto headerRow = [&] {
        QStringList names = QDir(out.path()).entryList({QStringLiteral("*.xlsx")}, QDir::Files, QDir::Time);
        EXPECT_FALSE(names.isEmpty());
        XlsxSheet sheet = readXlsx(out.filePath(names.value(0)));
        QStringList titles;
        for (int c = 1; sheet.has(columnName(c) + QStringLiteral("3")); ++c)
            titles << sheet.cells.value(columnName(c) + QStringLiteral("3")).value;
        for (const QString& n : names)
            QFile::remove(out.filePath(n));
        return std::make_pair(sheet.cells.value(QStringLiteral("A1")).value, titles);
    };
    auto titlesOf = [](VehicleLayout layout) {
        QStringList t;
        for (const GridColumn& c : vehicleGrid(layout))
            t << c.title;
        return t;
    };

    w->layoutBox()->click();
    EXPECT_EQ(w->layoutBox()->text(), QStringLiteral("WEXLON"));
    EXPECT_EQ(w->exportButton()->text(), QStringLiteral("&Export WEXLON"));
    screenshot(w.get(), QStringLiteral("Pojazd_WEXLON"));
    QTest::mouseClick(w->exportButton(), Qt::LeftButton);
    auto [title, wexlon] = headerRow();
    EXPECT_EQ(title, vehicleExportTitle(9, 3).trimmed());
    EXPECT_EQ(wexlon, titlesOf(VehicleLayout::Wexlon));
    EXPECT_EQ(f.services.opened.size(), 1);

    w->layoutBox()->click();
    EXPECT_EQ(w->exportButton()->text(), QStringLiteral("&Export Excel"));
    QTest::mouseClick(w->exportButton(), Qt::LeftButton);
    EXPECT_EQ(headerRow().second, titlesOf(VehicleLayout::Normal));
}

TEST(VehicleWindows, EditorMovesTheListSavesTypingFirstAndStoresCheckBoxesAtOnce) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    w->setCurrentPosition(0);
    const qint64 first = w->currentCode();
    const qint64 second = w->records().at(1).koda;
    withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
        ed.setText(QStringLiteral("OSOB_ODP"), QStringLiteral("Jan Kowalski"));
        QTest::keyClick(ed.input(QStringLiteral("NAZWA")), Qt::Key_PageDown);
        EXPECT_EQ(ed.position(), 1);
        EXPECT_EQ(w->currentPosition(), 1);
        EXPECT_EQ(ed.windowTitle(), vehicleEditorTitle(w->records().at(1)));
        EXPECT_EQ(f.vehicle(first).text("OSOB_ODP").trimmed(), QStringLiteral("Jan Kowalski"));

        auto* lock = ed.findChild<QCheckBox*>(QStringLiteral("cardLock"));
        const bool locked = lock->isChecked();
        lock->click();
        EXPECT_EQ(f.vehicle(second).text("BLOKADA"), locked ? QStringLiteral("N") : QStringLiteral("T"));
        EXPECT_EQ(lock->text(), vehicleCardLockBox(locked ? "N" : "T").caption);

        // Ctrl+S saves without closing; Page Up goes back.
        ed.setText(QStringLiteral("PN"), QStringLiteral("PN-123"));
        QTest::keyClick(ed.input(QStringLiteral("NAZWA")), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(f.vehicle(second).text("PN").trimmed(), QStringLiteral("PN-123"));
        EXPECT_TRUE(ed.isVisible());
        QTest::keyClick(ed.input(QStringLiteral("NAZWA")), Qt::Key_PageUp);
        EXPECT_EQ(ed.position(), 0);
        // The lock stored at once is not undone by a later save of the row.
        QTest::keyClick(ed.input(QStringLiteral("NAZWA")), Qt::Key_PageDown);
        QTest::mouseClick(ed.okButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('|').toStdString();
    EXPECT_EQ(f.vehicle(second).text("PN").trimmed(), QStringLiteral("PN-123"));
}

TEST(VehicleWindows, LinkButtonsOpenWithTheCodeAndComeBackToTheVehicle) {
    Fixture f;
    ASSERT_TRUE(f.session);
    int seen = 0;
    bool hidden = false;
    Pojazd* list = nullptr;
    RegistryLinks links;
    links.openTripCards = [&](QWidget*, int koda) {
        seen = koda;
        hidden = !list->isVisible();
    };
    auto w = openList<Pojazd>(f, links);
    list = w.get();
    EXPECT_FALSE(button(w.get(), "services")->isEnabled()); // no hook: disabled
    w->setCurrentPosition(3);
    const qint64 code = w->currentCode();
    QTest::mouseClick(button(w.get(), "tripCards"), Qt::LeftButton);
    EXPECT_EQ(seen, code);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->currentCode(), code);
}

TEST(EquipmentWindows, OrderButtonCyclesThroughThreeOrdersBackToCode) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Sprzet>(f);
    EXPECT_EQ(w->windowTitle(), equipmentListTitle(9, 3));
    EXPECT_EQ(button(w.get(), "equipmentCards")->isEnabled(), false);
    screenshot(w.get(), QStringLiteral("Sprzet"));
    w->setCurrentPosition(2);
    const qint64 code = w->currentCode();
    const QStringList captions{QStringLiteral("&Index wg Nazwy"), QStringLiteral("&Index wg Jednostki"),
                               QStringLiteral("&Index wg Kodu")};
    for (const QString& caption : captions) {
        QTest::mouseClick(w->orderButton(), Qt::LeftButton);
        EXPECT_EQ(w->orderButton()->text(), caption);
        EXPECT_EQ(w->currentCode(), code) << caption.toStdString();
    }
    qint64 previous = 0;
    for (const EquipmentRecord& r : w->records()) {
        EXPECT_GT(r.kods, previous);
        previous = r.kods;
    }
}

TEST(EquipmentWindows, NewMachineDefaultsEngineKindWarningAndDeleteKeepsCards) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Sprzet>(f);
    QTest::keyClick(w->grid(), Qt::Key_Insert);
    const qint64 code = w->currentCode();
    withEditor<SprzetEd>(*w, [&](SprzetEd& ed) {
        EXPECT_EQ(ed.text(QStringLiteral("KODS")), QString::number(code));
        EXPECT_EQ(ed.text(QStringLiteral("RODZSILN")), QStringLiteral("2"));
        EXPECT_EQ(ed.engineLabel()->text(), QStringLiteral("dwusuwowy"));
        EXPECT_EQ(ed.text(QStringLiteral("RPR")), QStringLiteral("2008"));
        EXPECT_EQ(ed.text(QStringLiteral("RODZPAL")), QStringLiteral("ET"));
        EXPECT_EQ(ed.text(QStringLiteral("DOEKSPL")),
                  QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));

        // Leaving an empty engine kind warns and brings the focus back; it does not stop a save.
        ed.showPage(QStringLiteral("Parametry"));
        QLineEdit* engine = ed.input(QStringLiteral("RODZSILN"));
        engine->setFocus();
        engine->clear();
        QTest::keyClick(engine, Qt::Key_Tab);
        QTest::qWait(50);
        EXPECT_EQ(f.services.sounds, QStringList{QStringLiteral("mail.wav")});
        EXPECT_EQ(f.services.messages, QStringList{equipment::engineKindMessage});
        EXPECT_EQ(QApplication::focusWidget(), engine);
        EXPECT_EQ(ed.engineLabel()->text(), QString());
        ed.setText(QStringLiteral("NAZWA"), QStringLiteral("Motopompa testowa"));
        ed.setText(QStringLiteral("SKLAD_ZES1"), QStringLiteral("Wąż ssawny 2 szt."));
        QTest::mouseClick(ed.okButton(), Qt::LeftButton);
        EXPECT_FALSE(ed.isVisible());
    });
    db::Row saved = f.rows(QStringLiteral("select * from A_SPRZET where KODS = %1").arg(code)).at(0);
    EXPECT_EQ(saved.text("NAZWA").trimmed(), QStringLiteral("Motopompa testowa"));
    EXPECT_EQ(saved.text("RODZSILN").trimmed(), QString());

    // A machine with work cards is deleted; its cards stay.
    f.execute(
        QStringLiteral("insert into A_KARTAS (KODS, KODK, ROKS, MIES) values (%1, 99001, 9, 3)").arg(code));
    f.services.answers = {true};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_TRUE(f.rows(QStringLiteral("select KODS from A_SPRZET where KODS = %1").arg(code)).empty());
    EXPECT_EQ(f.rows(QStringLiteral("select KODK from A_KARTAS where KODS = %1").arg(code)).size(), 1u);
}

TEST(RegistryReports, ListsAndRecordsPrintIntoFiles) {
    Fixture f;
    ASSERT_TRUE(f.session);
    QTemporaryDir temp;
    const QString folder = qEnvironmentVariableIsSet("KORVEN_SCREENSHOT_DIR")
                               ? qEnvironmentVariable("KORVEN_SCREENSHOT_DIR")
                               : temp.path();
    QStringList written;
    reports::ui::reportUiServices().chooseOutput = [&](QWidget*, const QString& base) {
        reports::ui::OutputChoice c;
        c.destination = reports::ui::OutputChoice::Destination::File;
        c.format = reports::OutputFormat::Pdf;
        c.filePath = folder + QLatin1Char('/') + base + QStringLiteral(".pdf");
        written << c.filePath;
        return c;
    };
    reports::ui::reportUiServices().showMessage = [&](QWidget*, const QString& text) {
        f.services.messages << text;
    };
    {
        auto w = openList<Pojazd>(f);
        QTest::mouseClick(button(w.get(), "print"), Qt::LeftButton);
        w->setCurrentPosition(0);
        withEditor<PojazdEd>(*w, [&](PojazdEd& ed) {
            screenshotPages(ed, QStringLiteral("PojazdEd"));
            QTest::mouseClick(button(&ed, "print"), Qt::LeftButton);
        });
    }
    {
        auto w = openList<Sprzet>(f);
        QTest::mouseClick(button(w.get(), "print"), Qt::LeftButton);
        w->setCurrentPosition(0);
        withEditor<SprzetEd>(*w, [&](SprzetEd& ed) {
            screenshotPages(ed, QStringLiteral("SprzetEd"));
            QTest::mouseClick(button(&ed, "print"), Qt::LeftButton);
        });
    }
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join('|').toStdString();
    ASSERT_EQ(written.size(), 4);
    for (const QString& file : written)
        EXPECT_GT(QFileInfo(file).size(), 1000) << file.toStdString();
}

// The spreadsheet application reads the exported registry: LibreOffice converts it to CSV.
TEST(VehicleWindows, ExportedRegistryOpensInLibreOffice) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    Fixture f;
    ASSERT_TRUE(f.session);
    auto w = openList<Pojazd>(f);
    QTemporaryDir out;
    w->exportEnvironment.folder = out.path();
    QTest::mouseClick(w->exportButton(), Qt::LeftButton);
    const QStringList names = QDir(out.path()).entryList({QStringLiteral("*.xlsx")}, QDir::Files);
    ASSERT_EQ(names.size(), 1);
    QFile::rename(out.filePath(names.first()), out.filePath(QStringLiteral("pojazdy.xlsx")));

    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), out.filePath(QStringLiteral("home")));
    p.setProcessEnvironment(environment);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
                      out.path(), out.filePath(QStringLiteral("pojazdy.xlsx"))});
    ASSERT_TRUE(p.waitForFinished(180000));
    QFile csv(out.filePath(QStringLiteral("pojazdy.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << p.readAll().toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(vehicleExportTitle(9, 3).trimmed())) << lines[0].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Kod,Nazwa Pojazdu,Nr Rejestracyjny")))
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("_1,GBA 2,5/16 MAN,KN 1000A")) ||
                lines[3].startsWith(QStringLiteral("_1,\"GBA 2,5/16 MAN\",KN 1000A")))
        << lines[3].toStdString();
    EXPECT_EQ(lines.size(), 2 + 1 + 36); // title, empty row, headers, every vehicle
}
