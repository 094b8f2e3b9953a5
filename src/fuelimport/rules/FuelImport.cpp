#include "fuelimport/rules/FuelImport.h"

#include "tripcards/rules/CardAccess.h"
#include "tripcards/rules/FieldEvents.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <cmath>
#include <map>

namespace korven::fuelimport {

using tripcards::CardKey;
using tripcards::CardRecord;
using tripcards::VehicleContext;

// --- CSV ----------------------------------------------------------------------------------------

namespace {

// The separator of the file: the one of ';' and ',' the first line holds more of outside quotes.
QChar detectSeparator(const QString& text) {
    int semicolons = 0, commas = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"')) quoted = !quoted;
        if (quoted) continue;
        if (c == QLatin1Char('\n')) break;
        if (c == QLatin1Char(';')) ++semicolons;
        if (c == QLatin1Char(',')) ++commas;
    }
    return semicolons >= commas && semicolons > 0 ? QLatin1Char(';') : QLatin1Char(',');
}

bool blank(const QStringList& row) {
    for (const QString& cell : row)
        if (!cell.trimmed().isEmpty()) return false;
    return true;
}

} // namespace

ReadResult parseCsv(const QByteArray& bytes) {
    ReadResult result;
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    const QString text = QString::fromUtf8(data);
    const QChar separator = detectSeparator(text);
    QStringList row;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    auto endCell = [&] {
        row << (wasQuoted ? cell : cell.trimmed());
        cell.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endCell();
        if (!blank(row)) result.rows.push_back(row);
        row.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"') && cell.trimmed().isEmpty()) {
            cell.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            endCell();
        } else if (c == QLatin1Char('\n')) {
            endRow();
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    if (quoted) {
        result.error = QStringLiteral("Plik CSV kończy się wewnątrz pola w cudzysłowie");
        result.rows.clear();
        return result;
    }
    if (!cell.isEmpty() || !row.isEmpty()) endRow();
    return result;
}

ReadResult readTransactionFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("Nie można otworzyć pliku %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        return readXlsx(bytes);
    return parseCsv(bytes);
}

// --- Values -------------------------------------------------------------------------------------

QDate parseImportDate(const QString& text) {
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T].*)?$)"));
    static const QRegularExpression dotted(QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})\.(\d{4})(?:\s.*)?$)"));
    const QString t = text.trimmed();
    if (const auto m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const auto m = dotted.match(t); m.hasMatch())
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    return {};
}

std::optional<double> parseImportNumber(const QString& text) {
    QString t = text.trimmed();
    t.remove(QLatin1Char(' '));
    t.remove(QChar(0x00A0));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty() || t.count(QLatin1Char('.')) > 1) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString normalisedRegistration(const QString& text) {
    QString out;
    for (QChar c : text)
        if (!c.isSpace() && c != QLatin1Char('-')) out += c.toUpper();
    return out;
}

// --- Mapping ------------------------------------------------------------------------------------

QString mappingText(const ColumnMapping& m) {
    return QStringLiteral("date=%1,reg=%2,litres=%3,odometer=%4,header=%5")
        .arg(m.date)
        .arg(m.registration)
        .arg(m.litres)
        .arg(m.odometer)
        .arg(m.header ? QStringLiteral("yes") : QStringLiteral("no"));
}

QString parseMappingText(const QString& text, ColumnMapping& mapping) {
    ColumnMapping m = mapping;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString key = part.section(QLatin1Char('='), 0, 0).trimmed().toLower();
        const QString value = part.section(QLatin1Char('='), 1).trimmed();
        if (key == QLatin1String("header")) {
            if (value == QLatin1String("yes") || value == QLatin1String("1")) {
                m.header = true;
            } else if (value == QLatin1String("no") || value == QLatin1String("0")) {
                m.header = false;
            } else {
                return QStringLiteral("header: yes or no was expected, not \"%1\"").arg(value);
            }
            continue;
        }
        bool ok = false;
        const int column = value.toInt(&ok);
        if (!ok || column < 0 || column > 1000)
            return QStringLiteral("%1: a column number was expected").arg(key);
        if (key == QLatin1String("date")) {
            m.date = column;
        } else if (key == QLatin1String("reg")) {
            m.registration = column;
        } else if (key == QLatin1String("litres")) {
            m.litres = column;
        } else if (key == QLatin1String("odometer")) {
            m.odometer = column;
        } else {
            return QStringLiteral("unknown field \"%1\" (date, reg, litres, odometer, header)").arg(key);
        }
    }
    if (const QString e = checkMapping(m); !e.isEmpty()) return e;
    mapping = m;
    return {};
}

