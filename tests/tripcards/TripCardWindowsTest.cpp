#include "core/Period.h"
#include "exports/XlsxReader.h"
#include "history/ui/Historia.h"
#include "reports/ui/ReportPrint.h"
#include "schema/Demo.h"
#include "schema/History.h"
#include "session/SessionFixture.h"
#include "session/data/AddonOptionsData.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"
#include "tripcards/rules/CardAccess.h"
#include "tripcards/ui/Karta.h"
#include "tripcards/ui/SettlementForm.h"
#include "ui/CheckedEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::tripcards;
using namespace korven::test;

namespace {

// Vehicles of the demo unit: 1 is settled by norms, 2 has a fuel meter, 36 is blocked.
constexpr int normsVehicle = 1;
constexpr int meterVehicle = 2;
constexpr int blockedVehicle = 36;

// A session on a demo database whose working period is June 2009: every vehicle has the cards of
// June 2008 to May 2009.
struct Fixture {
    Fixture() {
        schema::fillDemoData(*tdb.attachment);
        ini = writeSetupIni(iniDir, tdb.sciezka);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        session = session::startSession(ini, ui);
    }
    // The data class as the register makes it, with the session's settings and operator as they are now.
    std::unique_ptr<CardRegisterData> data() {
        return std::make_unique<CardRegisterData>(session->working(), session->bracket(), session->settings(),
                                                  session->operatorSession());
    }
    std::vector<CardRecord> cards(int KODA) { return data()->list(KODA).cards; }
    CardRecord card(int KODA, int ROKD, int MIED) {
        for (const CardRecord& c : cards(KODA))
            if (c.ROKD == ROKD && c.MIED == MIED) return c;
        ADD_FAILURE() << "no card " << KODA << " " << ROKD << "/" << MIED;
        return {};
    }
    VehicleContext vehicle(int KODA) { return data()->loadVehicle(KODA)->context; }
    void execute(const QString& sql) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(sql); });
    }

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

// Types text into a field (replacing what it shows) and leaves it with Tab.
void typeAndLeave(ui::CheckedEdit* edit, const QString& text) {
    ASSERT_TRUE(edit);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::qWait(10);
}

} // namespace

// --- The settlement windows ------------------------------------------------------------------

struct AccessCase {
    const char* name;
    int accessLevel;
    int MIED; // a card of 2009; the working month is June 2009
    bool saved;
};

class SaveAccess : public ::testing::TestWithParam<AccessCase> {};

