#include "registries/data/Vehicle.h"

#include "RegistryTestSupport.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::registries;
using korven::test::TestDatabase;

namespace {

class Vehicles : public ::testing::Test {
protected:
    void addCard(qint64 koda, int kodd) {
        db::inTransaction(work, [&](db::Transaction& t) {
            t.execute(
                QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED) values (:KODA, :KODD, 9, 3)"),
                {{"KODA", codeValue(koda)}, {"KODD", kodd}});
        });
    }
    TestDatabase tdb; // working period March 2009
    db::Transaction work{*tdb.attachment};
    db::Transaction bracket{*tdb.attachment};
    VehicleRegistry registry{work};
};

TEST_F(Vehicles, FieldsNameEveryColumnOfTheTable) {
    test::expectFieldsMatchTable(*tdb.attachment, QStringLiteral("A_AUTO"), vehicleFields(), 54);
}

TEST_F(Vehicles, NewVehicleGetsTheNextCodeAndItsDefaults) {
    EXPECT_EQ(registry.addNew(9), 1);
    std::optional<VehicleRecord> v = registry.find(1);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->typ, QStringLiteral("P"));
    EXPECT_EQ(v->rodzpal, QStringLiteral("ON"));
    EXPECT_EQ(v->ko, QStringLiteral("W"));
    EXPECT_EQ(v->rpr, QStringLiteral("2009"));
    EXPECT_EQ(v->blokada, QStringLiteral("N"));
    EXPECT_EQ(v->czyMiernik, QStringLiteral("N")); // the table's default
    EXPECT_TRUE(v->nazwa.isEmpty());
    EXPECT_FALSE(v->doekspl.isValid());
    EXPECT_EQ(v->normpal, 0.0);
    EXPECT_EQ(vehicleDesignation(*v), QStringLiteral("-----"));

    EXPECT_EQ(registry.addNew(9), 2);
    ASSERT_TRUE(registry.remove(2).deleted);
    EXPECT_EQ(registry.addNew(9), 2);
    EXPECT_FALSE(work.isActive());
}

TEST_F(Vehicles, UpdateStoresEveryColumnUnderTheCodeBeforeTheEdit) {
    registry.addNew(9);
    VehicleRecord edited = test::distinctRecord(vehicleFields(), 1, 3);
    registry.update(1, edited);
    std::optional<VehicleRecord> back = registry.find(1);
    ASSERT_TRUE(back);
    test::expectSameRecord(*back, edited, vehicleFields());

    // A different code in the record moves the row.
    VehicleRecord moved = test::distinctRecord(vehicleFields(), 5, 4);
    registry.update(1, moved);
    EXPECT_FALSE(registry.find(1));
    ASSERT_TRUE(registry.find(5));
    test::expectSameRecord(*registry.find(5), moved, vehicleFields());
}

TEST_F(Vehicles, SaveRefusesBadInputWithoutWritingAnything) {
    registry.addNew(9);
    VehicleRecord v = *registry.find(1);

    struct Case {
        const char* column;
        const char* typed;
        const char* message; // part of the message, "" for a save
    };
    const Case refused[] = {{"NORMPAL", "trzydzieści", "Norma Podstawowa"},
                            {"NORMPOM", "1000", "Norma dla Autopompy"},
                            {"DOEKSPL", "2009-02-29", "Do Eksploatacji"},
                            {"ILOMIE", "6,5", "Ilość Miejsc"},
                            {"KODA", " ", "Pole Kodu Pojazdu nie może być puste !!! ..."}};
    for (const Case& c : refused) {
        QHash<QString, QString> typed{{QStringLiteral("NAZWA"), QStringLiteral("GBA nie zapisany")},
                                      {QString::fromLatin1(c.column), QString::fromUtf8(c.typed)}};
        VehicleRecord buffer = v;
        EditOutcome out = registry.save(1, buffer, typed);
        EXPECT_FALSE(out.saved) << c.column;
        EXPECT_TRUE(out.message.contains(QString::fromUtf8(c.message))) << out.message.toStdString();
        EXPECT_EQ(out.column, QString::fromLatin1(c.column));
        EXPECT_TRUE(buffer.nazwa.isEmpty()) << "the edit buffer keeps its values";
        EXPECT_TRUE(registry.find(1)->nazwa.isEmpty()) << "nothing of a refused row is stored";
    }

    QHash<QString, QString> typed{{QStringLiteral("NAZWA"), QStringLiteral("GBA 2,5/16")},
                                  {QStringLiteral("NRREJ"), QStringLiteral("kn 12345abcdef")},
                                  {QStringLiteral("OLEJ_KLA"), QStringLiteral("15w-40")},
                                  {QStringLiteral("NORMPAL"), QStringLiteral("30,456")},
                                  {QStringLiteral("DOEKSPL"), QStringLiteral("2008-02-29")}};
    EditOutcome out = registry.save(1, v, typed);
    ASSERT_TRUE(out.saved) << out.message.toStdString();
    VehicleRecord back = *registry.find(1);
    EXPECT_EQ(back.nrrej, QStringLiteral("KN 12345AB")); // upper case, cut to 10
    EXPECT_EQ(back.olejKla, QStringLiteral("15W-40"));
    EXPECT_DOUBLE_EQ(back.normpal, 30.46);
    EXPECT_EQ(back.doekspl, QDate(2008, 2, 29));
    EXPECT_EQ(v.nrrej, back.nrrej); // the buffer holds what was saved
}

