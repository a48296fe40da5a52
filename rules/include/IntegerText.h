// Integers in the rule's XML text: written as "%ld" writes them, read as a
// "%ld" scan reads them (leading blanks and a sign allowed, trailing text ignored).
#pragma once

#include <afx.h>

class VekXMLNode;

// Decimal text of nValue ("-12"), taken as the host's 32-bit long as "%ld"
// takes it: a wider value is cut to its low 32 bits.
CString FormatInteger(long nValue);

// The number at the start of strText; false (nValue unchanged) when the text
// does not start with one; throws std::bad_alloc when memory runs out during
// the scan. Callers narrow it to the host's 32-bit LONG or int.
bool ScanInteger(const CString& strText, long& nValue);

// Attribute pszName of pNode scanned as ScanInteger does; false (nValue
// unchanged) when the attribute is missing or does not start with a number.
bool ReadIntegerAttribute(VekXMLNode* pNode, LPCWSTR pszName, long& nValue);
