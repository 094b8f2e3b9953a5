#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

namespace korven::reports {

// The rows the statements are built from, as the data layer reads them. They are the statements'
// own plain records, apart from the registries' and cards' classes, so that a build needs neither.

// A dictionary entry (vehicle kinds, vehicle groups, units, equipment groups, service kinds).
struct DictionaryEntry {
    int KOD = 0;
    QString NAZWA;
    QString TYP; // service kinds only: the short name
};

// A vehicle (A_AUTO) or a machine (A_SPRZET).
struct RegistryRow {
    int code = 0;   // KODA or KODS
    int KOD_RP = 0; // vehicles only
    int group = 0;  // KOD_GP of a vehicle, KOD_GR of a machine
    int KOD_KO = 0;
    QString TYP;      // vehicles: "O" passenger, "P" other
    QString RODZSILN; // machines: "4" or "2"
    QString NAZWA, NRREJ, KOMENDA, NRIDENT, RODZPAL;
    double NORMPAL = 0;
    // Every column of the row by its name in capitals, for the lists that copy them all.
    QHash<QString, QVariant> columns;
};

// A trip card (A_KARTA) or an equipment work card (A_KARTAS).
struct CardRow {
    int owner = 0;  // KODA or KODS
    int number = 0; // KODD or KODK
    QString NRREJ;
    int year = 0;  // ROKD or ROKS: years after 2000
    int month = 0; // MIED or MIES
    QDate date;    // DATAD or DATAS
    // The card's amounts by column name in capitals (ZUZYCIEP, PRZEBIEGM, CZAS, ...); a column
    // that is missing counts as 0.
    QHash<QString, double> amounts;

    double amount(const QString& column) const { return amounts.value(column, 0.0); }
};

// A technical service of a vehicle (A_OBSLU).
struct ServiceRow {
    int KODA = 0;
    int KODB = 0;
    QString TYP, NAZWA, PLANW, UWAGI;
    QDate DATAW, DATAP;
    double STANW = 0, STANP = 0;
};

// Everything a statement reads, each list in the order its query gives: registry by code, cards by
// owner and number, services by vehicle and number, dictionary by code.
struct StatementSources {
    std::vector<RegistryRow> registry;
    std::vector<CardRow> cards;
    std::vector<ServiceRow> services;
    std::vector<DictionaryEntry> dictionary; // the statement's rows by kind or group
    // Services due by the counter: the highest final odometer of each vehicle's trip cards.
    QHash<int, double> lastOdometer;
};

} // namespace korven::reports
