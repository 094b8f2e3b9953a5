#pragma once

#include <QString>

namespace korven {

// The in-memory copy of the system record (FJ_BAZA, LP = 1). Texts are cut to the widths the
// program keeps; flags are one character.
struct SystemSettings {
    QString NAZWASKR; // 31
    int ROK = 0;
    int MIE = 0;
    QString ARCHIW, NIPE, NAZWAP1, NAZWAP2, NIP, REGON;
    QString KRAJ, WOJEW, POWIAT, GMINA, ULICA, NRDOM, NRLOK, MIEJSC, KODP, POCZTA;
    QString NAZWI, IMIEO, NAZWBANK, KONTBANK, DZI, ROZ, PAR, POZ;
    QString MER, RAC, GLK, DYR, SPO;
    QString DYRKOM, DZWIEK;
    QString LOGO, US;
    int LICZSTR = 0;
    QString P6P12;
    int ILE = 0;
    QString FTECH, ZAPI, OBRO, BILA;
    double MN_POS = 0, MN_MIE = 0, MN_ALA = 0, MN_GOROS = 0, MN_GORPOZ = 0, MN_OZ = 0, MN_KLI = 0, MN_TER = 0,
           MN_ZIM = 0, MN_SZK = 0, MN_HOLON = 0, MN_HOLET = 0, NORMA_OON = 0, NORMA_OET = 0;
    int POCZNR = 0;
    int POCZNRS = 0;

    bool soundLocked() const { return DZWIEK == QLatin1String("T"); }
};

// Who is working: one for the whole run of the program.
struct OperatorSession {
    QString userName;      // at most 20 characters, trimmed
    QString fullName;      // first and last name from the server's user entry; empty when not found
    int accessLevel = 0;   // 0 all rights; 99 also edits start values of trip cards; others restricted
    int sessionNumber = 0; // LP of this session's FJ_FLOP row; 0 when not registered

    // Who a printout names after "Wydrukował:": the full name, or the login name when the server's
    // user list has no names for him.
    QString printedBy() const { return fullName.isEmpty() ? userName : fullName; }
};

// Access levels with a meaning of their own.
constexpr int kAccessAll = 0;
constexpr int kAccessStartValues = 99;

} // namespace korven
