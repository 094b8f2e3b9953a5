#include "Command.h"

#include "equipcards/rules/SettleEquipmentJson.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cstdio>

namespace korven::cli {

namespace {

void writeAnswer(const QJsonObject& answer) {
    std::fputs(QJsonDocument(answer).toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
}

// The answer to a request that could not be read: no card, the reason.
int refuse(const QString& reason) {
    QJsonObject answer;
    answer.insert(QStringLiteral("card"), QJsonValue(QJsonValue::Null));
    answer.insert(QStringLiteral("label"), QJsonValue(QJsonValue::Null));
    answer.insert(QStringLiteral("error"), reason);
    writeAnswer(answer);
    printError(QStringLiteral("settle-equipment: %1").arg(reason));
    return 1;
}

// korven-cli settle-equipment: one JSON request on standard input, one JSON answer on standard output.
int settleEquipment(const QStringList& args) {
    if (!args.isEmpty())
        return refuse(QStringLiteral("takes no arguments, reads the request on standard input"));
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return refuse(QStringLiteral("cannot read standard input"));
    QJsonParseError parseError;
    const QJsonDocument request = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refuse(QStringLiteral("the request is not valid JSON: %1 at offset %2")
                          .arg(parseError.errorString())
                          .arg(parseError.offset));
    if (!request.isObject()) return refuse(QStringLiteral("the request must be one JSON object"));
    const equipcards::SettleEquipmentAnswer answer = equipcards::settleEquipmentJson(request.object());
    writeAnswer(answer.response);
    if (answer.ok) return 0;
    printError(
        QStringLiteral("settle-equipment: %1").arg(answer.response.value(QLatin1String("error")).toString()));
    return 1;
}

const CommandRegistration registration{
    {"settle-equipment",
     "settle-equipment  < request.json   run the equipment card settlement rules on a card given as JSON",
     settleEquipment}};

} // namespace

} // namespace korven::cli
