#include "ui/FieldForm.h"

#include "ui/CheckedEdit.h"
#include "ui/UiServices.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace korven::ui {

FieldForm::FieldForm(QWidget* parent) : QDialog(parent) {}

CheckedEdit* FieldForm::field(const QString& id) const {
    return fields_.value(id).edit;
}

QWidget* FieldForm::heading(const QString& name, const QString& numberCaption, const QString& number) {
    auto* w = new QWidget(this);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 4);
    auto* title = new QLabel(name, w);
    title->setObjectName(QStringLiteral("heading"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);
    h->addWidget(title);
    h->addStretch(1);
    h->addWidget(new QLabel(numberCaption, w));
    auto* big = new QLabel(number, w);
    big->setObjectName(QStringLiteral("cardNumber"));
    QFont large = big->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 2);
    big->setFont(large);
    big->setStyleSheet(QStringLiteral("color: #1a3c8c; padding: 0 6px;"));
    h->addWidget(big);
    return w;
}

QWidget* FieldForm::buildGroup(const GroupSpec& group) {
    auto* box = new QGroupBox(group.title, this);
    box->setObjectName(group.id);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (const CellSpec& cell : group.cells) {
        if (!cell.field) {
            auto* l = new QLabel(cell.text, box);
            if (!cell.id.isEmpty()) {
                l->setObjectName(cell.id);
                labels_.insert(cell.id, l);
            }
            if (cell.header) {
                QFont f = l->font();
                f.setBold(true);
                l->setFont(f);
                l->setAlignment(Qt::AlignCenter);
            } else {
                l->setAlignment((cell.column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            }
            QSizePolicy keep = l->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            l->setSizePolicy(keep);
            grid->addWidget(l, cell.row, cell.column);
            continue;
        }
        auto* edit = new CheckedEdit(box);
        edit->setObjectName(cell.id);
        const int chars = cell.width > 0 ? cell.width : fieldChars;
        edit->setMinimumWidth(charWidth * chars);
        edit->setMaximumWidth(charWidth * (chars + 4));
        edit->setAlignment(isDateColumn(cell.field) ? Qt::AlignCenter : Qt::AlignRight);
        QSizePolicy keep = edit->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        edit->setSizePolicy(keep);
        if (cell.role == FieldRole::Display) {
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
            edit->setStyleSheet(displayStyle);
        } else {
            edit->setStyleSheet(inputStyle);
            const QString id = cell.id;
            const char* column = cell.field;
            const FieldRole role = cell.role;
            edit->onLeave = [this, id, column, role](CheckedEdit& e) {
                return leaveField(id, column, role, e);
            };
        }
        grid->addWidget(edit, cell.row, cell.column);
        fields_.insert(cell.id, Field{cell, edit});
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    return box;
}

QWidget* FieldForm::buttonGrid(const QList<ButtonSpec>& specs, int perRow) {
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    int i = 0;
    for (const ButtonSpec& s : specs) {
        auto* b = new QPushButton(s.caption, w);
        b->setObjectName(s.id);
        b->setAutoDefault(false);
        b->setMinimumHeight(30);
        if (s.action)
            connect(b, &QPushButton::clicked, this, s.action);
        else
            connect(b, &QPushButton::clicked, this, &QDialog::reject);
        buttons_.insert(s.id, b);
        g->addWidget(b, i / perRow, i % perRow);
        ++i;
    }
    return w;
}

void FieldForm::setTabOrderByIds(const QStringList& ids) {
    QWidget* previous = nullptr;
    for (const QString& id : ids) {
        QWidget* w = fields_.contains(id) ? static_cast<QWidget*>(fields_[id].edit) : buttons_.value(id);
        if (!w) continue;
        if (previous) setTabOrder(previous, w);
        previous = w;
    }
}

void FieldForm::refreshFields() {
    for (Field& f : fields_) {
        if (f.edit->isModified()) continue; // typed and not yet taken: keep what the operator sees
        f.edit->setText(fieldText(f.spec.field));
        f.edit->setCursorPosition(0);
    }
}

void FieldForm::showResult(QLabel* label, const QString& text, bool red) {
    if (!label) return;
    label->setText(text);
    label->setStyleSheet(red ? QStringLiteral("color: #d00000; font-weight: bold;")
                             : QStringLiteral("color: black; font-weight: bold;"));
}

bool FieldForm::takeTyping() {
    if (auto* focused = qobject_cast<CheckedEdit*>(focusWidget()); focused && focused->isModified())
        if (!focused->leave()) return false;
    for (const Field& f : std::as_const(fields_)) {
        if (!f.edit->refused()) continue;
        services().message(this, f.edit->refusal(), QStringLiteral("Błąd"), MessageIcon::Warning);
        f.edit->setFocus();
        return false;
    }
    return true;
}

void FieldForm::closeAfterSave(const QString& sound, const QString& refusal) {
    if (!sound.isEmpty()) services().playSound(sound);
    if (!refusal.isEmpty()) services().message(this, refusal, QStringLiteral("Uwaga"), MessageIcon::Warning);
    accept();
}

bool FieldForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !property("focused").toBool()) {
        setProperty("focused", true);
        if (auto* f = field(firstFocus)) f->setFocus(Qt::ActiveWindowFocusReason);
    }
    return QDialog::event(e);
}

} // namespace korven::ui