TEST_P(SaveAccess, OnlyRecentCardsForRestrictedOperators) {
    const AccessCase& c = GetParam();
    Fixture f;
    ASSERT_TRUE(f.session);
    f.session->operatorSession().accessLevel = c.accessLevel;
    auto data = f.data();
    const CardRecord before = f.card(normsVehicle, 9, c.MIED);
    KartaD w(before, f.vehicle(normsVehicle), *data);
    activate(w);
    typeAndLeave(w.field(QStringLiteral("WYJAZDIN")), QStringLiteral("7"));
    QTest::mouseClick(w.button(QStringLiteral("ok")), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible()); // the window closes in both cases
    EXPECT_EQ(f.card(normsVehicle, 9, c.MIED).WYJAZDIN, c.saved ? 7 : before.WYJAZDIN);
    if (c.saved) {
        EXPECT_TRUE(f.services.messages.isEmpty());
        EXPECT_TRUE(f.services.sounds.isEmpty());
    } else {
        EXPECT_EQ(f.services.messages, QStringList{saveRefusedMessage()});
        EXPECT_EQ(f.services.sounds, QStringList{QStringLiteral("mail.wav")});
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, SaveAccess,
                         ::testing::Values(AccessCase{"Level1LastMonth", 1, 5, true},
                                           AccessCase{"Level1TwoMonthsOld", 1, 4, false},
                                           AccessCase{"Level0TwoMonthsOld", 0, 4, true},
                                           AccessCase{"Level99TwoMonthsOld", 99, 4, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// With the plausibility checks switched on, a month far beyond the vehicle's history asks before the
// card is saved: "No" keeps the window open with what was typed and saves nothing, "Yes" saves.
// Switched off (a new database), the same card is saved without a question.
TEST(SettlementWindow, DoubtfulCardAsksBeforeSaving) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    const CardRecord before = f.card(normsVehicle, 9, 5);
    {
        KartaD w(before, f.vehicle(normsVehicle), *data);
        activate(w);
        typeAndLeave(w.field(QStringLiteral("PRZEBIEGM")), QStringLiteral("90000"));
        QTest::mouseClick(w.button(QStringLiteral("ok")), Qt::LeftButton);
        EXPECT_TRUE(f.services.questions.isEmpty());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(f.card(normsVehicle, 9, 5).PRZEBIEGM, 90000);
    }
    AddonOptions on;
    on.plausibilityChecks = true;
    session::saveAddonOptions(f.session->working(), on);
    KartaD w(before, f.vehicle(normsVehicle), *data);
    activate(w);
    typeAndLeave(w.field(QStringLiteral("PRZEBIEGM")), QStringLiteral("80000"));
    f.services.answers = {false, true};
    QTest::mouseClick(w.button(QStringLiteral("ok")), Qt::LeftButton);
    ASSERT_EQ(f.services.questions.size(), 1);
    EXPECT_TRUE(f.services.questions.at(0).contains(QStringLiteral("mediany")));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(f.card(normsVehicle, 9, 5).PRZEBIEGM, 90000);
    screenshot(&w, QStringLiteral("KartaD-watpliwosci"));
    QTest::mouseClick(w.button(QStringLiteral("ok")), Qt::LeftButton);
    EXPECT_EQ(f.services.questions.size(), 2);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.card(normsVehicle, 9, 5).PRZEBIEGM, 80000);
}

TEST(SettlementWindow, StartValuesOpenOnlyToLevel99OnALaterCard) {
    Fixture f;
    ASSERT_TRUE(f.session);
    for (int level : {0, 1, 99}) {
        f.session->operatorSession().accessLevel = level;
        auto data = f.data();
        KartaD norms(f.card(normsVehicle, 9, 5), f.vehicle(normsVehicle), *data);
        KartaD2 meter(f.card(meterVehicle, 9, 5), f.vehicle(meterVehicle), *data);
        const bool open = level == 99;
        EXPECT_EQ(norms.field(QStringLiteral("PRZEBIEG0"))->isEnabled(), open) << level;
        EXPECT_EQ(norms.field(QStringLiteral("PRZEBIEG0P"))->isEnabled(), open) << level;
        EXPECT_EQ(meter.field(QStringLiteral("MIER_POCZ"))->isEnabled(), open) << level;
        EXPECT_TRUE(norms.field(QStringLiteral("PRZEBIEGM"))->isEnabled());
    }
    // On the vehicle's only card every level types them.
    f.execute(QStringLiteral("delete from A_KARTA where KODA = 1 and not (ROKD = 9 and MIED = 5)"));
    f.session->operatorSession().accessLevel = 1;
    auto data = f.data();
    KartaD first(f.card(normsVehicle, 9, 5), f.vehicle(normsVehicle), *data);
    EXPECT_TRUE(first.field(QStringLiteral("PRZEBIEG0"))->isEnabled());
}

TEST(SettlementWindow, TowingShowsAndFocusesTheTrailerMass) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    KartaD w(f.card(normsVehicle, 9, 5), f.vehicle(normsVehicle), *data);
    activate(w);
    typeAndLeave(w.field(QStringLiteral("DODH")), QStringLiteral("0"));
    EXPECT_FALSE(w.field(QStringLiteral("MASAPR"))->isVisible());
    EXPECT_FALSE(w.label(QStringLiteral("MASAPR_label"))->isVisible());
    EXPECT_EQ(w.card().DODH_2, 0.0);

    typeAndLeave(w.field(QStringLiteral("DODH")), QStringLiteral("2"));
    EXPECT_TRUE(w.field(QStringLiteral("MASAPR"))->isVisible());
    EXPECT_TRUE(w.label(QStringLiteral("MASAPR_label"))->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), w.field(QStringLiteral("MASAPR")));
    typeAndLeave(w.field(QStringLiteral("MASAPR")), QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(w.card().DODH_2, std::round(w.card().DODH_1 * 2 * 3 * 10) / 10);
    screenshot(&w, QStringLiteral("KartaD-towing"));
}

TEST(SettlementWindow, WinterRowFollowsTheSettlementDate) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    CardRecord card = f.card(normsVehicle, 9, 1);
    card.DODZ = 100;
    card.DODZ_2 = 3;
    KartaD w(card, f.vehicle(normsVehicle), *data);
    activate(w);
    typeAndLeave(w.field(QStringLiteral("DATAD")), QStringLiteral("2009-06-15"));
    for (const char* id : {"DODZ", "DODZ_1", "DODZ_2", "DODZ_3"})
        EXPECT_FALSE(w.field(QLatin1String(id))->isVisible()) << id;
    EXPECT_TRUE(w.label(QStringLiteral("DODZ_label"))->isVisible());
    EXPECT_EQ(w.card().DODZ, 0.0);
    EXPECT_EQ(w.card().DODZ_2, 0.0);
    typeAndLeave(w.field(QStringLiteral("DATAD")), QStringLiteral("2009-12-15"));
    EXPECT_TRUE(w.field(QStringLiteral("DODZ"))->isVisible());
}

