#pragma once

// The list window and the editor window shared by the vehicle and the equipment registry: the two
// registries are the same windows configured by their field tables, grid layouts and texts.

#include "registries/data/Dictionary.h"
#include "registries/data/Photo.h"
#include "registries/data/Registry.h"
#include "registries/data/Vehicle.h"

#include "reports/ui/ReportPrint.h"
#include "session/data/Session.h"
#include "ui/ListWindow.h"
#include "ui/RecordEditor.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace korven::registries {

// ---------------------------------------------------------------------------------------------
// Plain helpers of the registry windows.

QColor cellColour(CellColour colour);
ui::FieldKind editorKind(FieldKind kind);
exports::FieldType exportType(FieldKind kind);
QString pageTitle(Page page);
// Shows the photograph a FOTO value names, or "brak.bmp"; the label's property "file" holds the file.
void showPhoto(QLabel* label, const QString& foto);
void showFlag(QCheckBox* box, const FlagBox& look);
// Runs `left` when the focus leaves the widget for another widget of the same window (not for a
// message box or a pop-up).
void onFocusLeft(QWidget* widget, std::function<void()> left);

// The grid columns of a layout, with the display formats of the registry's fields.
template <class R>
QList<ui::ListColumn> listColumns(const std::vector<GridColumn>& grid,
                                  const std::vector<FieldDef<R>>& fields) {
    QList<ui::ListColumn> out;
    for (const GridColumn& c : grid) {
        ui::ListColumn lc;
        lc.field = c.column;
        lc.title = c.title;
        lc.background = cellColour(c.colour);
        lc.bold = c.bold;
        lc.width = c.width;
        if (const FieldDef<R>* f = findField(fields, c.column)) {
            const FieldInfo info = f->info;
            lc.type = exportType(info.kind);
            if (info.kind == FieldKind::Integer || info.kind == FieldKind::Decimal)
                lc.alignment = Qt::AlignRight | Qt::AlignVCenter;
            lc.format = [info](const db::Value& v) { return displayText(info, v); };
        }
        out << lc;
    }
    return out;
}

// The records as rows of every column, for the grid.
template <class R>
db::Rows recordRows(const std::vector<R>& records, const std::vector<FieldDef<R>>& fields) {
    auto names = std::make_shared<QStringList>();
    for (const FieldDef<R>& f : fields)
        *names << f.info.column;
    db::Rows rows;
    rows.reserve(records.size());
    for (const R& r : records) {
        std::vector<db::Value> values;
        values.reserve(fields.size());
        for (const FieldDef<R>& f : fields)
            values.push_back(fieldValue(r, f));
        rows.emplace_back(names, std::move(values));
    }
    return rows;
}

// The records as the data view of a printed list: every column with its value and grid text.
template <class R>
reports::DataView recordDataView(const QString& name, const std::vector<R>& records,
                                 const std::vector<FieldDef<R>>& fields) {
    reports::DataView view;
    view.name = name;
    for (const R& r : records) {
        reports::DataRow row;
        for (const FieldDef<R>& f : fields) {
            const db::Value v = fieldValue(r, f);
            row.set(f.info.column, ui::toVariant(v), displayText(f.info, v));
        }
        view.rows << row;
    }
    return view;
}

// "firma" and "osoba" of every print.
reports::ReportParameters commonReportParameters(const session::Session& session);

// ---------------------------------------------------------------------------------------------

// The texts that make one registry list differ from the other.
struct RegistryListTexts {
    QString editButton;   // "&Dane Pojazdu"
    QString searchButton; // "&Szukaj Pojazd"
    QString newButton;    // "&Nowy Pojazd"
    QString dataView;     // the printed list's data view
};

