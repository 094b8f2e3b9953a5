#include "equipcards/rules/SettleEquipmentJson.h"

#include "equipcards/rules/EquipmentSettlement.h"
#include "tripcards/rules/FieldEvents.h"

#include <QJsonArray>

namespace korven::equipcards {

namespace {

struct RequestError {
    QString text;
};

[[noreturn]] void fail(const QString& text) {
    throw RequestError{text};
}

// A JSON value as the value of a column: a number, a text read as typed, or null.
QVariant jsonValue(const EquipmentColumn& column, const QJsonValue& json, const QString& where) {
    if (json.isNull()) return {};
    if (json.isString()) {
        if (column.shape.type == ColumnType::Text) return json.toString();
        const tripcards::ParsedInput parsed =
            tripcards::parseFieldInput(column.shape, json.toString(), QLocale::c());
        if (!parsed.ok()) fail(QStringLiteral("%1: %2").arg(where, parsed.error));
        return parsed.value;
    }
    if (json.isDouble()) {
        if (column.shape.type == ColumnType::Text || column.shape.type == ColumnType::Date)
            fail(QStringLiteral("%1: a text was expected").arg(where));
        return json.toDouble();
    }
    fail(QStringLiteral("%1: a number, a text or null was expected").arg(where));
}

EquipmentCard readCard(const QJsonObject& object) {
    EquipmentCard card;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString where = QStringLiteral("card.%1").arg(it.key());
        const EquipmentColumn* column = findEquipmentColumn(it.key());
        if (!column) fail(QStringLiteral("%1: not a column of the equipment card").arg(where));
        const QVariant value = jsonValue(*column, it.value(), where);
        const QString problem = tripcards::checkFieldValue(column->shape, value);
        if (!problem.isEmpty()) fail(QStringLiteral("%1: %2").arg(where, problem));
        if (!setColumnValue(card, *column, value))
            fail(QStringLiteral("%1: the value does not fit the column").arg(where));
    }
    return card;
}

QJsonObject writeCard(const EquipmentCard& card) {
    QJsonObject object;
    for (const EquipmentColumn& column : equipmentColumns()) {
        object.insert(QLatin1String(column.name()), jsonValue(columnValue(card, column), column.shape.type));
    }
    return object;
}

QJsonObject answer(const QJsonValue& card, const QJsonValue& label, const QString& error) {
    QJsonObject o;
    o.insert(QStringLiteral("card"), card);
    o.insert(QStringLiteral("label"), label);
    o.insert(QStringLiteral("error"), error.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(error));
    return o;
}

} // namespace

SettleEquipmentAnswer settleEquipmentJson(const QJsonObject& request) {
    EquipmentCard card;
    bool cardRead = false;
    try {
        static const QStringList known = {QStringLiteral("engine"), QStringLiteral("card"),
                                          QStringLiteral("events")};
        for (auto it = request.begin(); it != request.end(); ++it)
            if (!known.contains(it.key()))
                fail(QStringLiteral("%1: unknown part of the request").arg(it.key()));
        const QJsonValue engineValue = request.value(QLatin1String("engine"));
        if (!engineValue.isString())
            fail(QStringLiteral("engine: the engine kind was expected as text, \"2\" or \"4\""));
        const EngineKind engine = engineKind(engineValue.toString());
        if (request.contains(QLatin1String("card")) && !request.value(QLatin1String("card")).isObject())
            fail(QStringLiteral("card: an object was expected"));
        if (request.contains(QLatin1String("events")) && !request.value(QLatin1String("events")).isArray())
            fail(QStringLiteral("events: an array was expected"));
        card = readCard(request.value(QLatin1String("card")).toObject());
        cardRead = true;

        SavingLabel label = savingLabel(card);
        const QJsonArray events = request.value(QLatin1String("events")).toArray();
        for (qsizetype i = 0; i < events.size(); ++i) {
            const QString where = QStringLiteral("events[%1]").arg(i);
            const QJsonArray event = events.at(i).toArray();
            if (!events.at(i).isArray() || event.isEmpty() || !event.at(0).isString())
                fail(QStringLiteral("%1: [COLUMN, value] or [\"PRZELICZ\"] was expected").arg(where));
            const QString name = event.at(0).toString();
            EventOutcome outcome;
            if (name.compare(QLatin1String("PRZELICZ"), Qt::CaseInsensitive) == 0) {
                if (event.size() != 1) fail(QStringLiteral("%1: PRZELICZ takes no value").arg(where));
                outcome = recomputeCard(card, engine);
            } else {
                if (event.size() != 2) fail(QStringLiteral("%1: [COLUMN, value] was expected").arg(where));
                const EquipmentColumn* column = findEquipmentColumn(name);
                if (!column || !isInputColumn(name))
                    fail(QStringLiteral("%1: %2 is not an input field of the equipment card")
                             .arg(where, name));
                const QJsonValue json = event.at(1);
                QVariant value;
                if (json.isString())
                    value = json.toString(); // read as typed into the field
                else if (json.isDouble())
                    value = json.toDouble();
                else if (!json.isNull())
                    fail(QStringLiteral("%1: a number, a text or null was expected").arg(where));
                outcome = fieldEntered(card, engine, name, value, QLocale::c());
            }
            if (!outcome.ok()) fail(QStringLiteral("%1: %2").arg(where, outcome.error));
            if (outcome.handling == EventHandling::Recomputed) label = outcome.label;
        }
        return {answer(writeCard(card), label.text, {}), true};
    } catch (const RequestError& e) {
        return {answer(cardRead ? QJsonValue(writeCard(card)) : QJsonValue(QJsonValue::Null),
                       cardRead ? QJsonValue(savingLabel(card).text) : QJsonValue(QJsonValue::Null), e.text),
                false};
    }
}

} // namespace korven::equipcards