// Text that is no number, an integer field given a fraction, a date that does not exist: the field
// keeps the focus, the operator is told why and the card is untouched.
struct BadInput {
    const char* name;
    SettlementMode mode;
    const char* field;
    const char* text;
};

class RejectedInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(RejectedInput, KeepsTheFocusAndRunsNoRule) {
    const BadInput& c = GetParam();
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    const int KODA = c.mode == SettlementMode::Norms ? normsVehicle : meterVehicle;
    const CardRecord before = f.card(KODA, 9, 5);
    std::unique_ptr<SettlementForm> w;
    if (c.mode == SettlementMode::Norms)
        w = std::make_unique<KartaD>(before, f.vehicle(KODA), *data);
    else
        w = std::make_unique<KartaD2>(before, f.vehicle(KODA), *data);
    activate(*w);
    ui::CheckedEdit* edit = w->field(QLatin1String(c.field));
    typeAndLeave(edit, QString::fromUtf8(c.text));
    EXPECT_EQ(QApplication::focusWidget(), edit);
    ASSERT_EQ(f.services.messages.size(), 1);
    EXPECT_TRUE(f.services.messages[0].contains(QString::fromUtf8(c.text)))
        << f.services.messages[0].toStdString();
    EXPECT_EQ(cardParams(w->card()).find(QStringLiteral("PRZEBIEGS"))->toText(),
              cardParams(before).find(QStringLiteral("PRZEBIEGS"))->toText());
    EXPECT_EQ(w->card().ZUZYCIEPN, before.ZUZYCIEPN);
    EXPECT_EQ(w->card().DATAD, before.DATAD);
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.text)); // what was typed stays to be corrected

    // "O&K" does not save the card while the field is refused.
    QTest::mouseClick(w->button(QStringLiteral("ok")), Qt::LeftButton);
    EXPECT_TRUE(w->isVisible());
    w->reject();
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RejectedInput,
    ::testing::Values(BadInput{"KilometresAsText", SettlementMode::Norms, "PRZEBIEGM", "12x"},
                      BadInput{"ImpossibleDate", SettlementMode::Norms, "DATAD", "2009-02-30"},
                      BadInput{"AllowanceAsText", SettlementMode::Norms, "DODPOS", "abc"},
                      BadInput{"CallOutFraction", SettlementMode::Norms, "WYJAZDP", "1.5"},
                      BadInput{"FuelInSumsAsText", SettlementMode::Norms, "ZUZYCIEP_sumy", "duzo"},
                      BadInput{"MeterReadingAsText", SettlementMode::Meter, "MIER_KON", "1350,5,1"},
                      BadInput{"MeterDateAsText", SettlementMode::Meter, "DATAD", "jutro"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettlementWindow, FieldsRecomputeAsTheyAreLeftAndTheResultTurnsRed) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    KartaD2 w(f.card(meterVehicle, 9, 5), f.vehicle(meterVehicle), *data);
    activate(w);
    EXPECT_EQ(QApplication::focusWidget(), w.field(QStringLiteral("PRZEBIEGM")));
    const double start = w.card().MIER_POCZ;
    typeAndLeave(w.field(QStringLiteral("MIER_KON")), QString::number(start + 149.5, 'f', 2));
    EXPECT_DOUBLE_EQ(w.card().ZUZYCIEPN, 149.5);
    typeAndLeave(w.field(QStringLiteral("ZUZYCIEP")), QStringLiteral("152"));
    EXPECT_DOUBLE_EQ(w.card().PRZEPALP, -2.5);
    EXPECT_EQ(w.fuelResult()->text(), QStringLiteral("Przepał (-)"));
    EXPECT_TRUE(w.fuelResult()->styleSheet().contains(QStringLiteral("#d00000")));
    EXPECT_EQ(w.field(QStringLiteral("PRZEPALP"))->text(), cardDisplayText(w.card(), "PRZEPALP"));
    screenshot(&w, QStringLiteral("KartaD2"));

    // The actual fuel in "Sumy" is stored without a rule: nothing is recomputed until "&Przelicz".
    typeAndLeave(w.field(QStringLiteral("ZUZYCIEP_sumy")), QStringLiteral("140"));
    EXPECT_DOUBLE_EQ(w.card().PRZEPALP, -2.5);
    QTest::mouseClick(w.button(QStringLiteral("przelicz")), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(w.card().PRZEPALP, 0);
    EXPECT_EQ(w.fuelResult()->text(), QStringLiteral("Oszczędność (+)"));
}

// A settlement saved through the window leaves its changed fields in the change history, under the
// card's key and the operator's name.
TEST(SettlementWindow, ASavedSettlementIsInTheChangeHistory) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    const CardRecord before = f.card(normsVehicle, 9, 5);
    f.execute(QStringLiteral("delete from FJ_HIST"));
    KartaD w(before, f.vehicle(normsVehicle), *data);
    activate(w);
    const QString kilometres = QString::number(before.PRZEBIEGM.value() + 25, 'f', 2);
    typeAndLeave(w.field(QStringLiteral("PRZEBIEGM")), kilometres);
    QTest::mouseClick(w.button(QStringLiteral("ok")), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    db::Transaction t(*f.tdb.attachment, db::TransactionOptions{true});
    const auto rows = db::inTransaction(t, [](db::Transaction& tr) { return schema::readHistory(tr, {}); });
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front().operation, QStringLiteral("U"));
    EXPECT_EQ(rows.front().table, QStringLiteral("A_KARTA"));
    EXPECT_EQ(rows.front().key,
              QStringLiteral("KODA=%1;KODD=%2;ROKD=9;MIED=5").arg(normsVehicle).arg(before.KODD));
    EXPECT_EQ(rows.front().user, QStringLiteral("SYSDBA"));
    EXPECT_TRUE(rows.front().changes.contains(
        QStringLiteral("PRZEBIEGM: %1 -> %2\n")
            .arg(QString::number(before.PRZEBIEGM.value(), 'f', 2), kilometres)))
        << rows.front().changes.toStdString();
}

