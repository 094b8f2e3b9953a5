// Writes the five card document templates into the folder given on the command line:
//   karta.xlsx                 vehicle work card (the front page on the right, the trip log on the left)
//   karta2.xlsx                mileage and fuel settlement of a trip card
//   karta_pracy_sprzetu1.xlsx  equipment work card, the work log running over two pages
//   karta_pracy_sprzetu3.xlsx  equipment work card on one page
//   karta_pracy_sprzetu2.xlsx  equipment card settlement
//
// The forms are plain printed forms: texts, frames, merged cells, widths and page set-up. The program
// fills the value cells (left empty and framed here) with the card's values. The files come out the
// same on every run: the creation time is fixed.

#include <xlsxwriter.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Style {
    Title,   // the form's name
    Heading, // a section heading
    Label,   // a caption beside or above a value
    Small,   // a small caption, wrapped
    Header,  // a column title of a table: framed, grey, wrapped
    Value,   // a framed value cell, centred
    ValueLeft,
    Cell, // a framed empty cell of a table
    Line, // a dotted line to write on
    Note  // small italic hints
};

class Form {
public:
    Form(lxw_workbook* book, const char* sheetName) : book_(book) {
        sheet_ = workbook_add_worksheet(book, sheetName);
        for (int s = 0; s <= int(Style::Note); ++s)
            formats_.push_back(make(Style(s)));
    }

    lxw_worksheet* sheet() const { return sheet_; }

    // A text over a range of cells ("A1:V1") or in one cell ("A1").
    void text(const char* range, const char* text, Style style = Style::Label) {
        if (std::strchr(range, ':')) {
            worksheet_merge_range(sheet_, RANGE(range), text, formats_[std::size_t(style)]);
        } else {
            worksheet_write_string(sheet_, CELL(range), text, formats_[std::size_t(style)]);
        }
    }
    // An empty, framed cell (or merged range) that the program fills.
    void field(const char* range, Style style = Style::Value) {
        if (std::strchr(range, ':'))
            worksheet_merge_range(sheet_, RANGE(range), "", formats_[std::size_t(style)]);
        else
            worksheet_write_blank(sheet_, CELL(range), formats_[std::size_t(style)]);
    }
    // A table: the column titles in row headerRow over the given column ranges ("A:B"), then framed
    // empty rows up to lastRow, the first column numbered when numbered is set.
    void table(int headerRow, int lastRow, const std::vector<std::pair<const char*, const char*>>& columns,
               double headerHeight = 30, int firstNumber = 1) {
        worksheet_set_row(sheet_, lxw_row_t(headerRow - 1), headerHeight, nullptr);
        for (const auto& [cols, title] : columns) {
            const auto [c1, c2] = columnsOf(cols);
            put(headerRow, c1, headerRow, c2, title, Style::Header);
        }
        for (int r = headerRow + 1; r <= lastRow; ++r) {
            bool first = true;
            for (const auto& [cols, title] : columns) {
                const auto [c1, c2] = columnsOf(cols);
                const std::string number =
                    first ? std::to_string(r - headerRow - 1 + firstNumber) : std::string();
                put(r, c1, r, c2, number.c_str(), Style::Cell);
                first = false;
            }
        }
    }
    void widths(int firstColumn, int lastColumn, double width) {
        worksheet_set_column(sheet_, lxw_col_t(firstColumn), lxw_col_t(lastColumn), width, nullptr);
    }
    void height(int row, double points) { worksheet_set_row(sheet_, lxw_row_t(row - 1), points, nullptr); }
    void heights(int firstRow, int lastRow, double points) {
        for (int r = firstRow; r <= lastRow; ++r)
            height(r, points);
    }

private:
    static std::pair<int, int> columnsOf(const char* cols) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%s", cols);
        char* colon = std::strchr(buffer, ':');
        if (!colon) return {lxw_name_to_col(buffer), lxw_name_to_col(buffer)};
        *colon = '\0';
        return {lxw_name_to_col(buffer), lxw_name_to_col(colon + 1)};
    }
    void put(int r1, int c1, int r2, int c2, const char* text, Style style) {
        lxw_format* f = formats_[std::size_t(style)];
        if (r1 == r2 && c1 == c2)
            worksheet_write_string(sheet_, lxw_row_t(r1 - 1), lxw_col_t(c1), text, f);
        else
            worksheet_merge_range(sheet_, lxw_row_t(r1 - 1), lxw_col_t(c1), lxw_row_t(r2 - 1), lxw_col_t(c2),
                                  text, f);
    }

    lxw_format* make(Style style) {
        lxw_format* f = workbook_add_format(book_);
        format_set_font_name(f, "Arial");
        format_set_font_size(f, 8);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        switch (style) {
        case Style::Title:
            format_set_font_size(f, 14);
            format_set_bold(f);
            format_set_align(f, LXW_ALIGN_CENTER);
            break;
        case Style::Heading:
            format_set_font_size(f, 9);
            format_set_bold(f);
            break;
        case Style::Label:
            break;
        case Style::Small:
            format_set_font_size(f, 7);
            format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_CENTER);
            break;
        case Style::Header:
            format_set_font_size(f, 7);
            format_set_bold(f);
            format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_border(f, LXW_BORDER_THIN);
            format_set_bg_color(f, 0xE6E6E6);
            break;
        case Style::Value:
            format_set_font_size(f, 10);
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_border(f, LXW_BORDER_THIN);
            format_set_shrink(f);
            break;
        case Style::ValueLeft:
            format_set_font_size(f, 10);
            format_set_border(f, LXW_BORDER_THIN);
            format_set_indent(f, 1);
            format_set_shrink(f);
            break;
        case Style::Cell:
            format_set_font_size(f, 7);
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_border(f, LXW_BORDER_THIN);
            break;
        case Style::Line:
            format_set_bottom(f, LXW_BORDER_DOTTED);
            break;
        case Style::Note:
            format_set_font_size(f, 7);
            format_set_italic(f);
            format_set_text_wrap(f);
            break;
        }
        return f;
    }

    lxw_workbook* book_;
    lxw_worksheet* sheet_;
    std::vector<lxw_format*> formats_;
};