// The list window of a registry: the grid over the registry's records in the chosen order, the
// editor, new, delete, search, order switch, print, export and the buttons to the windows of the
// current row.
template <class R> class RegistryList : public ui::ListWindow {
public:
    RegistryList(session::Session& session, Registry<R>& registry, ui::ListConfig config, QWidget* parent)
        : ui::ListWindow(std::move(config), parent), session_(session), registry_(registry) {
        loader = [this] {
            ListRead<R> read = registry_.open(session_.bracket(), order_);
            records_ = std::move(read.rows);
            return recordRows(records_, registry_.fields());
        };
        onEdit = [this](const db::Row&) { openEditor(currentPosition()); };
        reportParameters = [this] { return commonReportParameters(session_); };
    }

    std::vector<R>& records() { return records_; }
    int order() const { return order_; }
    qint64 currentCode() const {
        const db::Row* row = currentRow();
        return row ? row->integer(registry_.keyColumn()) : 0;
    }

    // "&Szukaj ...": the next name after the current row that contains the searched text.
    void search() {
        QStringList names;
        for (const R& r : records_)
            names << r.nazwa;
        SearchResult found = searchForward(names, currentPosition(), search_->text());
        if (found.row >= 0) setCurrentPosition(found.row);
        if (found.endOfData) ui::services().message(this, texts::endOfData);
        grid()->setFocus();
    }

    // "&Index wg ...": the next order; the cursor stays on the same code.
    void switchOrder() {
        const qint64 code = currentCode();
        order_ = registry_.nextOrder(order_);
        orderButton_->setText(registry_.orderCaption(order_));
        reloadAt(0);
        std::vector<qint64> codes;
        for (const R& r : records_)
            codes.push_back(fieldValue(r, registry_.keyField()).toInt());
        setCurrentPosition(rowOfCode(codes, code));
        grid()->setFocus();
    }

    QPushButton* exportButton() const { return exportButton_; }
    QPushButton* orderButton() const { return orderButton_; }
    QLineEdit* searchField() const { return search_; }

protected:
    // Opens the editor on the row at this position, modally.
    virtual void openEditor(int position) = 0;
    virtual QString exportTitle() const = 0;

    // The upper and lower panels; `extras` adds the window's own controls after the export button.
    void buildPanels(const RegistryListTexts& texts, const std::function<void()>& extras = {}) {
        addButton(upperPanel(), texts.editButton, QStringLiteral("edit"), [this] { editCurrent(); });
        exportButton_ = addButton(upperPanel(), QStringLiteral("&Export Excel"), QStringLiteral("export"),
                                  [this] { exportList(exportTitle()); });
        if (extras) extras();
        upperPanel()->addStretch(1);
        search_ = new QLineEdit(this);
        search_->setObjectName(QStringLiteral("searchText"));
        search_->setStyleSheet(QStringLiteral("QLineEdit { background: #ffff80; }"));
        search_->setMinimumWidth(220);
        connect(search_, &QLineEdit::returnPressed, this, [this] { search(); });
        upperPanel()->addWidget(search_);
        addButton(upperPanel(), texts.searchButton, QStringLiteral("search"), [this] { search(); });

        addButton(lowerPanel(), texts.newButton, QStringLiteral("new"), [this] { addNew(); });
        orderButton_ = addButton(lowerPanel(), registry_.orderCaption(order_), QStringLiteral("order"),
                                 [this] { switchOrder(); });
        addButton(lowerPanel(), QStringLiteral("D&rukuj"), QStringLiteral("print"), [this] { printList(); });
        addButton(lowerPanel(), QStringLiteral("&Wyjście"), QStringLiteral("exit"), [this] { reject(); });
        lowerPanel()->addStretch(1);
        reportData = [this, view = texts.dataView] {
            return recordDataView(view, records_, registry_.fields());
        };
    }

    // A button that opens a window of the current row through a hook of the main program; without a
    // hook the button is disabled. Afterwards the list is re-read and returns to its position.
    QPushButton* addLink(const QString& caption, const QString& objectName,
                         std::function<void(QWidget*, int)> hook) {
        QPushButton* b = addButton(lowerPanel(), caption, objectName, [this, hook] {
            if (!currentRow()) return;
            const int position = currentPosition();
            const int code = static_cast<int>(currentCode());
            // The window the hook opens hides this one meanwhile (a refusal is told over the list).
            ui::guarded(this, [&] { hook(this, code); });
            reloadAt(position);
            grid()->setFocus();
        });
        b->setEnabled(static_cast<bool>(hook));
        return b;
    }

    session::Session& session_;
    Registry<R>& registry_;
    std::vector<R> records_;
    int order_ = 0;
    QLineEdit* search_ = nullptr;
    QPushButton* orderButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
};

