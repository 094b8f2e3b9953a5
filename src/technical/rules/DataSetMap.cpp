#include "technical/rules/DataSetMap.h"

namespace korven::technical {

namespace {
constexpr DataSet sets[] = {
    {"1. Kartoteka Pojazdów", "select KODA from A_AUTO"},
    {"2. Kartoteka Kart Drogowych", "select KODD from A_KARTA"},
    {"3. Kartoteka Grup Pojazdów", "select KOD from A_GRUPP"},
    {"4. Kartoteka Rodzajów Pojazdów", "select KOD from A_RODZP"},
    {"5. Kartoteka Jednostek", "select KOD from A_KOMEN"},
    {"6. Kartoteka Obsług Techn - Słownik", "select KOD from A_OBSK"},
    {"7. Kartoteka Obsług Techn - Pojazd", "select KODA,KODB from A_OBSLU"},
    {"8. Kartoteka Sprzętu", "select KODS from A_SPRZET"},
    {"9. Kartoteka Grup Sprzętu - słownik", "select KOD from A_GRUPS"},
};
} // namespace

std::span<const DataSet> dataSets() {
    return sets;
}

int dataSetProgress(int k) {
    return k * 100 / 9;
}

} // namespace korven::technical