void pageSetup(lxw_worksheet* sheet, bool landscape, int paper, const char* printArea, int pagesTall = 1) {
    worksheet_set_paper(sheet, uint8_t(paper));
    if (landscape)
        worksheet_set_landscape(sheet);
    else
        worksheet_set_portrait(sheet);
    worksheet_set_margins(sheet, 0.4, 0.4, 0.5, 0.5);
    worksheet_center_horizontally(sheet);
    worksheet_print_area(sheet, RANGE(printArea));
    worksheet_fit_to_pages(sheet, 1, uint16_t(pagesTall));
    worksheet_gridlines(sheet, LXW_HIDE_ALL_GRIDLINES);
}

constexpr int A4 = 9;
constexpr int A3 = 8;

// --- The vehicle work card ------------------------------------------------------------------------

void vehicleWorkCard(lxw_workbook* book) {
    Form f(book, "Karta");
    f.widths(0, 50, 3.3);
    f.heights(1, 91, 12.75);

    // Left half: the trip log and the fuel taken during the month.
    f.text("A1:Z1", "EWIDENCJA PRACY POJAZDU I POBRANIA PALIWA", Style::Heading);
    f.text("C3:D3", "data wydania", Style::Small);
    f.text("E3:F3", "licznik [km]", Style::Small);
    f.text("A4:B4", "Wydano:", Style::Small);
    f.field("C4:D4");
    f.field("E4:F4");
    f.text("G4:Z4", "Stan paliwa przy wydaniu karty [l]:", Style::Label);
    f.text("G5:I5", "w zbiorniku", Style::Small);
    f.text("J5:L5", "w kanistrach", Style::Small);
    f.field("G6:I6");
    f.field("J6:L6");
    f.text("N5:Z6", "Kierowca odbierający kartę: .......................................", Style::Label);
    f.table(8, 88,
            {{"A:A", "Lp."},
             {"B:C", "Data"},
             {"D:E", "Godz. wyjazdu"},
             {"F:G", "Godz. powrotu"},
             {"H:M", "Cel wyjazdu / trasa"},
             {"N:O", "Licznik przy powrocie"},
             {"P:Q", "Przejech. km"},
             {"R:S", "Praca silnika na postoju [min]"},
             {"T:U", "Praca autopompy [min]"},
             {"V:W", "Pobrano paliwa [l]"},
             {"X:Z", "Podpis kierowcy"}},
            36);
    f.text("A90:M90", "Przejechano razem km: ....................", Style::Label);
    f.text("N90:Z90", "Pobrano paliwa razem [l]: ....................", Style::Label);

    // Right half: the front page of the card.
    f.text("AB2:AY2", "KARTA DROGOWA", Style::Title);
    f.height(2, 20);
    // Rows of the larger values are as tall as their fonts.
    for (int row : {5, 15, 31, 43, 51, 54, 62, 69, 71, 75, 80, 91})
        f.height(row, 15);
    f.text("AB3:AY3", "karta pracy pojazdu pożarniczego", Style::Small);
    f.text("AB5:AP5", "Nr karty / miesiąc / rok:", Style::Label);
    f.field("AQ5:AS5");
    f.field("AT5:AV5");
    f.field("AW5:AY5");
    f.text("AB9:AG9", "za miesiąc:", Style::Label);
    f.field("AH9:AP9");
    f.text("AR9:AU9", "roku:", Style::Label);
    f.field("AV9:AY9");
    f.height(9, 15);
    f.text("AH15:AJ15", "od dnia", Style::Label);
    f.field("AK15:AQ15");
    f.text("AR15:AT15", "do dnia", Style::Label);
    f.field("AU15:AY15");
    f.text("AB15:AG15", "Karta ważna", Style::Heading);
    f.field("AB16:AK18");
    f.text("AB19:AK19", "numer rejestracyjny", Style::Small);
    f.text("AM18:AY18", "Marka i typ pojazdu", Style::Small);
    f.field("AM19:AY20", Style::ValueLeft);
    f.field("AB21:AK22");
    f.text("AM21:AY21", "Podwozie (marka, typ, model)", Style::Small);
    f.field("AM22:AY23", Style::ValueLeft);

    f.text("AB28:AY28", "PALIWO", Style::Heading);
    f.text("AB30:AG31", "Rodzaj paliwa i pojemność:", Style::Small);
    f.text("AH30:AJ30", "rodzaj", Style::Small);
    f.text("AK30:AO30", "zbiornik [l]", Style::Small);
    f.text("AP30:AU30", "kanistry [l]", Style::Small);
    f.text("AV30:AY30", "razem [l]", Style::Small);
    f.field("AH31:AJ31");
    f.field("AK31:AO31");
    f.field("AP31:AU31");
    f.field("AV31:AY31");

    f.text("AB40:AY40", "NORMY ZUŻYCIA PALIWA", Style::Heading);
    f.text("AB42:AD43", "Norma [l/100 km]", Style::Small);
    f.field("AE43:AK43");
    f.text("AL42:AM43", "UG", Style::Small);
    f.field("AN43:AS43");
    f.text("AB50:AH51", "Praca autopompy [l/min]", Style::Small);
    f.field("AI51:AO51");
    f.text("AB54:AW54", "Praca silnika na postoju, norma [l/min]:", Style::Label);
    f.field("AX54:AY54");

    f.text("AB59:AY59", "OLEJ SILNIKOWY", Style::Heading);
    f.text("AE61:AJ61", "klasa", Style::Small);
    f.text("AK61:AT61", "pojemność układu [l]", Style::Small);
    f.text("AU61:AY61", "marka", Style::Small);
    f.text("AB62:AD62", "Olej:", Style::Label);
    f.field("AE62:AJ62");
    f.field("AK62:AT62");
    f.field("AU62:AY62");

    f.text("AB66:AY66", "PLANOWANE OBSŁUGI TECHNICZNE", Style::Heading);
    f.text("AC68:AG68", "obsługa", Style::Small);
    f.text("AH68:AL68", "data", Style::Small);
    f.text("AM68:AR68", "stan licznika", Style::Small);
    f.text("AB69", "1.", Style::Label);
    f.field("AC69:AG69");
    f.field("AH69:AL69");
    f.field("AM69:AR69");
    f.text("AB71", "2.", Style::Label);
    f.field("AC71:AG71");
    f.field("AH71:AL71");
    f.field("AM71:AR71");

    f.text("AB75:AL75", "Za pojazd odpowiada:", Style::Label);
    f.field("AM75:AY75", Style::ValueLeft);
    f.text("AF79:AM79", "imię i nazwisko", Style::Small);
    f.text("AO79:AY79", "miejscowość i data", Style::Small);
    f.text("AB80:AE80", "Sporządził:", Style::Label);
    f.field("AF80:AM80");
    f.field("AO80:AY80");
    f.text("AB82:AY82", "(pieczęć jednostki)", Style::Note);
    f.text("AB88:AY88", "ROZLICZENIE LICZNIKA", Style::Heading);
    f.text("AB91:AV91", "Stan licznika przy wydaniu karty [km]:", Style::Label);
    f.field("AW91:AY91");

    pageSetup(f.sheet(), true, A3, "A1:AY91");
}

