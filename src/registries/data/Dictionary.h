#pragma once

#include "registries/data/ListRules.h"
#include "registries/rules/Fields.h"

#include "db/Database.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace korven::registries {

enum class DictionaryKind { VehicleKinds, VehicleGroups, Units, ServiceKinds, EquipmentGroups };

// One column of a dictionary besides its code: the editor field and the grid column.
struct DictionaryColumn {
    FieldInfo field; // field.label is the editor's label
    QString gridTitle;
};

// Everything that makes one dictionary differ from the others.
struct DictionaryConfig {
    DictionaryKind kind;
    QString listUnit;   // list window ("RodzajPo")
    QString editorUnit; // editor window ("RodzPEd")
    QString table;
    QString listTitle;
    QString editorTitle;
    QString emptyCodeMessage; // "O&K" with an empty code field
    QString reportProject;    // under the folder of report projects, "raporty/RodzajP.rav"
    QString dataView;         // the name the report engine reads the list under
    // The name a registry editor shows when a typed code is not in this dictionary ("" when no
    // registry looks codes up in it).
    QString unknownCodeName;
    FieldInfo key;        // KOD with the editor's label
    QString keyGridTitle; // "Kod"
    CellColour keyColour = CellColour::PaleYellow;
    std::vector<DictionaryColumn> columns; // the other columns, in grid order
};

const DictionaryConfig& dictionaryConfig(DictionaryKind kind);
const std::vector<DictionaryKind>& allDictionaries();

// One row: its code and the values of the other columns in the order of DictionaryConfig::columns.
struct DictionaryRow {
    qint64 code = 0;
    std::vector<db::Value> values;
    QString text(int column) const;
};

// What "O&K" of a dictionary editor did: saved, or refused with a message (empty code, bad input).
struct SaveOutcome {
    bool saved = false;
    QString message;
};

// The data of one dictionary: its statements, run in the working transaction by the shared pattern.
// Database errors are passed on as db::DbError for the general error display, except while opening
// a list (see open).
class Dictionary {
public:
    Dictionary(DictionaryKind kind, db::Transaction& work);
    Dictionary(const DictionaryConfig& config, db::Transaction& work);

    const DictionaryConfig& config() const { return config_; }

    // Every row, ordered by code.
    std::vector<DictionaryRow> list();
    // Opening and re-reading the list window: the list read inside the bracket transaction; an error
    // leaves an empty list and is kept in the result, not thrown.
    ListRead<DictionaryRow> open(db::Transaction& bracket);

    // The highest code plus 1; 1 for an empty dictionary.
    qint64 nextCode();
    // "&Nowy ": inserts a row holding only the next code and gives that code.
    qint64 addNew();
    // "O&K" of the editor: `codeText` is the code field, `typed` the other fields in column order.
    // Refuses an empty code with the dictionary's message and bad input with a message naming the
    // field; otherwise updates the row whose code was `codeBeforeEdit` and commits.
    SaveOutcome save(qint64 codeBeforeEdit, const QString& codeText, const QStringList& typed);
    // Deletes the row with this code and commits. Nothing checks who uses the code.
    void remove(qint64 code);

    // The statements, for the report engine and for tests.
    QString listSql() const;
    QString maxSql() const;

private:
    const DictionaryConfig& config_;
    db::Transaction& work_;
};

// The result of looking a code up while the operator types it in a registry editor, or of choosing a
// name in the drop-down.
struct LookupResult {
    enum class Status { Empty, Found, Unknown };
    Status status = Status::Empty;
    std::optional<qint64> code; // the code to store (none for an empty field; the typed code if unknown)
    QString name;               // the name to store
    QString unitNumber;         // units only: the first 10 characters of NRJED, trimmed
};

// The lookup list of one dictionary, read once when an editor opens.
class DictionaryLookup {
public:
    DictionaryLookup() = default;
    DictionaryLookup(const DictionaryConfig& config, std::vector<DictionaryRow> rows);
    // Reads the dictionary ("select * from ... order by KOD") in the working transaction.
    static DictionaryLookup load(DictionaryKind kind, db::Transaction& work);

    // The drop-down's items: the trimmed names in code order.
    QStringList names() const;
    int count() const { return static_cast<int>(rows_.size()); }
    // The code field's text changed: empty, found or unknown (with the dictionary's error name).
    LookupResult typed(const QString& codeText) const;
    // A name was chosen in the drop-down (index into names()).
    LookupResult chosen(int index) const;

private:
    LookupResult fromRow(const DictionaryRow& row) const;
    const DictionaryConfig* config_ = nullptr;
    std::vector<DictionaryRow> rows_;
};

} // namespace korven::registries
