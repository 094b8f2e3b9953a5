#include "db/Database.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace korven::db;

namespace {

// An empty embedded database with one table of every column type the program uses.
class Embedded : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        params.database = dir.filePath(QStringLiteral("wrapper.fdb"));
        params.user = QStringLiteral("SYSDBA");
        params.password = QStringLiteral("x");
        att = Attachment::create(params);
        att->executeImmediate(QStringLiteral(
            "create table T (ID integer not null primary key, S smallint, I integer, B bigint, "
            "D2 decimal(9,2), D5 decimal(8,5), D4 decimal(18,4), DBL double precision, C char(10), "
            "V varchar(20), DT date, TS timestamp, BO boolean)"));
    }

    QTemporaryDir dir;
    ConnectParams params;
    std::unique_ptr<Attachment> att;
};

} // namespace

TEST_F(Embedded, EveryColumnTypeRoundTrips) {
    Transaction t(*att);
    inTransaction(t, [](Transaction& tr) {
        tr.execute(QStringLiteral(
                       "insert into T values (:ID, :S, :I, :B, :D2, :D5, :D4, :DBL, :C, :V, :DT, :TS, :BO)"),
                   {{"ID", 1},
                    {"S", -12},
                    {"I", 2000000000},
                    {"B", std::int64_t(9000000000000LL)},
                    {"D2", 1234567.89},
                    {"D5", 0.03},
                    {"D4", Decimal{-123456789012345LL, 4}},
                    {"DBL", 0.1},
                    {"C", QStringLiteral("Łódź")},
                    {"V", QStringLiteral("zażółć gęślą jaźń")},
                    {"DT", QDate(2009, 3, 31)},
                    {"TS", QDateTime(QDate(2026, 12, 9), QTime(13, 45, 7))},
                    {"BO", true}});
    });
    auto row =
        inTransaction(t, [](Transaction& tr) { return tr.selectOne(QStringLiteral("select * from T")); });
    ASSERT_TRUE(row);
    EXPECT_EQ(row->integer("S"), -12);
    EXPECT_EQ(row->integer("I"), 2000000000);
    EXPECT_EQ(row->integer("B"), 9000000000000LL);
    EXPECT_EQ((*row)["D2"].kind(), Value::Kind::Decimal);
    EXPECT_EQ((*row)["D2"].toText(), QStringLiteral("1234567.89"));
    EXPECT_EQ((*row)["D5"].toText(), QStringLiteral("0.03000"));
    EXPECT_EQ((*row)["D4"].toDecimal(4), (Decimal{-123456789012345LL, 4}));
    EXPECT_DOUBLE_EQ(row->number("DBL"), 0.1);
    EXPECT_EQ(row->text("C"), QStringLiteral("Łódź")); // CHAR padding is not part of the value
    EXPECT_EQ(row->text("V"), QStringLiteral("zażółć gęślą jaźń"));
    EXPECT_EQ(row->date("DT"), QDate(2009, 3, 31));
    EXPECT_EQ((*row)["TS"].toDateTime(), QDateTime(QDate(2026, 12, 9), QTime(13, 45, 7)));
    EXPECT_TRUE((*row)["BO"].toBool());
}

TEST_F(Embedded, DoublesInDecimalColumnsRoundHalfAwayFromZero) {
    Transaction t(*att);
    inTransaction(t, [](Transaction& tr) {
        int id = 1;
        for (double v : {2.675, -2.675, 0.005, 1.005})
            tr.execute(QStringLiteral("insert into T (ID, D2) values (:ID, :D2)"), {{"ID", id++}, {"D2", v}});
    });
    Rows rows = inTransaction(
        t, [](Transaction& tr) { return tr.select(QStringLiteral("select D2 from T order by ID")); });
    QStringList got;
    for (const Row& r : rows)
        got << r.text("D2");
    EXPECT_EQ(got, (QStringList{"2.68", "-2.68", "0.01", "1.01"}));
}

