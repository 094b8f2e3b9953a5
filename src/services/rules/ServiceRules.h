#pragma once

#include "core/SystemSettings.h"

#include <QDate>
#include <QString>

#include <optional>
#include <span>

namespace korven::services {

// One technical service of a vehicle, a row of A_OBSLU. Texts trimmed, null numbers 0, a null date an
// invalid QDate.
struct ServiceRecord {
    int KODA = 0;
    int KODB = 0;
    QString TYP;   // short name of the service kind, 3
    QString NAZWA; // name of the service kind, 30
    QDate DATAW;   // carried out
    QDate DATAP;   // planned
    double STANW = 0;
    double STANP = 0;
    QString PLANW; // "N": planned and not yet carried out
    QString UWAGI; // 100
    int ILE = 0;   // months to the next service
};

// A service kind of the dictionary A_OBSK.
struct ServiceKind {
    int KOD = 0;
    QString TYP;
    QString NAZWA;
    int ILE = 0;
};

// The number of a new service of a vehicle: the vehicle's highest number plus 1, 1 for its first.
int nextServiceNumber(std::optional<int> highestOfVehicle);

// Choosing a kind in the editor copies its short name, its trimmed name and its interval.
void applyKind(ServiceRecord& service, const ServiceKind& kind);

// "&Wylicz Datę Planowaną": the date `months` months after `done`. The months are added to the month
// and carried into the year; where the day does not exist in the month reached, the last day of that
// month is taken (31 January plus one month is 28 or 29 February). A negative interval goes back in
// the same way. Nothing for a service without a date carried out.
std::optional<QDate> plannedDate(const QDate& done, int months);

// Why a planned service is due: its planned date has come, or the vehicle's odometer has reached its
// planned counter (less the margin set in the options).
struct ServiceDue {
    bool byDate = false;
    bool byCounter = false;
    bool due() const { return byDate || byCounter; }
};

// Whether a service is due on `today` for a vehicle whose latest settled trip card ended at
// `lastOdometer` (nothing when the vehicle has no card). Only a service planned and not yet carried
// out (PLANW "N", any case) is due. By date: a planned date on or before today. By counter, only
// when `byCounter` is on: a planned counter above 0 that the odometer has reached, less `margin` km.
ServiceDue serviceDue(const ServiceRecord& service, const QDate& today, std::optional<double> lastOdometer,
                      bool byCounter, int margin);

// One line of the list of due services.
struct DueService {
    QString NRREJ;
    QString vehicleName;
    ServiceRecord service;
    ServiceDue why;
    std::optional<double> lastOdometer;
};
// The text of the reason column: "termin", "licznik" or both.
QString dueReasonText(const ServiceDue& why);
inline const QString dueListCaption = QStringLiteral("Obsługi techniczne do wykonania");

// Captions, titles and messages of the register and its editor.
QString registerCaption(const QString& vehicleName, const QString& registration,
                        const SystemSettings& settings);
QString registerExportTitle(const QString& vehicleName, const QString& registration);
QString registerReportVehicle(const QString& vehicleName, const QString& registration);
inline const QString registerReportFile = QStringLiteral("ObslugaD.rav");
inline const QString registerDataView = QStringLiteral("RvDataSetConnectionObsluga");
inline const QString editorCaption = QStringLiteral("Korekta Danych o Obsłudze Technicznej Pojazdu");
inline const QString emptyShortNameMessage =
    QStringLiteral("Pole Nazwy skróconej nie może być puste !!! ...");
inline const QString noDateDoneMessage =
    QStringLiteral("Najpierw wpisz Datę Wykonania Obsługi; bez niej nie można wyliczyć daty planowanej.");

enum class ListBackground { None, Yellow, PaleYellow, PaleGreen };
struct RegisterColumn {
    const char* name;
    QString title;
    bool centred;
    ListBackground background;
};
std::span<const RegisterColumn> registerColumns();

} // namespace korven::services
