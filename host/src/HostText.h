// Text helpers of the host: wide texts to UTF-8 for the terminal, numbers and
// unit names for tables, and the one-line error report.
#pragma once

#include <afx.h>

#include <string>

// UTF-8 form of a wide text (WideCharToMultiByte: invalid code points become U+FFFD).
std::string ToUtf8(const CString& str);
// Wide form of UTF-8 text such as a command-line argument (MultiByteToWideChar:
// ill-formed sequences become U+FFFD).
CString FromUtf8(const std::string& str);

// "vekhost: <message>" on standard error, one line.
void ReportError(const std::string& strMessage);
// "vekhost: warning: <message>" on standard error, one line.
void ReportWarning(const std::string& strMessage);

// Up to six decimals without trailing zeros ("1", "0.03937", "-2.5").
std::string FormatNumber(double dValue);

// Short name of a length unit code ("mm", "in", ...); "ft-in" for 5, "?" for unknown codes.
const char* UnitName(int nUnit);
// Parses a unit code 0 to 10; false for anything else.
bool ParseUnit(const std::string& strText, int& nUnit);

// Comparison text of an operator code (">=", "=", "range", ...); the number for unknown codes.
std::string OperatorText(int nOperator);
