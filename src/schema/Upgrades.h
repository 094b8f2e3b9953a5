#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace korven::schema {

// What a statement of an upgrade puts into the database, so that it can be asked whether it is there
// already. Read from the statement's text (see presenceOf).
struct Presence {
    enum class Kind { Table, Column, ColumnType, Index, Row, Privilege, Trigger, Generator, Unknown };
    Kind kind = Kind::Unknown;
    QString table; // the table (or generator of a grant)
    QString name;  // column, index, key column, or the grantee
    QString type;  // ColumnType: the type the column gets, "CHAR(60)", "DECIMAL(6,3)"; Trigger: its text
    QString key;   // Row: the key value; Privilege: the privilege's letter
};

// Reads what a statement adds. Statements of no known shape give Kind::Unknown and always run.
Presence presenceOf(const QString& sql);

// Statements that run in one transaction: all of them or none.
struct UpgradeBlock {
    QStringList statements;
};

struct UpgradeStep {
    QString version;  // "1.04"
    QString doneText; // the result label after a successful run
    std::vector<UpgradeBlock> blocks;
    bool clearsLabel = true; // the label is emptied before the run
    bool alignsColumns = false;
};

// The upgrade steps in version order: the nine of the older versions, the one that adds what this
// system keeps beside them, and those of the optional additions and the change history.
const std::vector<UpgradeStep>& upgradeSteps();
const UpgradeStep& upgradeStep(const QString& version);

// The result label of a step that finds everything of it in the database already.
QString alreadyAppliedText(const UpgradeStep& step);

struct StepResult {
    int statementsRun = 0;
    int statementsPresent = 0;
    bool columnsMoved = false;
    bool ran() const { return statementsRun > 0 || columnsMoved; }
};

// Runs the parts of a step the database lacks; what it has already is left alone, so a step stopped
// half-way (or applied by hand) is finished by running it again instead of failing at its first
// statement. Each block runs in one transaction; a failing statement rolls its block back and the
// error is passed on, the blocks before it staying applied.
StepResult applyStep(db::Attachment& attachment, const UpgradeStep& step);
// Whether every part of the step is in the database.
bool isApplied(db::Attachment& attachment, const UpgradeStep& step);

// Applies in version order every step the database lacks. `onStep` hears of each step, ran or not.
using StepReport = std::function<void(const UpgradeStep& step, const StepResult& result)>;
void upgradeDatabase(db::Attachment& attachment, const StepReport& onStep = {});

// The columns of each table in the order a new database has them.
std::vector<std::pair<QString, QStringList>> newDatabaseColumnOrder();

} // namespace korven::schema
