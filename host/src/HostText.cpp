#include "HostText.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

std::string ToUtf8(const CString& str)
{
    if (str.IsEmpty())
        return std::string();
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, str.GetString(), str.GetLength(), nullptr, 0,
                                           nullptr, nullptr);
    std::string strOut(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, str.GetString(), str.GetLength(), &strOut[0], nBytes, nullptr,
                        nullptr);
    return strOut;
}

CString FromUtf8(const std::string& str)
{
    if (str.empty())
        return CString();
    const int nBytes = static_cast<int>(str.size());
    const int nLength = MultiByteToWideChar(CP_UTF8, 0, str.data(), nBytes, nullptr, 0);
    CString strOut;
    MultiByteToWideChar(CP_UTF8, 0, str.data(), nBytes, strOut.GetBufferSetLength(nLength),
                        nLength);
    strOut.ReleaseBuffer(nLength);
    return strOut;
}

void ReportError(const std::string& strMessage)
{
    std::fprintf(stderr, "vekhost: %s\n", strMessage.c_str());
}

void ReportWarning(const std::string& strMessage)
{
    std::fprintf(stderr, "vekhost: warning: %s\n", strMessage.c_str());
}

std::string FormatNumber(double dValue)
{
    // The host never changes the C locale, so this always uses a full stop.
    char szBuffer[64];
    std::snprintf(szBuffer, sizeof(szBuffer), "%.6f", dValue);
    std::string strText = szBuffer;
    const size_t nPoint = strText.find('.');
    if (nPoint != std::string::npos)
    {
        size_t nEnd = strText.find_last_not_of('0');
        if (nEnd == nPoint)
            --nEnd;
        strText.erase(nEnd + 1);
    }
    if (strText == "-0")
        strText = "0";
    return strText;
}

const char* UnitName(int nUnit)
{
    static const char* const kNames[] = {"mm", "cm", "m",  "in",  "ft", "ft-in",
                                         "um", "km", "yd", "mil", "mi"};
    if (nUnit < 0 || nUnit > 10)
        return "?";
    return kNames[nUnit];
}

bool ParseUnit(const std::string& strText, int& nUnit)
{
    if (strText.empty() || strText.size() > 2)
        return false;
    char* pEnd = nullptr;
    const long nValue = std::strtol(strText.c_str(), &pEnd, 10);
    if (*pEnd != 0 || strText[0] < '0' || strText[0] > '9' || nValue > 10)
        return false;
    nUnit = static_cast<int>(nValue);
    return true;
}

std::string OperatorText(int nOperator)
{
    switch (nOperator)
    {
    case 1:
        return "range";
    case 2:
        return "=";
    case 3:
        return "!=";
    case 4:
        return "<";
    case 5:
        return "<=";
    case 6:
        return ">";
    case 7:
        return ">=";
    default:
        return std::to_string(nOperator);
    }
}
