#pragma once

#include "reports/engine/ReportEngine.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QStandardPaths>

namespace korven::test {

inline QString fixtureProject() {
    return sourceDir() + QStringLiteral("/tests/fixtures/reports/Lista.rav");
}

// Rows KOD 1..n, NAZWA "Pozycja 001"..., ILOSC with a display text unlike its value.
inline reports::DataView listRows(int n, const QString& name = QStringLiteral("RvDataSetLista")) {
    reports::DataView view{name, {}};
    for (int i = 1; i <= n; ++i) {
        reports::DataRow row;
        row.set(QStringLiteral("KOD"), i);
        row.set(QStringLiteral("NAZWA"), QStringLiteral("Pozycja %1").arg(i, 3, 10, QLatin1Char('0')));
        row.set(QStringLiteral("ILOSC"), i * 1000.5, QStringLiteral("%1,50 l").arg(i * 1000));
        view.rows.append(row);
    }
    return view;
}

inline reports::ReportJob listJob(int rows) {
    reports::ReportJob job;
    job.projectFile = fixtureProject();
    job.parameters = {{QStringLiteral("firma"), QStringLiteral("KP PSP Żagań")},
                      {QStringLiteral("osoba"), QStringLiteral("Jan Kowalski")},
                      {QStringLiteral("razem"), QStringLiteral("123 456,78")}};
    job.data = listRows(rows);
    job.printedAt = QDateTime(QDate(2026, 3, 5), QTime(14, 7));
    return job;
}

// Text of a PDF by pdftotext, one string per page; empty when the tool is missing.
inline QStringList pdfPages(const QString& pdf) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return {};
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

} // namespace korven::test
