// Number and text helpers shared by the rule and its dialogs.
#pragma once

#include <afx.h>

// Tolerance for comparing thicknesses and flags read from XML.
extern const double g_dTolerance;

// Leading run of ".0123456789" after trimming white space, as a double; 0.0 when
// there is none. A leading minus ends the run, so negative texts read as 0.0.
double StringToDouble(const CString& strText);

// "%lf" text with trailing zeros removed; "0" is put back after a trailing decimal
// separator (the user's separator, "." when it cannot be read).
CString FormatDouble(double dValue);

// The value FormatDouble(dValue) reads back as through StringToDouble, i.e. dValue
// rounded to six decimals (0.0 for negative values, as their text reads).
double ShownValue(double dValue);

// Removes trailing "0" characters in place; appends "0" when the text then ends
// with the user's decimal separator.
void TrimTrailingZeros(CString& strText);

// First character of the user's decimal separator, or '.' when it cannot be read.
WCHAR GetUserDecimalSeparator();

// 1 when every character is one of ".0123456789" (the empty text included), else 0.
int IsNumberText(const CString& strText);
