#include "core/Rounding.h"
#include "equipcards/rules/EquipmentRegister.h"
#include "equipcards/ui/KartaSp.h"
#include "equipcards/ui/KartaSpEd.h"
#include "exports/XlsxReader.h"
#include "exports/ui/EquipmentDocuments.h"
#include "reports/ui/ReportPrint.h"
#include "schema/Demo.h"
#include "session/SessionFixture.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"
#include "ui/CheckedEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::equipcards;
using namespace korven::test;

namespace {

// Machines of the demo unit: 1 a two-stroke pump, 3 a four-stroke floating pump, 28 blocked.
constexpr int twoStroke = 1;
constexpr int fourStroke = 3;
constexpr int blockedMachine = 28;

// A session on a demo database whose working period is June 2009: every machine that is not blocked
// has the cards of June 2008 to May 2009.
struct Fixture {
    Fixture() {
        schema::fillDemoData(*tdb.attachment);
        ini = writeSetupIni(iniDir, tdb.sciezka);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = session::startSession(ini, ui);
    }
    std::unique_ptr<EquipmentCardData> data() {
        return std::make_unique<EquipmentCardData>(session->working(), session->bracket(),
                                                   session->settings(), session->operatorSession());
    }
    std::vector<EquipmentCard> cards(int KODS) { return data()->list(KODS).cards; }
    EquipmentCard card(int KODS, int ROKS, int MIES) {
        for (const EquipmentCard& c : cards(KODS))
            if (c.ROKS == ROKS && c.MIES == MIES) return c;
        ADD_FAILURE() << "no card " << KODS << " " << ROKS << "/" << MIES;
        return {};
    }
    RegisterMachine machine(int KODS) { return *data()->loadMachine(KODS); }

    TestDatabase tdb{9, 6};
    QTemporaryDir iniDir;
    QString ini;
    std::unique_ptr<session::Session> session;
    RecordingServices services;
};

void activate(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    w.activateWindow();
    QTest::qWait(20);
}

void typeAndLeave(ui::CheckedEdit* edit, const QString& text) {
    ASSERT_TRUE(edit);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::qWait(10);
}

std::unique_ptr<KartaSp> openRegister(Fixture& f, std::unique_ptr<EquipmentCardData>& data, int KODS) {
    data = f.data();
    auto machine = data->loadMachine(KODS);
    if (!machine) return nullptr;
    auto w = std::make_unique<KartaSp>(*data, *machine);
    activate(*w);
    return w;
}

// Prints through the register into a PDF (into KORVEN_SCREENSHOT_DIR when set, to be looked at) and
// gives its text.
QString printToPdf(ui::ListWindow& w, QPushButton* button, const QString& name, QString* path = nullptr) {
    QTemporaryDir tmp;
    QString dir = qEnvironmentVariable("KORVEN_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = tmp.path();
    QDir().mkpath(dir);
    const QString file = QDir(dir).filePath(name + QStringLiteral(".pdf"));
    QFile::remove(file);
    reports::ui::ReportUiServices& rs = reports::ui::reportUiServices();
    rs.chooseOutput = [file](QWidget*, const QString&) {
        reports::ui::OutputChoice c;
        c.destination = reports::ui::OutputChoice::Destination::File;
        c.format = reports::OutputFormat::Pdf;
        c.filePath = file;
        return c;
    };
    QStringList messages;
    rs.showMessage = [&](QWidget*, const QString& text) { messages << text; };
    QTest::mouseClick(button, Qt::LeftButton);
    reports::ui::resetReportUiServices();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    (void)w;
    if (path) *path = file;
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!text.waitForFinished(20000)) return {};
    return QString::fromUtf8(text.readAllStandardOutput());
}

} // namespace

// --- The register -------------------------------------------------------------------------------

