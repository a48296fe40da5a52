#include "HostText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

std::string ToUtf8(const CString& str)
{
    std::string strOut;
    strOut.reserve(static_cast<size_t>(str.GetLength()));
    for (int i = 0; i < str.GetLength(); ++i)
    {
        uint32_t ch = static_cast<uint32_t>(str[i]);
        if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF)
            ch = 0xFFFD;
        if (ch < 0x80)
        {
            strOut.push_back(static_cast<char>(ch));
        }
        else if (ch < 0x800)
        {
            strOut.push_back(static_cast<char>(0xC0 | (ch >> 6)));
            strOut.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
        }
        else if (ch < 0x10000)
        {
            strOut.push_back(static_cast<char>(0xE0 | (ch >> 12)));
            strOut.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
            strOut.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
        }
        else
        {
            strOut.push_back(static_cast<char>(0xF0 | (ch >> 18)));
            strOut.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
            strOut.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
            strOut.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
        }
    }
    return strOut;
}

CString FromUtf8(const std::string& str)
{
    std::wstring strWide;
    strWide.reserve(str.size());
    size_t i = 0;
    while (i < str.size())
    {
        const unsigned char ch = static_cast<unsigned char>(str[i]);
        int nMore = -1;
        uint32_t nCode = 0;
        if (ch < 0x80)
            nMore = 0, nCode = ch;
        else if ((ch & 0xE0) == 0xC0)
            nMore = 1, nCode = ch & 0x1F;
        else if ((ch & 0xF0) == 0xE0)
            nMore = 2, nCode = ch & 0x0F;
        else if ((ch & 0xF8) == 0xF0)
            nMore = 3, nCode = ch & 0x07;
        ++i;
        bool bOk = nMore >= 0;
        for (int k = 0; bOk && k < nMore; ++k, ++i)
        {
            if (i >= str.size() || (static_cast<unsigned char>(str[i]) & 0xC0) != 0x80)
                bOk = false;
            else
                nCode = (nCode << 6) | (static_cast<unsigned char>(str[i]) & 0x3F);
        }
        strWide.push_back(bOk ? static_cast<wchar_t>(nCode) : static_cast<wchar_t>(0xFFFD));
    }
    return CString(strWide);
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