TEST_F(Embedded, NullsAndNamedParameters) {
    Transaction t(*att);
    inTransaction(t, [](Transaction& tr) {
        tr.execute(QStringLiteral("insert into T (ID, I, C) values (:id, :val, :txt)"),
                   {{"ID", 7}, {"VAL", Value()}, {"txt", Value()}});
        // The same name twice takes the same value.
        tr.execute(QStringLiteral("update T set I = :v, B = :v where ID = :ID"), {{"v", 5}, {"ID", 7}});
    });
    auto row = inTransaction(t, [](Transaction& tr) {
        return tr.selectOne(
            QStringLiteral("select I, B, C, D2, DT, MAX(ID) as M from T group by I, B, C, D2, DT"));
    });
    ASSERT_TRUE(row);
    EXPECT_EQ(row->integer("I"), 5);
    EXPECT_EQ(row->integer("b"), 5);
    EXPECT_TRUE(row->isNull("C"));
    EXPECT_EQ(row->text("C"), QString());
    EXPECT_EQ(row->number("D2"), 0.0);
    EXPECT_FALSE(row->date("DT").isValid());

    // A maximum over no rows is null, which callers turn into their fallback.
    Value max = inTransaction(
        t, [](Transaction& tr) { return tr.scalar(QStringLiteral("select max(ID) from T where ID > 100")); });
    EXPECT_TRUE(max.isNull());

    // A parameter without a value and an unknown column are the caller's mistakes, said clearly.
    t.start();
    try {
        t.execute(QStringLiteral("update T set I = :v where ID = :ID"), {{"v", 1}});
        FAIL() << "expected an error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::Usage);
        EXPECT_TRUE(e.message().contains(QLatin1String(":ID")));
    }
    EXPECT_THROW((void)(*row)["NOPE"], DbError);
    t.rollback();
}

TEST_F(Embedded, RowsComeInOrderByOrder) {
    Transaction t(*att);
    inTransaction(t, [](Transaction& tr) {
        for (int id : {3, 1, 2})
            tr.execute(QStringLiteral("insert into T (ID) values (:ID)"), {{"ID", id}});
    });
    Rows rows = inTransaction(
        t, [](Transaction& tr) { return tr.select(QStringLiteral("select ID from T order by ID desc")); });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].integer("ID"), 3);
    EXPECT_EQ(rows[2].integer("ID"), 1);
}

TEST_F(Embedded, ServerErrorTextReachesTheException) {
    Transaction t(*att);
    try {
        inTransaction(t, [](Transaction& tr) { tr.select(QStringLiteral("select * from NO_SUCH_TABLE")); });
        FAIL() << "expected an error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("NO_SUCH_TABLE"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QLatin1String("Table unknown"))) << e.message().toStdString();
    }
    EXPECT_FALSE(t.isActive()); // the pattern rolled back

    // A key violation is an error with its reason.
    inTransaction(t, [](Transaction& tr) { tr.execute(QStringLiteral("insert into T (ID) values (1)")); });
    try {
        inTransaction(t,
                      [](Transaction& tr) { tr.execute(QStringLiteral("insert into T (ID) values (1)")); });
        FAIL() << "expected a key violation";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::UniqueViolation) << e.message().toStdString();
    }
}

TEST_F(Embedded, ThreeTransactionsOnOneAttachment) {
    Transaction t1(*att), t2(*att), t3(*att);
    t1.start();
    t2.start();
    t3.start();
    t1.execute(QStringLiteral("insert into T (ID, I) values (1, 10)"));
    // Read committed: the others see the row only once it is committed.
    EXPECT_EQ(t2.scalar(QStringLiteral("select count(*) from T")).toInt(), 0);
    t1.commit();
    EXPECT_EQ(t2.scalar(QStringLiteral("select count(*) from T")).toInt(), 1);
    t3.execute(QStringLiteral("update T set I = 11 where ID = 1"));
    t3.commit();
    EXPECT_EQ(t2.scalar(QStringLiteral("select I from T where ID = 1")).toInt(), 11);
    t2.commit();
    EXPECT_FALSE(t1.isActive() || t2.isActive() || t3.isActive());
}

TEST_F(Embedded, SecondAttachmentSeesCommitsAndIsNotBlockedByWriters) {
    auto other = Attachment::attach(params);
    Transaction writer(*att), reader(*other);
    inTransaction(writer,
                  [](Transaction& tr) { tr.execute(QStringLiteral("insert into T (ID, I) values (1, 1)")); });
    writer.start();
    writer.execute(QStringLiteral("update T set I = 2 where ID = 1"));
    // The uncommitted change neither blocks the reader nor shows to it.
    reader.start();
    EXPECT_EQ(reader.scalar(QStringLiteral("select I from T where ID = 1")).toInt(), 1);
    writer.commit();
    EXPECT_EQ(reader.scalar(QStringLiteral("select I from T where ID = 1")).toInt(), 2);
    reader.commit();
}

