#include "registries/data/Dictionary.h"
#include "registries/data/Codes.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::registries;
using korven::test::TestDatabase;

namespace {

class EveryDictionary : public ::testing::TestWithParam<DictionaryKind> {
protected:
    void SetUp() override {
        // Some dictionaries come filled in a new database; start every one empty.
        db::Transaction t(*tdb.attachment);
        db::inTransaction(
            t, [&](db::Transaction& tr) { tr.execute(QStringLiteral("delete from ") + config().table); });
    }
    const DictionaryConfig& config() const { return dictionaryConfig(GetParam()); }
    TestDatabase tdb;
    db::Transaction work{*tdb.attachment};
    db::Transaction bracket{*tdb.attachment};
};

TEST_P(EveryDictionary, CodesStartAtOneAndTheHighestIsReused) {
    Dictionary d(GetParam(), work);
    EXPECT_EQ(d.addNew(), 1);
    EXPECT_EQ(d.addNew(), 2);
    EXPECT_EQ(d.addNew(), 3);
    d.remove(3);
    EXPECT_EQ(d.addNew(), 3);
    d.remove(2);
    EXPECT_EQ(d.addNew(), 4);
    EXPECT_FALSE(work.isActive());

    ListRead<DictionaryRow> read = d.open(bracket);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    std::vector<qint64> codes;
    for (const DictionaryRow& r : read.rows)
        codes.push_back(r.code);
    EXPECT_EQ(codes, (std::vector<qint64>{1, 3, 4}));
    EXPECT_FALSE(bracket.isActive());
}

TEST_P(EveryDictionary, SaveStoresEveryColumnAndRefusesBadInputWhole) {
    Dictionary d(GetParam(), work);
    qint64 code = d.addNew();

    // A new row has empty columns; saving without typing keeps them empty.
    QStringList empty;
    for (std::size_t i = 0; i < config().columns.size(); ++i)
        empty << QString();
    EXPECT_TRUE(d.save(code, QString::number(code), empty).saved);

    QStringList typed;
    for (const DictionaryColumn& c : config().columns)
        typed << (c.field.kind == FieldKind::Integer
                      ? QStringLiteral("12")
                      : QStringLiteral("Wartość %1 bardzo długa, dłuższa niż kolumna ma znaków ...")
                            .arg(c.field.column));
    SaveOutcome saved = d.save(code, QString::number(code), typed);
    ASSERT_TRUE(saved.saved) << saved.message.toStdString();
    std::vector<DictionaryRow> rows = d.list();
    ASSERT_EQ(rows.size(), 1u);
    for (std::size_t i = 0; i < config().columns.size(); ++i) {
        const FieldInfo& f = config().columns[i].field;
        QString expected = f.kind == FieldKind::Integer ? QStringLiteral("12")
                                                        : typed[static_cast<int>(i)].left(f.width).trimmed();
        EXPECT_EQ(rows[0].text(static_cast<int>(i)), expected) << f.column.toStdString();
    }

    // An empty code field is refused with the dictionary's own message, nothing saved.
    SaveOutcome refused = d.save(code, QStringLiteral("  "), empty);
    EXPECT_FALSE(refused.saved);
    EXPECT_EQ(refused.message, config().emptyCodeMessage);
    EXPECT_EQ(d.list()[0].text(0), rows[0].text(0));

    // A row deleted meanwhile is not reported as saved.
    d.remove(code);
    SaveOutcome gone = d.save(code, QString::number(code), typed);
    EXPECT_FALSE(gone.saved);
    EXPECT_EQ(gone.message, texts::rowGone);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryDictionary, ::testing::ValuesIn(allDictionaries()));

TEST(Dictionary, ServiceMonthsMustBeAWholeNumber) {
    TestDatabase tdb;
    db::Transaction work(*tdb.attachment);
    Dictionary d(DictionaryKind::ServiceKinds, work);
    // A new database holds the five service kinds; the next one gets code 6.
    qint64 code = d.addNew();
    EXPECT_EQ(code, 6);
    SaveOutcome bad = d.save(code, QStringLiteral("6"),
                             {QStringLiteral("PP"), QStringLiteral("Przegląd"), QStringLiteral("pół")});
    EXPECT_FALSE(bad.saved);
    EXPECT_TRUE(bad.message.contains(QStringLiteral("Następna Obsługa (m-c)")));
    // Nothing of the refused row was written.
    EXPECT_TRUE(d.list().back().text(0).isEmpty());
    EXPECT_TRUE(d.save(code, QStringLiteral("6"),
                       {QStringLiteral("pp"), QStringLiteral("Przegląd"), QStringLiteral("12")})
                    .saved);
    EXPECT_EQ(d.list().back().text(2), QStringLiteral("12"));
}

TEST(Dictionary, OpeningSwallowsTheErrorAndLeavesAnEmptyList) {
    TestDatabase tdb;
    db::Transaction work(*tdb.attachment);
    db::Transaction bracket(*tdb.attachment);
    DictionaryConfig broken = dictionaryConfig(DictionaryKind::VehicleKinds);
    broken.table = QStringLiteral("NO_SUCH_TABLE");
    Dictionary d(broken, work);
    ListRead<DictionaryRow> read = d.open(bracket);
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.rows.empty());
    EXPECT_FALSE(bracket.isActive());
    EXPECT_FALSE(work.isActive());
    // A failing new row is passed on.
    EXPECT_THROW(d.addNew(), db::DbError);
    EXPECT_FALSE(work.isActive());
}

