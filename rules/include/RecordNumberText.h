// Numbers in the text of a parameter record: doubles written as "%f" writes
// them and read as a wide C++ stream reads them, unsigned values as "%u".
// The common texts are handled without the C library's wide formatted I/O;
// every other text still goes through it, so the results never differ.
#pragma once

#include <afx.h>

#include <cstdint>

// "%f" text of dValue: six decimals, "-" for negative values and negative zero.
CString FormatRecordReal(double dValue);

// "%u" text of nValue.
CString FormatRecordUnsigned(uint32_t nValue);

// strText read as a classic-locale wide stream reads a double (leading white
// space skipped, trailing text ignored); 0.0 when the stream fails, which
// includes texts that do not start with a number and values out of range.
// Throws std::bad_alloc when memory runs out inside the stream.
double ReadRecordReal(const CString& strText);