TEST_F(Vehicles, SavingARowDeletedMeanwhileSaysSo) {
    registry.addNew(9);
    VehicleRecord buffer = *registry.find(1);
    // Another operator deletes the vehicle while this one edits it.
    auto other = db::Attachment::attach(tdb.params());
    db::Transaction t(*other);
    ASSERT_TRUE(VehicleRegistry(t).remove(1).deleted);

    EditOutcome out = registry.save(1, buffer, {{QStringLiteral("NAZWA"), QStringLiteral("GBA")}});
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(out.message, texts::rowGone);
    EXPECT_TRUE(buffer.nazwa.isEmpty());
    EXPECT_FALSE(registry.storeCardLock(1, true));
    EXPECT_FALSE(registry.find(1)) << "no row comes back to life";
}

TEST_F(Vehicles, VehicleWithCardsIsNotDeleted) {
    registry.addNew(9);
    registry.addNew(9);
    addCard(1, 10);
    addCard(1, 11);
    EXPECT_EQ(registry.cardCount(1), 2);
    EXPECT_EQ(registry.cardCount(2), 0);

    DeleteOutcome check = registry.checkDelete(1);
    EXPECT_FALSE(check.deleted);
    EXPECT_EQ(check.message, vehicle::cardsExistMessage);
    DeleteOutcome refused = registry.remove(1);
    EXPECT_FALSE(refused.deleted);
    EXPECT_TRUE(registry.find(1));
    EXPECT_EQ(registry.cardCount(1), 2);

    // Once its cards are gone the vehicle goes too.
    db::inTransaction(
        work, [](db::Transaction& t) { t.execute(QStringLiteral("delete from A_KARTA where KODA = 1")); });
    EXPECT_TRUE(registry.checkDelete(1).deleted);
    EXPECT_TRUE(registry.remove(1).deleted);
    EXPECT_FALSE(registry.find(1));
    EXPECT_FALSE(work.isActive());
}

TEST_F(Vehicles, CheckBoxesAndPhotographAreStoredAtOnce) {
    registry.addNew(9);
    registry.storeCardLock(1, true);
    registry.storeFuelGauge(1, true);
    EXPECT_EQ(registry.storePhoto(1, QStringLiteral("/home/straz/korven/fotogr/gba_man_2009.jpg")),
              QStringLiteral("/home/straz/korven/fotogr/gba_"));
    EXPECT_FALSE(work.isActive()) << "committed, not left waiting for the next commit";

    // Another connection sees them at once.
    auto other = db::Attachment::attach(tdb.params());
    db::Transaction t(*other);
    VehicleRegistry seen(t);
    VehicleRecord v = *seen.find(1);
    EXPECT_EQ(v.blokada, QStringLiteral("T"));
    EXPECT_EQ(v.czyMiernik, QStringLiteral("T"));
    EXPECT_EQ(v.foto, QStringLiteral("/home/straz/korven/fotogr/gba_"));
    registry.storeCardLock(1, false);
    EXPECT_EQ(seen.find(1)->blokada, QStringLiteral("N"));
}