// ---------------------------------------------------------------------------------------------

// How an editor shows the registry's fields: which, in what order, in which column of their page,
// and what the table does not say (hints, yellow fields, drop-downs, labels on two lines).
struct EditorLayout {
    QStringList columns;
    QStringList secondColumn; // of these, the ones in the right-hand column of their page
    QHash<QString, QString> labels;
    QHash<QString, QString> hints;
    QStringList highlighted;
    QStringList dropDowns;
};

template <class R>
QList<ui::EditorField> editorFields(const std::vector<FieldDef<R>>& fields, const EditorLayout& layout) {
    QList<ui::EditorField> out;
    for (const QString& column : layout.columns) {
        const FieldDef<R>* f = findField(fields, column);
        if (!f) continue;
        const FieldInfo info = f->info;
        ui::EditorField e;
        e.field = info.column;
        e.label = layout.labels.value(column, info.label);
        e.kind = editorKind(info.kind);
        e.maxLength = info.kind == FieldKind::Text ? info.width : 0;
        e.decimals = info.scale;
        e.readOnly = info.readOnly;
        e.upperCase = info.upper;
        e.page = pageTitle(info.page);
        e.hint = layout.hints.value(column);
        e.highlight = layout.highlighted.contains(column);
        e.dropDown = layout.dropDowns.contains(column);
        e.column = layout.secondColumn.contains(column) ? 1 : 0;
        e.check = [info](const QString& typed) {
            Conversion c = convertInput(info, typed);
            return c.ok ? QString() : c.message;
        };
        out << e;
    }
    return out;
}