QString checkMapping(const ColumnMapping& m) {
    if (m.date < 1 || m.registration < 1 || m.litres < 1)
        return QStringLiteral("Wskaż kolumny daty, numeru rejestracyjnego i litrów");
    QList<int> used{m.date, m.registration, m.litres};
    if (m.odometer > 0) used << m.odometer;
    for (int i = 0; i < used.size(); ++i)
        if (used.count(used[i]) > 1)
            return QStringLiteral("Kolumna %1 jest wskazana dla dwóch pól").arg(used[i]);
    return {};
}

std::optional<ColumnMapping> guessMapping(const QStringList& header) {
    ColumnMapping m;
    m.date = m.registration = m.litres = m.odometer = 0;
    m.header = true;
    for (int i = 0; i < header.size(); ++i) {
        const QString h = header[i].trimmed().toLower();
        const int column = i + 1;
        if (!m.date && (h.startsWith(QLatin1String("data")) || h.startsWith(QLatin1String("date"))))
            m.date = column;
        else if (!m.registration && (h.contains(QLatin1String("rej")) || h.contains(QLatin1String("reg")) ||
                                     h.contains(QLatin1String("pojazd"))))
            m.registration = column;
        else if (!m.litres && (h.startsWith(QLatin1String("lit")) || h.contains(QLatin1String("ilo"))))
            m.litres = column;
        else if (!m.odometer &&
                 (h.contains(QLatin1String("licznik")) || h.contains(QLatin1String("przebieg")) ||
                  h.contains(QLatin1String("odometer")) || h.contains(QLatin1String("km"))))
            m.odometer = column;
    }
    if (!checkMapping(m).isEmpty()) return std::nullopt;
    return m;
}

// --- Transactions -------------------------------------------------------------------------------

QString FuelTransaction::key() const {
    const auto hundredths = [](double v) { return QString::number(std::llround(v * 100)); };
    return QStringLiteral("%1|%2|%3|%4")
        .arg(date.toString(Qt::ISODate), normalisedRegistration(registration), hundredths(litres),
             odometer ? hundredths(*odometer) : QString());
}

std::vector<ParsedRow> readTransactions(const Table& table, const ColumnMapping& mapping) {
    std::vector<ParsedRow> out;
    const auto cell = [](const QStringList& row, int column) {
        return column >= 1 && column <= row.size() ? row[column - 1].trimmed() : QString();
    };
    for (std::size_t i = mapping.header ? 1 : 0; i < table.size(); ++i) {
        const QStringList& row = table[i];
        ParsedRow p;
        p.transaction.line = static_cast<int>(i) + 1;
        p.transaction.registration = cell(row, mapping.registration);
        const QString dateText = cell(row, mapping.date);
        p.transaction.date = parseImportDate(dateText);
        const auto litres = parseImportNumber(cell(row, mapping.litres));
        if (litres) p.transaction.litres = *litres;
        if (mapping.odometer > 0 && !cell(row, mapping.odometer).isEmpty())
            p.transaction.odometer = parseImportNumber(cell(row, mapping.odometer));
        if (!p.transaction.date.isValid())
            p.error = QStringLiteral("Niepoprawna data \"%1\"").arg(dateText);
        else if (p.transaction.registration.isEmpty())
            p.error = QStringLiteral("Brak numeru rejestracyjnego");
        else if (!litres)
            p.error = QStringLiteral("Niepoprawna ilość litrów \"%1\"").arg(cell(row, mapping.litres));
        else if (*litres <= 0)
            p.error = QStringLiteral("Ilość litrów musi być większa od zera");
        else if (mapping.odometer > 0 && !cell(row, mapping.odometer).isEmpty() && !p.transaction.odometer)
            p.error = QStringLiteral("Niepoprawny stan licznika \"%1\"").arg(cell(row, mapping.odometer));
        out.push_back(p);
    }
    return out;
}

// --- Matching -----------------------------------------------------------------------------------

int ImportPlan::count(RowStatus status) const {
    int n = 0;
    for (const RowOutcome& r : rows)
        if (r.status == status) ++n;
    return n;
}

std::vector<const CardChange*> ImportPlan::refused() const {
    std::vector<const CardChange*> out;
    for (const CardChange& c : cards)
        if (!c.refusal.isEmpty()) out.push_back(&c);
    return out;
}

QString statusText(RowStatus status) {
    switch (status) {
    case RowStatus::Matched:
        return QStringLiteral("dopasowana");
    case RowStatus::Unmatched:
        return QStringLiteral("niedopasowana");
    case RowStatus::Duplicate:
        return QStringLiteral("powtórzona");
    }
    return {};
}

