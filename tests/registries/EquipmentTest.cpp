#include "registries/data/Equipment.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::registries;
using korven::test::TestDatabase;

namespace {

class Machines : public ::testing::Test {
protected:
    TestDatabase tdb;
    db::Transaction work{*tdb.attachment};
    db::Transaction bracket{*tdb.attachment};
    EquipmentRegistry registry{work};
};

TEST_F(Machines, FieldsNameEveryColumnOfTheTable) {
    test::expectFieldsMatchTable(*tdb.attachment, QStringLiteral("A_SPRZET"), equipmentFields(), 46);
    for (int i = 0; i < 10; ++i) {
        const FieldDef<EquipmentRecord>* f =
            findField(equipmentFields(), QStringLiteral("SKLAD_ZES%1").arg(i + 1));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->info.label, QString(QChar(QLatin1Char('A' + i))) + QLatin1Char('.'));
        EXPECT_EQ(f->info.page, Page::Kit);
    }
}

TEST_F(Machines, NewMachineTakesTheTableDefaults) {
    EXPECT_EQ(registry.addNew(), 1);
    EquipmentRecord e = *registry.find(1);
    EXPECT_EQ(e.rodzsiln, QStringLiteral("2"));
    EXPECT_EQ(engineKindLabel(e.rodzsiln, QString()), QStringLiteral("dwusuwowy"));
    EXPECT_EQ(e.rpr, QStringLiteral("2008"));
    EXPECT_EQ(e.doekspl, QDate::currentDate());
    EXPECT_EQ(e.rodzpal, QStringLiteral("ET"));
    EXPECT_EQ(e.blokada, QStringLiteral("N"));
    EXPECT_EQ(e.normpal, 0.0);
    EXPECT_EQ(registry.addNew(), 2);
    registry.remove(2);
    EXPECT_EQ(registry.addNew(), 2);
}

TEST_F(Machines, UpdateStoresEveryColumn) {
    registry.addNew();
    EquipmentRecord edited = test::distinctRecord(equipmentFields(), 1, 7);
    registry.update(1, edited);
    test::expectSameRecord(*registry.find(1), edited, equipmentFields());
    EXPECT_EQ(registry.find(1)->kitLine(9), edited.skladZes10);
}

TEST_F(Machines, DeleteLeavesTheWorkCards) {
    registry.addNew();
    db::inTransaction(work, [](db::Transaction& t) {
        t.execute(QStringLiteral("insert into A_KARTAS (KODS, KODK, ROKS, MIES) values (1, 1, 9, 3)"));
    });
    registry.remove(1);
    EXPECT_FALSE(registry.find(1));
    int cards = static_cast<int>(db::inTransaction(work, [](db::Transaction& t) {
        return t.scalar(QStringLiteral("select count(*) from A_KARTAS where KODS = 1")).toInt();
    }));
    EXPECT_EQ(cards, 1);
}

TEST_F(Machines, ThreePressesOfTheOrderSwitchReturnToTheCode) {
    struct Row {
        const char* name;
        const char* unit;
    };
    for (Row r : {Row{"Piła", "JRG-2"}, Row{"Agregat", "JRG-3"}, Row{"Motopompa", "JRG-1"}}) {
        qint64 code = registry.addNew();
        EquipmentRecord e = *registry.find(code);
        e.nazwa = QString::fromUtf8(r.name);
        e.nrjed = QString::fromLatin1(r.unit);
        registry.update(code, e);
    }
    auto codes = [&](int order) {
        std::vector<qint64> out;
        for (const EquipmentRecord& e : registry.open(bracket, order).rows)
            out.push_back(e.kods);
        return out;
    };
    int order = 0;
    EXPECT_EQ(codes(order), (std::vector<qint64>{1, 2, 3}));
    order = registry.nextOrder(order);
    EXPECT_EQ(registry.orderCaption(order), QStringLiteral("&Index wg Nazwy"));
    EXPECT_EQ(codes(order), (std::vector<qint64>{2, 3, 1}));
    order = registry.nextOrder(order);
    EXPECT_EQ(registry.orderCaption(order), QStringLiteral("&Index wg Jednostki"));
    EXPECT_EQ(codes(order), (std::vector<qint64>{3, 1, 2}));
    order = registry.nextOrder(order);
    EXPECT_EQ(order, 0);
    EXPECT_EQ(registry.orderCaption(order), QStringLiteral("&Index wg Kodu"));
}