TEST_F(Vehicles, ListInBothOrdersAndTheSwitchNamesTheCurrentOne) {
    for (const char* name : {"Ż ostatni", "B drugi", "A pierwszy"}) {
        qint64 code = registry.addNew(9);
        VehicleRecord v = *registry.find(code);
        v.nazwa = QString::fromUtf8(name);
        registry.update(code, v);
    }
    auto codes = [](const std::vector<VehicleRecord>& list) {
        std::vector<qint64> out;
        for (const VehicleRecord& v : list)
            out.push_back(v.koda);
        return out;
    };
    ListRead<VehicleRecord> byCode = registry.open(bracket, 0);
    ASSERT_TRUE(byCode.ok());
    EXPECT_EQ(codes(byCode.rows), (std::vector<qint64>{1, 2, 3}));
    EXPECT_EQ(registry.orderCaption(0), QStringLiteral("&Index wg Kodu"));
    int next = registry.nextOrder(0);
    EXPECT_EQ(registry.orderCaption(next), QStringLiteral("&Index wg Nazwy"));
    EXPECT_EQ(codes(registry.list(next)), (std::vector<qint64>{3, 2, 1}));
    EXPECT_EQ(registry.nextOrder(next), 0);
    EXPECT_FALSE(bracket.isActive());
}

TEST(VehicleGrid, WexlonKeepsTheFirstAndLastFourteenColumns) {
    const std::vector<GridColumn>& normal = vehicleGrid(VehicleLayout::Normal);
    const std::vector<GridColumn>& wexlon = vehicleGrid(VehicleLayout::Wexlon);
    ASSERT_EQ(normal.size(), 44u);
    ASSERT_EQ(wexlon.size(), 44u);
    EXPECT_EQ(normal.front().column, wexlon.front().column);
    for (std::size_t i = 30; i < 44; ++i) {
        EXPECT_EQ(normal[i].column, wexlon[i].column);
        EXPECT_EQ(normal[i].title, wexlon[i].title);
    }
    QSet<QString> wexlonColumns;
    QMap<QString, int> counts;
    for (const GridColumn& c : wexlon) {
        wexlonColumns.insert(c.column);
        ++counts[c.column];
    }
    for (const char* hidden : {"NAZWA", "RODZPOJ", "KSRG", "RODZPAL", "NORMPOM", "NORMUG"})
        EXPECT_FALSE(wexlonColumns.contains(QString::fromLatin1(hidden))) << hidden;
    for (const char* twice : {"KLPOJ", "KAT", "ILOMIE", "ZBIORNIK", "PARPOMP", "WYPOSAZ"})
        EXPECT_EQ(counts.value(QString::fromLatin1(twice)), 2) << twice;
    // Every grid column is a column of the record.
    for (const auto* grid : {&normal, &wexlon})
        for (const GridColumn& c : *grid)
            EXPECT_TRUE(findField(vehicleFields(), c.column)) << c.column.toStdString();
    EXPECT_EQ(layoutCaption(VehicleLayout::Wexlon), QStringLiteral("WEXLON"));
    EXPECT_EQ(vehicleExportButton(VehicleLayout::Wexlon), QStringLiteral("&Export WEXLON"));
    EXPECT_EQ(vehicleExportButton(VehicleLayout::Normal), QStringLiteral("&Export Excel"));
}

TEST(VehicleRules, DesignationLabelsAndBoxes) {
    VehicleRecord v;
    v.klpoj = QStringLiteral("L ");
    v.kat = QStringLiteral("1");
    v.ilomie = 3;
    v.zbiornik = QStringLiteral(" 250");
    v.parpomp = QStringLiteral("70/40");
    v.wyposaz = QStringLiteral("1");
    EXPECT_EQ(vehicleDesignation(v), QStringLiteral("L-1-3-250-70/40-1"));

    struct LabelCase {
        const char* typ;
        const char* label;
    };
    for (LabelCase c : {LabelCase{"O", "Osobowy"}, LabelCase{"p", "Pozostałe"}, LabelCase{" ", ""},
                        LabelCase{"X", "bez zmian"}})
        EXPECT_EQ(vehicleTypeLabel(QString::fromLatin1(c.typ), QStringLiteral("bez zmian")),
                  QString::fromUtf8(c.label))
            << c.typ;

    struct BoxCase {
        const char* flag;
        bool checked;
    };
    for (BoxCase c : {BoxCase{"T", true}, BoxCase{"N", false}, BoxCase{"", false}, BoxCase{"X", true}}) {
        FlagBox lock = vehicleCardLockBox(QString::fromLatin1(c.flag));
        EXPECT_EQ(lock.checked, c.checked) << c.flag;
        EXPECT_EQ(lock.red, c.checked);
        EXPECT_EQ(lock.caption, c.checked ? QStringLiteral("Blokada Kart Drogowych")
                                          : QStringLiteral("Brak Blokady Kart Drogowych"));
        EXPECT_EQ(fuelGaugeBox(QString::fromLatin1(c.flag)).caption,
                  c.checked ? QStringLiteral("Paliwomierz zamontowany")
                            : QStringLiteral("Brak Paliwomierza"));
    }
}