TEST(EquipmentRegisterWindow, OpensOnTheLastCardAndAddsTheCardOfTheMonth) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<EquipmentCardData> data;
    auto w = openRegister(f, data, twoStroke);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), registerCaption(w->machine().context, f.session->settings()));
    ASSERT_EQ(w->model()->rowCount(), 12);
    EXPECT_EQ(w->currentPosition(), 11);
    screenshot(w.get(), QStringLiteral("KartaSp"));

    QTest::keyClick(w->grid(), Qt::Key_Insert);
    ASSERT_EQ(w->model()->rowCount(), 13);
    const auto added = w->currentCard();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->ROKS, 9);
    EXPECT_EQ(added->MIES, 6);
    EXPECT_DOUBLE_EQ(added->NORMOLM, f.machine(twoStroke).context.NORMOLM);
    EXPECT_TRUE(f.services.messages.isEmpty());
    // A zero shows as an empty cell; the working time, a whole number, as 0.
    const int saving = 8; // OSZCZPAL
    ASSERT_EQ(w->model()->headerData(saving, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Oszczędność"));
    EXPECT_EQ(w->model()->displayText(w->currentPosition(), saving), QString());
}

TEST(EquipmentRegisterWindow, ABlockedMachineGetsNoCard) {
    for (const char* lock : {"N", "T"}) {
        Fixture f;
        ASSERT_TRUE(f.session);
        f.session->settings().DZWIEK = QLatin1String(lock);
        std::unique_ptr<EquipmentCardData> data;
        auto w = openRegister(f, data, blockedMachine);
        ASSERT_TRUE(w);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("newCard")), Qt::LeftButton);
        EXPECT_EQ(f.services.messages, QStringList{messages::blockedMachine()});
        EXPECT_EQ(f.services.sounds, QLatin1String(lock) == QLatin1String("N")
                                         ? QStringList{QStringLiteral("test.wav")}
                                         : QStringList{});
        EXPECT_TRUE(f.cards(blockedMachine).empty());
    }
}

TEST(EquipmentRegisterWindow, DeleteAsksAndNoKeepsTheRow) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<EquipmentCardData> data;
    auto w = openRegister(f, data, twoStroke);
    ASSERT_TRUE(w);
    w->setCurrentPosition(11);
    f.services.answers = {false};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(f.services.questions,
              QStringList{QStringLiteral("Ważne Pytanie: Czy napewno wykasować daną pozycję ?")});
    EXPECT_EQ(f.cards(twoStroke).size(), 12u);
    EXPECT_EQ(w->currentPosition(), 11);

    // Deleting the last card leaves the cursor on the new last card.
    f.services.answers = {true};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(f.cards(twoStroke).size(), 11u);
    EXPECT_EQ(w->currentPosition(), 10);
}

TEST(EquipmentRegisterWindow, EnterOpensTheSettlementWindowOfTheSelectedCard) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<EquipmentCardData> data;
    auto w = openRegister(f, data, twoStroke);
    ASSERT_TRUE(w);
    QString opened;
    bool registerHidden = false;
    whenModalOpens([&](QWidget* child) {
        opened = child->objectName();
        registerHidden = !w->isVisible();
        static_cast<QDialog*>(child)->reject();
    });
    QTest::keyClick(w->grid(), Qt::Key_Return);
    EXPECT_EQ(opened, QStringLiteral("KartaSpEd"));
    EXPECT_TRUE(registerHidden);
    EXPECT_TRUE(w->isVisible());
}

TEST(EquipmentRegisterWindow, TheCheckBoxAndTheDocumentButtons) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<EquipmentCardData> data;
    auto w = openRegister(f, data, twoStroke);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->pagesChoice()->text(), QStringLiteral("Dwie strony"));
    auto* workCard = w->findChild<QPushButton*>(QStringLiteral("workCard"));
    auto* settlement = w->findChild<QPushButton*>(QStringLiteral("settlementDocument"));
    ASSERT_TRUE(workCard && settlement);
    // Until the card documents exist, the buttons say so.
    QTest::mouseClick(workCard, Qt::LeftButton);
    ASSERT_EQ(f.services.messages.size(), 1);

    std::vector<EquipmentDocumentRequest> asked;
    w->makeDocument = [&](QWidget*, const EquipmentDocumentRequest& r) { asked.push_back(r); };
    QTest::mouseClick(workCard, Qt::LeftButton);
    QTest::mouseClick(w->pagesChoice(), Qt::LeftButton);
    EXPECT_EQ(w->pagesChoice()->text(), QStringLiteral("Jedna strona"));
    QTest::mouseClick(workCard, Qt::LeftButton);
    QTest::mouseClick(settlement, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].templateFile, QStringLiteral("karta_pracy_sprzetu1.xlsx"));
    EXPECT_EQ(asked[1].templateFile, QStringLiteral("karta_pracy_sprzetu3.xlsx"));
    EXPECT_EQ(asked[2].templateFile, QStringLiteral("karta_pracy_sprzetu2.xlsx"));
    EXPECT_EQ(asked[2].document, EquipmentDocument::Settlement);
    EXPECT_EQ(keyOf(asked[2].card), keyOf(*w->currentCard()));
    EXPECT_EQ(w->grid(), QApplication::focusWidget());
}

