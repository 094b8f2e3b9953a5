#include "registries/ui/DictionaryWindows.h"
#include "reports/ui/ReportPrint.h"
#include "session/ui/MainWindows.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::test;

namespace {

struct Fixture {
    Fixture() {
        db::ConnectParams p = tdb.params();
        session = std::make_unique<session::Session>(db::Attachment::attach(p));
        session->loadSettings();
    }
    QStringList names(const QString& table) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) {
            QStringList out;
            for (const db::Row& r :
                 tr.select(QStringLiteral("select KOD, NAZWA from %1 order by KOD").arg(table)))
                out << QStringLiteral("%1:%2").arg(r.integer("KOD")).arg(r.text("NAZWA"));
            return out;
        });
    }
    TestDatabase tdb;
    std::unique_ptr<session::Session> session;
    RecordingServices services;
};

QTableView* gridOf(QWidget* w) {
    return w->findChild<QTableView*>(QStringLiteral("grid"));
}

} // namespace

TEST(DictionaryWindow, AddEditCancelDeleteAndReuseTheHighestCode) {
    Fixture f;
    QWidget parent;
    QStringList titles;
    whenModalOpens([&](QWidget* list) {
        titles << list->windowTitle();
        QTableView* grid = gridOf(list);
        // The first row of an empty dictionary gets code 1; Insert puts the cursor on it.
        QTest::keyClick(grid, Qt::Key_Insert);
        QTest::keyClick(grid, Qt::Key_Insert);
        // Enter opens the editor; the name is typed and saved.
        whenModalOpens([&](QWidget* editor) {
            titles << editor->windowTitle();
            // The code is not typed: the name has the focus, and Enter in it means "O&K".
            auto* name = editor->findChild<QLineEdit*>(QStringLiteral("NAZWA"));
            EXPECT_EQ(QApplication::focusWidget(), name);
            name->setText(QStringLiteral("Samochód gaśniczy"));
            QTest::keyClick(name, Qt::Key_Return);
            EXPECT_FALSE(editor->isVisible());
        });
        QTest::keyClick(grid, Qt::Key_Return);
        // Esc in the editor cancels what was typed.
        whenModalOpens([&](QWidget* editor) {
            editor->findChild<QLineEdit*>(QStringLiteral("NAZWA"))->setText(QStringLiteral("nie zapisane"));
            QTest::keyClick(editor, Qt::Key_Escape);
        });
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(f.names(QStringLiteral("A_RODZP")), (QStringList{"1:", "2:Samochód gaśniczy"}));
        screenshot(list, QStringLiteral("RodzajPo"));
        // Delete the highest code, then add again: the same code comes back.
        f.services.answers = {true};
        QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClick(grid, Qt::Key_Insert);
        QTest::keyClick(grid, Qt::Key_Escape);
    });
    registries::openDictionary(&parent, *f.session, registries::DictionaryKind::VehicleKinds);
    EXPECT_EQ(titles, (QStringList{"Kartoteka Rodzajów Pojazdów", "Korekta Rodzaju Pojazdu"}));
    // Code 2 was named, deleted and allocated again with an empty name.
    EXPECT_EQ(f.names(QStringLiteral("A_RODZP")), (QStringList{"1:", "2:"}));
    EXPECT_EQ(f.services.questions.size(), 1);
}

TEST(DictionaryWindow, SavedNameAndPrintedList) {
    Fixture f;
    QWidget parent;
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("grupy.pdf"));
    reports::ui::reportUiServices().chooseOutput = [&](QWidget*, const QString&) {
        reports::ui::OutputChoice c;
        c.destination = reports::ui::OutputChoice::Destination::File;
        c.format = reports::OutputFormat::Pdf;
        c.filePath = pdf;
        return c;
    };
    whenModalOpens([&](QWidget* list) {
        QTableView* grid = gridOf(list);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End);
        screenshot(list, QStringLiteral("GrupaSp"));
        QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("print")), Qt::LeftButton);
        QTest::keyClick(grid, Qt::Key_Escape);
    });
    registries::openDictionary(&parent, *f.session, registries::DictionaryKind::EquipmentGroups);
    reports::ui::resetReportUiServices();
    ASSERT_TRUE(QFile::exists(pdf)) << f.services.messages.join('\n').toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Kartoteka Grup Sprzętu Silnikowego"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Zestaw narzędzi hydraulicznych kategorii 2")));
}

TEST(DictionaryWindow, UnitsHaveTheirNumberColumnAndServiceKindsCheckNumbers) {
    Fixture f;
    QWidget parent;
    QStringList headers;
    whenModalOpens([&](QWidget* list) {
        QTableView* grid = gridOf(list);
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            headers << grid->model()->headerData(c, Qt::Horizontal).toString();
        // Text in the months field is refused with a message and the editor stays open.
        whenModalOpens([&](QWidget* editor) {
            editor->findChild<QLineEdit*>(QStringLiteral("ILE"))->setText(QStringLiteral("dwa"));
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
            EXPECT_TRUE(editor->isVisible());
            editor->findChild<QLineEdit*>(QStringLiteral("ILE"))->setText(QStringLiteral("12"));
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_Escape);
    });
    registries::openDictionary(&parent, *f.session, registries::DictionaryKind::ServiceKinds);
    EXPECT_EQ(headers,
              (QStringList{"Kod", "Nazwa skrócona", "Nazwa Rodzaju Obsługi", "Następna Obsługa (m-c)"}));
    EXPECT_EQ(f.services.messages.size(), 1);
    db::Transaction t(*f.tdb.attachment);
    EXPECT_EQ(db::inTransaction(
                  t,
                  [](db::Transaction& tr) {
                      return tr.scalar(QStringLiteral("select ILE from A_OBSK where KOD = 1")).toInt();
                  }),
              12);
}
