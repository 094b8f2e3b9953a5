#pragma once

namespace korven {

// The program's roundings. Halves go away from zero, and so does anything up to 0.00001 below a
// half: the offset added before the fraction is dropped is 0.50001, not 0.5. R1(0.049999) is 0.1.
double R1(double x);
double R2(double x);
double R5(double x);

// Rounding to whole units, decided by the first decimal only: 12.5 -> 13, 12.46 -> 12, -12.5 -> -13.
double R0(double x);

// Rounds to the given number of decimals the way a stored DECIMAL column of that scale keeps a value
// assigned from a double: half away from zero, exact for values that are already decimal fractions.
double roundToScale(double x, int scale);

} // namespace korven