// --- The mileage settlement of a trip card --------------------------------------------------------

void mileageSettlement(lxw_workbook* book) {
    Form f(book, "Rozliczenie");
    f.widths(0, 1, 4);
    f.widths(2, 3, 9);
    f.widths(4, 4, 24);
    f.widths(5, 13, 5);
    f.widths(14, 15, 11);
    f.heights(1, 56, 15);

    f.text("A1:N1", "ROZLICZENIE PRZEBIEGU I ZUŻYCIA PALIWA", Style::Title);
    f.height(1, 22);
    for (int row : {2, 9, 10})
        f.height(row, 16);
    f.height(3, 20);
    f.height(31, 20);
    f.text("K2:N2", "Karta drogowa nr:", Style::Label);
    f.field("O2:P2");
    f.text("K3:N3", "Nr rejestracyjny:", Style::Label);
    f.field("O3:P3");
    f.text("A3:D3", "Pojazd:", Style::Label);
    f.field("E3", Style::ValueLeft);
    f.text("A5:H5", "Rozliczenie za miesiąc:", Style::Label);
    f.field("I5:L5");
    f.height(5, 20);

    f.text("A7:P7", "I. PRZEBIEG POJAZDU", Style::Heading);
    f.text("A9:G9", "Stan licznika na koniec miesiąca [km]", Style::Label);
    f.field("H9");
    f.text("A10:G10", "Stan licznika na początku miesiąca [km]", Style::Label);
    f.field("H10");
    f.text("A11:G11", "Przebieg w miesiącu [km]", Style::Label);
    f.field("H11");
    f.text("K9:N9", "Rozliczono dnia:", Style::Label);
    f.field("O9:P9");
    f.text("K10:N10", "Sporządził:", Style::Label);
    f.field("O10:P10");

    f.text("A14:P15",
           "Zużycie paliwa wg normy obejmuje normę podstawową za przebieg oraz dodatki za pracę "
           "urządzeń, postój i warunki jazdy wykazane w części III.",
           Style::Note);
    f.text("A23:P23", "II. ROZLICZENIE PALIWA [l]", Style::Heading);
    f.text("A25:H25", "Faktyczne zużycie paliwa", Style::Label);
    f.field("I25:J25");
    f.text("A26:H26", "Zużycie paliwa według normy z dodatkami", Style::Label);
    f.field("I26:J26");
    f.text("A27:H27", "Różnica: oszczędność (+) / przekroczenie (−)", Style::Label);
    f.field("I27:J27");

    f.text("A29:P29", "III. NORMY I DODATKI", Style::Heading);
    f.text("A31:D31", "Norma podstawowa [l/100 km]:", Style::Label);
    f.field("E31");
    f.text("A33:P33", "Praca urządzeń [min]", Style::Label);
    f.text("A34:B34", "autopompa", Style::Label);
    f.field("C34");
    f.text("A35:B35", "urz. specjalne", Style::Label);
    f.field("C35");
    f.text("A38:P38", "Praca silnika na postoju [min]", Style::Label);
    f.text("A39:B39", "postój", Style::Label);
    f.field("C39");
    f.text("A41:P41", "Warunki jazdy [km]", Style::Label);
    f.text("A42:C42", "jazda alarmowa", Style::Label);
    f.field("D42");
    f.text("A43:C43", "jazda w mieście", Style::Label);
    f.field("D43");
    f.text("A44:C44", "warunki zimowe", Style::Label);
    f.field("D44");
    f.text("A45:C45", "teren", Style::Label);
    f.field("D45");
    f.text("A47:P47", "Inne", Style::Label);
    f.text("A48:B48", "UG", Style::Label);
    f.field("C48");
    f.text("A49:B49", "klimatyzacja", Style::Label);
    f.field("C49");

    f.text("A53:D53", "Sporządził", Style::Small);
    f.text("F53:J53", "Sprawdził", Style::Small);
    f.text("L53:P53", "Zatwierdził", Style::Small);
    f.field("A55:D55", Style::Line);
    f.field("F55:J55", Style::Line);
    f.field("L55:P55", Style::Line);

    pageSetup(f.sheet(), false, A4, "A1:P56");
}

