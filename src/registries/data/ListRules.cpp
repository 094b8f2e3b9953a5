#include "registries/data/ListRules.h"

#include "core/Period.h"

namespace korven::registries {

QString registryListTitle(const QString& name, int year, int month) {
    return padCut(name, 80) + titleSuffix(year, month);
}

QString registryEditorTitle(const QString& caption, const QString& name, const QString& nrrej) {
    return caption + name.trimmed() + QLatin1Char(' ') + nrrej.trimmed();
}

QString registryExportTitle(const QString& name, int year, int month) {
    return (name + QStringLiteral(" za ") + monthName(month) + QStringLiteral(" 20") + twoDigits(year))
        .left(100);
}

SearchResult searchForward(const QStringList& names, int current, const QString& text) {
    SearchResult r;
    if (names.isEmpty()) return r;
    const QString wanted = text.trimmed().toUpper();
    const int count = static_cast<int>(names.size());
    for (int i = std::max(current + 1, 0); i < count && !wanted.isEmpty(); ++i) {
        if (names[i].trimmed().toUpper().contains(wanted)) {
            r.row = i;
            return r;
        }
    }
    r.row = count - 1;
    r.endOfData = true;
    return r;
}

int rowOfCode(const std::vector<qint64>& codes, qint64 code) {
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == code) return static_cast<int>(i);
    return static_cast<int>(codes.size()) - 1;
}

int clampRow(int row, int count) {
    if (count <= 0) return -1;
    return std::clamp(row, 0, count - 1);
}

} // namespace korven::registries
