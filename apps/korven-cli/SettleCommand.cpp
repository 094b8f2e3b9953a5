#include "Command.h"

#include "tripcards/rules/SettleJson.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cstdio>

namespace korven::cli {

namespace {

// korven-cli settle: one JSON request on standard input, one JSON answer on standard output.
int settle(const QStringList& args) {
    if (!args.isEmpty()) {
        printError(QStringLiteral("settle: takes no arguments, reads the request on standard input"));
        return 2;
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        printError(QStringLiteral("settle: cannot read standard input"));
        return 2;
    }
    QJsonParseError parseError;
    const QJsonDocument request = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        printError(QStringLiteral("settle: the request is not valid JSON: %1 at offset %2")
                       .arg(parseError.errorString())
                       .arg(parseError.offset));
        return 2;
    }
    if (!request.isObject()) {
        printError(QStringLiteral("settle: the request must be one JSON object"));
        return 2;
    }
    const tripcards::SettleAnswer answer = tripcards::settleJson(request.object());
    if (!answer.ok()) {
        printError(QStringLiteral("settle: %1").arg(answer.requestError));
        return 2;
    }
    std::fputs(QJsonDocument(answer.response).toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
    return 0;
}

const CommandRegistration registration{
    {"settle", "settle  < request.json   run the trip card settlement rules on a card given as JSON",
     settle}};

} // namespace

} // namespace korven::cli
