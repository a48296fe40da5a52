#include "OperatorText.h"

namespace
{
struct OperatorEntry
{
    int nCode;
    LPCWSTR pszText;
};

// The codes the dialog can name; the combo box offers only ">" and ">=".
const OperatorEntry kOperators[] = {
    {1, L"RANGE"}, {3, L"="}, {5, L"<"}, {6, L">"}, {7, L">="}, {8, L"<="},
};
} // namespace

CString GetOperatorText(int nOperator)
{
    for (const OperatorEntry& entry : kOperators)
    {
        if (entry.nCode == nOperator)
            return entry.pszText;
    }
    return CString();
}

VekOperator_e GetOperatorFromText(const CString& strText)
{
    for (const OperatorEntry& entry : kOperators)
    {
        if (strText.CompareNoCase(entry.pszText) == 0)
            return static_cast<VekOperator_e>(entry.nCode);
    }
    return VEK_OPERATOR_NONE;
}