// --- The equipment work card and settlement ---------------------------------------------------------

// The head shared by the work card and the settlement: the machine, the period, the fuel and the
// machine's numbers (rows 1 to 18).
void equipmentHead(Form& f, const char* title) {
    f.widths(0, 28, 3.6);
    f.heights(1, 18, 15);
    f.text("A1:V1", title, Style::Title);
    f.height(1, 22);
    f.text("X1:AC1", "Karta nr / m-c / rok", Style::Small);
    f.field("X2:Y2");
    f.field("Z2:AA2");
    f.field("AB2:AC2");
    f.text("A3:H3", "Nazwa sprzętu", Style::Small);
    f.text("I3:L3", "Nr operacyjny", Style::Small);
    f.text("M3:R3", "Miesiąc", Style::Small);
    f.text("S3:V3", "Rok", Style::Small);
    f.field("A4:H4", Style::ValueLeft);
    f.field("I4:L4");
    f.field("M4:R4");
    f.field("S4:V4");
    f.height(4, 22);
    f.text("X4:AC4", "Karta ważna od dnia", Style::Small);
    f.field("X5:AC5");
    f.text("X7:AC7", "do dnia", Style::Small);
    f.field("X8:AC8");

    f.text("A10:V10", "PALIWO", Style::Heading);
    f.text("B11:E11", "Rodzaj", Style::Small);
    f.text("F11:K11", "Pojemność zbiornika [l]", Style::Small);
    f.text("L11:P11", "Pojemność kanistrów [l]", Style::Small);
    f.text("Q11:V11", "Razem [l]", Style::Small);
    f.field("B12:E12");
    f.field("F12:K12");
    f.field("L12:P12");
    f.field("Q12:V12");
    f.text("X11:AC12", "Norma zużycia paliwa [l/min]", Style::Small);
    f.field("X13:AC13");
    f.height(12, 19);
    f.height(13, 19);

    f.text("A16:J16", "DANE SPRZĘTU", Style::Heading);
    f.text("K17:R17", "Nr identyfikacyjny", Style::Small);
    f.text("S17:Y17", "Nr fabryczny", Style::Small);
    f.text("Z17:AC17", "Nr dowodu rej.", Style::Small);
    f.field("K18:R18");
    f.field("S18:Y18");
    f.field("Z18:AC18");
}

