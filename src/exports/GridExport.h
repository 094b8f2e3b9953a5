#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

#include <functional>
#include <stdexcept>

namespace korven::exports {

// The kind of a list's field, which decides how its values land in the sheet: only floating-point
// and integer fields become numbers; everything else stays text.
enum class FieldType { Text, Integer, Float, Decimal, Date, DateTime, Other };

struct ExportColumn {
    QString title;     // the column's caption in the list
    QString fieldName; // the bound field
    FieldType type = FieldType::Text;
    bool visible = true;
};

// A list as the export sees it: its columns in display order and its rows, each row holding one
// stored value per column (in the same order). When the list allows selecting several rows and
// some are selected, only those are exported.
struct ExportList {
    QList<ExportColumn> columns;
    QList<QList<QVariant>> rows;
    bool multiSelect = false;
    QSet<int> selectedRows;
};

// What goes into one cell of a record row.
struct ExportCell {
    QString text;
    bool isNumber = false;
    double number = 0;
};

// The cell of a record row for a value of a column: the list's first column gets "_" and the value
// as text; a floating-point or integer field gets its number (0 when empty); any other field its
// value as text. Numbers as text use the given decimal separator.
ExportCell exportCell(const QVariant& value, const ExportColumn& column, bool firstColumn,
                      QChar decimalPoint);

// The title as it is written: cut to 100 characters, then trimmed.
QString exportTitle(const QString& title);

class ExportError : public std::runtime_error {
public:
    explicit ExportError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Writes the list into a new workbook at path, its first sheet laid out from the first row and
// column given (1-based): the title, an empty row, the centred and framed column titles, then one
// framed, right-aligned row per exported record with the number format "# ##0,00". Throws
// ExportError with the writer's own message when the file cannot be written.
void writeWorkbook(const ExportList& list, const QString& title, int firstColumn, int firstRow,
                   const QString& path, QChar decimalPoint = QLatin1Char(','));

// Where the export puts its file and how it opens it. The defaults: the documents folder's
// "KORVEN" subfolder, the current time and the desktop's default application.
struct ExportEnvironment {
    QString folder;
    std::function<QDateTime()> now;
    std::function<bool(const QString& path)> openFile;
    QChar decimalPoint = QLatin1Char(',');
};
ExportEnvironment defaultExportEnvironment();

// The file name of an export: the title with characters a file name cannot hold replaced, and the
// time, e.g. "Zestawienie Pojazdów 2026-03-05 14.07.09.xlsx".
QString exportFileName(const QString& title, const QDateTime& when);

// The result of an export: where the file went and, on failure, the message for the operator.
struct ExportOutcome {
    enum class Status { Opened, WriteFailed, NoApplication };
    Status status = Status::Opened;
    QString filePath;
    QString message;
};

inline const QString kExportFailedMessage =
    QStringLiteral("Błąd podczas eksportowania danych do MS Excela ...\rKomunikat: \r");
// The export has written its file but nothing on the machine opens it: the operator is told the
// file is there, where, and why it did not open.
QString noSpreadsheetMessage(const QString& path);

// A new file in the folder (made when missing) named after the title and the time; the name is
// unique in the folder. Empty, with the reason in error, when the folder cannot be made.
QString prepareExportPath(const QString& folder, const QString& title, const QDateTime& when, QString& error);

// Opens the written file with the environment's application; when none opens it, the outcome says
// so and names the saved file.
void openExported(ExportOutcome& outcome, const ExportEnvironment& env);

// The grid export: writes the list into a new workbook in the environment's folder and opens it.
ExportOutcome exportList(const ExportList& list, const QString& title, int firstColumn = 1, int firstRow = 1,
                         const ExportEnvironment& env = defaultExportEnvironment());

} // namespace korven::exports
