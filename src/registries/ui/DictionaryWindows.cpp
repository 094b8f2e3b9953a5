#include "registries/ui/DictionaryWindows.h"
#include "registries/ui/RegistryFrames.h"

#include "ui/ListWindow.h"

#include "ui/RecordEditor.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"
#include <QFileInfo>

namespace korven::registries {

namespace {

bool isNumber(const FieldInfo& f) {
    return f.kind != FieldKind::Text && f.kind != FieldKind::Date;
}

// The dictionary's rows in the shape the list frame shows: KOD and the configured columns.
db::Rows asRows(const DictionaryConfig& config, const std::vector<DictionaryRow>& rows) {
    auto names = std::make_shared<QStringList>();
    names->append(config.key.column);
    for (const DictionaryColumn& c : config.columns)
        names->append(c.field.column);
    db::Rows out;
    out.reserve(rows.size());
    for (const DictionaryRow& r : rows) {
        std::vector<db::Value> values;
        values.emplace_back(static_cast<std::int64_t>(r.code));
        values.insert(values.end(), r.values.begin(), r.values.end());
        out.emplace_back(names, std::move(values));
    }
    return out;
}

ui::ListConfig listConfig(const DictionaryConfig& config) {
    ui::ListConfig c;
    c.objectName = config.listUnit;
    c.title = config.listTitle;
    c.keyField = config.key.column;
    c.reportProject = QFileInfo(config.reportProject).fileName();
    c.dataView = config.dataView;
    ui::ListColumn key{config.key.column, config.keyGridTitle, cellColour(config.keyColour)};
    key.alignment = Qt::AlignRight | Qt::AlignVCenter;
    key.width = 6;
    key.type = exports::FieldType::Integer;
    c.columns << key;
    for (const DictionaryColumn& col : config.columns) {
        ui::ListColumn lc{col.field.column, col.gridTitle};
        lc.width = std::clamp(col.field.width, 6, 48);
        if (isNumber(col.field)) {
            lc.alignment = Qt::AlignRight | Qt::AlignVCenter;
            lc.type = exports::FieldType::Integer;
        }
        c.columns << lc;
    }
    return c;
}

// The editor of one row: the code (read-only, focused first) and the other columns. The fields are
// checked and converted by the dictionary itself when saving.
void editRow(QWidget* parent, Dictionary& dictionary, const db::Row& row) {
    const DictionaryConfig& config = dictionary.config();
    QList<ui::EditorField> fields;
    fields << ui::EditorField{config.key.column, config.key.label, ui::FieldKind::Text, 0, 0, true};
    for (const DictionaryColumn& col : config.columns)
        fields << ui::EditorField{
            col.field.column, col.field.label, ui::FieldKind::Text, col.field.width, 0, false,
            col.field.upper};
    ui::RecordEditor editor(config.editorTitle, fields, parent);
    editor.setObjectName(config.editorUnit);
    editor.load(row);
    editor.firstFocus = config.key.column;
    const qint64 codeBefore = row.integer(config.key.column);
    editor.onSave = [&](const db::Params&) {
        QStringList typed;
        for (const DictionaryColumn& col : config.columns)
            typed << editor.text(col.field.column);
        SaveOutcome outcome = dictionary.save(codeBefore, editor.text(config.key.column), typed);
        if (!outcome.saved) {
            ui::services().message(&editor, outcome.message, QStringLiteral("KORVEN"),
                                   ui::MessageIcon::Warning);
            return false;
        }
        return true;
    };
    editor.exec();
}

} // namespace

void openDictionary(QWidget* parent, session::Session& session, DictionaryKind kind) {
    Dictionary dictionary(kind, session.working());
    const DictionaryConfig& config = dictionary.config();
    ui::ListWindow window(listConfig(config), parent);
    window.loader = [&] { return asRows(config, dictionary.open(session.bracket()).rows); };
    window.onNew = [&]() -> std::optional<db::Value> {
        return db::Value(static_cast<std::int64_t>(dictionary.addNew()));
    };
    window.onEdit = [&](const db::Row& row) { editRow(&window, dictionary, row); };
    window.onDelete = [&](const db::Row& row) { dictionary.remove(row.integer(config.key.column)); };
    window.reportParameters = [&] {
        return reports::ReportParameters{{QStringLiteral("firma"), session.settings().NAZWASKR},
                                         {QStringLiteral("osoba"), session.operatorSession().printedBy()},
                                         {QStringLiteral("logo"), session.settings().LOGO}};
    };
    window.addButton(window.lowerPanel(), QStringLiteral("&Dane"), QStringLiteral("edit"),
                     [&] { window.editCurrent(); });
    window.addButton(window.lowerPanel(), QStringLiteral("&Nowy "), QStringLiteral("new"),
                     [&] { window.addNew(); });
    window.addButton(window.lowerPanel(), QStringLiteral("D&rukuj"), QStringLiteral("print"),
                     [&] { window.printList(); });
    window.addButton(window.lowerPanel(), QStringLiteral("&Wyjście"), QStringLiteral("exit"),
                     [&] { window.reject(); });
    window.resize(config.columns.size() > 2 ? 860 : 640, 520);
    window.reload();
    ui::openChild(parent, window);
}

} // namespace korven::registries