TEST(Codes, ADuplicateTakenMeanwhileIsAllocatedAgain) {
    TestDatabase tdb;
    db::Transaction work(*tdb.attachment);
    db::Transaction other(*tdb.attachment);
    const QString maxSql = QStringLiteral("SELECT MAX (KOD) AS KOD FROM A_RODZP ;");
    int calls = 0;
    qint64 code = insertWithNextCode(work, maxSql, QStringLiteral("KOD"), [&](db::Transaction& t, qint64 c) {
        if (++calls == 1) // another operator inserts the same code between our read and our insert
            db::inTransaction(other, [&](db::Transaction& o) {
                o.execute(QStringLiteral("insert into A_RODZP (KOD, NAZWA) values (:KOD, 'obcy')"),
                          {{"KOD", codeValue(c)}});
            });
        t.execute(QStringLiteral("insert into A_RODZP (KOD) values (:KOD)"), {{"KOD", codeValue(c)}});
    });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(code, 2);
}

class Lookups : public ::testing::Test {
protected:
    void SetUp() override {
        db::inTransaction(work, [](db::Transaction& t) {
            t.execute(QStringLiteral(
                "insert into A_KOMEN (KOD, NAZWA, NRJED) values (1, 'KM PSP Nowy Sącz', 'JRG-1')"));
            t.execute(QStringLiteral(
                "insert into A_KOMEN (KOD, NAZWA, NRJED) values (7, 'JRG Grybów', ' 12345678901234')"));
        });
    }
    TestDatabase tdb;
    db::Transaction work{*tdb.attachment};
};

TEST_F(Lookups, TypedCodeGivesNameAndUnitNumber) {
    DictionaryLookup units = DictionaryLookup::load(DictionaryKind::Units, work);
    EXPECT_EQ(units.names(), (QStringList{QStringLiteral("KM PSP Nowy Sącz"), QStringLiteral("JRG Grybów")}));

    LookupResult found = units.typed(QStringLiteral(" 7 "));
    EXPECT_EQ(found.status, LookupResult::Status::Found);
    EXPECT_EQ(found.code, 7);
    EXPECT_EQ(found.name, QStringLiteral("JRG Grybów"));
    EXPECT_EQ(found.unitNumber, QStringLiteral("123456789")); // first 10 characters, trimmed

    for (const char* unknown : {"3", "x1"}) {
        LookupResult r = units.typed(QString::fromLatin1(unknown));
        EXPECT_EQ(r.status, LookupResult::Status::Unknown);
        EXPECT_EQ(r.name, QStringLiteral("Błędna Nazwa Jednostki ..."));
        EXPECT_TRUE(r.unitNumber.isEmpty());
    }
    LookupResult empty = units.typed(QStringLiteral(""));
    EXPECT_EQ(empty.status, LookupResult::Status::Empty);
    EXPECT_FALSE(empty.code);
    EXPECT_TRUE(empty.name.isEmpty());

    LookupResult chosen = units.chosen(0);
    EXPECT_EQ(chosen.code, 1);
    EXPECT_EQ(chosen.unitNumber, QStringLiteral("JRG-1"));
    EXPECT_EQ(units.chosen(5).status, LookupResult::Status::Empty);
}

} // namespace