TEST(SettlementWindow, PrintingACardWithoutAllowancesLeavesThemEmpty) {
    Fixture f;
    ASSERT_TRUE(f.session);
    auto data = f.data();
    const AddResult added = data->addCard(f.vehicle(normsVehicle));
    ASSERT_TRUE(added.added()) << added.message.toStdString();
    reports::ReportParameters printed;
    reports::ui::ReportUiServices& rs = reports::ui::reportUiServices();
    rs.chooseOutput = [](QWidget*, const QString&) {
        reports::ui::OutputChoice c;
        c.destination = reports::ui::OutputChoice::Destination::Preview;
        return c;
    };
    rs.preview = [&](QWidget*, const reports::ReportDocument& doc) { printed = doc.parameters; };
    rs.showMessage = [&](QWidget*, const QString& text) { f.services.messages << text; };

    KartaD w(added.card, f.vehicle(normsVehicle), *data);
    activate(w);
    typeAndLeave(w.field(QStringLiteral("PRZEBIEGM")), QStringLiteral("100"));
    typeAndLeave(w.field(QStringLiteral("ZUZYCIEP")), QStringLiteral("10"));
    QTest::mouseClick(w.button(QStringLiteral("drukuj")), Qt::LeftButton);
    reports::ui::resetReportUiServices();
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_FALSE(printed.isEmpty());
    for (const Allowance& a : allowances()) {
        const QString name = QStringLiteral("dod") + QLatin1String(a.base).mid(3);
        for (const QString& suffix : {QString(), QStringLiteral("_2"), QStringLiteral("_3")})
            EXPECT_EQ(printed.value(name + suffix, QStringLiteral("missing")), QString())
                << (name + suffix).toStdString();
    }
    for (const char* name : {"masaPR", "dodatkiP"})
        EXPECT_EQ(printed.value(QLatin1String(name), QStringLiteral("missing")), QString()) << name;
    EXPECT_EQ(printed.value(QStringLiteral("tresc1")), QStringLiteral("Oszczędność (+)"));
    EXPECT_EQ(printed.value(QStringLiteral("kodd")), QString::number(added.card.KODD));
    EXPECT_FALSE(printed.value(QStringLiteral("przebiegM")).isEmpty());
}

