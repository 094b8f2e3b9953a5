#include "db/Database.h"
#include "db/FbClient.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>

using namespace Firebird;

namespace korven::db {

using detail::guarded;
using detail::Status;

// ---------------------------------------------------------------------------------------------
// Locations

Location parseLocation(const QString& sciezka) {
    QString text = sciezka.trimmed();
    // A server prefix ends at the first ':' that is not a drive letter ("C:\...") and is followed by
    // the folder. "host:/folder", "host/3051:/folder", "host:C:\folder".
    int colon = text.indexOf(QLatin1Char(':'));
    bool driveLetter =
        colon == 1 && text.size() > 2 && (text[2] == QLatin1Char('\\') || text[2] == QLatin1Char('/'));
    if (colon > 0 && !driveLetter) return Location{text.left(colon), text.mid(colon + 1)};
    return Location{QString(), text};
}

QString databaseName(const QString& sciezka, const QString& fileName) {
    Location loc = parseLocation(sciezka);
    QString folder = loc.folder;
    QChar separator = folder.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    QString path = folder.isEmpty() ? fileName : folder + separator + fileName;
    return loc.server.isEmpty() ? path : loc.server + QLatin1Char(':') + path;
}

// ---------------------------------------------------------------------------------------------
// Rows and parameters

const QStringList& Row::columnNames() const {
    static const QStringList empty;
    return names_ ? *names_ : empty;
}

int Row::indexOf(const QString& column) const {
    if (!names_) return -1;
    for (int i = 0; i < names_->size(); ++i)
        if (names_->at(i).compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const Value& Row::operator[](const QString& column) const {
    int i = indexOf(column);
    if (i < 0)
        throw DbError(DbError::Reason::Usage, QStringLiteral("Zapytanie nie zwraca kolumny %1").arg(column));
    return values_[static_cast<std::size_t>(i)];
}

Params::Params(std::initializer_list<std::pair<QString, Value>> list) {
    for (const auto& item : list)
        set(item.first, item.second);
}

Params& Params::set(const QString& name, const Value& value) {
    QString key = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    for (auto& item : items_) {
        if (item.first.compare(key, Qt::CaseInsensitive) == 0) {
            item.second = value;
            return *this;
        }
    }
    items_.emplace_back(key, value);
    return *this;
}

const Value* Params::find(const QString& name) const {
    for (const auto& item : items_)
        if (item.first.compare(name, Qt::CaseInsensitive) == 0) return &item.second;
    return nullptr;
}

std::pair<QString, QStringList> translateNamedParameters(const QString& sql) {
    QString out;
    QStringList names;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    auto isNameStart = [](QChar c) { return c.isLetter() || c == QLatin1Char('_'); };
    auto isNameChar = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
    };
    for (qsizetype i = 0; i < n;) {
        QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text or identifier; a doubled quote stays inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0) j = n;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            names << sql.mid(i + 1, j - i - 1).toUpper();
            out += QLatin1Char('?');
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return {out, names};
}

// ---------------------------------------------------------------------------------------------
// Attachment

namespace {

IXpbBuilder* connectDpb(ThrowStatusWrapper* st, const ConnectParams& p, bool creating) {
    IXpbBuilder* dpb = detail::util()->getXpbBuilder(st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertTag(st, isc_dpb_utf8_filename); // the file name is sent as UTF-8
    dpb->insertString(st, isc_dpb_user_name, p.user.toUtf8().constData());
    dpb->insertString(st, isc_dpb_password, p.password.toUtf8().constData());
    dpb->insertString(st, isc_dpb_lc_ctype, "UTF8");
    dpb->insertInt(st, isc_dpb_sql_dialect, 3);
    if (!p.role.isEmpty()) dpb->insertString(st, isc_dpb_sql_role_name, p.role.toUtf8().constData());
    if (creating) {
        dpb->insertInt(st, isc_dpb_page_size, p.pageSize);
        dpb->insertString(st, isc_dpb_set_db_charset, "UTF8");
        dpb->insertInt(st, isc_dpb_force_write, p.forcedWrites ? 1 : 0);
    } else if (p.applyForcedWrites) {
        dpb->insertInt(st, isc_dpb_force_write, p.forcedWrites ? 1 : 0);
    }
    return dpb;
}

// Attaches to or creates the database of the parameters through the provider that handles its name
// (the embedded engine for a plain path, the remote one for a server prefix).
IAttachment* openDatabase(const ConnectParams& params, bool creating) {
    return guarded([&] {
        Status st;
        IXpbBuilder* dpb = connectDpb(&st, params, creating);
        IProvider* provider = detail::master()->getDispatcher();
        IAttachment* att = nullptr;
        try {
            const QByteArray name = params.database.toUtf8();
            att = creating ? provider->createDatabase(&st, name.constData(), dpb->getBufferLength(&st),
                                                      dpb->getBuffer(&st))
                           : provider->attachDatabase(&st, name.constData(), dpb->getBufferLength(&st),
                                                      dpb->getBuffer(&st));
        } catch (...) {
            dpb->dispose();
            provider->release();
            throw;
        }
        dpb->dispose();
        provider->release();
        return att;
    });
}

} // namespace

Attachment::Attachment(IAttachment* handle, ConnectParams params)
    : handle_(handle), params_(std::move(params)) {}

std::unique_ptr<Attachment> Attachment::attach(const ConnectParams& params) {
    return std::unique_ptr<Attachment>(new Attachment(openDatabase(params, false), params));
}

std::unique_ptr<Attachment> Attachment::create(const ConnectParams& params) {
    if (parseLocation(params.database).server.isEmpty() && QFileInfo::exists(params.database))
        throw DbError(
            DbError::Reason::Usage,
            QStringLiteral("Plik bazy danych %1 już istnieje; nie zostanie nadpisany").arg(params.database));
    return std::unique_ptr<Attachment>(new Attachment(openDatabase(params, true), params));
}

Attachment::~Attachment() {
    try {
        detach();
    } catch (...) {
        // Nothing can be reported from a destructor; the server drops a broken attachment itself.
    }
}

void Attachment::detach() {
    if (!handle_) return;
    IAttachment* h = handle_;
    handle_ = nullptr;
    try {
        Status st;
        h->detach(&st); // releases the interface on success
    } catch (const FbException&) {
        h->release();
    }
}

void Attachment::dropDatabase() {
    if (!handle_) return;
    guarded([&] {
        Status st;
        handle_->dropDatabase(&st); // releases the interface on success
        handle_ = nullptr;
    });
}

void Attachment::executeImmediate(const QString& sql) {
    Transaction t(*this);
    t.start();
    guarded([&] {
        Status st;
        QByteArray text = sql.toUtf8();
        handle_->execute(&st, t.handle(), 0, text.constData(), 3, nullptr, nullptr, nullptr, nullptr);
    });
    t.commit();
}

bool Attachment::ping() {
    if (!handle_) return false;
    try {
        Status st;
        handle_->ping(&st);
        return true;
    } catch (const FbException&) {
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Attachment& attachment, TransactionOptions options)
    : attachment_(attachment), options_(options) {}

Transaction::~Transaction() {
    if (handle_) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::start() {
    if (handle_) throw DbError(DbError::Reason::Usage, QStringLiteral("Transakcja jest już aktywna"));
    if (!attachment_.isConnected())
        throw DbError(DbError::Reason::ConnectionLost, QStringLiteral("Brak połączenia z bazą danych"));
    guarded([&] {
        Status st;
        IXpbBuilder* tpb = detail::util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        tpb->insertTag(&st, options_.readOnly ? isc_tpb_read : isc_tpb_write);
        tpb->insertTag(&st, isc_tpb_read_committed);
        tpb->insertTag(&st, isc_tpb_rec_version);
        tpb->insertTag(&st, isc_tpb_wait);
        tpb->insertInt(&st, isc_tpb_lock_timeout, options_.lockTimeoutSeconds);
        try {
            handle_ =
                attachment_.handle()->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
        } catch (...) {
            tpb->dispose();
            throw;
        }
        tpb->dispose();
    });
}

void Transaction::commit() {
    requireActive();
    guarded([&] {
        Status st;
        handle_->commit(&st); // releases the interface on success
        handle_ = nullptr;
    });
}

void Transaction::rollback() {
    requireActive();
    ITransaction* h = handle_;
    handle_ = nullptr;
    try {
        Status st;
        h->rollback(&st);
    } catch (const FbException& e) {
        // A transaction whose connection is gone cannot be rolled back; the server drops it.
        h->release();
        throw detail::toDbError(e);
    }
}

void Transaction::requireActive() const {
    if (!handle_) throw DbError(DbError::Reason::Usage, QStringLiteral("Transakcja nie jest aktywna"));
}

Rows Transaction::select(const QString& sql, const Params& params) {
    requireActive();
    Statement s(attachment_, sql);
    return s.select(*this, params);
}

std::optional<Row> Transaction::selectOne(const QString& sql, const Params& params) {
    Rows rows = select(sql, params);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

Value Transaction::scalar(const QString& sql, const Params& params) {
    auto row = selectOne(sql, params);
    if (!row || row->size() == 0) return Value();
    return row->at(0);
}

int Transaction::execute(const QString& sql, const Params& params) {
    requireActive();
    Statement s(attachment_, sql);
    return s.execute(*this, params);
}

// ---------------------------------------------------------------------------------------------
// Statement

namespace {

const QDate fbEpoch(1858, 11, 17);

constexpr unsigned kUtf8 = 4;

std::int64_t pow10i(int n) {
    std::int64_t r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

template <class T> T readAs(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T> void writeAs(unsigned char* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

QString readBlob(ThrowStatusWrapper* st, IAttachment* att, ITransaction* tra, ISC_QUAD id, bool text) {
    IBlob* blob = att->openBlob(st, tra, &id, 0, nullptr);
    QByteArray data;
    char chunk[8192];
    try {
        for (;;) {
            unsigned got = 0;
            int rc = blob->getSegment(st, sizeof chunk, chunk, &got);
            if (rc == IStatus::RESULT_OK || rc == IStatus::RESULT_SEGMENT)
                data.append(chunk, got);
            else
                break;
        }
        blob->close(st);
    } catch (...) {
        blob->release();
        throw;
    }
    return text ? QString::fromUtf8(data) : QString::fromLatin1(data);
}

} // namespace

struct Statement::Impl {
    Attachment& attachment;
    QByteArray sql;
    IStatement* stmt = nullptr;
    IMessageMetadata* inMeta = nullptr;
    IMessageMetadata* outMeta = nullptr;
    std::shared_ptr<QStringList> columnNames;
    unsigned type = 0;
    // The output layout, read once: asking the metadata object per value costs more than the fetch.
    struct Column {
        unsigned type;
        int scale;
        unsigned offset;
        unsigned nullOffset;
        unsigned length;
        int subType;
    };
    std::vector<Column> layout;

    Impl(Attachment& a, QByteArray text) : attachment(a), sql(std::move(text)) {}
    ~Impl() {
        if (outMeta) outMeta->release();
        if (inMeta) inMeta->release();
        if (stmt) {
            try {
                Status st;
                stmt->free(&st);
            } catch (const FbException&) {
                stmt->release();
            }
        }
    }

    void prepare(ThrowStatusWrapper* st, ITransaction* tra) {
        if (stmt) return;
        stmt = attachment.handle()->prepare(st, tra, 0, sql.constData(), 3,
                                            IStatement::PREPARE_PREFETCH_METADATA);
        type = stmt->getType(st);
        inMeta = stmt->getInputMetadata(st);
        outMeta = stmt->getOutputMetadata(st);
        auto names = std::make_shared<QStringList>();
        unsigned count = outMeta->getCount(st);
        for (unsigned i = 0; i < count; ++i) {
            names->append(QString::fromUtf8(outMeta->getAlias(st, i)).trimmed().toUpper());
            layout.push_back(Column{outMeta->getType(st, i) & ~1u, outMeta->getScale(st, i),
                                    outMeta->getOffset(st, i), outMeta->getNullOffset(st, i),
                                    outMeta->getLength(st, i), outMeta->getSubType(st, i)});
        }
        columnNames = names;
    }

    // Builds the input message: each parameter is sent in the type of the value given and the
    // server converts it to the type the statement needs.
    IMessageMetadata* buildInput(ThrowStatusWrapper* st, const QStringList& names, const Params& params,
                                 std::vector<unsigned char>& buffer) {
        unsigned count = inMeta->getCount(st);
        if (count == 0) return nullptr;
        if (static_cast<unsigned>(names.size()) != count)
            throw DbError(DbError::Reason::Usage,
                          QStringLiteral("Liczba parametrów polecenia (%1) nie zgadza się z nazwami (%2)")
                              .arg(count)
                              .arg(names.size()));
        std::vector<const Value*> values(count);
        std::vector<QByteArray> texts(count);
        IMetadataBuilder* builder = inMeta->getBuilder(st);
        try {
            for (unsigned i = 0; i < count; ++i) {
                const Value* v = params.find(names[static_cast<int>(i)]);
                if (!v)
                    throw DbError(
                        DbError::Reason::Usage,
                        QStringLiteral("Parametr :%1 nie ma wartości").arg(names[static_cast<int>(i)]));
                values[i] = v;
                unsigned origType = inMeta->getType(st, i) & ~1u;
                int origScale = inMeta->getScale(st, i);
                bool origFixed =
                    (origType == SQL_SHORT || origType == SQL_LONG || origType == SQL_INT64) && origScale < 0;
                // The type each value is sent in: {type, length, scale}; null keeps the statement's own.
                struct Wire {
                    unsigned type;
                    unsigned length;
                    int scale;
                };
                std::optional<Wire> wire;
                switch (v->kind()) {
                case Value::Kind::Null:
                    break;
                case Value::Kind::Integer:
                    wire = Wire{SQL_INT64, 8, 0};
                    break;
                case Value::Kind::Decimal:
                    wire = Wire{SQL_INT64, 8, -v->rawScale()};
                    break;
                case Value::Kind::Double:
                    // Into a fixed-point column: the exact decimal of its own scale, rounded half away
                    // from zero; anywhere else a double.
                    wire = origFixed ? Wire{SQL_INT64, 8, origScale} : Wire{SQL_DOUBLE, 8, 0};
                    break;
                case Value::Kind::Text:
                    texts[i] = v->toText().toUtf8();
                    wire =
                        Wire{SQL_VARYING, static_cast<unsigned>(std::max<qsizetype>(texts[i].size(), 1)), 0};
                    builder->setCharSet(st, i, kUtf8);
                    break;
                case Value::Kind::Date:
                    wire = Wire{SQL_TYPE_DATE, 4, 0};
                    break;
                case Value::Kind::Timestamp:
                    wire = Wire{SQL_TIMESTAMP, 8, 0};
                    break;
                case Value::Kind::Boolean:
                    wire = Wire{SQL_BOOLEAN, 1, 0};
                    break;
                }
                if (wire) {
                    builder->setType(st, i, wire->type | 1);
                    builder->setLength(st, i, wire->length);
                    builder->setScale(st, i, wire->scale);
                }
            }
        } catch (...) {
            builder->release();
            throw;
        }
        IMessageMetadata* meta = builder->getMetadata(st);
        builder->release();

        buffer.assign(meta->getMessageLength(st), 0);
        for (unsigned i = 0; i < count; ++i) {
            unsigned char* data = buffer.data() + meta->getOffset(st, i);
            short* nullFlag = reinterpret_cast<short*>(buffer.data() + meta->getNullOffset(st, i));
            const Value& v = *values[i];
            *nullFlag = v.isNull() ? -1 : 0;
            switch (v.kind()) {
            case Value::Kind::Null:
                break;
            case Value::Kind::Integer:
            case Value::Kind::Decimal:
                writeAs<std::int64_t>(data, v.rawUnits());
                break;
            case Value::Kind::Double: {
                int scale = meta->getScale(st, i);
                if ((meta->getType(st, i) & ~1u) == SQL_INT64)
                    writeAs<std::int64_t>(data, Decimal::fromDouble(v.toDouble(), -scale).units);
                else
                    writeAs<double>(data, v.toDouble());
                break;
            }
            case Value::Kind::Text: {
                auto len = static_cast<unsigned short>(texts[i].size());
                writeAs<unsigned short>(data, len);
                std::memcpy(data + 2, texts[i].constData(), len);
                break;
            }
            case Value::Kind::Date:
                writeAs<ISC_DATE>(data, static_cast<ISC_DATE>(fbEpoch.daysTo(v.toDate())));
                break;
            case Value::Kind::Timestamp: {
                QDateTime dt = v.toDateTime();
                writeAs<ISC_DATE>(data, static_cast<ISC_DATE>(fbEpoch.daysTo(dt.date())));
                writeAs<ISC_TIME>(data + 4, static_cast<ISC_TIME>(dt.time().msecsSinceStartOfDay()) * 10);
                break;
            }
            case Value::Kind::Boolean:
                *data = v.toBool() ? 1 : 0;
                break;
            }
        }
        return meta;
    }

    Row decodeRow(ThrowStatusWrapper* st, ITransaction* tra, const unsigned char* buffer) {
        std::vector<Value> values;
        values.reserve(layout.size());
        for (const Column& col : layout) {
            const unsigned char* data = buffer + col.offset;
            short isNull = readAs<short>(buffer + col.nullOffset);
            if (isNull) {
                values.emplace_back();
                continue;
            }
            const unsigned type = col.type;
            const int scale = col.scale;
            switch (type) {
            case SQL_TEXT: {
                // CHAR columns come padded with blanks; the program never wants the padding. A blank
                // byte never ends a multi-byte UTF-8 sequence, so it can be cut before decoding.
                unsigned end = col.length;
                while (end > 0 && (data[end - 1] == ' ' || data[end - 1] == 0))
                    --end;
                values.emplace_back(detail::fromUtf8(reinterpret_cast<const char*>(data), end));
                break;
            }
            case SQL_VARYING: {
                auto len = readAs<unsigned short>(data);
                values.emplace_back(detail::fromUtf8(reinterpret_cast<const char*>(data + 2), len));
                break;
            }
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64: {
                std::int64_t v = type == SQL_SHORT  ? readAs<std::int16_t>(data)
                                 : type == SQL_LONG ? readAs<std::int32_t>(data)
                                                    : readAs<std::int64_t>(data);
                if (scale < 0)
                    values.emplace_back(Decimal{v, -scale});
                else
                    values.emplace_back(v * pow10i(scale));
                break;
            }
            case SQL_FLOAT:
                values.emplace_back(static_cast<double>(readAs<float>(data)));
                break;
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                values.emplace_back(readAs<double>(data));
                break;
            case SQL_TYPE_DATE:
                values.emplace_back(fbEpoch.addDays(readAs<ISC_DATE>(data)));
                break;
            case SQL_TIMESTAMP: {
                QDate d = fbEpoch.addDays(readAs<ISC_DATE>(data));
                QTime t = QTime::fromMSecsSinceStartOfDay(static_cast<int>(readAs<ISC_TIME>(data + 4) / 10));
                values.emplace_back(QDateTime(d, t));
                break;
            }
            case SQL_TYPE_TIME:
                values.emplace_back(
                    QTime::fromMSecsSinceStartOfDay(static_cast<int>(readAs<ISC_TIME>(data) / 10))
                        .toString());
                break;
            case SQL_BOOLEAN:
                values.emplace_back(*data != 0);
                break;
            case SQL_BLOB:
                values.emplace_back(
                    readBlob(st, attachment.handle(), tra, readAs<ISC_QUAD>(data), col.subType == 1));
                break;
            default:
                values.emplace_back(); // types the program never reads
                break;
            }
        }
        return Row(columnNames, std::move(values));
    }
};

Statement::Statement(Attachment& attachment, const QString& sql) {
    auto [text, names] = translateNamedParameters(sql);
    impl_ = std::make_unique<Impl>(attachment, text.toUtf8());
    paramNames_ = names;
}

Statement::~Statement() = default;

Rows Statement::select(Transaction& transaction, const Params& params) {
    Rows rows;
    run(transaction, params, &rows);
    return rows;
}

int Statement::execute(Transaction& transaction, const Params& params) {
    return run(transaction, params, nullptr);
}

// Runs the statement once. With `rows`, a select's rows are fetched to the end and an
// "insert ... returning" gives its one row; without, the statement only runs. Returns the number of
// rows the statement touched.
int Statement::run(Transaction& transaction, const Params& params, Rows* rows) {
    if (!transaction.isActive())
        throw DbError(DbError::Reason::Usage, QStringLiteral("Transakcja nie jest aktywna"));
    return guarded([&] {
        Status st;
        impl_->prepare(&st, transaction.handle());
        std::vector<unsigned char> inBuffer;
        IMessageMetadata* inMeta = impl_->buildInput(&st, paramNames_, params, inBuffer);
        unsigned char* in = inMeta ? inBuffer.data() : nullptr;
        std::vector<unsigned char> outBuffer(impl_->outMeta->getMessageLength(&st));
        const bool isCursor =
            impl_->type == isc_info_sql_stmt_select || impl_->type == isc_info_sql_stmt_select_for_upd;
        try {
            if (isCursor && rows) {
                IResultSet* rs =
                    impl_->stmt->openCursor(&st, transaction.handle(), inMeta, in, impl_->outMeta, 0);
                try {
                    while (rs->fetchNext(&st, outBuffer.data()) == IStatus::RESULT_OK)
                        rows->push_back(impl_->decodeRow(&st, transaction.handle(), outBuffer.data()));
                    rs->close(&st);
                } catch (...) {
                    rs->release();
                    throw;
                }
            } else {
                const bool hasOutput = !isCursor && impl_->outMeta->getCount(&st) > 0;
                impl_->stmt->execute(&st, transaction.handle(), inMeta, in,
                                     hasOutput ? impl_->outMeta : nullptr,
                                     hasOutput ? outBuffer.data() : nullptr);
                if (hasOutput && rows)
                    rows->push_back(impl_->decodeRow(&st, transaction.handle(), outBuffer.data()));
            }
        } catch (...) {
            if (inMeta) inMeta->release();
            throw;
        }
        if (inMeta) inMeta->release();
        return static_cast<int>(impl_->stmt->getAffectedRecords(&st));
    });
}

} // namespace korven::db
