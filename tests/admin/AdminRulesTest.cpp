#include "admin/rules/AdminRules.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace korven::admin;

TEST(AdminRules, ProtocolLetters) {
    const struct {
        const char* letter;
        Protocol expected;
    } cases[] = {{"L", Protocol::Local}, {"l", Protocol::Local}, {"T", Protocol::Tcp},
                 {"t", Protocol::Tcp},   {"S", Protocol::Spx},   {"n", Protocol::NamedPipes},
                 {"X", Protocol::Tcp},   {"", Protocol::Tcp}};
    for (const auto& c : cases)
        EXPECT_EQ(protocolFromLetter(QString::fromLatin1(c.letter)), c.expected) << c.letter;
}

TEST(AdminRules, ExclusivityRefusalCountsTheOthers) {
    EXPECT_FALSE(exclusivityRefusal(ExclusiveOperation::Backup, 1));
    const QString backup = *exclusivityRefusal(ExclusiveOperation::Backup, 2);
    EXPECT_EQ(backup,
              QStringLiteral("Funkcja Kopiowania Bazy Danych wymaga wyłączności dostepu do niej ...\n"
                             "wszyscy użytkownicy programu księgowego w liczbie 1 muszą go opuścić ..."));
    EXPECT_TRUE(exclusivityRefusal(ExclusiveOperation::Restore, 4)
                    ->startsWith(QStringLiteral("Funkcja Odtwarzania")));
    EXPECT_TRUE(
        exclusivityRefusal(ExclusiveOperation::Restore, 4)->contains(QStringLiteral("w liczbie 3 muszą")));
    EXPECT_TRUE(exclusivityRefusal(ExclusiveOperation::Validation, 3)
                    ->startsWith(QStringLiteral("Funkcja Sprawdzania")));
    // No attachment at all (the program's own connection is gone) is not "alone" either.
    EXPECT_TRUE(exclusivityRefusal(ExclusiveOperation::Backup, 0));
}

TEST(AdminRules, ArchiveNameIsDateAndHour) {
    EXPECT_EQ(archiveBaseName(QDateTime(QDate(2009, 3, 31), QTime(14, 5))), QStringLiteral("09033114"));
    // Before ten o'clock the hour keeps its leading zero, so every name has eight digits.
    EXPECT_EQ(archiveBaseName(QDateTime(QDate(2010, 1, 2), QTime(9, 59))), QStringLiteral("10010209"));
    EXPECT_EQ(archiveBaseName(QDateTime(QDate(2026, 12, 10), QTime(0, 0))), QStringLiteral("26121000"));
}