// --- The register -------------------------------------------------------------------------------

namespace {
std::unique_ptr<Karta> openRegister(Fixture& f, std::unique_ptr<CardRegisterData>& data, int KODA) {
    data = f.data();
    auto vehicle = data->loadVehicle(KODA);
    if (!vehicle) return nullptr;
    auto w = std::make_unique<Karta>(*data, *vehicle);
    activate(*w);
    return w;
}
} // namespace

TEST(CardRegister, OpensOnTheLastCardAndAddsTheCardOfTheMonth) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<CardRegisterData> data;
    auto w = openRegister(f, data, normsVehicle);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), registerCaption(w->vehicle().context, f.session->settings()));
    ASSERT_EQ(w->model()->rowCount(), 12);
    EXPECT_EQ(w->currentPosition(), 11);
    screenshot(w.get(), QStringLiteral("Karta"));

    QTest::keyClick(w->grid(), Qt::Key_Insert);
    ASSERT_EQ(w->model()->rowCount(), 13);
    const auto added = w->currentCard();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->ROKD, 9);
    EXPECT_EQ(added->MIED, 6);
    EXPECT_TRUE(f.services.messages.isEmpty());
}

struct RefusedAddition {
    const char* name;
    int KODA;
    const char* DZWIEK;
    double MN_POS;
    bool deleteVehicle;
    QStringList sounds;
};

class RefusedAdd : public ::testing::TestWithParam<RefusedAddition> {};

