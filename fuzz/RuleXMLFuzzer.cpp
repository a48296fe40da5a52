// Fuzz target: the input is parsed as an XML document; every element of it is
// offered to the built module through GetRule, exactly as a host offers stored
// rule elements, and every rule built is converted between units, written back
// through GetXMLNode and deleted through DeleteRule. What it writes must then
// survive further round trips unchanged.
#include <VekRulesModuleExports.h>
#include <VekXMLNodeList.h>
#include <afx.h>
#include <vekmsgbox.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
VekRulesModuleExports g_module;
VekXMLDocument* g_pDocument = nullptr;

// Deep inputs are cut off here so that a run spends its time in the module, not in walking.
const int kMaxElements = 2000;

// The input as UTF-8; ill-formed sequences and zero bytes become U+FFFD, as
// the document would store them.
CString DecodeUtf8(const uint8_t* pData, size_t nSize)
{
    CString str;
    if (nSize == 0 || nSize > static_cast<size_t>(INT_MAX))
        return str;
    const char* pszData = reinterpret_cast<const char*>(pData);
    const int nBytes = static_cast<int>(nSize);
    const int nLength = MultiByteToWideChar(CP_UTF8, 0, pszData, nBytes, nullptr, 0);
    wchar_t* pOut = str.GetBufferSetLength(nLength);
    MultiByteToWideChar(CP_UTF8, 0, pszData, nBytes, pOut, nLength);
    std::replace(pOut, pOut + nLength, L'\0', L'\xFFFD');
    str.ReleaseBuffer(nLength);
    return str;
}

void CollectElements(VekXMLNode* pNode, std::vector<VekXMLNode>& vecElements)
{
    if (static_cast<int>(vecElements.size()) >= kMaxElements)
        return;
    vecElements.push_back(*pNode);
    std::unique_ptr<VekXMLNodeList> pChildren(pNode->GetChildNodes());
    for (int i = 0; pChildren && i < pChildren->GetSize(); ++i)
        CollectElements((*pChildren)[i], vecElements);
}
// A rule element as the module reads it and writes it again; null when the
// module does not take it back. The rule is deleted here.
VekXMLNode* ReadAndWrite(VekXMLNode* pElement)
{
    CVekRule* pRule = nullptr;
    g_module.GetRule(pElement, &pRule);
    if (pRule == nullptr)
        return nullptr;
    VekXMLNode* pWritten = pRule->GetXMLNode();
    g_module.DeleteRule(&pRule);
    return pWritten;
}

std::string TextOf(VekXMLNode* pNode)
{
    CString strXML;
    pNode->GetXML(strXML);
    std::string strText;
    for (int i = 0; i < strXML.GetLength(); ++i)
        strText.push_back(strXML[i] < 0x80 ? static_cast<char>(strXML[i]) : '?');
    return strText;
}

// What the module writes must read back to itself once the first reading has
// normalised it (older value layouts, six-decimal numbers, unreadable texts):
// the second and third generations of an element are the same text.
void CheckStableRoundTrip(VekXMLNode* pFirst)
{
    std::unique_ptr<VekXMLNode> pSecond(ReadAndWrite(pFirst));
    if (!pSecond)
        return;
    std::unique_ptr<VekXMLNode> pThird(ReadAndWrite(pSecond.get()));
    if (!pThird)
    {
        std::fprintf(stderr, "fuzz_rule_xml: the module does not read back its own element:\n%s\n",
                     TextOf(pSecond.get()).c_str());
        std::abort();
    }
    const std::string strSecond = TextOf(pSecond.get());
    const std::string strThird = TextOf(pThird.get());
    if (strSecond != strThird)
    {
        std::fprintf(stderr, "fuzz_rule_xml: unstable round trip:\n%s\n--- became ---\n%s\n",
                     strSecond.c_str(), strThird.c_str());
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* pszModule = std::getenv("VEK_FUZZ_MODULE");
    const std::string strModule = pszModule ? pszModule : VEK_BIN_DIR "/VEKInvestmentCastRulesu.so";
    void* hModule = dlopen(strModule.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (hModule == nullptr)
    {
        std::fprintf(stderr, "fuzz_rule_xml: cannot load %s: %s\n", strModule.c_str(), dlerror());
        std::exit(1);
    }
    if (VekResolveRulesModuleExports(static_cast<HMODULE>(hModule), g_module) != nullptr)
    {
        std::fprintf(stderr, "fuzz_rule_xml: %s is not a rules module\n", strModule.c_str());
        std::exit(1);
    }
    // Messages (for instance about unreadable records) are answered without a word.
    VekSetMessageBoxResponder([](HWND, const CString&, const CString&, UINT nType) {
        return VekDefaultMessageBoxButton(nType);
    });
    g_pDocument = new VekXMLDocument;
    VekXMLDocument::SetCurrent(g_pDocument);
    g_module.SetXMLDoc(g_pDocument);
    // The module stays loaded for the whole run; the process ends without unloading it.
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (!g_pDocument->LoadXML(DecodeUtf8(pData, nSize)))
        return 0;
    std::unique_ptr<VekXMLNode> pRoot(g_pDocument->GetRootNode());
    if (!pRoot)
        return 0;
    std::vector<VekXMLNode> vecElements;
    CollectElements(pRoot.get(), vecElements);

    std::vector<CVekRule*> vecRules;
    for (VekXMLNode& element : vecElements)
    {
        CVekRule* pRule = nullptr;
        g_module.GetRule(&element, &pRule);
        if (pRule == nullptr)
            continue;
        // A rule in the slot reads the element again, as a host refreshing a rule does.
        g_module.GetRule(&element, &pRule);
        vecRules.push_back(pRule);
    }
    for (CVekRule* pRule : vecRules)
    {
        int arrOld[2] = {pRule->m_nUnit, 0};
        int arrNew[2] = {static_cast<int>(nSize % 11), 0};
        pRule->ChangeUnits(arrOld, arrNew);
        std::unique_ptr<VekXMLNode> pWritten(pRule->GetXMLNode());
        if (pWritten)
            CheckStableRoundTrip(pWritten.get());
        g_module.DeleteRule(&pRule);
    }
    g_pDocument->Clear();
    return 0;
}
