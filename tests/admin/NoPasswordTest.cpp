// No administrator password is written anywhere: not in a program, not in a file of the tree.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The words are kept reversed, so that this test's own program does not hold them.
QStringList knownPasswords() {
    QStringList words;
    for (const char* w : {"yekretsam", "oksiwodol"}) {
        QString s = QString::fromLatin1(w);
        std::reverse(s.begin(), s.end());
        words << s;
    }
    return words;
}

QStringList executables(const QString& dir) {
    QStringList list;
    QDirIterator it(dir, QDir::Files | QDir::Executable, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.read(4) == QByteArray("\x7f"
                                                                   "ELF",
                                                                   4))
            list << path;
    }
    return list;
}

} // namespace

TEST(NoPassword, NoBuiltProgramHoldsAnAdministratorPassword) {
    const QString bin = QStringLiteral(KORVEN_BINARY_DIR "/bin");
    const QStringList programs = executables(bin);
    ASSERT_TRUE(programs.contains(bin + QStringLiteral("/sarkol")));
    ASSERT_TRUE(programs.contains(bin + QStringLiteral("/korven")));
    ASSERT_TRUE(programs.contains(bin + QStringLiteral("/korven-cli")));
    for (const QString& program : programs + executables(QStringLiteral(KORVEN_BINARY_DIR "/tests"))) {
        QProcess strings;
        strings.start(QStringLiteral("strings"), {QStringLiteral("-a"), program});
        ASSERT_TRUE(strings.waitForFinished(60000)) << program.toStdString();
        const QString text = QString::fromLatin1(strings.readAllStandardOutput()).toLower();
        for (const QString& word : knownPasswords())
            EXPECT_FALSE(text.contains(word)) << program.toStdString() << " holds " << word.toStdString();
    }
}

TEST(NoPassword, NoFileOfTheTreeHoldsAnAdministratorPassword) {
    const QString root = QStringLiteral(KORVEN_SOURCE_DIR);
    QProcess git;
    git.setWorkingDirectory(root);
    git.start(QStringLiteral("git"), {QStringLiteral("ls-files")});
    ASSERT_TRUE(git.waitForFinished(60000));
    const QStringList files = QString::fromUtf8(git.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(files.size(), 50);
    for (const QString& name : files) {
        QFile f(QDir(root).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromLatin1(f.readAll()).toLower();
        for (const QString& word : knownPasswords())
            EXPECT_FALSE(text.contains(word)) << name.toStdString() << " holds " << word.toStdString();
    }
}
