#include "tripcards/rules/SettleJson.h"

#include "tripcards/rules/Plausibility.h"

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/FieldEvents.h"
#include "tripcards/rules/Settlement.h"
#include "tripcards/rules/VehicleContext.h"

#include <QJsonArray>

#include <cmath>
#include <vector>

namespace korven::tripcards {

namespace {

struct RequestError {
    QString text;
};

[[noreturn]] void fail(const QString& text) {
    throw RequestError{text};
}

double numberOf(const QJsonValue& value, const QString& where) {
    if (value.isNull()) return 0;
    if (!value.isDouble()) fail(QStringLiteral("%1: a number was expected").arg(where));
    return value.toDouble();
}

QString textOf(const QJsonValue& value, const QString& where) {
    if (value.isNull()) return {};
    if (!value.isString()) fail(QStringLiteral("%1: a text was expected").arg(where));
    return value.toString();
}

VehicleContext readVehicle(const QJsonObject& object) {
    VehicleContext v;
    struct NumberField {
        const char* name;
        double VehicleContext::*field;
    };
    struct TextField {
        const char* name;
        QString VehicleContext::*field;
    };
    static const NumberField numbers[] = {{"NORMPAL", &VehicleContext::NORMPAL},
                                          {"NORMPOM", &VehicleContext::NORMPOM},
                                          {"NORMUG", &VehicleContext::NORMUG},
                                          {"NORMUR1", &VehicleContext::NORMUR1},
                                          {"NORMUR2", &VehicleContext::NORMUR2}};
    static const TextField texts[] = {
        {"RODZPAL", &VehicleContext::RODZPAL},   {"NRREJ", &VehicleContext::NRREJ},
        {"NAZWA", &VehicleContext::NAZWA},       {"TYP", &VehicleContext::TYP},
        {"MARKAPOD", &VehicleContext::MARKAPOD}, {"TYPPOD", &VehicleContext::TYPPOD},
        {"MODELPOD", &VehicleContext::MODELPOD}, {"POJ_ZBIO", &VehicleContext::POJ_ZBIO},
        {"POJ_KANI", &VehicleContext::POJ_KANI}, {"OLEJ_KLA", &VehicleContext::OLEJ_KLA},
        {"OLEJ_POJ", &VehicleContext::OLEJ_POJ}, {"OLEJ_MAR", &VehicleContext::OLEJ_MAR},
        {"KOMENDA", &VehicleContext::KOMENDA},   {"CZY_MIERNIK", &VehicleContext::CZY_MIERNIK},
        {"OSOB_ODP", &VehicleContext::OSOB_ODP}};
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString name = it.key().toUpper();
        const QString where = QStringLiteral("vehicle.%1").arg(it.key());
        bool known = false;
        if (name == QLatin1String("KODA")) {
            v.KODA = static_cast<int>(numberOf(it.value(), where));
            known = true;
        }
        for (const NumberField& f : numbers)
            if (name == QLatin1String(f.name)) {
                v.*f.field = numberOf(it.value(), where);
                known = true;
            }
        for (const TextField& f : texts)
            if (name == QLatin1String(f.name)) {
                v.*f.field = textOf(it.value(), where);
                known = true;
            }
        if (!known) fail(QStringLiteral("%1: not a value of the vehicle context").arg(where));
    }
    return v.normalised();
}

// A JSON value as the value of a column: a number, a text read as typed into the field, or null.
// Returns the refusal message, or empty text with value set.
QString columnValue(const CardColumn& column, const QJsonValue& json, QVariant& value) {
    if (json.isNull()) {
        value = QVariant();
        return {};
    }
    if (json.isString()) {
        const ParsedInput parsed = parseFieldInput(column, json.toString(), QLocale::c());
        value = parsed.value;
        return parsed.error;
    }
    if (json.isDouble()) {
        value = json.toDouble();
        return checkFieldValue(column, value);
    }
    return QStringLiteral("%1: a number, a text or null was expected").arg(QLatin1String(column.name));
}

CardRecord readCard(const QJsonObject& object) {
    CardRecord card;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const CardColumn* column = findCardColumn(it.key());
        if (!column) fail(QStringLiteral("card.%1: not a column of the trip card").arg(it.key()));
        QVariant value;
        const QString problem = columnValue(*column, it.value(), value);
        if (!problem.isEmpty()) fail(QStringLiteral("card.%1: %2").arg(it.key(), problem));
        if (!setCardValue(card, *column, value))
            fail(QStringLiteral("card.%1: the value does not fit the column").arg(it.key()));
    }
    return card;
}

