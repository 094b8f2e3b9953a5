#pragma once

#include "reports/rules/Sources.h"
#include "reports/rules/Statements.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;

namespace korven::reports::ui {

// One dimension of the selection filter: a box "…Wszystkie" / "…Wybrane" and, while the box is not
// ticked, a drop-down of the dictionary. Closing the drop-down picks the entry it stands on.
class FilterDimension : public QWidget {
    Q_OBJECT
public:
    // word: "&Rodzaje", "&Grupy", "&Jednostki", "&Obsługi". serviceKinds: the entry's short name
    // TYP is what the dimension compares.
    FilterDimension(const QString& word, std::vector<DictionaryEntry> entries, bool serviceKinds,
                    QWidget* parent = nullptr);

    const FilterChoice& choice() const { return choice_; }
    QCheckBox* box() const { return box_; }
    QComboBox* list() const { return list_; }
    // Picks the entry with this code, as closing the drop-down on it would.
    void pick(int code);

private:
    void boxToggled(bool all);
    void picked(int index);
    QString word_;
    std::vector<DictionaryEntry> entries_;
    bool serviceKinds_;
    FilterChoice choice_;
    QCheckBox* box_;
    QComboBox* list_;
};

} // namespace korven::reports::ui
