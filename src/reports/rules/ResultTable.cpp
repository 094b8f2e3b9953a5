#include "reports/rules/ResultTable.h"

#include "core/NumberFormat.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace korven::reports {

ResultTable::ResultTable(QList<FieldDef> fields) : fields_(std::move(fields)) {}

int ResultTable::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int ResultTable::requireField(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0) throw std::logic_error("result table has no field " + name.toStdString());
    return i;
}

const FieldDef& ResultTable::field(const QString& name) const {
    return fields_[requireField(name)];
}

void ResultTable::setTitle(const QString& name, const QString& title) {
    fields_[requireField(name)].title = title;
}

int ResultTable::appendRow() {
    rows_.emplace_back(fields_.size());
    return rowCount() - 1;
}

QVariant ResultTable::value(int row, const QString& name) const {
    return rows_.at(static_cast<std::size_t>(row)).at(requireField(name));
}

void ResultTable::set(int row, const QString& name, const QVariant& value) {
    const int i = requireField(name);
    const FieldDef& f = fields_[i];
    QVariant& cell = rows_.at(static_cast<std::size_t>(row))[i];
    if (value.isNull()) {
        cell = QVariant();
        return;
    }
    switch (f.type) {
    case FieldType::Integer:
        cell = QVariant(value.toLongLong());
        break;
    case FieldType::Real:
        cell = QVariant(value.toDouble());
        break;
    case FieldType::Text: {
        QString t = value.toString();
        if (f.size > 0 && t.size() > f.size) t.truncate(f.size);
        cell = t;
        break;
    }
    }
}

double ResultTable::number(int row, const QString& name) const {
    const QVariant v = value(row, name);
    return v.isNull() ? 0.0 : v.toDouble();
}

void ResultTable::add(int row, const QString& name, double amount) {
    set(row, name, number(row, name) + amount);
}

QString ResultTable::text(int row, const QString& name, const QLocale& locale) const {
    return text(row, requireField(name), locale);
}

QString ResultTable::text(int row, int column, const QLocale& locale) const {
    return displayText(fields_[column], rows_.at(static_cast<std::size_t>(row)).at(column), locale);
}

void ResultTable::sort(const std::function<bool(const ResultTable&, int, int)>& less) {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(*this, a, b); });
    std::vector<QVariantList> sorted;
    sorted.reserve(rows_.size());
    for (int i : order)
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(i)]));
    rows_ = std::move(sorted);
}

void ResultTable::number(const QString& field, const std::function<bool(int)>& take) {
    int lp = 0;
    for (int r = 0; r < rowCount(); ++r)
        if (!take || take(r)) set(r, field, ++lp);
}

QString displayText(const FieldDef& field, const QVariant& value, const QLocale& locale) {
    if (value.isNull()) return {};
    switch (field.display.kind) {
    case Display::Number:
        return formatNumberOrEmpty(value.toDouble(), field.display.precision, field.display.decimals, locale);
    case Display::CardNumber:
        if (value.toLongLong() == kTotalsCode) return QStringLiteral(" ");
        return QString::number(value.toLongLong());
    case Display::FuelType:
        if (value.toString() == QLatin1String("ZZ")) return QStringLiteral(" ");
        return value.toString();
    case Display::Plain:
        break;
    }
    switch (field.type) {
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::Real:
        return formatGeneral(value.toDouble(), locale);
    case FieldType::Text:
        return value.toString();
    }
    return value.toString();
}

} // namespace korven::reports
