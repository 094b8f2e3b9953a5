#include "ui/RecordEditor.h"

#include "core/NumberFormat.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

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
    bool paged = false;
    for (const EditorField& f : fields_)
        paged = paged || !f.page.isEmpty();
    if (paged) {
        tabs_ = new QTabWidget(this);
        tabs_->setObjectName(QStringLiteral("pages"));
        layout->addWidget(tabs_, 1);
    }
    for (const EditorField& f : fields_) {
        QFormLayout* target = forms_.value(f.page);
        if (!target) {
            if (tabs_) {
                auto* page = new QWidget(tabs_);
                target = new QFormLayout(page);
                tabs_->addTab(page, f.page);
            } else {
                target = new QFormLayout;
                layout->addLayout(target);
            }
            forms_.insert(f.page, target);
        }
        auto* edit = new QLineEdit(this);
        edit->setObjectName(f.field);
        if (f.maxLength > 0)
            edit->setMaxLength(f.maxLength);
        edit->setReadOnly(f.readOnly);
        if (f.readOnly)
            edit->setStyleSheet(QStringLiteral("QLineEdit { background: #e4e4e4; color: #555; }"));
        else if (f.highlight)
            edit->setStyleSheet(QStringLiteral("QLineEdit { background: #ffff80; }"));
        if (!f.hint.isEmpty())
            edit->setToolTip(f.hint);
        if (f.upperCase)
            connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& t) {
                if (t != t.toUpper()) {
                    int pos = edit->cursorPosition();
                    edit->setText(t.toUpper());
                    edit->setCursorPosition(pos);
                }
            });
        if (f.kind != FieldKind::Text)
            edit->setAlignment(Qt::AlignRight);
        auto* label = new QLabel(f.label, this);
        label->setBuddy(edit);
        target->addRow(label, edit);
        inputs_.insert(f.field, edit);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ok_ = new QPushButton(QStringLiteral("O&K"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    ok_->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &RecordEditor::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(460);
}

QFormLayout* RecordEditor::form(const QString& page) const { return forms_.value(page); }

QLineEdit* RecordEditor::input(const QString& field) const { return inputs_.value(field); }

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
    if (QLineEdit* e = inputs_.value(field))
        e->setText(text);
}

bool RecordEditor::validate() {
    for (const EditorField& f : fields_) {
        QLineEdit* edit = inputs_.value(f.field);
        const QString t = edit->text().trimmed();
        QString problem;
        if (t.isEmpty())
            continue;
        switch (f.kind) {
        case FieldKind::Integer: {
            bool ok = false;
            t.toLongLong(&ok);
            if (!ok)
                problem = QStringLiteral("'%1' nie jest liczbą całkowitą").arg(t);
            break;
        }
        case FieldKind::Decimal: {
            double v = 0;
            if (!parseNumber(t, v))
                problem = QStringLiteral("'%1' nie jest poprawną liczbą").arg(t);
            break;
        }
        case FieldKind::Date:
            if (!QDate::fromString(t, QStringLiteral("yyyy-MM-dd")).isValid())
                problem = QStringLiteral("'%1' nie jest poprawną datą (rrrr-mm-dd)").arg(t);
            break;
        case FieldKind::Text:
            break;
        }
        if (!problem.isEmpty()) {
            if (tabs_) {
                for (int i = 0; i < tabs_->count(); ++i)
                    if (tabs_->widget(i)->isAncestorOf(edit))
                        tabs_->setCurrentIndex(i);
            }
            services().message(this, f.label + QStringLiteral(": ") + problem, QStringLiteral("Błąd"),
                               MessageIcon::Warning);
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    return true;
}

db::Params RecordEditor::values() const {
    db::Params p;
    for (const EditorField& f : fields_) {
        QString t = inputs_.value(f.field)->text().trimmed();
        if (f.upperCase)
            t = t.toUpper();
        if (f.maxLength > 0)
            t = t.left(f.maxLength);
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
            p.set(f.field, db::Value(QDate::fromString(t, QStringLiteral("yyyy-MM-dd"))));
            break;
        }
    }
    return p;
}

void RecordEditor::save() {
    if (!validate())
        return;
    bool close = true;
    if (onSave) {
        try {
            close = onSave(values());
        } catch (const std::exception& e) {
            showError(this, e);
            return;
        }
    }
    if (close)
        accept();
}

bool RecordEditor::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !firstFocus.isEmpty()) {
        if (QLineEdit* edit = inputs_.value(firstFocus))
            edit->setFocus();
        firstFocus.clear(); // only the first activation
    }
    return QDialog::event(e);
}

} // namespace korven::ui
