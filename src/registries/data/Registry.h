#pragma once

#include "registries/data/Codes.h"
#include "registries/data/ListRules.h"
#include "registries/rules/Fields.h"

#include "db/Database.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <vector>

namespace korven::registries {

// What makes the vehicle registry and the equipment registry differ as tables.
template <class Record> struct RegistryDefinition {
    QString table;
    // Every column of the table bound to the record, the key first.
    const std::vector<FieldDef<Record>>& (*fields)();
    // The orders of the list in the order the order switch cycles through them, and the caption of the
    // switch naming each order.
    QStringList orderColumns;
    QStringList orderCaptions;
    QString emptyCodeMessage; // "O&K" with an empty code field
};

// What "O&K" of an editor did: saved, or refused with a message (empty code, bad input); nothing is
// saved when a message comes back.
struct EditOutcome {
    bool saved = false;
    QString message;
    QString column; // the field to put the focus into
};

// What the Delete key did: deleted, or refused with a message for the operator (after "mail.wav").
struct DeleteOutcome {
    bool deleted = false;
    QString message;
};

// The data of a registry over its table: list, new row, save, delete and the values an editor stores
// at once. Statements run in the working transaction by the shared transaction pattern and database
// errors are passed on as db::DbError, except while opening a list.
template <class Record> class Registry {
public:
    Registry(const RegistryDefinition<Record>& definition, db::Transaction& work)
        : def_(definition), work_(work) {}

    const RegistryDefinition<Record>& definition() const { return def_; }
    const std::vector<FieldDef<Record>>& fields() const { return def_.fields(); }
    const FieldDef<Record>& keyField() const { return def_.fields().front(); }
    QString keyColumn() const { return keyField().info.column; }

    // ------------------------------------------------------------------ list
    int orderCount() const { return static_cast<int>(def_.orderColumns.size()); }
    QString listSql(int order) const {
        return QStringLiteral("select * from %1 order by %2").arg(def_.table, def_.orderColumns.value(order));
    }
    // The caption of the order switch while the list is in this order.
    QString orderCaption(int order) const { return def_.orderCaptions.value(order); }
    // The order the switch moves to from this one.
    int nextOrder(int order) const { return (order + 1) % orderCount(); }

    std::vector<Record> list(int order) {
        db::Rows rows =
            db::inTransaction(work_, [&](db::Transaction& t) { return t.select(listSql(order)); });
        std::vector<Record> out;
        out.reserve(rows.size());
        for (const db::Row& r : rows)
            out.push_back(fromRow(r));
        return out;
    }
    // Opening and re-reading the list window: errors are swallowed after the roll-back and kept.
    ListRead<Record> open(db::Transaction& bracket, int order) {
        return readInBracket<Record>(bracket, [&] { return list(order); });
    }
    // The current record as stored now (nothing when it is gone).
    std::optional<Record> find(qint64 code) {
        std::optional<db::Row> row = db::inTransaction(work_, [&](db::Transaction& t) {
            return t.selectOne(
                QStringLiteral("select * from %1 where %2 = :CODE").arg(def_.table, keyColumn()),
                {{"CODE", codeValue(code)}});
        });
        if (!row) return std::nullopt;
        return fromRow(*row);
    }

    Record fromRow(const db::Row& row) const {
        Record r;
        for (const FieldDef<Record>& f : fields())
            setFieldValue(r, f, row[f.info.column]);
        return r;
    }

    // ------------------------------------------------------------------ codes
    QString maxSql() const {
        return QStringLiteral("SELECT MAX (%1) AS %1 FROM %2 ;").arg(keyColumn(), def_.table);
    }
    qint64 nextCode() { return registries::nextCode(work_, maxSql(), keyColumn()); }

    // ------------------------------------------------------------------ editing
    // The update of every column of the row whose code was `codeBeforeEdit`.
    QString updateSql() const {
        QStringList sets;
        for (const FieldDef<Record>& f : fields())
            sets << QStringLiteral("%1 = :%1").arg(f.info.column);
        return QStringLiteral("update %1 set %2 where %3 = :OLD_CODE")
            .arg(def_.table, sets.join(QStringLiteral(", ")), keyColumn());
    }
    // Saves every column of the record and commits. False when no row has that code any more (another
    // operator deleted it meanwhile): then nothing was saved.
    bool update(qint64 codeBeforeEdit, const Record& record) {
        db::Params params;
        for (const FieldDef<Record>& f : fields())
            params.set(f.info.column, fieldValue(record, f));
        params.set(QStringLiteral("OLD_CODE"), codeValue(codeBeforeEdit));
        return db::inTransaction(work_, [&](db::Transaction& t) { return t.execute(updateSql(), params); }) >
               0;
    }

    // Puts typed texts (column -> text) into a copy of the record. All or nothing: the first refused
    // field gives its message and column and the record stays as it was.
    EditOutcome applyTyped(Record& record, const QHash<QString, QString>& typed) const {
        Record copy = record;
        for (const FieldDef<Record>& f : fields()) {
            auto it = typed.constFind(f.info.column);
            if (it == typed.constEnd()) continue;
            Conversion c = convertInput(f.info, it.value());
            if (!c.ok) return EditOutcome{false, c.message, f.info.column};
            setFieldValue(copy, f, c.value);
        }
        record = copy;
        return EditOutcome{true, QString(), QString()};
    }

    // "O&K": refuses an empty code field, then takes the typed texts over the record (every field
    // checked first, so a refusal saves nothing) and saves all columns where the code was
    // `codeBeforeEdit`. The record gets the saved values.
    EditOutcome save(qint64 codeBeforeEdit, Record& record, const QHash<QString, QString>& typed) {
        auto key = typed.constFind(keyColumn());
        QString keyText =
            key != typed.constEnd() ? key.value() : editText(keyField().info, fieldValue(record, keyField()));
        if (keyText.trimmed().isEmpty()) return EditOutcome{false, def_.emptyCodeMessage, keyColumn()};
        Record edited = record;
        EditOutcome outcome = applyTyped(edited, typed);
        if (!outcome.saved) return outcome;
        if (!update(codeBeforeEdit, edited)) return EditOutcome{false, texts::rowGone, QString()};
        record = edited;
        return outcome;
    }

    // Stores one column of one row at once and commits (check boxes, photograph). False when no row
    // has that code any more.
    bool storeColumn(qint64 code, const QString& column, const db::Value& value) {
        const QString sql =
            QStringLiteral("update %1 set %2 = :VALUE where %3 = :CODE").arg(def_.table, column, keyColumn());
        return db::inTransaction(work_, [&](db::Transaction& t) {
                   return t.execute(sql, {{"VALUE", value}, {"CODE", codeValue(code)}});
               }) > 0;
    }

    // ------------------------------------------------------------------ delete
    QString deleteSql() const {
        return QStringLiteral("delete from %1 where %2 = :%2").arg(def_.table, keyColumn());
    }

protected:
    // Allocates the next code and inserts it with the given columns; gives the code.
    qint64 insertNew(const QStringList& columns, const db::Params& values) {
        QStringList names{keyColumn()};
        names << columns;
        QStringList placeholders;
        for (const QString& c : names)
            placeholders << QLatin1Char(':') + c;
        const QString sql =
            QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(def_.table, names.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", ")));
        return insertWithNextCode(work_, maxSql(), keyColumn(), [&](db::Transaction& t, qint64 code) {
            db::Params p = values;
            p.set(keyColumn(), codeValue(code));
            t.execute(sql, p);
        });
    }
    void deleteRow(db::Transaction& t, qint64 code) {
        t.execute(deleteSql(), {{keyColumn(), codeValue(code)}});
    }

    db::Transaction& work() { return work_; }

private:
    const RegistryDefinition<Record>& def_;
    db::Transaction& work_;
};

} // namespace korven::registries