TEST(AdminRules, UserNamesThatCouldChangeAStatementAreRefused) {
    for (const char* good : {"OPJAN", "jan_kowalski", "A", "K$1", "ABCDEFGHIJABCDEFGHIJABCDEFGHIJA"})
        EXPECT_TRUE(isValidUserName(QString::fromLatin1(good))) << good;
    for (const char* bad : {"", "JAN KOWALSKI", "O'BRIEN", "X\"; DROP TABLE A_AUTO; --", "1JAN", "JAN;",
                            "ABCDEFGHIJABCDEFGHIJABCDEFGHIJAB", "JAN\tX", "_JAN"})
        EXPECT_FALSE(isValidUserName(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(isValidUserName(QStringLiteral("ŁUKASZ")));
    EXPECT_THROW(privilegeStatements(QStringLiteral("O'BRIEN"), PrivilegeChoice{}), std::invalid_argument);
}

TEST(AdminRules, PrivilegeStatementsFollowTheCheckBoxes) {
    // Without "Ustaw uprawnienia" only the right to the system record is given.
    EXPECT_EQ(privilegeStatements(QStringLiteral("opjan"), PrivilegeChoice{}),
              QStringList{QStringLiteral("GRANT ALL ON FJ_BAZA TO \"OPJAN\"")});

    // "Wszystko" alone: all rights with grant option, then the four single rights withdrawn, table by
    // table.
    QStringList s = privilegeStatements(QStringLiteral("OPJAN"), PrivilegeChoice{true, true});
    ASSERT_EQ(s.size(), 12 * 5 + 1);
    EXPECT_EQ(s.mid(0, 5), (QStringList{QStringLiteral("GRANT ALL ON FJ_BAZA TO \"OPJAN\" WITH GRANT OPTION"),
                                        QStringLiteral("REVOKE DELETE ON FJ_BAZA FROM \"OPJAN\""),
                                        QStringLiteral("REVOKE INSERT ON FJ_BAZA FROM \"OPJAN\""),
                                        QStringLiteral("REVOKE UPDATE ON FJ_BAZA FROM \"OPJAN\""),
                                        QStringLiteral("REVOKE SELECT ON FJ_BAZA FROM \"OPJAN\"")}));
    EXPECT_EQ(s[5], QStringLiteral("GRANT ALL ON FJ_FLOP TO \"OPJAN\" WITH GRANT OPTION"));
    EXPECT_EQ(s[55], QStringLiteral("GRANT ALL ON A_KARTAS TO \"OPJAN\" WITH GRANT OPTION"));
    EXPECT_EQ(s.last(), QStringLiteral("GRANT ALL ON FJ_BAZA TO \"OPJAN\""));

    // Reading and adding only: everything else withdrawn.
    s = privilegeStatements(QStringLiteral("OPJAN"), PrivilegeChoice{true, false, false, true, false, true});
    EXPECT_EQ(s.mid(30, 5), (QStringList{QStringLiteral("REVOKE ALL ON A_KARTA FROM \"OPJAN\""),
                                         QStringLiteral("REVOKE DELETE ON A_KARTA FROM \"OPJAN\""),
                                         QStringLiteral("GRANT INSERT ON A_KARTA TO \"OPJAN\""),
                                         QStringLiteral("REVOKE UPDATE ON A_KARTA FROM \"OPJAN\""),
                                         QStringLiteral("GRANT SELECT ON A_KARTA TO \"OPJAN\"")}));
}

TEST(AdminRules, UserFieldsAreCheckedBeforeAnythingRuns) {
    UserFields f;
    f.userName = QStringLiteral("  OPEWA ");
    f.userId = QStringLiteral("12");
    f.accessLevel = QStringLiteral("99");
    UserEntry e = userEntryFrom(f);
    EXPECT_EQ(e.userName, QStringLiteral("OPEWA"));
    EXPECT_EQ(e.userId, 12);
    EXPECT_EQ(e.accessLevel, 99);

    const struct {
        const char* name;
        const char* id;
        const char* level;
    } bad[] = {{"OPEWA", "abc", "0"}, {"OPEWA", "0", "9.5"}, {"OPEWA", "", "0"}, {"OP EWA", "0", "0"}};
    for (const auto& c : bad) {
        f.userName = QString::fromLatin1(c.name);
        f.userId = QString::fromLatin1(c.id);
        f.accessLevel = QString::fromLatin1(c.level);
        EXPECT_THROW(userEntryFrom(f), std::invalid_argument) << c.name << ' ' << c.id << ' ' << c.level;
    }
}

TEST(AdminRules, RestoreOutputGivesTheRowsOfEachTable) {
    RestoreCounts counts;
    for (const char* line :
         {"gbak:restoring table A_AUTO", "gbak:restoring data for table A_AUTO",
          "gbak:   12 records restored", "restoring data for table FJ_BAZA", "   1 records restored",
          "restoring data for table A_KARTA", "gbak:activating and creating deferred index X"})
        counts.addLine(QString::fromLatin1(line));
    EXPECT_EQ(counts.counts().value(QStringLiteral("A_AUTO")), 12);
    EXPECT_EQ(counts.counts().value(QStringLiteral("FJ_BAZA")), 1);
    // A table named without a count line had no rows restored.
    EXPECT_TRUE(counts.counts().contains(QStringLiteral("A_KARTA")));
    EXPECT_EQ(counts.counts().value(QStringLiteral("A_KARTA")), 0);
}

TEST(AdminRules, ValidationFindingsAreTheLinesReportingProblems) {
    const QStringList clean = {QStringLiteral("Validation started"),
                               QStringLiteral("Relation 128 (A_AUTO)"),
                               QStringLiteral("  process pointer page    0 of    1"),
                               QStringLiteral("Index 1 (RDB$PRIMARY1)"),
                               QStringLiteral("Relation 128 (A_AUTO) is ok"),
                               QStringLiteral("Validation finished: 0 errors, 0 warnings, 0 fixed")};
    EXPECT_TRUE(validationFindings(clean).isEmpty());
    const QStringList damaged = {
        QStringLiteral("Relation 130 (A_KARTA)"), QStringLiteral("Relation 130 (A_KARTA) : 2 ERRORS found"),
        QStringLiteral("Number of record level errors: 3"), QStringLiteral("Index 2 (A_KARTA) : 1 warning"),
        QStringLiteral("Validation finished: 2 errors, 1 warnings, 0 fixed")};
    EXPECT_EQ(validationFindings(damaged), damaged.mid(1));
    EXPECT_EQ(
        validationFindings({QStringLiteral("Page 17 wrong type (expected data encountered index)")}).size(),
        1);
}