TEST(EquipmentRegisterWindow, DocumentButtonsFillTheForms) {
    Fixture f;
    ASSERT_TRUE(f.session);
    DocumentsFolder documents;
    exports::ui::installEquipmentDocuments();
    std::unique_ptr<EquipmentCardData> data;
    auto w = openRegister(f, data, twoStroke);
    equipmentDocumentMaker() = nullptr;
    ASSERT_TRUE(w);
    const auto card = w->currentCard();
    ASSERT_TRUE(card);
    auto* workCard = w->findChild<QPushButton*>(QStringLiteral("workCard"));
    auto* settlement = w->findChild<QPushButton*>(QStringLiteral("settlementDocument"));
    ASSERT_TRUE(workCard && settlement);
    auto opened = [&] { return test::readXlsx(QUrl(f.services.opened.last()).toLocalFile()); };

    QTest::mouseClick(workCard, Qt::LeftButton);
    ASSERT_EQ(f.services.opened.size(), 1) << f.services.messages.join(QLatin1Char('\n')).toStdString();
    auto sheet = opened();
    EXPECT_EQ(sheet.cells.value(QStringLiteral("X2")).value, QString::number(card->KODK));
    EXPECT_EQ(sheet.cells.value(QStringLiteral("A4")).value, w->machine().context.NAZWA.trimmed());
    EXPECT_EQ(sheet.fontOf(QStringLiteral("A4")).colour, QStringLiteral("FF008000"));
    // Two pages: the work log goes on under its own heading.
    const QString goesOn = QStringLiteral("EWIDENCJA PRACY SPRZĘTU (ciąg dalszy)");
    EXPECT_EQ(sheet.cells.value(QStringLiteral("A54")).value, goesOn);

    QTest::mouseClick(w->pagesChoice(), Qt::LeftButton);
    QTest::mouseClick(workCard, Qt::LeftButton);
    QTest::mouseClick(settlement, Qt::LeftButton);
    ASSERT_EQ(f.services.opened.size(), 3);
    EXPECT_NE(
        test::readXlsx(QUrl(f.services.opened[1]).toLocalFile()).cells.value(QStringLiteral("A54")).value,
        goesOn);
    sheet = opened();
    EXPECT_TRUE(sheet.cells.value(QStringLiteral("P34"))
                    .value.startsWith(QStringLiteral("Rozliczono na dzień     ")));
    EXPECT_EQ(sheet.cells.value(QStringLiteral("S36")).value, card->IMIENAZ.trimmed());
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(w->grid(), QApplication::focusWidget());
}

TEST(EquipmentRegisterWindow, PrintsTheListAndExportsIt) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<EquipmentCardData> data;
    auto w = openRegister(f, data, twoStroke);
    ASSERT_TRUE(w);
    const QString text =
        printToPdf(*w, w->findChild<QPushButton*>(QStringLiteral("printList")), QStringLiteral("KartS"));
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("Kartoteka Kart Sprzętowych")));
    EXPECT_TRUE(text.contains(w->machine().context.NAZWA));
    EXPECT_TRUE(text.contains(f.session->settings().NAZWASKR));

    QTemporaryDir out;
    w->exportEnvironment.folder = out.path();
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("export")), Qt::LeftButton);
    const QStringList files = QDir(out.path()).entryList({QStringLiteral("*.xlsx")});
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith(QStringLiteral("Kartoteka Kart Sprzętowych dla ")));
}

// --- The settlement window ------------------------------------------------------------------------