TEST_F(Embedded, ConflictingUpdateWaitsNoLongerThanTheLockTimeout) {
    auto other = Attachment::attach(params);
    Transaction holder(*att);
    inTransaction(holder,
                  [](Transaction& tr) { tr.execute(QStringLiteral("insert into T (ID, I) values (1, 1)")); });
    holder.start();
    holder.execute(QStringLiteral("update T set I = 2 where ID = 1"));

    Transaction waiter(*other, TransactionOptions{false, 1});
    waiter.start();
    QElapsedTimer timer;
    timer.start();
    try {
        waiter.execute(QStringLiteral("update T set I = 3 where ID = 1"));
        FAIL() << "expected a lock conflict";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::LockConflict) << e.message().toStdString();
    }
    // Bounded wait; the generous limit only guards against waiting forever.
    EXPECT_LT(timer.elapsed(), 8000);
    waiter.rollback();
    holder.commit();
}

TEST_F(Embedded, LockedReadProceedsOnceTheHolderCommits) {
    auto other = Attachment::attach(params);
    Transaction holder(*att);
    inTransaction(holder,
                  [](Transaction& tr) { tr.execute(QStringLiteral("insert into T (ID, I) values (1, 1)")); });
    holder.start();
    holder.execute(QStringLiteral("update T set I = I + 1 where ID = 1"));

    auto result = std::async(std::launch::async, [&] {
        Transaction waiter(*other, TransactionOptions{false, 10});
        return inTransaction(waiter, [](Transaction& tr) {
            std::int64_t seen = tr.scalar(QStringLiteral("select I from T where ID = 1 with lock")).toInt();
            tr.execute(QStringLiteral("update T set I = :I where ID = 1"), {{"I", seen + 1}});
            return seen;
        });
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    holder.commit();
    EXPECT_EQ(result.get(), 2); // it waited, then read the committed value
    Transaction t(*att);
    EXPECT_EQ(inTransaction(
                  t, [](Transaction& tr) { return tr.scalar(QStringLiteral("select I from T")).toInt(); }),
              3);
}

TEST(Connect, RefusalsAreClearAndCreateNothing) {
    QTemporaryDir dir;
    ConnectParams p;
    p.user = QStringLiteral("SYSDBA");
    p.password = QStringLiteral("x");

    p.database = dir.filePath(QStringLiteral("missing/korven.adb"));
    try {
        Attachment::attach(p);
        FAIL() << "expected a refusal";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::Unreachable) << e.message().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(p.database));

    // An existing file is never overwritten by creation.
    p.database = dir.filePath(QStringLiteral("korven.adb"));
    Attachment::create(p)->detach();
    qint64 size = QFileInfo(p.database).size();
    EXPECT_THROW(Attachment::create(p), DbError);
    EXPECT_EQ(QFileInfo(p.database).size(), size);
}

TEST(Connect, MissingClientLibraryIsAnError) {
    setClientLibraryName(QStringLiteral("libfbclient-not-here.so"));
    ConnectParams p;
    p.database = QStringLiteral("/tmp/none.fdb");
    try {
        Attachment::attach(p);
        setClientLibraryName(QStringLiteral("libfbclient.so.2"));
        FAIL() << "expected an error";
    } catch (const DbError& e) {
        setClientLibraryName(QStringLiteral("libfbclient.so.2"));
        EXPECT_EQ(e.reason(), DbError::Reason::ClientLibraryMissing);
        EXPECT_TRUE(e.message().contains(QLatin1String("libfbclient-not-here.so")));
    }
}

TEST(Connect, ADatabaseHeldByAnotherEmbeddedProgramIsInUse) {
    QTemporaryDir dir;
    ConnectParams p;
    p.database = dir.filePath(QStringLiteral("held.fdb"));
    p.user = QStringLiteral("SYSDBA");
    Attachment::create(p)->detach();
    // Another program opens the file with its own embedded engine and keeps it open.
    QProcess other;
    other.start(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), p.database});
    ASSERT_TRUE(other.waitForStarted(10000));
    other.write("select 1 from rdb$database;\n");
    ASSERT_TRUE(other.waitForReadyRead(10000));
    try {
        Attachment::attach(p);
        ADD_FAILURE() << "expected the database to be in use";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::DatabaseInUse) << e.message().toStdString();
    }
    other.closeWriteChannel();
    other.waitForFinished(10000);
}
