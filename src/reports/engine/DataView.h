#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

namespace korven::reports {

// One field of a data row: the stored value and the text a list shows for it.
struct DataField {
    QVariant value;
    QString displayText;
};

// One row of a data view. Field names are matched without regard to case, as the database does.
class DataRow {
public:
    void set(const QString& name, const QVariant& value, const QString& displayText);
    // Sets the value and takes its plain text as the display text.
    void set(const QString& name, const QVariant& value);
    // The field, or nullptr when the row has no field of that name.
    const DataField* field(const QString& name) const;
    // The display text of a field, or its value as text when no display text was given; empty
    // for an unknown field.
    QString text(const QString& name) const;
    QStringList names() const { return order_; }

private:
    QHash<QString, DataField> fields_;
    QStringList order_;
};

// The rows a report reads, under the data view name its project expects.
struct DataView {
    QString name;
    QList<DataRow> rows;
};

// The role under which a model's horizontal header gives a column's field name; columns without
// it use their header caption.
inline constexpr int FieldNameRole = Qt::UserRole;

// Builds a data view from every row of a model in its current order: value from the edit role,
// display text from the display role, field name from the header (see FieldNameRole).
DataView dataViewFromModel(const QString& name, const QAbstractItemModel& model);

// Reads a data view from JSON: {"name": "...", "rows": [{"FIELD": value, "OTHER": {"value": v,
// "text": "shown"}}, ...]}. Throws ReportError on malformed input.
DataView dataViewFromJson(const QByteArray& json);

} // namespace korven::reports