QJsonObject writeCard(const CardRecord& card) {
    QJsonObject object;
    for (const CardColumn& column : cardColumns()) {
        object.insert(QLatin1String(column.name), jsonValue(cardValue(card, column), column.type));
    }
    return object;
}

} // namespace

SettleAnswer settleJson(const QJsonObject& request) {
    try {
        for (auto it = request.begin(); it != request.end(); ++it) {
            static const QStringList known = {QStringLiteral("vehicle"), QStringLiteral("meter"),
                                              QStringLiteral("card"), QStringLiteral("events"),
                                              QStringLiteral("history")};
            if (!known.contains(it.key()))
                fail(QStringLiteral("%1: unknown part of the request").arg(it.key()));
        }
        if (request.contains(QLatin1String("vehicle")) && !request.value(QLatin1String("vehicle")).isObject())
            fail(QStringLiteral("vehicle: an object was expected"));
        if (request.contains(QLatin1String("card")) && !request.value(QLatin1String("card")).isObject())
            fail(QStringLiteral("card: an object was expected"));
        if (request.contains(QLatin1String("events")) && !request.value(QLatin1String("events")).isArray())
            fail(QStringLiteral("events: an array was expected"));

        if (request.contains(QLatin1String("history")) && !request.value(QLatin1String("history")).isArray())
            fail(QStringLiteral("history: an array was expected"));
        std::vector<double> history;
        const QJsonArray months = request.value(QLatin1String("history")).toArray();
        for (qsizetype i = 0; i < months.size(); ++i) {
            if (!months.at(i).isDouble() || !std::isfinite(months.at(i).toDouble()))
                fail(QStringLiteral("history[%1]: a number of kilometres was expected").arg(i));
            history.push_back(months.at(i).toDouble());
        }

        const VehicleContext vehicle = readVehicle(request.value(QLatin1String("vehicle")).toObject());
        CardRecord card = readCard(request.value(QLatin1String("card")).toObject());

        bool meter = settlementWindowFor(vehicle) == SettlementWindow::Meter;
        if (request.contains(QLatin1String("meter"))) {
            const QJsonValue flag = request.value(QLatin1String("meter"));
            if (!flag.isBool()) fail(QStringLiteral("meter: true or false was expected"));
            meter = flag.toBool();
        }
        const SettlementMode mode = meter ? SettlementMode::Meter : SettlementMode::Norms;

        QString firstError;
        const QJsonArray events = request.value(QLatin1String("events")).toArray();
        for (qsizetype i = 0; i < events.size(); ++i) {
            const QString where = QStringLiteral("events[%1]").arg(i);
            const QJsonArray event = events.at(i).toArray();
            if (!events.at(i).isArray() || event.isEmpty() || !event.at(0).isString())
                fail(QStringLiteral("%1: [COLUMN, value] or [\"PRZELICZ\"] was expected").arg(where));
            const QString name = event.at(0).toString();
            FieldOutcome outcome;
            if (name.compare(QLatin1String("PRZELICZ"), Qt::CaseInsensitive) == 0) {
                if (event.size() != 1) fail(QStringLiteral("%1: PRZELICZ takes no value").arg(where));
                outcome = recalculate(card, vehicle, mode);
            } else {
                if (event.size() != 2) fail(QStringLiteral("%1: [COLUMN, value] was expected").arg(where));
                const CardColumn* column = findCardColumn(name);
                if (!column) fail(QStringLiteral("%1: %2 is not a column of the trip card").arg(where, name));
                QVariant value;
                const QString refused = columnValue(*column, event.at(1), value);
                if (!refused.isEmpty()) {
                    outcome.handling = FieldHandling::Rejected;
                    outcome.error = refused;
                } else {
                    outcome = applyFieldEvent(card, vehicle, name, value, mode);
                }
                if (outcome.handling == FieldHandling::NotAnInput)
                    fail(QStringLiteral("%1: %2").arg(where, outcome.error));
            }
            if (!outcome.ok() && firstError.isEmpty()) firstError = outcome.error;
        }

        QJsonObject labels;
        labels.insert(QStringLiteral("PRZEPALP"), fuelResultLabel(card).text);
        labels.insert(QStringLiteral("PRZEPALO"), oilResultLabel(card).text);
        QJsonObject response;
        response.insert(QStringLiteral("card"), writeCard(card));
        response.insert(QStringLiteral("labels"), labels);
        response.insert(QStringLiteral("warnings"),
                        QJsonArray::fromStringList(plausibilityWarnings(card, vehicle, history)));
        response.insert(QStringLiteral("error"),
                        firstError.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(firstError));
        return {response, {}};
    } catch (const RequestError& e) {
        return {{}, e.text};
    }
}

} // namespace korven::tripcards
