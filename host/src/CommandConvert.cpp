// vekhost convert: a rule file expressed in another unit.
#include "Commands.h"
#include "HostText.h"
#include "RuleFile.h"
#include "StoredPrecision.h"

#include <cstdio>
#include <memory>

namespace
{
int RunConvert(CHostSession& session, const std::vector<std::string>& vecArgs)
{
    CCommandArgs args;
    if (!ParseCommandArgs("convert", vecArgs, {"-o", "--unit"}, {"--lossy"}, 1, args))
        return HOST_EXIT_USAGE;
    const std::string& strPath = args.vecPositional[0];
    const std::string* pUnit = args.GetOption("--unit");
    if (pUnit == nullptr)
        return UsageError("convert", "the new unit (--unit N) is missing");
    int nNewUnit = 0;
    if (!ParseUnit(*pUnit, nNewUnit))
        return UsageError("convert", "unit \"" + *pUnit + "\" is not a unit code from 0 to 10");
    const std::string* pOutput = args.GetOption("-o");
    const std::string strOutput = pOutput ? *pOutput : strPath;

    VekXMLDocument& doc = session.GetDocument();
    std::string strError;
    if (!LoadRuleFile(doc, strPath, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }

    // Read every rule before changing the document; a rule no module
    // understands cannot be converted, nor one whose unit is not known, so the
    // file is then left alone.
    std::unique_ptr<VekXMLNodeList> pGroups(GetRuleGroups(doc));
    std::vector<std::vector<CVekRule*>> vecGroupRules;
    std::vector<int> vecGroupUnits;
    for (int g = 0; pGroups && g < pGroups->GetSize(); ++g)
    {
        int nOldUnit = 0;
        if (!GetGroupUnit((*pGroups)[g], nOldUnit))
        {
            CString strUnit;
            (*pGroups)[g]->GetAttributeValue(L"Unit", strUnit);
            ReportError(strPath + ": unit \"" + ToUtf8(strUnit) +
                        "\" is not a unit code from 0 to 10; nothing converted");
            return HOST_EXIT_FAILURE;
        }
        vecGroupUnits.push_back(nOldUnit);
        vecGroupRules.emplace_back();
        std::unique_ptr<VekXMLNodeList> pElements((*pGroups)[g]->GetNodeList(L"Rule"));
        for (int i = 0; pElements && i < pElements->GetSize(); ++i)
        {
            CVekRule* pRule = session.ReadRule((*pElements)[i]);
            if (pRule == nullptr)
            {
                CString strName;
                CString strModule;
                (*pElements)[i]->GetAttributeValue(L"Name", strName);
                (*pElements)[i]->GetAttributeValue(L"Module", strModule);
                ReportError(strPath + ": no loaded module accepts rule \"" + ToUtf8(strName) +
                            "\" of module \"" + ToUtf8(strModule) + "\"; nothing converted");
                return HOST_EXIT_FAILURE;
            }
            vecGroupRules.back().push_back(pRule);
        }
    }

    int nConverted = 0;
    for (int g = 0; pGroups && g < pGroups->GetSize(); ++g)
    {
        VekXMLNode* pGroup = (*pGroups)[g];
        int arrOld[2] = {vecGroupUnits[static_cast<size_t>(g)], 0};
        int arrNew[2] = {nNewUnit, 0};
        // Every child is appended again in its order, each rule element replaced
        // by its converted form, so the group keeps its order.
        std::unique_ptr<VekXMLNodeList> pChildren(pGroup->GetChildNodes());
        size_t nRule = 0;
        for (int i = 0; pChildren && i < pChildren->GetSize(); ++i)
        {
            VekXMLNode* pChild = (*pChildren)[i];
            if (pChild->GetNodeName() != L"Rule")
            {
                pGroup->AppendNode(pChild);
                continue;
            }
            CVekRule* pRule = vecGroupRules[static_cast<size_t>(g)][nRule++];
            pRule->ChangeUnits(arrOld, arrNew);
            std::unique_ptr<VekXMLNode> pConverted(pRule->GetXMLNode());
            if (!pConverted)
            {
                ReportError(strPath + ": a module wrote no element for rule \"" +
                            ToUtf8(pRule->m_strName) + "\"; nothing converted");
                return HOST_EXIT_FAILURE;
            }
            pGroup->RemoveChild(pChild);
            pGroup->AppendNode(pConverted.get());
            ++nConverted;
        }
        SetGroupUnit(pGroup, nNewUnit);
    }

    // The file keeps some numbers with six decimals: read every rule back as
    // it was written and compare, unless the user accepts the loss.
    if (!args.HasFlag("--lossy"))
    {
        for (int g = 0; pGroups && g < pGroups->GetSize(); ++g)
        {
            std::unique_ptr<VekXMLNodeList> pElements((*pGroups)[g]->GetNodeList(L"Rule"));
            const std::vector<CVekRule*>& vecRules = vecGroupRules[static_cast<size_t>(g)];
            for (int i = 0; pElements && i < pElements->GetSize(); ++i)
            {
                const CVekRule* pStored = session.ReadRule((*pElements)[i]);
                std::string strProblem;
                if (static_cast<size_t>(i) < vecRules.size() && pStored != nullptr &&
                    !NumbersSurviveStorage(vecRules[static_cast<size_t>(i)], pStored, strProblem))
                {
                    ReportError(strPath + ": " + strProblem + " in unit " +
                                std::to_string(nNewUnit) + " (" + UnitName(nNewUnit) +
                                "); nothing converted (--lossy accepts such losses)");
                    return HOST_EXIT_FAILURE;
                }
            }
        }
    }

    // Prepared before the save: once the file is in place, reporting it must not fail for memory.
    char szReport[160];
    std::snprintf(szReport, sizeof szReport, ": %d rule%s converted to unit %d (%s), written to ",
                  nConverted, nConverted == 1 ? "" : "s", nNewUnit, UnitName(nNewUnit));
    const std::string strReport = strPath + szReport;
    CVekSaveResult saved;
    if (!SaveRuleFile(doc, strOutput, saved, strError))
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    ReportSaved(strReport, strOutput, saved);
    return HOST_EXIT_OK;
}
} // namespace

const CHostCommand g_ConvertCommand = {
    "convert", "express every rule of a rule file in another unit",
    "usage: vekhost [--module PATH]... convert FILE --unit N [-o OUT] [--lossy]\n"
    "\n"
    "Reads every rule of FILE through its module (GetRule), converts it from\n"
    "the unit of its \"Rules\" element to unit N (ChangeUnits), writes it back\n"
    "(GetXMLNode) and sets the element's \"Unit\" to N. The result replaces\n"
    "FILE, or goes to OUT. A rule that no loaded module accepts stops the\n"
    "conversion and nothing is written.\n"
    "\n"
    "  --unit N   the new unit code, 0 to 10 (0 mm, 1 cm, 2 m, 3 in, 4 ft,\n"
    "             5 ft-in, 6 um, 7 km, 8 yd, 9 mil, 10 mi)\n"
    "  -o OUT     write the result to OUT and leave FILE as it is\n"
    "  --lossy    write even when a number would not survive the file's six\n"
    "             decimals (changed by more than 0.01 %, or to 0); without it\n"
    "             such a conversion is refused and nothing is written\n"
    "\n"
    "OUT (or FILE) must be a regular file or not exist; a symbolic link is\n"
    "followed and the file it leads to is replaced, keeping its permissions,\n"
    "owner and group.\n",
    RunConvert};
