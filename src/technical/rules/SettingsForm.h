#pragma once

#include "core/SystemSettings.h"

#include <QLocale>
#include <QMap>
#include <QString>

#include <span>

namespace korven::technical {

// The fields of the system settings window ("Baza Danych Systemu"): which column each edits, on which
// tab, under which label and within which limits; and the reading of what the operator typed back
// into the system record. No widgets here: the window builds its editors from this table.

enum class SettingsTab { General, Company, Signatures, Multipliers, About };

enum class FieldKind {
    Text,    // free text of at most `width` characters
    Integer, // a whole number from 0 to `width` (the column's largest value)
    Decimal  // a decimal number, kept with 4 decimals, below 100000 in magnitude
};

struct SettingsField {
    const char* column;
    const char* label;
    SettingsTab tab;
    FieldKind kind;
    int width;
};

// The edited fields in the order of their tabs. The check boxes (P6P12, ZAPI, DZWIEK), the month
// (shown only) and the columns written back as read (DYRKOM, OBRO) are not in it.
std::span<const SettingsField> settingsFields();

// The text a field shows for the record's value: texts as stored, numbers in general format.
QString fieldText(const SystemSettings& settings, const SettingsField& field,
                  const QLocale& locale = QLocale());

// The record with the typed texts (column name -> text) and the three switches put in; every column
// not typed keeps the value read. A text is cut to its width; the year is trimmed of blanks. An
// invalid or out-of-range number gives an error naming the field, and no record.
struct SettingsOutcome {
    SystemSettings settings;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
struct SettingsSwitches {
    bool P6P12 = false;
    bool ZAPI = false;
    bool DZWIEK = false;
};
SettingsOutcome applySettingsForm(const SystemSettings& read, const QMap<QString, QString>& typed,
                                  const SettingsSwitches& switches, const QLocale& locale = QLocale());

// The refusal of a logo file whose path does not fit the logo column.
QString logoPathTooLong(const QString& path, int width);

// The label of the connection count on the "O Programie" tab.
QString connectionsText(int ILE);

// The program's version as the "O Programie" tab shows it.
QString programVersion();

// The captions of the repair buttons after a repair.
QString tripCardsRepairedCaption();
QString equipmentRepairedCaption();

} // namespace korven::technical