// The editor of a registry: works on the list's current row, moves the list with its record
// navigator and Page Up / Page Down, saves with "O&K" and Ctrl+S; typing that is not saved when the
// editor moves to another row is saved first, as the list's row would be posted.
template <class R> class RegistryEditor : public ui::RecordEditor {
public:
    RegistryEditor(session::Session& session, Registry<R>& registry, RegistryList<R>& list, int position,
                   const EditorLayout& layout, std::function<QString(const R&)> title, QWidget* parent)
        : ui::RecordEditor(QString(), editorFields(registry.fields(), layout), parent), session_(session),
          registry_(registry), list_(list), title_(std::move(title)) {
        pos_ = std::clamp(position, 0, std::max(0, static_cast<int>(list_.records().size()) - 1));
        if (!list_.records().empty()) current_ = list_.records()[static_cast<std::size_t>(pos_)];
        for (const QString& c : layout.columns)
            if (const FieldDef<R>* f = findField(registry_.fields(), c)) shown_.push_back(f);
        onSave = [this](const db::Params&) { return saveTyped(); };

        auto* nav = ui::makeNavigator(this,
                                      {ui::NavButton::First, ui::NavButton::Prior, ui::NavButton::Next,
                                       ui::NavButton::Last, ui::NavButton::Cancel, ui::NavButton::Refresh},
                                      [this](ui::NavButton b) { navigate(b); });
        buttonRow()->insertWidget(0, nav);
        auto* print = new QPushButton(QStringLiteral("D&rukuj"), this);
        print->setObjectName(QStringLiteral("print"));
        print->setAutoDefault(false);
        connect(print, &QPushButton::clicked, this, [this] { printRecord(); });
        buttonRow()->insertWidget(buttonRow()->count() - 2, print);

        auto* next = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
        connect(next, &QShortcut::activated, this, [this] { moveTo(pos_ + 1); });
        auto* prior = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
        connect(prior, &QShortcut::activated, this, [this] { moveTo(pos_ - 1); });
        auto* store = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
        connect(store, &QShortcut::activated, this, [this] {
            if (post()) showRecord();
        });

        photo_ = new QLabel(this);
        photo_->setObjectName(QStringLiteral("photo"));
        photo_->setFixedSize(200, 150);
        photo_->setAlignment(Qt::AlignCenter);
        photo_->setFrameShape(QFrame::StyledPanel);
        choosePhoto_ = new QPushButton(QStringLiteral("&Wybierz foto"), this);
        choosePhoto_->setObjectName(QStringLiteral("choosePhoto"));
        choosePhoto_->setAutoDefault(false);
        connect(choosePhoto_, &QPushButton::clicked, this, [this] { pickPhoto(); });
        firstFocus = QStringLiteral("NAZWA");
    }

    int position() const { return pos_; }
    const R& record() const { return current_; }
    qint64 code() const { return fieldValue(current_, registry_.keyField()).toInt(); }
    QLabel* photo() const { return photo_; }

    // Moves to another row of the list (clamped); typing not yet saved is saved first, and a refusal
    // keeps the editor where it is.
    void moveTo(int position) {
        const int count = static_cast<int>(list_.records().size());
        if (count == 0) return;
        position = std::clamp(position, 0, count - 1);
        if (position == pos_) return;
        if (dirty() && !post()) return;
        pos_ = position;
        list_.setCurrentPosition(pos_);
        current_ = list_.records()[static_cast<std::size_t>(pos_)];
        showRecord();
    }

    // Fills every field, the title, the photograph and the window's own labels from the row.
    void showRecord() {
        for (const FieldDef<R>* f : shown_) {
            setText(f->info.column, fieldText(current_, *f));
            if (QLineEdit* e = input(f->info.column)) e->setCursorPosition(0);
        }
        setWindowTitle(title_(current_));
        showPhoto(photo_, current_.foto);
        for (const Flag& flag : flags_)
            showFlag(flag.box, flag.look(current_.*(flag.member)));
        refreshExtras();
    }

    // The row with what is typed now (fields that cannot be read keep the stored values).
    R edited() const {
        R copy = current_;
        registry_.applyTyped(copy, typedTexts());
        return copy;
    }

protected:
    // The window's own labels (type, engine kind, designation), after every move.
    virtual void refreshExtras() {}
    // The print of one row ("D&rukuj").
    virtual reports::ReportJob reportJob(const R& row) const = 0;

    // A check box that stores its flag at once (card lock, fuel gauge).
    QCheckBox* addFlag(const QString& objectName, const QString& column, QString R::*member,
                       std::function<FlagBox(const QString&)> look) {
        auto* box = new QCheckBox(this);
        box->setObjectName(objectName);
        flags_.push_back(Flag{box, member, look});
        connect(box, &QCheckBox::clicked, this, [this, box, column, member, look](bool checked) {
            bool stored = false;
            ui::guarded(this, [&] { stored = registry_.storeColumn(code(), column, flagValue(checked)); });
            if (stored) {
                current_.*member = flagValue(checked);
                list_.records()[static_cast<std::size_t>(pos_)].*member = current_.*member;
            } else {
                ui::services().message(this, texts::rowGone);
            }
            showFlag(box, look(current_.*member));
        });
        return box;
    }

    // A code field with the drop-down of its dictionary's names: typing a code looks it up, choosing
    // a name sets the code. `unitNumber` receives the unit's number (units only).
    void addLookup(DictionaryKind kind, const QString& codeColumn, const QString& nameColumn,
                   const QString& unitNumber = QString()) {
        auto lookup =
            std::make_shared<DictionaryLookup>(dictionaryConfig(kind), std::vector<DictionaryRow>{});
        ui::guarded(this, [&] { *lookup = DictionaryLookup::load(kind, session_.working()); });
        QComboBox* names = dropDown(nameColumn);
        if (names) {
            names->addItems(lookup->names());
            names->setMaxVisibleItems(20);
        }
        auto apply = [this, nameColumn, unitNumber](const LookupResult& r) {
            setText(nameColumn, r.name);
            if (!unitNumber.isEmpty()) setText(unitNumber, r.unitNumber);
        };
        if (QLineEdit* codeField = input(codeColumn))
            connect(codeField, &QLineEdit::textEdited, this,
                    [lookup, apply](const QString& text) { apply(lookup->typed(text)); });
        if (names)
            connect(names, &QComboBox::activated, this, [this, lookup, apply, codeColumn](int index) {
                LookupResult r = lookup->chosen(index);
                setText(codeColumn, r.code ? QString::number(*r.code) : QString());
                apply(r);
            });
    }

    session::Session& session_;
    Registry<R>& registry_;
    RegistryList<R>& list_;
    QLabel* photo_ = nullptr;
    QPushButton* choosePhoto_ = nullptr;

private:
    struct Flag {
        QCheckBox* box;
        QString R::*member;
        std::function<FlagBox(const QString&)> look;
    };

    bool dirty() const {
        for (const FieldDef<R>* f : shown_)
            if (text(f->info.column) != fieldText(current_, *f)) return true;
        return false;
    }

    bool saveTyped() {
        R row = current_;
        EditOutcome outcome = registry_.save(code(), row, typedTexts());
        if (!outcome.saved) {
            showProblem(outcome.column, outcome.message);
            return false;
        }
        current_ = row;
        list_.records()[static_cast<std::size_t>(pos_)] = row;
        return true;
    }

    void navigate(ui::NavButton b) {
        const int last = static_cast<int>(list_.records().size()) - 1;
        switch (b) {
        case ui::NavButton::First:
            moveTo(0);
            break;
        case ui::NavButton::Prior:
            moveTo(pos_ - 1);
            break;
        case ui::NavButton::Next:
            moveTo(pos_ + 1);
            break;
        case ui::NavButton::Last:
            moveTo(last);
            break;
        case ui::NavButton::Cancel:
            showRecord(); // drops what was typed
            break;
        case ui::NavButton::Refresh:
            ui::guarded(this, [&] {
                if (std::optional<R> fresh = registry_.find(code())) {
                    current_ = *fresh;
                    list_.records()[static_cast<std::size_t>(pos_)] = current_;
                }
            });
            showRecord();
            break;
        case ui::NavButton::Delete:
            break;
        }
    }

    void pickPhoto() {
        const QString file = ui::services().openFileName(this, QStringLiteral("Wybierz foto"),
                                                         photoFolder(ui::userFolder()), photo::dialogFilter);
        if (file.isEmpty()) return;
        PhotoChoice choice = choosePhoto(file, ui::userFolder());
        if (!choice.ok) {
            ui::services().message(this, choice.message, QStringLiteral("Błąd"), ui::MessageIcon::Warning);
            return;
        }
        bool stored = false;
        if (!ui::guarded(
                this, [&] { stored = registry_.storeColumn(code(), QStringLiteral("FOTO"), choice.stored); }))
            return;
        if (!stored) {
            ui::services().message(this, texts::rowGone);
            return;
        }
        current_.foto = choice.stored;
        list_.records()[static_cast<std::size_t>(pos_)].foto = choice.stored;
        showPhoto(photo_, current_.foto);
        if (choice.cut)
            ui::services().message(this, photo::pathCutMessage, QStringLiteral("Uwaga"),
                                   ui::MessageIcon::Warning);
    }

    void printRecord() {
        reports::ReportJob job = reportJob(edited());
        const reports::ReportParameters common = commonReportParameters(session_);
        for (auto it = common.cbegin(); it != common.cend(); ++it)
            job.parameters.insert(it.key(), it.value());
        job.orientation = reports::Orientation::Portrait;
        reports::ui::runReport(this, job);
    }

    std::function<QString(const R&)> title_;
    std::vector<const FieldDef<R>*> shown_;
    std::vector<Flag> flags_;
    R current_;
    int pos_ = 0;
};

} // namespace korven::registries