const std::vector<std::pair<const char*, const char*>> workLogColumns = {
    {"A:A", "Lp."},
    {"B:D", "Data"},
    {"E:F", "Godz. rozpoczęcia"},
    {"G:H", "Godz. zakończenia"},
    {"I:J", "Czas pracy [min]"},
    {"K:S", "Rodzaj pracy, miejsce (nr zdarzenia)"},
    {"T:V", "Pobrano paliwa [l]"},
    {"W:Y", "Pobrano oleju [l]"},
    {"Z:AC", "Podpis operatora"}};

// The work card: the head, then the log of the machine's work. On two pages the log goes on over a
// second page; on one page it is shorter and the whole card fits one sheet.
void equipmentWorkCard(lxw_workbook* book, bool twoPages) {
    Form f(book, "Karta");
    equipmentHead(f, "KARTA PRACY SPRZĘTU SILNIKOWEGO");
    f.text("A20:AC20", "EWIDENCJA PRACY SPRZĘTU", Style::Heading);
    const int last = twoPages ? 100 : 60;
    f.table(21, twoPages ? 52 : last, workLogColumns);
    f.heights(22, last, 15);
    if (twoPages) {
        f.text("A54:AC54", "EWIDENCJA PRACY SPRZĘTU (ciąg dalszy)", Style::Heading);
        f.table(55, last, workLogColumns, 30, 52 - 21 + 1);
        lxw_row_t breaks[] = {53, 0};
        worksheet_set_h_pagebreaks(f.sheet(), breaks);
    }
    const int sums = last + 2;
    const std::string sumsRange = "A" + std::to_string(sums) + ":S" + std::to_string(sums);
    f.text(sumsRange.c_str(), "Razem czas pracy [min]: ..........   pobrano paliwa [l]: ..........",
           Style::Label);
    const std::string signRange = "T" + std::to_string(sums) + ":AC" + std::to_string(sums);
    f.text(signRange.c_str(), "Sprawdził: ..............................", Style::Label);
    const std::string area = "A1:AC" + std::to_string(sums + 1);
    // Two pages: one page wide, as tall as the page break gives.
    pageSetup(f.sheet(), false, A4, area.c_str(), twoPages ? 0 : 1);
}