TEST(VehicleRules, TitlesAndReportParameters) {
    EXPECT_EQ(vehicleListTitle(9, 3),
              QStringLiteral("Kartoteka Pojazdów").leftJustified(80, QLatin1Char(' ')) +
                  QStringLiteral("Marzec 2009"));
    VehicleRecord v;
    v.nazwa = QStringLiteral("GBA 2,5/16");
    v.nrrej = QStringLiteral("KN 1234A");
    EXPECT_EQ(vehicleEditorTitle(v), QStringLiteral("Dane Szczegółowe Pojazdu :   GBA 2,5/16 KN 1234A"));
    EXPECT_EQ(vehicleExportTitle(9, 3), QStringLiteral("Kartoteka Pojazdów za Marzec  2009"));

    v.typ = QStringLiteral("o");
    v.normpal = 30.5;
    v.doekspl = QDate(2009, 3, 31);
    v.foto = QStringLiteral("fotogr/gba.jpg ");
    QMap<QString, QString> p = vehicleReportParameters(v);
    EXPECT_EQ(p.value(QStringLiteral("typp")), QStringLiteral("Osobowy"));
    EXPECT_EQ(p.value(QStringLiteral("nazwa")), QStringLiteral("GBA 2,5/16"));
    EXPECT_EQ(p.value(QStringLiteral("normpal")), QStringLiteral("30.5"));
    EXPECT_EQ(p.value(QStringLiteral("doekspl")), QStringLiteral("2009-03-31"));
    EXPECT_EQ(p.value(QStringLiteral("logo")), QStringLiteral("fotogr/gba.jpg"));
    EXPECT_EQ(p.value(QStringLiteral("nazpm")), QStringLiteral("-----"));
    EXPECT_EQ(p.size(), 43); // nazpm, logo, typp and 40 columns

    // Grid cells: norms with their display format, dates as year-month-day, no date as nothing.
    EXPECT_EQ(cellText(v, vehicleFields(), QStringLiteral("NORMPAL"), QLocale::c()), QStringLiteral("30.50"));
    EXPECT_EQ(cellText(v, vehicleFields(), QStringLiteral("NORMUG"), QLocale::c()), QStringLiteral("0.000"));
    EXPECT_EQ(cellText(v, vehicleFields(), QStringLiteral("DOEKSPL"), QLocale::c()),
              QStringLiteral("2009-03-31"));
    v.doekspl = QDate();
    EXPECT_EQ(cellText(v, vehicleFields(), QStringLiteral("DOEKSPL"), QLocale::c()), QString());
}

TEST_F(Vehicles, LookupsFillCodeNameAndUnitNumber) {
    db::inTransaction(work, [](db::Transaction& t) {
        t.execute(
            QStringLiteral("insert into A_RODZP (KOD, NAZWA) values (1, 'Samochód ratowniczo-gaśniczy')"));
        t.execute(
            QStringLiteral("insert into A_KOMEN (KOD, NAZWA, NRJED) values (2, 'JRG Grybów', 'JRG-4')"));
    });
    DictionaryLookup kinds = DictionaryLookup::load(DictionaryKind::VehicleKinds, work);
    DictionaryLookup units = DictionaryLookup::load(DictionaryKind::Units, work);
    DictionaryLookup groups = DictionaryLookup::load(DictionaryKind::VehicleGroups, work);
    VehicleRecord v;
    applyKind(v, kinds.typed(QStringLiteral("1")));
    applyUnit(v, units.chosen(0));
    applyGroup(v, groups.typed(QStringLiteral("4")));
    EXPECT_EQ(v.kodRp, 1);
    EXPECT_EQ(v.rodzpoj, QStringLiteral("Samochód ratowniczo-gaśniczy"));
    EXPECT_EQ(v.kodKo, 2);
    EXPECT_EQ(v.komenda, QStringLiteral("JRG Grybów"));
    EXPECT_EQ(v.nrjed, QStringLiteral("JRG-4"));
    EXPECT_EQ(v.kodGp, 4);
    EXPECT_EQ(v.grpoj, QStringLiteral("Błędna Nazwa Grupy Pojazdów ..."));
    // Saved as it stands, the error name stays in the row.
    registry.addNew(9);
    v.koda = 1;
    registry.update(1, v);
    EXPECT_EQ(registry.find(1)->grpoj, QStringLiteral("Błędna Nazwa Grupy Pojazdów ..."));
}

} // namespace
