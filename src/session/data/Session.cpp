#include "session/data/Session.h"

#include "core/Period.h"
#include "core/SetupIni.h"

namespace korven::session {

namespace {

QString cut(const QString& text, int width) {
    return text.left(width);
}

} // namespace

SystemSettings settingsFromRow(const db::Row& r) {
    SystemSettings s;
    s.NAZWASKR = cut(r.text("NAZWASKR"), 31);
    s.ROK = static_cast<int>(r.integer("ROK"));
    s.MIE = static_cast<int>(r.integer("MIE"));
    s.ARCHIW = cut(r.text("ARCHIW"), 30);
    s.NIPE = cut(r.text("NIPE"), 1);
    s.NAZWAP1 = cut(r.text("NAZWAP1"), 50);
    s.NAZWAP2 = cut(r.text("NAZWAP2"), 50);
    s.NIP = cut(r.text("NIP"), 13);
    s.REGON = cut(r.text("REGON"), 14);
    s.KRAJ = cut(r.text("KRAJ"), 20);
    s.WOJEW = cut(r.text("WOJEW"), 20);
    s.POWIAT = cut(r.text("POWIAT"), 20);
    s.GMINA = cut(r.text("GMINA"), 20);
    s.ULICA = cut(r.text("ULICA"), 20);
    s.NRDOM = cut(r.text("NRDOM"), 5);
    s.NRLOK = cut(r.text("NRLOK"), 5);
    s.MIEJSC = cut(r.text("MIEJSC"), 20);
    s.KODP = cut(r.text("KODP"), 6);
    s.POCZTA = cut(r.text("POCZTA"), 20);
    s.NAZWI = cut(r.text("NAZWI"), 30);
    s.IMIEO = cut(r.text("IMIEO"), 20);
    s.NAZWBANK = cut(r.text("NAZWBANK"), 50);
    s.KONTBANK = cut(r.text("KONTBANK"), 50);
    s.DZI = cut(r.text("DZI"), 3);
    s.ROZ = cut(r.text("ROZ"), 5);
    s.PAR = cut(r.text("PAR"), 4);
    s.POZ = cut(r.text("POZ"), 2);
    s.MER = cut(r.text("MER"), 60);
    s.RAC = cut(r.text("RAC"), 60);
    s.GLK = cut(r.text("GLK"), 60);
    s.DYR = cut(r.text("DYR"), 60);
    s.SPO = cut(r.text("SPO"), 60);
    s.DYRKOM = cut(r.text("DYRKOM"), 1);
    s.DZWIEK = cut(r.text("DZWIEK"), 1);
    s.LOGO = cut(r.text("LOGO"), 50);
    s.US = cut(r.text("US"), 50);
    s.LICZSTR = static_cast<int>(r.integer("LICZSTR"));
    s.P6P12 = cut(r.text("P6P12"), 1);
    s.ILE = static_cast<int>(r.integer("ILE"));
    s.FTECH = cut(r.text("FTECH"), 1);
    s.ZAPI = cut(r.text("ZAPI"), 1);
    s.OBRO = cut(r.text("OBRO"), 1);
    s.BILA = cut(r.text("BILA"), 1);
    s.MN_POS = r.number("MN_POS");
    s.MN_MIE = r.number("MN_MIE");
    s.MN_ALA = r.number("MN_ALA");
    s.MN_GOROS = r.number("MN_GOROS");
    s.MN_GORPOZ = r.number("MN_GORPOZ");
    s.MN_OZ = r.number("MN_OZ");
    s.MN_KLI = r.number("MN_KLI");
    s.MN_TER = r.number("MN_TER");
    s.MN_ZIM = r.number("MN_ZIM");
    s.MN_SZK = r.number("MN_SZK");
    s.MN_HOLON = r.number("MN_HOLON");
    s.MN_HOLET = r.number("MN_HOLET");
    s.NORMA_OON = r.number("NORMA_OON");
    s.NORMA_OET = r.number("NORMA_OET");
    s.POCZNR = static_cast<int>(r.integer("POCZNR"));
    s.POCZNRS = static_cast<int>(r.integer("POCZNRS"));
    return s;
}

QString mainWindowTitle(const SystemSettings& s) {
    return padCut(QStringLiteral("System KORVEN: ") + s.NAZWASKR.trimmed() + QString(45, QLatin1Char(' ')),
                  58) +
           titleSuffix(s.ROK, s.MIE);
}

Session::Session(std::unique_ptr<db::Attachment> attachment)
    : attachment_(std::move(attachment)), working_(*attachment_), bracket_(*attachment_),
      settingsTx_(*attachment_) {}

Session::~Session() {
    if (attachment_ && attachment_->isConnected()) {
        unregisterOperator();
        try {
            // Whatever is still pending in the working transaction is made permanent, as at every exit.
            if (working_.isActive()) working_.commit();
        } catch (...) {
        }
        for (db::Transaction* t : {&working_, &bracket_, &settingsTx_}) {
            try {
                if (t->isActive()) t->rollback();
            } catch (...) {
            }
        }
        try {
            attachment_->detach();
        } catch (...) {
        }
    }
}

void Session::loadSettings() {
    settings_ = db::inTransaction(settingsTx_, [](db::Transaction& t) {
        auto row = t.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        if (!row)
            throw db::DbError(db::DbError::Reason::Other,
                              QStringLiteral("Brak rekordu systemowego FJ_BAZA (LP = 1) w bazie danych"));
        return settingsFromRow(*row);
    });
}

std::optional<QString> Session::loginRefusal() const {
    if (settings_.FTECH == QLatin1String("T")) return messages::techOpen();
    if (settings_.ZAPI == QLatin1String("T") && settings_.ILE != 0) return messages::networkLock();
    if (settings_.BILA == QLatin1String("T")) return messages::backupRunning();
    return std::nullopt;
}

void Session::changeConnectionCount(int delta) {
    int now = db::inTransaction(working_, [delta](db::Transaction& t) {
        // The lock makes a second copy wait until this one commits, then read the new count.
        int ile = static_cast<int>(
            t.scalar(QStringLiteral("select ILE from FJ_BAZA where LP = 1 with lock")).toInt());
        int next = std::max(0, ile + delta);
        t.execute(QStringLiteral("update FJ_BAZA set ILE = :ile where LP = 1"), {{"ile", next}});
        return next;
    });
    settings_.ILE = now;
}

bool Session::othersConnected() {
    loadSettings();
    return settings_.ILE != 1;
}

std::optional<QString> Session::readAccessLevel() {
    // The access level is kept where only the administrator can write it. When it cannot be read
    // (a database without the table, no right to read it, a lost connection) the login is refused:
    // the level it would otherwise fall back to is 0, all rights.
    try {
        operator_.accessLevel = static_cast<int>(db::inTransaction(working_, [](db::Transaction& t) {
            return t.scalar(QStringLiteral("select POZIOM from FJ_DOSTEP where NAZWA = CURRENT_USER"))
                .toInt();
        }));
    } catch (const db::DbError& e) {
        return messages::accessLevelUnreadable(e.message());
    }
    return std::nullopt;
}

bool Session::lookUpOperator() {
    // Every user may read his own entry of the server's user list with his own connection; no
    // administrator's password is needed or kept anywhere.
    std::optional<db::Row> entry;
    QString uid;
    try {
        db::inTransaction(working_, [&](db::Transaction& t) {
            entry = t.selectOne(QStringLiteral(
                "select SEC$FIRST_NAME as FIRST_NAME, SEC$LAST_NAME as LAST_NAME from SEC$USERS "
                "where SEC$USER_NAME = CURRENT_USER"));
            if (entry) {
                uid = t.scalar(QStringLiteral("select first 1 SEC$VALUE from SEC$USER_ATTRIBUTES where "
                                              "SEC$USER_NAME = CURRENT_USER and upper(SEC$KEY) = 'UID'"))
                          .toText()
                          .trimmed();
            }
        });
    } catch (const db::DbError&) {
        entry.reset(); // the user list cannot be read: treated as a user without an entry
    }
    if (!entry) return false;
    operator_.fullName =
        (entry->text("FIRST_NAME").trimmed() + QLatin1Char(' ') + entry->text("LAST_NAME").trimmed())
            .trimmed();
    userNumber_ = uid.left(6);
    return true;
}

QString Session::operatorListText(const QString& fullName, const QString& userNumber) {
    return padCut(fullName, 50) + userNumber.left(6);
}

void Session::registerOperator(const QString& text) {
    try {
        operator_.sessionNumber = static_cast<int>(db::inTransaction(working_, [&](db::Transaction& t) {
            // The number comes back from the insert itself, so two operators logging in at the same
            // moment each get their own row's number.
            auto row =
                t.selectOne(QStringLiteral("insert into FJ_FLOP ( NAZWA) values (:NAZWA) returning LP"),
                            {{"NAZWA", text.trimmed()}});
            return row ? row->integer("LP") : 0;
        }));
    } catch (const db::DbError&) {
        // Registration is a courtesy to the other operators; the program works without it.
    }
}

void Session::unregisterOperator() {
    if (operator_.sessionNumber == 0) return;
    try {
        db::inTransaction(working_, [&](db::Transaction& t) {
            t.execute(QStringLiteral("DELETE FROM FJ_FLOP where LP = :LP"),
                      {{"LP", operator_.sessionNumber}});
        });
        operator_.sessionNumber = 0;
    } catch (const db::DbError&) {
    }
}

QStringList Session::activeOperators() {
    return db::inTransaction(working_, [](db::Transaction& t) {
        QStringList lines;
        int n = 0;
        for (const db::Row& r : t.select(QStringLiteral("SELECT * FROM FJ_FLOP order by LP")))
            lines << QStringLiteral("%1. %2").arg(++n).arg(r.text("NAZWA"));
        return lines;
    });
}

void Session::setTechnicalFunctionsFlag(bool open) {
    try {
        db::inTransaction(bracket_, [open](db::Transaction& t) {
            t.execute(QStringLiteral("update FJ_BAZA set FTECH = :FTECH where LP = 1"),
                      {{"FTECH", open ? QStringLiteral("T") : QStringLiteral("N")}});
        });
        settings_.FTECH = open ? QStringLiteral("T") : QStringLiteral("N");
    } catch (const db::DbError&) {
        // The window opens all the same; the flag only keeps others out.
    }
}

QString Session::queryText(const QString& sql, const QString& column) {
    return db::inTransaction(working_, [&](db::Transaction& t) {
        auto row = t.selectOne(sql);
        return row ? row->text(column) : QString();
    });
}

void Session::countOut() {
    loadSettings();
    changeConnectionCount(-1);
}

QString connectFailureText(const db::DbError& e) {
    // One message for every failure to connect; anything but a refused password also says why.
    QString text = messages::wrongPassword();
    if (e.reason() == db::DbError::Reason::DatabaseInUse)
        text += QStringLiteral("\n\nBaza danych jest otwarta przez inny program. Bez serwera bazy danych "
                               "z jedną bazą może pracować tylko jeden program naraz; do pracy wielu "
                               "stanowisk wpisz w setup.ini (sciezka) adres serwera, np. serwer:/folder.");
    if (e.reason() != db::DbError::Reason::LoginRefused) text += QStringLiteral("\n\n") + e.message();
    return text;
}

std::unique_ptr<Session> startSession(const QString& setupIniPath, StartupUi& ui) {
    SetupIni ini = SetupIni::load(setupIniPath);
    const QString database = db::databaseName(ini.sciezka());
    QString user = ini.user();
    QString password;
    if (!ui.askLogin(database, user, password)) {
        ui.showMessage(messages::wrongPassword());
        return nullptr;
    }
    user = user.trimmed().left(20).trimmed();

    std::unique_ptr<db::Attachment> attachment;
    try {
        db::ConnectParams p;
        p.database = database;
        p.user = user;
        p.password = password;
        attachment = db::Attachment::attach(p);
    } catch (const db::DbError& e) {
        ui.showMessage(connectFailureText(e));
        return nullptr;
    }

    ini.setValue(QStringLiteral("user"), user);
    try {
        ini.save();
    } catch (const std::exception&) {
        // The name offered next time is a convenience; a read-only folder must not stop the work.
    }

    auto session = std::make_unique<Session>(std::move(attachment));
    session->operatorSession().userName = user;
    session->loadSettings();
    if (auto refusal = session->loginRefusal()) {
        ui.showMessage(*refusal);
        session->attachment().detach(); // nothing was written: no count, no registration
        return nullptr;
    }
    if (auto refusal = session->readAccessLevel()) {
        ui.showMessage(*refusal);
        session->attachment().detach(); // refused before anything was written
        return nullptr;
    }
    session->changeConnectionCount(+1);
    if (session->lookUpOperator()) {
        // An entry without names still shows who is working: the user name stands in for them.
        const OperatorSession& op = session->operatorSession();
        session->registerOperator(Session::operatorListText(op.fullName.isEmpty() ? op.userName : op.fullName,
                                                            session->userNumberText()));
    } else {
        ui.showMessage(messages::userNotFound());
    }
    return session;
}

} // namespace korven::session
