#include "IntegerText.h"

#include <VekXMLNode.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <new>

CString FormatInteger(long nValue)
{
    CString strText;
    strText.Format(L"%ld", nValue);
    return strText;
}

bool ScanInteger(const CString& strText, long& nValue)
{
    long nScanned = 0;
    errno = 0;
    const int nRead = std::swscanf(strText, L"%ld", &nScanned);
    // Running out of memory inside the scan is no "no number" and must not become a value.
    if (nRead == EOF && errno == ENOMEM)
        throw std::bad_alloc();
    if (nRead != 1)
        return false;
    nValue = nScanned;
    return true;
}

bool ReadIntegerAttribute(VekXMLNode* pNode, LPCWSTR pszName, long& nValue)
{
    CString strText;
    return pNode->GetAttributeValue(pszName, strText) && ScanInteger(strText, nValue);
}
