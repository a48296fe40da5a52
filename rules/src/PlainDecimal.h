// Plain decimal texts, read without the C library.
#pragma once

// Digits with at most one point and at least one, and nothing else (no blank,
// sign or exponent), read as the nearest double, negated when bNegative. Every
// correct reader agrees on such a text; false for any other text, for values
// out of range and for those below the normal doubles, which readers of the C
// library may round otherwise.
bool ReadPlainDecimalDigits(const wchar_t* pszDigits, bool bNegative, double& dValue);
