#include "apps/Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>

namespace korven::test {

namespace {

QProcessEnvironment displayEnvironment(const QString& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

void pause(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

} // namespace

Desktop::Desktop() {
    // The server picks a free display itself and tells its number.
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
    if (!server_.waitForStarted(10000)) {
        error_ = QStringLiteral("Xvfb does not start (scripts/setup-deps.sh installs it)");
        return;
    }
    QByteArray number;
    QElapsedTimer clock;
    clock.start();
    while (!number.contains('\n') && clock.elapsed() < 15000) {
        server_.waitForReadyRead(500);
        number += server_.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        error_ = QStringLiteral("Xvfb gave no display number");
        return;
    }
    const QString display = QLatin1Char(':') + QString::fromLatin1(number).trimmed();

    manager_.setProcessEnvironment(displayEnvironment(display));
    manager_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    manager_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!manager_.waitForStarted(10000)) {
        error_ = QStringLiteral("openbox does not start (scripts/setup-deps.sh installs it)");
        return;
    }
    display_ = display;
    // The window manager is there once it has put up its check window.
    for (int i = 0; i < 100; ++i) {
        auto root = tool(QStringLiteral("xprop"),
                         {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (root && root->contains(QStringLiteral("window id"))) return;
        pause(100);
    }
    error_ = QStringLiteral("the window manager did not come up");
    display_.clear();
}

Desktop::~Desktop() {
    for (QProcess* p : {&manager_, &server_}) {
        if (p->state() == QProcess::NotRunning) continue;
        p->terminate();
        if (!p->waitForFinished(5000)) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
}

void Desktop::pullThePlug() {
    server_.kill();
    server_.waitForFinished(5000);
}

std::optional<QString> Desktop::tool(const QString& program, const QStringList& arguments) const {
    QProcess p;
    p.setProcessEnvironment(displayEnvironment(display_));
    p.start(program, arguments);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

void Desktop::keys(const QStringList& keys) const {
    QStringList args{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")};
    tool(QStringLiteral("xdotool"), args + keys);
}

void Desktop::type(const QString& text) const {
    tool(QStringLiteral("xdotool"),
         {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

QString Desktop::activeTitle() const {
    auto name =
        tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")});
    if (!name) return {};
    QString title = *name;
    if (title.endsWith(QLatin1Char('\n'))) title.chop(1);
    return title;
}

QStringList Desktop::visibleTitles() const {
    QStringList titles;
    auto ids = tool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                QStringLiteral("--name"), QStringLiteral(".")});
    if (!ids) return titles;
    for (const QString& id : ids->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        auto name = tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id});
        if (!name) continue;
        QString title = *name;
        if (title.endsWith(QLatin1Char('\n'))) title.chop(1);
        titles << title;
    }
    return titles;
}

QRect Desktop::activeGeometry() const {
    auto shell =
        tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow"),
                                         QStringLiteral("getwindowgeometry"), QStringLiteral("--shell")});
    if (!shell) return {};
    QRect r;
    for (const QString& line : shell->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (key == QLatin1String("X")) r.moveLeft(value);
        if (key == QLatin1String("Y")) r.moveTop(value);
        if (key == QLatin1String("WIDTH")) r.setWidth(value);
        if (key == QLatin1String("HEIGHT")) r.setHeight(value);
    }
    return r;
}

bool Desktop::waitActive(const QRegularExpression& title, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    do {
        if (title.match(activeTitle()).hasMatch()) return true;
        pause(50);
    } while (clock.elapsed() < timeoutMs);
    return false;
}

bool Desktop::shown(const QRegularExpression& title) const {
    for (const QString& t : visibleTitles())
        if (title.match(t).hasMatch()) return true;
    return false;
}

bool Desktop::waitShown(const QRegularExpression& title, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    do {
        if (shown(title)) return true;
        pause(100);
    } while (clock.elapsed() < timeoutMs);
    return false;
}

void Desktop::screenshot(const QString& name) const {
    const QString dir = qEnvironmentVariable("KORVEN_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    tool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                    QDir(dir).filePath(name + QStringLiteral(".png"))});
}

// ---------------------------------------------------------------------------------------------

QString programFolder() {
    return qEnvironmentVariable("KORVEN_BIN_DIR", QStringLiteral(KORVEN_BIN_DIR));
}

Korven::Korven(const QString& bin) {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    // The program reads setup.ini beside itself: a folder of its own, the rest of the program's
    // files linked in.
    folderPath_ = dir_.filePath(QStringLiteral("bin"));
    QDir().mkpath(folderPath_);
    const QDir source(bin);
    for (const QFileInfo& entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(folderPath_).filePath(entry.fileName());
        if (entry.fileName() == QLatin1String("setup.ini")) continue;
        if (entry.fileName() == QLatin1String("korven"))
            QFile::copy(entry.absoluteFilePath(), target);
        else
            QFile::link(entry.absoluteFilePath(), target);
    }
    const QString db = dir_.filePath(QStringLiteral("db"));
    QDir().mkpath(db);
    QProcess demo;
    demo.start(source.filePath(QStringLiteral("korven-cli")), {QStringLiteral("demo"), db});
    if (!demo.waitForFinished(120000) || demo.exitCode() != 0) {
        error_ = QStringLiteral("korven-cli demo failed: ") + QString::fromUtf8(demo.readAllStandardError());
        return;
    }
    QFile ini(QDir(folderPath_).filePath(QStringLiteral("setup.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("setup.ini cannot be written");
        return;
    }
    ini.write(QStringLiteral("[Ogolne]\nsciezka=%1\nuser=SYSDBA\n").arg(db).toUtf8());
}

Korven::~Korven() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString Korven::database() const {
    return dir_.filePath(QStringLiteral("db/korven.adb"));
}

void Korven::start(const Desktop& desktop) {
    QProcessEnvironment env = displayEnvironment(desktop.display());
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QDir(folderPath_).filePath(QStringLiteral("korven")), {});
    process_.waitForStarted(10000);
}

bool Korven::startAndLogIn(const Desktop& desktop) {
    start(desktop);
    if (!desktop.waitActive(QRegularExpression(QStringLiteral("^Database Login$")))) {
        error_ = QStringLiteral("no login window; the program said: ") + output();
        return false;
    }
    desktop.type(QStringLiteral("dowolne")); // the embedded engine takes any password
    desktop.keys({QStringLiteral("Return")});
    // The server's user list may be held by another program of the machine for a moment: the login
    // then says "User not found." and goes on, as it is meant to.
    const QRegularExpression mainOrNotice(QStringLiteral("^(System KORVEN: |KORVEN$)"));
    if (desktop.waitActive(mainOrNotice) && desktop.activeTitle() == QLatin1String("KORVEN"))
        desktop.keys({QStringLiteral("Return")});
    if (!desktop.waitActive(QRegularExpression(QStringLiteral("^System KORVEN: ")))) {
        desktop.screenshot(QStringLiteral("desktop-login-failed"));
        error_ = QStringLiteral("no main window after the login; shown: ") +
                 desktop.visibleTitles().join(QStringLiteral(" | "));
        return false;
    }
    return true;
}

void Korven::signal(int number) {
    if (process_.state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_.processId()), number);
}

bool Korven::waitEnded(int timeoutMs) {
    if (process_.state() == QProcess::NotRunning) return true;
    if (process_.waitForFinished(timeoutMs)) return true;
    process_.kill();
    process_.waitForFinished(5000);
    return false;
}

QString Korven::output() const {
    auto* self = const_cast<Korven*>(this);
    self->log_ += QString::fromUtf8(self->process_.readAll());
    return log_;
}

} // namespace korven::test
