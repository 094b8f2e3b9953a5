#include "ui/RecordEditor.h"

#include "core/DateText.h"
#include "core/NumberFormat.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korven::ui {

RecordEditor::RecordEditor(const QString& title, QList<EditorField> fields, QWidget* parent)
    : QDialog(parent), fields_(std::move(fields)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    header_ = new QHBoxLayout;
    layout->addLayout(header_);
    bool paged = false;
    for (const EditorField& f : fields_)
        paged = paged || !f.page.isEmpty();
    if (paged) {
        tabs_ = new QTabWidget(this);
        tabs_->setObjectName(QStringLiteral("pages"));
        layout->addWidget(tabs_, 1);
    }
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('W'));
    for (const EditorField& f : fields_) {
        const QString formKey = f.page + QLatin1Char('#') + QString::number(f.column);
        QFormLayout* target = forms_.value(formKey);
        if (!target && forms_.contains(f.page + QStringLiteral("#0"))) {
            // A further column of fields on a page that has one already: left of the page's side.
            auto* pageRow = static_cast<QHBoxLayout*>(forms_.value(f.page + QStringLiteral("#0"))->parent());
            target = new QFormLayout;
            target->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
            target->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
            pageRow->insertSpacing(pageRow->count() - 1, 16);
            pageRow->insertLayout(pageRow->count() - 1, target, 1);
            forms_.insert(formKey, target);
        }
        if (!target) {
            auto* pageRow = new QHBoxLayout;
            if (tabs_) {
                auto* page = new QWidget(tabs_);
                page->setObjectName(QStringLiteral("page:") + f.page);
                page->setLayout(pageRow);
                tabs_->addTab(page, f.page);
            } else {
                layout->addLayout(pageRow);
            }
            target = new QFormLayout;
            target->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
            target->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
            pageRow->addLayout(target, 1);
            auto* side = new QVBoxLayout;
            pageRow->addLayout(side);
            forms_.insert(formKey, target);
            sides_.insert(f.page, side);
        }
        QLineEdit* edit = nullptr;
        QWidget* input = nullptr;
        if (f.dropDown) {
            auto* combo = new QComboBox(this);
            combo->setObjectName(f.field);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            edit = combo->lineEdit();
            edit->setReadOnly(true);
            dropDowns_.insert(f.field, combo);
            input = combo;
        } else {
            edit = new QLineEdit(this);
            edit->setObjectName(f.field);
            input = edit;
        }
        if (f.maxLength > 0) edit->setMaxLength(f.maxLength);
        if (f.readOnly && !f.dropDown) {
            edit->setReadOnly(true);
            edit->setStyleSheet(QStringLiteral("QLineEdit { background: #e4e4e4; color: #555; }"));
        } else if (f.highlight) {
            edit->setStyleSheet(QStringLiteral("QLineEdit { background: #ffff80; }"));
        }
        if (!f.hint.isEmpty()) input->setToolTip(f.hint);
        if (f.upperCase)
            connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& t) {
                if (t != t.toUpper()) {
                    int pos = edit->cursorPosition();
                    edit->setText(t.toUpper());
                    edit->setCursorPosition(pos);
                }
            });
        // Short fields and numbers get a width that fits them; long texts take the row.
        int chars = f.kind == FieldKind::Text ? f.maxLength : 14;
        if (f.kind == FieldKind::Date) chars = 11;
        const bool bounded = !f.dropDown && chars > 0 && chars <= 24;
        if (bounded) input->setMaximumWidth(digit * std::max(chars, 3) + 16);
        if (f.kind != FieldKind::Text) edit->setAlignment(Qt::AlignRight);
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(input, bounded ? 0 : 1);
        if (bounded) row->addStretch(1);
        auto* label = new QLabel(f.label, this);
        label->setBuddy(input);
        target->addRow(label, row);
        inputs_.insert(f.field, edit);
        labels_.insert(f.field, label);
        rows_.insert(f.field, row);
    }
    buttonRow_ = new QHBoxLayout;
    buttonRow_->addStretch();
    ok_ = new QPushButton(QStringLiteral("O&K"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    ok_->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttonRow_->addWidget(ok_);
    buttonRow_->addWidget(cancel);
    layout->addLayout(buttonRow_);
    connect(ok_, &QPushButton::clicked, this, &RecordEditor::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(460);
}

void RecordEditor::addBeside(const QString& field, QWidget* widget) {
    QHBoxLayout* row = rows_.value(field);
    if (!row) return;
    // Before the closing stretch of a short field, so the widget stands right beside it.
    int at = row->count();
    if (at > 0 && row->itemAt(at - 1)->spacerItem()) --at;
    row->insertWidget(at, widget);
}

QComboBox* RecordEditor::dropDown(const QString& field) const {
    return dropDowns_.value(field);
}

QLabel* RecordEditor::label(const QString& field) const {
    return labels_.value(field);
}

void RecordEditor::showPage(const QString& page) {
    if (!tabs_) return;
    for (int i = 0; i < tabs_->count(); ++i)
        if (tabs_->tabText(i) == page) tabs_->setCurrentIndex(i);
}

QHash<QString, QString> RecordEditor::typedTexts() const {
    QHash<QString, QString> out;
    for (auto it = inputs_.cbegin(); it != inputs_.cend(); ++it)
        out.insert(it.key(), it.value()->text());
    return out;
}

QFormLayout* RecordEditor::form(const QString& page) const {
    return forms_.value(page + QStringLiteral("#0"));
}

QLineEdit* RecordEditor::input(const QString& field) const {
    return inputs_.value(field);
}

void RecordEditor::load(const db::Row& row) {
    for (const EditorField& f : fields_) {
        QLineEdit* edit = inputs_.value(f.field);
        if (!row.has(f.field)) {
            edit->clear();
            continue;
        }
        const db::Value& v = row[f.field];
        switch (f.kind) {
        case FieldKind::Date:
            edit->setText(v.isNull() ? QString() : v.toDate().toString(QStringLiteral("yyyy-MM-dd")));
            break;
        case FieldKind::Decimal:
            edit->setText(v.isNull() ? QString() : QLocale().toString(v.toDouble(), 'f', f.decimals));
            break;
        case FieldKind::Integer:
            edit->setText(v.isNull() ? QString() : QString::number(v.toInt()));
            break;
        case FieldKind::Text:
            edit->setText(v.toText().trimmed());
            break;
        }
        edit->setCursorPosition(0);
    }
}

QString RecordEditor::text(const QString& field) const {
    QLineEdit* e = inputs_.value(field);
    return e ? e->text() : QString();
}

void RecordEditor::setText(const QString& field, const QString& text) {
    if (QLineEdit* e = inputs_.value(field)) e->setText(text);
}

bool RecordEditor::validate() {
    for (const EditorField& f : fields_) {
        QLineEdit* edit = inputs_.value(f.field);
        const QString t = edit->text().trimmed();
        if (f.check) {
            const QString message = f.check(edit->text());
            if (!message.isEmpty()) {
                showProblem(f.field, message);
                return false;
            }
            continue;
        }
        QString problem;
        if (t.isEmpty()) continue;
        switch (f.kind) {
        case FieldKind::Integer: {
            bool ok = false;
            t.toLongLong(&ok);
            if (!ok) problem = QStringLiteral("'%1' nie jest liczbą całkowitą").arg(t);
            break;
        }
        case FieldKind::Decimal: {
            double v = 0;
            if (!parseNumber(t, v)) problem = QStringLiteral("'%1' nie jest poprawną liczbą").arg(t);
            break;
        }
        case FieldKind::Date:
            if (!parseDate(t)) problem = QStringLiteral("'%1' nie jest poprawną datą (rrrr-mm-dd)").arg(t);
            break;
        case FieldKind::Text:
            break;
        }
        if (!problem.isEmpty()) {
            showProblem(f.field, f.label + QStringLiteral(": ") + problem);
            return false;
        }
    }
    return true;
}

void RecordEditor::showProblem(const QString& field, const QString& message) {
    QLineEdit* edit = inputs_.value(field);
    if (tabs_ && edit) {
        for (int i = 0; i < tabs_->count(); ++i)
            if (tabs_->widget(i)->isAncestorOf(edit)) tabs_->setCurrentIndex(i);
    }
    services().message(this, message, QStringLiteral("Błąd"), MessageIcon::Warning);
    if (edit) {
        edit->setFocus();
        edit->selectAll();
    }
}

db::Params RecordEditor::values() const {
    db::Params p;
    for (const EditorField& f : fields_) {
        QString t = inputs_.value(f.field)->text().trimmed();
        if (f.upperCase) t = t.toUpper();
        if (f.maxLength > 0) t = t.left(f.maxLength);
        switch (f.kind) {
        case FieldKind::Text:
            p.set(f.field, t);
            break;
        case FieldKind::Integer:
            p.set(f.field, t.isEmpty() ? db::Value() : db::Value(static_cast<std::int64_t>(t.toLongLong())));
            break;
        case FieldKind::Decimal: {
            double v = 0;
            p.set(f.field, parseNumber(t, v) ? db::Value(v) : db::Value());
            break;
        }
        case FieldKind::Date:
            p.set(f.field, db::Value(parseDate(t).value_or(QDate())));
            break;
        }
    }
    return p;
}

bool RecordEditor::post() {
    if (!validate()) return false;
    if (!onSave) return true;
    try {
        return onSave(values());
    } catch (const std::exception& e) {
        showError(this, e);
        return false;
    }
}

void RecordEditor::save() {
    if (post()) accept();
}

bool RecordEditor::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !firstFocus.isEmpty()) {
        if (QLineEdit* edit = inputs_.value(firstFocus)) edit->setFocus();
        firstFocus.clear(); // only the first activation
    }
    return QDialog::event(e);
}

} // namespace korven::ui
