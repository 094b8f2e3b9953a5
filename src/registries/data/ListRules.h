#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace korven::registries {

// Texts every registry list shares.
namespace texts {
inline const QString deleteQuestion = QStringLiteral("Czy napewno wykasować daną pozycję ?");
inline const QString deleteQuestionTitle = QStringLiteral("Ważne Pytanie");
inline const QString endOfData = QStringLiteral("Koniec Bazy Danych ... pa,pa");
// "O&K" on a row that another operator deleted while it was being edited: nothing is saved.
inline const QString rowGone = QStringLiteral(
    "Ta pozycja została w międzyczasie usunięta przez innego użytkownika. Zmiany nie zostały zapisane ...");
} // namespace texts

// A registry list's window title: its name filled to 80 characters, then the working period.
QString registryListTitle(const QString& name, int year, int month);
// A registry editor's title: the caption, the record's name and its registration number.
QString registryEditorTitle(const QString& caption, const QString& name, const QString& nrrej);
// A registry's export title: its name, "za", the working period; at most 100 characters.
QString registryExportTitle(const QString& name, int year, int month);

// The rows of a list as read for a window. Opening and re-reading a list never fail in the window's
// face: the error is kept here (for a log or a status line) and the rows are what could be read.
template <class Row> struct ListRead {
    std::vector<Row> rows;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Reads a list inside the bracket transaction (started if not active and committed afterwards, as the
// lists of the program are opened); any error is rolled back and kept in the result.
template <class Row, class Read> ListRead<Row> readInBracket(db::Transaction& bracket, Read&& read) {
    ListRead<Row> out;
    try {
        out.rows = db::inTransaction(bracket, [&](db::Transaction&) { return read(); });
    } catch (const std::exception& e) {
        out.rows.clear();
        out.error = QString::fromUtf8(e.what());
    }
    return out;
}

// The result of "&Szukaj ...": the row the cursor goes to, and whether the end of the list was reached
// without a match (the window then shows texts::endOfData).
struct SearchResult {
    int row = -1;
    bool endOfData = false;
};

// Moves forward from the row after `current` to the first name that contains `text` (both trimmed and
// compared in upper case). Without a match the cursor ends on the last row. An empty text matches
// nothing. An empty list gives row -1.
SearchResult searchForward(const QStringList& names, int current, const QString& text);

// The row holding `code` in a list of codes; the last row when it is no longer there (-1 when empty).
int rowOfCode(const std::vector<qint64>& codes, qint64 code);

// A remembered row number brought back into a re-read list (the last row when the list got shorter).
int clampRow(int row, int count);

} // namespace korven::registries