TEST_F(Machines, SaveCheckAndStoredFlags) {
    registry.addNew();
    EquipmentRecord e = *registry.find(1);
    EditOutcome bad = registry.save(1, e, {{QStringLiteral("NORMPAL"), QStringLiteral("0,2x")}});
    EXPECT_FALSE(bad.saved);
    EXPECT_EQ(bad.column, QStringLiteral("NORMPAL"));
    EXPECT_EQ(registry.save(1, e, {{QStringLiteral("KODS"), QString()}}).message,
              QStringLiteral("Pole Kodu Sprzętu nie może być puste !!! ..."));
    // The engine kind check only warns: another value is still saved.
    EditOutcome out = registry.save(1, e,
                                    {{QStringLiteral("RODZSILN"), QStringLiteral("3")},
                                     {QStringLiteral("NRIDENT"), QStringLiteral("ab-1")},
                                     {QStringLiteral("NORMPAL"), QStringLiteral("0,025")}});
    ASSERT_TRUE(out.saved) << out.message.toStdString();
    EquipmentRecord back = *registry.find(1);
    EXPECT_EQ(back.rodzsiln, QStringLiteral("3"));
    EXPECT_EQ(back.nrident, QStringLiteral("AB-1"));
    EXPECT_DOUBLE_EQ(back.normpal, 0.025);

    registry.storeCardLock(1, true);
    EXPECT_EQ(registry.find(1)->blokada, QStringLiteral("T"));
    EXPECT_FALSE(work.isActive());
}

TEST(EquipmentRules, EngineKindCheckAndLabel) {
    struct Case {
        const char* typed;
        bool warns;
        const char* label;
    };
    for (Case c : {Case{"2", false, "dwusuwowy"}, Case{" 4 ", false, "czterosuwowy"}, Case{"", true, ""},
                   Case{"3", true, "poprzednia"}, Case{"dwa", true, "poprzednia"}}) {
        std::optional<QString> warning = checkEngineKind(QString::fromUtf8(c.typed));
        EXPECT_EQ(warning.has_value(), c.warns) << c.typed;
        if (warning) {
            EXPECT_EQ(*warning, QStringLiteral("Poprawna wartość pola to \"2\" lub \"4\""));
        }
        EXPECT_EQ(engineKindLabel(QString::fromUtf8(c.typed), QStringLiteral("poprzednia")),
                  QString::fromUtf8(c.label));
    }
    EXPECT_EQ(equipmentCardLockBox(QStringLiteral("T")).caption, QStringLiteral("Blokada Kart Sprzętu"));
    EXPECT_EQ(equipmentCardLockBox(QStringLiteral("N")).caption, QStringLiteral("Brak Blokady Kart Sprzętu"));
}

TEST(EquipmentRules, GridAndReportParameters) {
    ASSERT_EQ(equipmentGrid().size(), 22u);
    for (const GridColumn& c : equipmentGrid())
        EXPECT_TRUE(findField(equipmentFields(), c.column)) << c.column.toStdString();
    EquipmentRecord e;
    e.producent = QStringLiteral("STIHL");
    e.skladZes3 = QStringLiteral("prowadnica ");
    QMap<QString, QString> p = equipmentReportParameters(e, QStringLiteral("dwusuwowy"));
    EXPECT_EQ(p.value(QStringLiteral("rodzsiln")), QStringLiteral("dwusuwowy"));
    EXPECT_EQ(p.value(QStringLiteral("sklad_zes3")), QStringLiteral("prowadnica"));
    EXPECT_FALSE(p.contains(QStringLiteral("producent")));
    EXPECT_EQ(equipmentEditorTitle(e), QStringLiteral("Dane Szczegółowe Sprzętu :    "));
}

} // namespace