ImportPlan planImport(const std::vector<ParsedRow>& rows, const ImportInput& input) {
    ImportPlan plan;
    QHash<QString, QList<const VehicleContext*>> byRegistration;
    QHash<int, const VehicleContext*> byCode;
    for (const VehicleContext& v : input.vehicles) {
        byRegistration[normalisedRegistration(v.NRREJ)] << &v;
        byCode.insert(v.KODA, &v);
    }
    // The card of a vehicle's month: the one with the highest number when a month has two.
    std::map<std::tuple<int, int, int>, const CardRecord*> cardOfMonth;
    for (const CardRecord& c : input.cards) {
        const CardRecord*& slot = cardOfMonth[{c.KODA, c.ROKD, c.MIED}];
        if (!slot || slot->KODD < c.KODD) slot = &c;
    }
    QHash<QString, int> seen; // key -> line of its first occurrence in the file
    std::map<std::tuple<int, int, int, int>, std::size_t> changeOf;

    for (const ParsedRow& p : rows) {
        RowOutcome r;
        r.transaction = p.transaction;
        const QString key = p.transaction.key();
        const auto vehicles = byRegistration.value(normalisedRegistration(p.transaction.registration));
        if (!p.error.isEmpty()) {
            r.reason = p.error;
        } else if (seen.contains(key)) {
            r.status = RowStatus::Duplicate;
            r.reason = QStringLiteral("Powtórzenie transakcji z wiersza %1").arg(seen.value(key));
        } else if (input.importedKeys.contains(key)) {
            r.status = RowStatus::Duplicate;
            r.reason = QStringLiteral("Transakcja zaimportowana wcześniej");
        } else if (vehicles.isEmpty()) {
            r.reason = QStringLiteral("Nieznany pojazd %1").arg(p.transaction.registration);
        } else if (vehicles.size() > 1) {
            r.reason = QStringLiteral("Numer %1 ma kilka pojazdów").arg(p.transaction.registration);
        } else {
            const VehicleContext& v = *vehicles.front();
            const int year = p.transaction.date.year() % 100;
            const int month = p.transaction.date.month();
            const auto found = cardOfMonth.find({v.KODA, year, month});
            if (found == cardOfMonth.end()) {
                r.reason = QStringLiteral("Pojazd %1 nie ma karty za %2.%3")
                               .arg(v.NRREJ)
                               .arg(month, 2, 10, QLatin1Char('0'))
                               .arg(p.transaction.date.year());
            } else {
                const CardRecord& card = *found->second;
                r.status = RowStatus::Matched;
                r.card = tripcards::keyOf(card);
                const std::tuple<int, int, int, int> k{card.KODA, card.KODD, card.ROKD, card.MIED};
                auto at = changeOf.find(k);
                if (at == changeOf.end()) {
                    CardChange change;
                    change.key = r.card;
                    change.NRREJ = v.NRREJ;
                    change.original = card;
                    change.before = card.ZUZYCIEP.value();
                    at = changeOf.emplace(k, plan.cards.size()).first;
                    plan.cards.push_back(change);
                }
                CardChange& change = plan.cards[at->second];
                change.litres += p.transaction.litres;
                ++change.transactions;
            }
        }
        if (p.error.isEmpty() && !seen.contains(key)) seen.insert(key, p.transaction.line);
        plan.rows.push_back(r);
    }

    // Each card takes its fuel as the operator would type it: the new total into the actual fuel of
    // "Dane Ogólne", which runs that field's rule and the settlement chain.
    for (CardChange& change : plan.cards) {
        const VehicleContext& vehicle = *byCode.value(change.key.KODA);
        change.updated = change.original;
        change.litres = std::round(change.litres * 100) / 100;
        const double total = std::round((change.before + change.litres) * 100) / 100;
        if (!tripcards::maySaveCard(change.key.ROKD, change.key.MIED, input.currentYear, input.currentMonth,
                                    input.accessLevel)) {
            change.refusal = tripcards::saveRefusedMessage();
        } else {
            const tripcards::SettlementWindow window = tripcards::settlementWindowFor(vehicle);
            if (window == tripcards::SettlementWindow::None) {
                change.refusal =
                    QStringLiteral("Pojazd ma nieznany znacznik paliwomierza; karty nie można rozliczyć");
            } else {
                const tripcards::SettlementMode mode = window == tripcards::SettlementWindow::Meter
                                                           ? tripcards::SettlementMode::Meter
                                                           : tripcards::SettlementMode::Norms;
                const tripcards::FieldOutcome outcome =
                    tripcards::applyFieldEvent(change.updated, vehicle, "ZUZYCIEP", total, mode);
                if (!outcome.ok())
                    change.refusal = outcome.error;
                else if (const tripcards::CardColumn* c = tripcards::columnBeyondLimit(change.updated))
                    change.refusal = tripcards::tooLargeMessage(*c);
            }
        }
        if (!change.refusal.isEmpty()) change.updated = change.original;
        change.after = change.updated.ZUZYCIEP.value();
        if (!change.refusal.isEmpty()) change.after = total;
    }
    return plan;
}

} // namespace korven::fuelimport