void equipmentSettlement(lxw_workbook* book) {
    Form f(book, "Rozliczenie");
    equipmentHead(f, "ROZLICZENIE KARTY PRACY SPRZĘTU");
    f.heights(19, 50, 15);
    f.text("A20:AC20", "ROZLICZENIE PALIWA", Style::Heading);
    f.text("A22:E23", "Stan paliwa na początku miesiąca [l]:", Style::Small);
    f.text("F22:H22", "zbiornik", Style::Small);
    f.text("I22:K22", "kanistry", Style::Small);
    f.field("F23:H23");
    f.field("I23:K23");

    f.text("A24:Q24", "Pobranie paliwa i oleju", Style::Label);
    f.text("A25", "Lp.", Style::Header);
    f.text("B25:E25", "Data", Style::Header);
    f.text("F25:I25", "Nr dokumentu", Style::Header);
    f.text("J25:M25", "Paliwo [l]", Style::Header);
    f.text("N25:Q25", "Olej [l]", Style::Header);
    for (int r = 26; r <= 29; ++r) {
        const std::string n = std::to_string(r);
        f.text(("A" + n).c_str(), std::to_string(r - 25).c_str(), Style::Cell);
        f.field(("B" + n + ":E" + n).c_str());
        f.field(("F" + n + ":I" + n).c_str(), Style::Cell);
        f.field(("J" + n + ":M" + n).c_str(), Style::Cell);
        f.field(("N" + n + ":Q" + n).c_str(), Style::Cell);
    }
    f.text("A30:E30", "Zużyto paliwa [l]:", Style::Small);
    f.field("F30:I30");
    f.text("J30:N30", "Pobrano oleju [l]:", Style::Small);
    f.field("O30:Q30");

    f.field("P34:AC34", Style::ValueLeft);
    f.text("A35:E36", "Stan paliwa na koniec miesiąca [l]:", Style::Small);
    f.text("F35:H35", "zbiornik", Style::Small);
    f.text("I35:K35", "kanistry", Style::Small);
    f.field("F36:H36");
    f.field("I36:K36");
    f.text("S35:AC35", "Rozliczył", Style::Small);
    f.field("S36:AC36");

    f.text("A38:AC38", "ZUŻYCIE PALIWA", Style::Heading);
    f.text("A40:J40", "Zużycie faktyczne [l]", Style::Label);
    f.field("K40:N40");
    f.text("A42:J42", "Zużycie według normy [l]", Style::Label);
    f.field("K42:N42");
    f.text("A44:J44", "Oszczędność (+) / przekroczenie (−) [l]: ....................", Style::Label);

    f.text("A48:H48", "Sporządził", Style::Small);
    f.text("K48:R48", "Sprawdził", Style::Small);
    f.text("U48:AC48", "Zatwierdził", Style::Small);
    f.field("A50:H50", Style::Line);
    f.field("K50:R50", Style::Line);
    f.field("U50:AC50", Style::Line);
    pageSetup(f.sheet(), false, A4, "A1:AC51");
}

bool write(const std::string& folder, const char* name, void (*build)(lxw_workbook*)) {
    const std::string path = folder + "/" + name;
    lxw_workbook* book = workbook_new(path.c_str());
    if (!book) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        return false;
    }
    // A fixed creation time makes the files the same on every run.
    lxw_doc_properties properties{};
    properties.created = 1262304000; // 2010-01-01
    workbook_set_properties(book, &properties);
    build(book);
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), lxw_strerror(error));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = write(folder, "karta.xlsx", vehicleWorkCard);
    ok = write(folder, "karta2.xlsx", mileageSettlement) && ok;
    ok =
        write(folder, "karta_pracy_sprzetu1.xlsx", [](lxw_workbook* b) { equipmentWorkCard(b, true); }) && ok;
    ok = write(folder, "karta_pracy_sprzetu3.xlsx", [](lxw_workbook* b) { equipmentWorkCard(b, false); }) &&
         ok;
    ok = write(folder, "karta_pracy_sprzetu2.xlsx", equipmentSettlement) && ok;
    return ok ? 0 : 1;
}
