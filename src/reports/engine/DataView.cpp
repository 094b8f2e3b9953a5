#include "reports/engine/DataView.h"

#include "reports/engine/ReportProject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace korven::reports {

void DataRow::set(const QString& name, const QVariant& value, const QString& displayText) {
    const QString key = name.toUpper();
    if (!fields_.contains(key)) order_.append(name);
    fields_.insert(key, DataField{value, displayText});
}

void DataRow::set(const QString& name, const QVariant& value) {
    set(name, value, value.isNull() ? QString() : value.toString());
}

const DataField* DataRow::field(const QString& name) const {
    auto it = fields_.constFind(name.toUpper());
    return it == fields_.constEnd() ? nullptr : &it.value();
}

QString DataRow::text(const QString& name) const {
    const DataField* f = field(name);
    if (!f) return {};
    if (!f->displayText.isNull()) return f->displayText;
    return f->value.isNull() ? QString() : f->value.toString();
}

DataView dataViewFromModel(const QString& name, const QAbstractItemModel& model) {
    DataView view{name, {}};
    const int columns = model.columnCount();
    QStringList fieldNames;
    for (int c = 0; c < columns; ++c) {
        QString field = model.headerData(c, Qt::Horizontal, FieldNameRole).toString();
        if (field.isEmpty()) field = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        fieldNames.append(field);
    }
    for (int r = 0; r < model.rowCount(); ++r) {
        DataRow row;
        for (int c = 0; c < columns; ++c) {
            const QModelIndex index = model.index(r, c);
            row.set(fieldNames[c], model.data(index, Qt::EditRole),
                    model.data(index, Qt::DisplayRole).toString());
        }
        view.rows.append(row);
    }
    return view;
}

DataView dataViewFromJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw ReportError(QStringLiteral("Błędny plik danych: %1").arg(error.errorString()));
    if (!doc.isObject() || !doc.object().value(QLatin1String("rows")).isArray())
        throw ReportError(QStringLiteral("Błędny plik danych: brak tablicy \"rows\""));
    const QJsonObject root = doc.object();
    DataView view{root.value(QLatin1String("name")).toString(), {}};
    for (const QJsonValue& rowValue : root.value(QLatin1String("rows")).toArray()) {
        if (!rowValue.isObject())
            throw ReportError(QStringLiteral("Błędny plik danych: wiersz nie jest obiektem"));
        const QJsonObject object = rowValue.toObject();
        DataRow row;
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.value().isObject()) {
                const QJsonObject field = it.value().toObject();
                const QVariant value = field.value(QLatin1String("value")).toVariant();
                const QJsonValue text = field.value(QLatin1String("text"));
                if (text.isString())
                    row.set(it.key(), value, text.toString());
                else
                    row.set(it.key(), value);
            } else {
                row.set(it.key(), it.value().toVariant());
            }
        }
        view.rows.append(row);
    }
    return view;
}

} // namespace korven::reports