TEST(EquipmentSettlementWindow, LeavingTheFieldsRecomputesAndTheLabelFollows) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    const EquipmentCard before = f.card(twoStroke, 9, 5);
    KartaSpEd w(before, f.machine(twoStroke).context, *data);
    activate(w);
    EXPECT_EQ(w.windowTitle().mid(80), QStringLiteral("Czerwiec 2009"));
    EXPECT_EQ(QApplication::focusWidget(), w.field(QStringLiteral("CZAS")));
    typeAndLeave(w.field(QStringLiteral("CZAS")), QStringLiteral("100"));
    EXPECT_EQ(w.card().CZAS, 100);
    EXPECT_DOUBLE_EQ(w.card().ZUZYCIEPALN, R1(100 * before.NORMAPAL));
    typeAndLeave(w.field(QStringLiteral("ZUZYCIEPALF")), QStringLiteral("999"));
    EXPECT_EQ(w.savingLabel()->text(), QStringLiteral("Przepał (-)"));
    EXPECT_TRUE(w.savingLabel()->styleSheet().contains(QLatin1String("#d00000")));
    screenshot(&w, QStringLiteral("KartaSpEd"));
    // Equal fuel: a saving of 0, the black label and an empty field.
    typeAndLeave(w.field(QStringLiteral("ZUZYCIEPALF")), w.field(QStringLiteral("ZUZYCIEPALN"))->text());
    EXPECT_EQ(w.savingLabel()->text(), QStringLiteral("Oszczędność (+)"));
    EXPECT_EQ(w.field(QStringLiteral("OSZCZPAL"))->text(), QString());
    // Text that is no number keeps the field and changes nothing.
    typeAndLeave(w.field(QStringLiteral("ILOPOBOLM")), QStringLiteral("abc"));
    EXPECT_TRUE(w.field(QStringLiteral("ILOPOBOLM"))->refused());
    // Nothing reaches the database until "O&K".
    EXPECT_EQ(f.card(twoStroke, 9, 5).CZAS, before.CZAS);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(f.card(twoStroke, 9, 5).CZAS, before.CZAS);
}

TEST(EquipmentSettlementWindow, AFourStrokeMachineHasNoOilRowsAndASmallerWindow) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    KartaSpEd two(f.card(twoStroke, 9, 5), f.machine(twoStroke).context, *data);
    KartaSpEd four(f.card(fourStroke, 9, 5), f.machine(fourStroke).context, *data);
    activate(two);
    activate(four);
    for (const char* oil : {"NORMOLM", "NORMOLS", "ZUZYCIEOLMN", "ZUZYCIEOLSN", "ILOPOBOLM", "ILOPOBOLS",
                            "POZOSTOLM", "POZOSTOLS"}) {
        EXPECT_TRUE(two.field(QLatin1String(oil))) << oil;
        EXPECT_FALSE(four.field(QLatin1String(oil))) << oil;
    }
    EXPECT_TRUE(four.field(QStringLiteral("IMIENAZ")));
    EXPECT_TRUE(four.field(QStringLiteral("OSZCZPAL")));
    EXPECT_LE(four.height(), 300);
    EXPECT_LT(four.group()->height(), two.group()->height());
    screenshot(&four, QStringLiteral("KartaSpEd-4T"));
    // Recomputing a four-stroke card leaves its oil columns as they are.
    const EquipmentCard stored = four.card();
    QTest::mouseClick(four.button(QStringLiteral("przelicz")), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(four.card().ZUZYCIEOLMN, stored.ZUZYCIEOLMN);
    EXPECT_DOUBLE_EQ(four.card().POZOSTOLS, stored.POZOSTOLS);
}

struct AccessCase {
    const char* name;
    int accessLevel;
    int MIES; // a card of 2009; the working month is June 2009
    bool saved;
};

class EquipmentSaveAccess : public ::testing::TestWithParam<AccessCase> {};

TEST_P(EquipmentSaveAccess, OnlyRecentCardsForRestrictedOperators) {
    const AccessCase& c = GetParam();
    Fixture f;
    ASSERT_TRUE(f.session);
    f.session->operatorSession().accessLevel = c.accessLevel;
    auto data = f.data();
    const EquipmentCard before = f.card(twoStroke, 9, c.MIES);
    KartaSpEd w(before, f.machine(twoStroke).context, *data);
    activate(w);
    typeAndLeave(w.field(QStringLiteral("CZAS")), QStringLiteral("777"));
    QTest::mouseClick(w.button(QStringLiteral("ok")), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible()); // the window closes in both cases
    EXPECT_EQ(f.card(twoStroke, 9, c.MIES).CZAS, c.saved ? 777 : before.CZAS);
    if (c.saved) {
        EXPECT_TRUE(f.services.messages.isEmpty());
    } else {
        EXPECT_EQ(f.services.messages, QStringList{saveRefusedMessage()});
        EXPECT_EQ(f.services.sounds, QStringList{QStringLiteral("mail.wav")});
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EquipmentSaveAccess,
                         ::testing::Values(AccessCase{"Level1LastMonth", 1, 5, true},
                                           AccessCase{"Level1TwoMonthsOld", 1, 4, false},
                                           AccessCase{"Level99TwoMonthsOld", 99, 4, false},
                                           AccessCase{"Level0TwoMonthsOld", 0, 4, true}),
                         [](const auto& info) { return std::string(info.param.name); });
