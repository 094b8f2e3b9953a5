#pragma once

#include "admin/data/MainD.h"
#include "db/Database.h"
#include "schema/Demo.h"
#include "schema/Schema.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace korven::test {

// Every row of every table of a database, as text, table by table in a fixed order: two dumps are
// equal when the databases hold the same data.
inline QStringList dumpRows(db::Attachment& att) {
    QStringList out;
    db::Transaction t(att, db::TransactionOptions{true});
    db::inTransaction(t, [&](db::Transaction& tr) {
        const db::Rows tables =
            tr.select(QStringLiteral("select trim(RDB$RELATION_NAME) as NAME from RDB$RELATIONS where "
                                     "coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
                                     "and RDB$VIEW_BLR is null order by 1"));
        for (const db::Row& table : tables) {
            const QString name = table.text(QStringLiteral("NAME"));
            QStringList rows;
            for (const db::Row& r : tr.select(QStringLiteral("select * from %1").arg(name))) {
                QStringList cells;
                for (int i = 0; i < r.size(); ++i)
                    cells << r.at(i).toText();
                rows << name + QLatin1Char('|') + cells.join(QLatin1Char('|'));
            }
            rows.sort();
            out << rows;
        }
    });
    return out;
}

inline QString bila(db::Attachment& att) {
    db::Transaction t(att);
    return db::inTransaction(t, [](db::Transaction& tr) {
        return tr.scalar(QStringLiteral("select BILA from FJ_BAZA where LP = 1")).toText().trimmed();
    });
}

// A database with demo data on the private server, in a folder of its own, and the administration
// program's data module working on it as SYSDBA.
struct ServerAdmin {
    explicit ServerAdmin(const QString& folderName, bool demo = true) {
        PrivateServer& s = PrivateServer::instance();
        folder = s.dataDir() + QLatin1Char('/') + folderName;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        sciezka = s.server() + QLatin1Char(':') + folder;
        {
            auto att = schema::createDatabase(s.sysdba(db::databaseName(sciezka)), 9, 3);
            if (demo) schema::fillDemoData(*att);
        }
        data =
            std::make_unique<admin::MainD>(admin::AdminConfig{sciezka, {}, {}, {}},
                                           admin::Credentials{QStringLiteral("SYSDBA"), s.sysdbaPassword()});
        data->connect();
    }
    std::unique_ptr<db::Attachment> attach(const QString& user = QStringLiteral("SYSDBA"),
                                           const QString& password = QString()) const {
        db::ConnectParams p = PrivateServer::instance().sysdba(db::databaseName(sciezka));
        p.user = user;
        if (!password.isEmpty()) p.password = password;
        return db::Attachment::attach(p);
    }
    QString file(const QString& name) const { return QDir(folder).filePath(name); }
    QString folder;
    QString sciezka;
    std::unique_ptr<admin::MainD> data;
};

} // namespace korven::test