TEST_P(RefusedAdd, ShowsWhyAndAddsNothing) {
    const RefusedAddition& c = GetParam();
    Fixture f;
    ASSERT_TRUE(f.session);
    f.session->settings().DZWIEK = QLatin1String(c.DZWIEK);
    f.session->settings().MN_POS = c.MN_POS;
    std::unique_ptr<CardRegisterData> data;
    auto w = openRegister(f, data, c.KODA);
    ASSERT_TRUE(w);
    const int before = w->model()->rowCount();
    if (c.deleteVehicle) {
        // Another operator deletes the vehicle (and its cards) while the register is open.
        f.execute(QStringLiteral("delete from A_KARTA where KODA = %1").arg(c.KODA));
        f.execute(QStringLiteral("delete from A_AUTO where KODA = %1").arg(c.KODA));
    }
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("newCard")), Qt::LeftButton);
    ASSERT_EQ(f.services.messages.size(), 1);
    EXPECT_FALSE(f.services.messages[0].isEmpty());
    if (c.deleteVehicle) {
        EXPECT_EQ(f.services.messages[0], messages::vehicleDeleted());
    }
    if (c.KODA == blockedVehicle) {
        EXPECT_EQ(f.services.messages[0], messages::blockedVehicle());
    }
    EXPECT_EQ(f.services.sounds, c.sounds);
    EXPECT_EQ(static_cast<int>(f.cards(c.KODA).size()), c.deleteVehicle ? 0 : before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedAdd,
    ::testing::Values(
        RefusedAddition{"BlockedVehicle", blockedVehicle, "N", 60, false, {QStringLiteral("test.wav")}},
        RefusedAddition{"BlockedVehicleSoundLocked", blockedVehicle, "T", 60, false, {}},
        RefusedAddition{"StandstillMultiplierZero", normsVehicle, "N", 0, false, {}},
        RefusedAddition{"VehicleDeletedMeanwhile", 3, "N", 60, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardRegister, DeleteAsksAndNoKeepsTheRow) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<CardRegisterData> data;
    auto w = openRegister(f, data, normsVehicle);
    ASSERT_TRUE(w);
    w->setCurrentPosition(3);
    f.services.answers = {false};
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    EXPECT_EQ(f.services.questions,
              QStringList{QStringLiteral("Ważne Pytanie: Czy napewno wykasować daną pozycję ?")});
    EXPECT_EQ(f.cards(normsVehicle).size(), 12u);
    EXPECT_EQ(w->currentPosition(), 3);

    f.services.answers = {true};
    const CardKey deleted = keyOf(*w->currentCard());
    QTest::keyClick(w->grid(), Qt::Key_Delete);
    const auto left = f.cards(normsVehicle);
    EXPECT_EQ(left.size(), 11u);
    EXPECT_EQ(findCard(left, deleted), -1);
    EXPECT_EQ(w->currentPosition(), 3);
}

TEST(CardRegister, OpensTheSettlementWindowOfTheVehiclesKind) {
    Fixture f;
    ASSERT_TRUE(f.session);
    for (auto [KODA, expected] : {std::pair{normsVehicle, "KartaD"}, std::pair{meterVehicle, "KartaD2"}}) {
        std::unique_ptr<CardRegisterData> data;
        auto w = openRegister(f, data, KODA);
        ASSERT_TRUE(w);
        QString opened;
        bool registerHidden = false;
        whenModalOpens([&](QWidget* child) {
            opened = child->objectName();
            registerHidden = !w->isVisible();
            screenshot(child, QLatin1String(expected));
            static_cast<QDialog*>(child)->reject();
        });
        QTest::keyClick(w->grid(), Qt::Key_Return);
        EXPECT_EQ(opened, QLatin1String(expected));
        EXPECT_TRUE(registerHidden);
        EXPECT_TRUE(w->isVisible());
    }
}

// "&Historia" shows the changes of the selected card only.
TEST(CardRegister, TheHistoryButtonShowsTheChangesOfTheSelectedCard) {
    Fixture f;
    ASSERT_TRUE(f.session);
    std::unique_ptr<CardRegisterData> data;
    auto w = openRegister(f, data, normsVehicle);
    ASSERT_TRUE(w);
    // The register stands on the vehicle's last card; every card of the vehicle is changed, that one
    // in a way of its own.
    const std::optional<CardRecord> card = w->currentCard();
    ASSERT_TRUE(card);
    f.execute(QStringLiteral("delete from FJ_HIST"));
    f.execute(QStringLiteral("update A_KARTA set WYJAZDIN = 78 where KODA = %1").arg(normsVehicle));
    f.execute(
        QStringLiteral("update A_KARTA set WYJAZDIN = 77 where KODA = %1 and KODD = %2 and ROKD = %3 and "
                       "MIED = %4")
            .arg(card->KODA)
            .arg(card->KODD)
            .arg(card->ROKD)
            .arg(card->MIED));
    int rows = -1;
    QString key, shown;
    whenModalOpens([&](QWidget* child) {
        if (qobject_cast<history::Historia*>(child)) {
            rows = static_cast<history::Historia*>(child)->rows();
            key = child->findChild<QLineEdit*>(QStringLiteral("key"))->text();
            shown = child->findChild<QTableWidget*>(QStringLiteral("list"))->item(0, 5)->text();
        }
        static_cast<QDialog*>(child)->reject();
    });
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("history")), Qt::LeftButton);
    EXPECT_EQ(key, QStringLiteral("KODA=%1;KODD=%2;ROKD=%3;MIED=%4")
                       .arg(card->KODA)
                       .arg(card->KODD)
                       .arg(card->ROKD)
                       .arg(card->MIED));
    // Its two changes, the newest first, and none of the other cards'.
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(shown, QStringLiteral("WYJAZDIN: 78 -> 77"));
    EXPECT_TRUE(w->isVisible());
}

