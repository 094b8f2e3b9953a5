#include "reports/ui/SelectionFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>

namespace korven::reports::ui {

FilterDimension::FilterDimension(const QString& word, std::vector<DictionaryEntry> entries, bool serviceKinds,
                                 QWidget* parent)
    : QWidget(parent), word_(word), entries_(std::move(entries)), serviceKinds_(serviceKinds) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    box_ = new QCheckBox(this);
    list_ = new QComboBox(this);
    list_->setMaxVisibleItems(30);
    list_->setMinimumContentsLength(24);
    for (const DictionaryEntry& e : entries_)
        list_->addItem(e.NAZWA, e.KOD);
    // The list stands on its last entry, but nothing is picked until the operator picks it.
    list_->setCurrentIndex(list_->count() - 1);
    layout->addWidget(box_);
    layout->addWidget(list_, 1);
    connect(box_, &QCheckBox::toggled, this, &FilterDimension::boxToggled);
    connect(list_, &QComboBox::activated, this, &FilterDimension::picked);
    box_->setChecked(true);
    boxToggled(true);
}

void FilterDimension::boxToggled(bool all) {
    choice_.all = all;
    box_->setText(word_ + (all ? QStringLiteral(" Wszystkie") : QStringLiteral(" Wybrane")));
    list_->setVisible(!all);
}

void FilterDimension::picked(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    const DictionaryEntry& e = entries_[static_cast<std::size_t>(index)];
    choice_.code = e.KOD;
    choice_.name = e.NAZWA;
    if (serviceKinds_) choice_.typeCode = e.TYP.left(3);
}

void FilterDimension::pick(int code) {
    const int index = list_->findData(code);
    if (index < 0) return;
    list_->setCurrentIndex(index);
    picked(index);
}

} // namespace korven::reports::ui
