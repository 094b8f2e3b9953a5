#include "exports/GridExport.h"

#include "core/Clock.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <xlsxwriter.h>

#include <algorithm>

namespace korven::exports {

namespace {

QString rightTrimmed(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

QString valueText(const QVariant& value, QChar decimalPoint) {
    if (value.isNull() || !value.isValid()) return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15).replace(QLatin1Char('.'), decimalPoint);
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        return rightTrimmed(value.toString());
    }
}

// Collects the first error of the writer; later calls are skipped so that what was written so far
// is still saved when the workbook is closed.
class Writer {
public:
    explicit Writer(lxw_worksheet* sheet) : sheet_(sheet) {}

    void text(int row, int column, const QString& value, lxw_format* format) {
        if (error_ == LXW_NO_ERROR)
            error_ = worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column),
                                            value.toUtf8().constData(), format);
    }
    void number(int row, int column, double value, lxw_format* format) {
        if (error_ == LXW_NO_ERROR)
            error_ = worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column), value, format);
    }
    lxw_error error() const { return error_; }

private:
    lxw_worksheet* sheet_;
    lxw_error error_ = LXW_NO_ERROR;
};

} // namespace

ExportCell exportCell(const QVariant& value, const ExportColumn& column, bool firstColumn,
                      QChar decimalPoint) {
    ExportCell cell;
    cell.text = valueText(value, decimalPoint);
    if (firstColumn) {
        cell.text.prepend(QLatin1Char('_'));
        return cell;
    }
    if (column.type == FieldType::Float || column.type == FieldType::Integer) {
        cell.isNumber = true;
        cell.number = column.type == FieldType::Integer ? double(value.toLongLong()) : value.toDouble();
    }
    return cell;
}

QString exportTitle(const QString& title) {
    return title.left(100).trimmed();
}

void writeWorkbook(const ExportList& list, const QString& title, int firstColumn, int firstRow,
                   const QString& path, QChar decimalPoint) {
    if (firstColumn < 1 || firstRow < 1)
        throw ExportError(QStringLiteral("Pierwszy wiersz i pierwsza kolumna liczą się od 1."));
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(fileName.constData());
    if (!book)
        throw ExportError(
            QStringLiteral("Nie można utworzyć skoroszytu %1.").arg(QDir::toNativeSeparators(path)));
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Arkusz1");

    lxw_format* header = workbook_add_format(book);
    format_set_align(header, LXW_ALIGN_CENTER);
    format_set_align(header, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(header, LXW_BORDER_THIN);

    lxw_format* data = workbook_add_format(book);
    format_set_align(data, LXW_ALIGN_RIGHT);
    format_set_align(data, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(data, LXW_BORDER_THIN);
    format_set_num_format(data, "#,##0.00");

    Writer out(sheet);
    const int c0 = firstColumn - 1;
    int row = firstRow - 1;
    out.text(row, c0, exportTitle(title), nullptr);
    row += 2;

    QList<int> visible;
    for (int c = 0; c < list.columns.size(); ++c)
        if (list.columns[c].visible) visible.append(c);
    QList<int> widths;
    for (int i = 0; i < visible.size(); ++i) {
        const QString& caption = list.columns[visible[i]].title;
        out.text(row, c0 + i, caption, header);
        widths.append(int(caption.size()));
    }
    ++row;

    const bool selectionOnly = list.multiSelect && !list.selectedRows.isEmpty();
    for (int r = 0; r < list.rows.size() && out.error() == LXW_NO_ERROR; ++r) {
        if (selectionOnly && !list.selectedRows.contains(r)) continue;
        const QList<QVariant>& values = list.rows[r];
        for (int i = 0; i < visible.size(); ++i) {
            const int c = visible[i];
            const ExportCell cell =
                exportCell(c < values.size() ? values[c] : QVariant(), list.columns[c], c == 0, decimalPoint);
            if (cell.isNumber)
                out.number(row, c0 + i, cell.number, data);
            else
                out.text(row, c0 + i, cell.text, data);
            widths[i] = std::max(widths[i], int(cell.isNumber ? 12 : cell.text.size()));
        }
        ++row;
    }
    // Columns wide enough to read their contents, within reason.
    for (int i = 0; i < visible.size(); ++i)
        worksheet_set_column(sheet, lxw_col_t(c0 + i), lxw_col_t(c0 + i), std::clamp(widths[i] + 2, 8, 60),
                             nullptr);

    const lxw_error writeError = out.error();
    const lxw_error closeError = workbook_close(book);
    const lxw_error error = writeError != LXW_NO_ERROR ? writeError : closeError;
    if (error != LXW_NO_ERROR) throw ExportError(QString::fromUtf8(lxw_strerror(error)));
}

ExportEnvironment defaultExportEnvironment() {
    ExportEnvironment env;
    env.folder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/KORVEN");
    env.now = [] { return korven::now(); };
    env.openFile = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    return env;
}

QString exportFileName(const QString& title, const QDateTime& when) {
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString base = exportTitle(title);
    base.replace(forbidden, QStringLiteral("_"));
    base = base.simplified().left(80).trimmed();
    // No hidden files and no names ending in a dot.
    while (base.startsWith(QLatin1Char('.')) || base.startsWith(QLatin1Char(' ')))
        base.remove(0, 1);
    while (base.endsWith(QLatin1Char('.')) || base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    if (base.isEmpty()) base = QStringLiteral("Eksport");
    return base + QLatin1Char(' ') + when.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) +
           QStringLiteral(".xlsx");
}

QString prepareExportPath(const QString& folderPath, const QString& title, const QDateTime& when,
                          QString& error) {
    QDir folder(folderPath);
    if (!folder.mkpath(QStringLiteral("."))) {
        error = QStringLiteral("Nie można utworzyć folderu %1").arg(QDir::toNativeSeparators(folderPath));
        return {};
    }
    // Two files of one title within one second get distinct names.
    const QString name = exportFileName(title, when);
    QString path = folder.filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(" (%1).xlsx").arg(n));
    return path;
}

QString noSpreadsheetMessage(const QString& path) {
    return QStringLiteral("Dane zapisano w pliku:\n%1\n\nNie znaleziono programu arkusza kalkulacyjnego, "
                          "który otworzyłby ten plik; można go otworzyć później dowolnym arkuszem.")
        .arg(QDir::toNativeSeparators(path));
}

void openExported(ExportOutcome& outcome, const ExportEnvironment& env) {
    if (!env.openFile(outcome.filePath)) {
        outcome.status = ExportOutcome::Status::NoApplication;
        outcome.message = noSpreadsheetMessage(outcome.filePath);
    }
}

ExportOutcome exportList(const ExportList& list, const QString& title, int firstColumn, int firstRow,
                         const ExportEnvironment& env) {
    ExportOutcome outcome;
    QString error;
    outcome.filePath = prepareExportPath(env.folder, title, env.now(), error);
    if (outcome.filePath.isEmpty()) {
        outcome.status = ExportOutcome::Status::WriteFailed;
        outcome.message = kExportFailedMessage + error;
        return outcome;
    }
    try {
        writeWorkbook(list, title, firstColumn, firstRow, outcome.filePath, env.decimalPoint);
    } catch (const ExportError& e) {
        outcome.status = ExportOutcome::Status::WriteFailed;
        outcome.message = kExportFailedMessage + e.text();
        return outcome;
    }
    openExported(outcome, env);
    return outcome;
}

} // namespace korven::exports