TEST(CardRegister, ThePrintedListNamesWhoPrintedIt) {
    Fixture f;
    ASSERT_TRUE(f.session);
    // An operator whose user entry has no names still signs his printouts, with his login name.
    f.session->operatorSession().fullName.clear();
    std::unique_ptr<CardRegisterData> data;
    auto w = openRegister(f, data, normsVehicle);
    reports::ui::ReportUiServices& rs = reports::ui::reportUiServices();
    rs.chooseOutput = [](QWidget*, const QString&) {
        reports::ui::OutputChoice c;
        c.destination = reports::ui::OutputChoice::Destination::Preview;
        return c;
    };
    QStringList printedBy; // what follows "Wydrukował:" in the page footer
    rs.preview = [&](QWidget*, const reports::ReportDocument& doc) {
        printedBy << doc.parameters.value(QStringLiteral("osoba"));
    };
    for (int section : {1, 2}) {
        w->findChild<QSpinBox*>(QStringLiteral("section"))->setValue(section);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("printList")), Qt::LeftButton);
    }
    reports::ui::resetReportUiServices();
    EXPECT_EQ(printedBy, QStringList(2, QStringLiteral("SYSDBA")));
}

TEST(CardRegister, DocumentButtonMakesTheChosenFormWithThePlannedServices) {
    Fixture f;
    ASSERT_TRUE(f.session);
    DocumentsFolder documents;
    // The demo gives the vehicle services of its own; the reminder must show the one planned here.
    f.execute(QStringLiteral("delete from A_OBSLU where KODA = 1"));
    f.execute(QStringLiteral("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, STANP, PLANW) "
                             "values (1, 900, 'OT', 'Obsługa techniczna', '2009-07-15', 45000, 'N')"));
    std::unique_ptr<CardRegisterData> data;
    auto w = openRegister(f, data, normsVehicle);
    ASSERT_TRUE(w);
    const auto card = w->currentCard();
    ASSERT_TRUE(card);
    auto* button = w->findChild<QPushButton*>(QStringLiteral("document"));
    auto* choice = w->findChild<QCheckBox*>(QStringLiteral("documentChoice"));
    ASSERT_TRUE(button && choice);
    ASSERT_TRUE(button->isEnabled());

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(f.services.opened.size(), 1) << f.services.messages.join(QLatin1Char('\n')).toStdString();
    const QString workCard = QUrl(f.services.opened.last()).toLocalFile();
    EXPECT_TRUE(workCard.startsWith(documents.dir.path())) << workCard.toStdString();
    auto sheet = readXlsx(workCard);
    EXPECT_EQ(sheet.cells.value(QStringLiteral("AB16")).value, w->vehicle().context.NRREJ.trimmed());
    EXPECT_EQ(sheet.cells.value(QStringLiteral("AQ5")).value, QString::number(card->KODD));
    EXPECT_EQ(sheet.cells.value(QStringLiteral("AC69")).value, QStringLiteral("Obsługa techniczna"));
    EXPECT_EQ(sheet.cells.value(QStringLiteral("AH69")).value, QStringLiteral("2009-07-15"));
    EXPECT_TRUE(w->grid()->hasFocus());

    QTest::mouseClick(choice, Qt::LeftButton);
    EXPECT_EQ(button->text(), QStringLiteral("Rozlicz.Przebiegu"));
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(f.services.opened.size(), 2);
    sheet = readXlsx(QUrl(f.services.opened.last()).toLocalFile());
    EXPECT_EQ(sheet.cells.value(QStringLiteral("O3")).value, w->vehicle().context.NRREJ.trimmed());
    EXPECT_EQ(sheet.cells.value(QStringLiteral("I5")).value, monthName(card->MIED).trimmed());
    EXPECT_TRUE(f.services.messages.isEmpty()) << f.services.messages.join(QLatin1Char('\n')).toStdString();

    // A standstill multiplier of 0 cannot give the standstill norm: the operator is told, nothing opens.
    f.session->settings().MN_POS = 0;
    std::unique_ptr<CardRegisterData> zeroData;
    auto zero = openRegister(f, zeroData, normsVehicle);
    ASSERT_TRUE(zero);
    QTest::mouseClick(zero->findChild<QPushButton*>(QStringLiteral("document")), Qt::LeftButton);
    EXPECT_EQ(f.services.opened.size(), 2);
    ASSERT_EQ(f.services.messages.size(), 1);
    EXPECT_TRUE(f.services.messages.first().contains(QStringLiteral("zero")))
        << f.services.messages.first().toStdString();
}
