// vekhost materials: the material database from the command line, with the
// refusals the material dialog makes, and no questions asked.
#include "Commands.h"
#include "HostText.h"

#include <IDatabaseCollector.h>
#include <VEKDataHelper.h>
#include <VekMaterialDatabase.h>

#include <cstdio>

namespace
{
const char kCommand[] = "materials";

std::vector<CString> SplitGrades(const CString& strGrades)
{
    std::vector<CString> vecGrades;
    int nStart = 0;
    while (nStart < strGrades.GetLength())
    {
        int nEnd = strGrades.Find(L';', nStart);
        if (nEnd < 0)
            nEnd = strGrades.GetLength();
        if (nEnd > nStart)
            vecGrades.push_back(strGrades.Mid(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return vecGrades;
}

std::string Quoted(const CString& str)
{
    return "\"" + ToUtf8(str) + "\"";
}

// The database the modules use, created with the catalogue on first use.
vek_db::IMaterialDatabase* OpenDatabase()
{
    vek_db::VEKDataHelper& helper = vek_db::VEKDataHelper::getInstance();
    vek_db::IMaterialDatabase* pDb = helper.GetDatabase();
    if (!pDb)
        ReportError(helper.GetOpenError());
    return pDb;
}

int Failed(vek_db::IMaterialDatabase* pDb, const std::string& strWhat)
{
    ReportError(strWhat + ": " + ToUtf8(pDb->GetLastMessage()));
    return HOST_EXIT_FAILURE;
}

bool IsGroup(vek_db::IMaterialDatabase* pDb, const CString& strGroup)
{
    std::vector<CString> vecGroups;
    pDb->GetMaterialGroups(vecGroups, 0);
    for (const CString& strName : vecGroups)
    {
        if (strName == strGroup)
            return true;
    }
    return false;
}

int RunList(const std::vector<CString>& vecArgs)
{
    if (vecArgs.size() > 1)
        return UsageError(kCommand, "list takes at most one group");
    vek_db::IMaterialDatabase* pDb = OpenDatabase();
    if (!pDb)
        return HOST_EXIT_FAILURE;
    std::vector<CString> vecNames;
    if (vecArgs.empty())
    {
        if (pDb->GetMaterialGroups(vecNames, 0) < 0)
            return Failed(pDb, "cannot list the material groups");
    }
    else
    {
        if (!IsGroup(pDb, vecArgs[0]))
        {
            ReportError("there is no material group " + Quoted(vecArgs[0]));
            return HOST_EXIT_FAILURE;
        }
        CString strGrades;
        pDb->GetGradesOfGroup(vecArgs[0], strGrades, 0);
        vecNames = SplitGrades(strGrades);
    }
    for (const CString& strName : vecNames)
        std::printf("%s\n", ToUtf8(strName).c_str());
    return HOST_EXIT_OK;
}

// The refusals of the material dialog's add command, in its order.
int RunAdd(const std::vector<CString>& vecArgs)
{
    if (vecArgs.size() != 2)
        return UsageError(kCommand, "add takes a group and a grade");
    const CString& strGroup = vecArgs[0];
    const CString& strGrade = vecArgs[1];
    vek_db::IMaterialDatabase* pDb = OpenDatabase();
    if (!pDb)
        return HOST_EXIT_FAILURE;
    std::vector<CString> vecGroups;
    pDb->GetMaterialGroups(vecGroups, 0);
    for (const CString& strName : vecGroups)
    {
        if (strGrade == strName)
        {
            ReportError("the grade " + Quoted(strGrade) +
                        " is named like a material group; choose another name");
            return HOST_EXIT_FAILURE;
        }
        if (pDb->IsGradeInGroup(strGrade, strName, 0) != 0)
        {
            ReportError("the grade " + Quoted(strGrade) + " exists already in the group " +
                        Quoted(strName));
            return HOST_EXIT_FAILURE;
        }
    }
    const int nResult = pDb->AddGrade(strGroup, strGrade, 0);
    if (nResult == 5)
    {
        ReportError("the grade " + Quoted(strGrade) + " exists already in the group " +
                    Quoted(strGroup));
        return HOST_EXIT_FAILURE;
    }
    if (nResult == -1)
        return Failed(pDb, "cannot add the grade " + Quoted(strGrade));
    return HOST_EXIT_OK;
}

// The name as stored: the exact name when it exists, else the first stored
// name equal to it ignoring case (as the dialog resolves typed names).
CString StoredForm(const VekGroupGradePairs& vecPairs, const CString& strGroup,
                   const CString& strGrade)
{
    const bool bGrade = !strGrade.IsEmpty();
    for (const auto& pair : vecPairs)
    {
        if (pair.first == strGroup && (!bGrade || pair.second == strGrade))
            return bGrade ? pair.second : pair.first;
    }
    for (const auto& pair : vecPairs)
    {
        if (pair.first.CompareNoCase(strGroup) == 0 &&
            (!bGrade || pair.second.CompareNoCase(strGrade) == 0))
            return bGrade ? pair.second : pair.first;
    }
    return bGrade ? strGrade : strGroup;
}

int RunDelete(const std::vector<CString>& vecArgs)
{
    if (vecArgs.empty() || vecArgs.size() > 2)
        return UsageError(kCommand, "delete takes a group and, optionally, a grade");
    vek_db::IMaterialDatabase* pDb = OpenDatabase();
    if (!pDb)
        return HOST_EXIT_FAILURE;
    VekGroupGradePairs vecPairs;
    if (pDb->GetGroupGradePairs(vecPairs, 0) != 0)
        return Failed(pDb, "cannot read the material database");
    const CString strTypedGrade = vecArgs.size() == 2 ? vecArgs[1] : CString();
    const CString strGroup = StoredForm(vecPairs, vecArgs[0], CString());
    const CString strGrade =
        strTypedGrade.IsEmpty() ? CString() : StoredForm(vecPairs, strGroup, strTypedGrade);
    if (strTypedGrade.IsEmpty() && vecArgs.size() == 2)
        return UsageError(kCommand, "the grade name is empty");

    if (pDb->CanDeleteGrade(strGrade, strGroup, 0) == 0)
    {
        bool bExists = false;
        for (const auto& pair : vecPairs)
            bExists = bExists ||
                      (pair.first == strGroup && (strGrade.IsEmpty() || pair.second == strGrade));
        if (!bExists)
            ReportError(strGrade.IsEmpty() ? "there is no material group " + Quoted(strGroup)
                                           : "the group " + Quoted(strGroup) + " has no grade " +
                                                 Quoted(strGrade));
        else if (strGrade.IsEmpty())
            ReportError("the group " + Quoted(strGroup) +
                        " holds catalogue grades, which cannot be deleted");
        else
            ReportError("the grade " + Quoted(strGrade) + " of the group " + Quoted(strGroup) +
                        " belongs to the catalogue and cannot be deleted");
        return HOST_EXIT_FAILURE;
    }
    if (!strGrade.IsEmpty())
    {
        if (pDb->DeleteGrade(strGroup, strGrade, 0) == -1)
            return Failed(pDb, "cannot delete the grade " + Quoted(strGrade));
        return HOST_EXIT_OK;
    }
    // A whole group goes grade by grade; a failing grade does not stop the others.
    CString strGrades;
    pDb->GetGradesOfGroup(strGroup, strGrades, 0);
    int nResult = HOST_EXIT_OK;
    for (const CString& strName : SplitGrades(strGrades))
    {
        if (pDb->DeleteGrade(strGroup, strName, 0) == -1)
            nResult = Failed(pDb, "cannot delete the grade " + Quoted(strName));
    }
    return nResult;
}

int RunInit(const std::vector<CString>& vecArgs, bool bEmpty)
{
    if (!vecArgs.empty())
        return UsageError(kCommand, "init takes no names");
    const std::string strPath = vek_db::DefaultMaterialDatabasePath();
    std::string strError;
    auto pDb = vek_db::OpenMaterialDatabase(
        strPath, bEmpty ? vek_db::OpenMode::CreateEmpty : vek_db::OpenMode::CreateSeeded, strError);
    if (!pDb)
    {
        ReportError(strError);
        return HOST_EXIT_FAILURE;
    }
    return HOST_EXIT_OK;
}

int RunAssign(const std::vector<CString>& vecArgs)
{
    vek_db::IMaterialDatabase* pDb = OpenDatabase();
    if (!pDb)
        return HOST_EXIT_FAILURE;
    if (!pDb->SetProcessMaterialGroups(vek_db::kInvestmentCastingProcess, vecArgs))
        return Failed(pDb, "cannot assign the groups");
    return HOST_EXIT_OK;
}

int RunAssigned(const std::vector<CString>& vecArgs)
{
    if (!vecArgs.empty())
        return UsageError(kCommand, "assigned takes no names");
    vek_db::IMaterialDatabase* pDb = OpenDatabase();
    if (!pDb)
        return HOST_EXIT_FAILURE;
    std::map<CString, std::list<CString>> mapGroups;
    pDb->GetProcessMaterialGroups(vek_db::kInvestmentCastingProcess, mapGroups);
    for (const auto& group : mapGroups)
        std::printf("%s\n", ToUtf8(group.first).c_str());
    return HOST_EXIT_OK;
}

int RunProcessGroups(const std::vector<CString>& vecArgs)
{
    if (vecArgs.size() > 1 || (vecArgs.size() == 1 && vecArgs[0] != L"on" && vecArgs[0] != L"off"))
        return UsageError(kCommand, "process-groups takes on or off");
    vek_db::IMaterialDatabase* pDb = OpenDatabase();
    if (!pDb)
        return HOST_EXIT_FAILURE;
    if (vecArgs.empty())
    {
        std::printf("%s\n", pDb->UsesProcessMaterialGroups() ? "on" : "off");
        return HOST_EXIT_OK;
    }
    if (!pDb->SetUsesProcessMaterialGroups(vecArgs[0] == L"on"))
        return Failed(pDb, "cannot change the setting");
    return HOST_EXIT_OK;
}

int RunMaterials(CHostSession&, const std::vector<std::string>& vecArgs)
{
    if (vecArgs.empty())
        return UsageError(kCommand, "no materials command given");
    const std::string& strAction = vecArgs[0];
    bool bEmpty = false;
    std::vector<CString> vecNames;
    for (size_t i = 1; i < vecArgs.size(); ++i)
    {
        if (vecArgs[i] == "--empty" && strAction == "init")
            bEmpty = true;
        else if (vecArgs[i] == "--")
        {
            for (++i; i < vecArgs.size(); ++i)
                vecNames.push_back(FromUtf8(vecArgs[i]));
        }
        else if (vecArgs[i].size() > 1 && vecArgs[i][0] == '-')
            return UsageError(kCommand, "unknown option " + vecArgs[i]);
        else
            vecNames.push_back(FromUtf8(vecArgs[i]));
    }
    if (strAction == "list")
        return RunList(vecNames);
    if (strAction == "add")
        return RunAdd(vecNames);
    if (strAction == "delete")
        return RunDelete(vecNames);
    if (strAction == "init")
        return RunInit(vecNames, bEmpty);
    if (strAction == "assign")
        return RunAssign(vecNames);
    if (strAction == "assigned")
        return RunAssigned(vecNames);
    if (strAction == "process-groups")
        return RunProcessGroups(vecNames);
    if (strAction == "path")
    {
        if (!vecNames.empty())
            return UsageError(kCommand, "path takes no names");
        std::printf("%s\n", vek_db::DefaultMaterialDatabasePath().c_str());
        return HOST_EXIT_OK;
    }
    return UsageError(kCommand, "unknown materials command " + strAction);
}
} // namespace

const CHostCommand g_MaterialsCommand = {
    "materials", "list and edit the material database",
    "usage: vekhost materials list [GROUP]\n"
    "       vekhost materials add GROUP GRADE\n"
    "       vekhost materials delete GROUP [GRADE]\n"
    "       vekhost materials init [--empty]\n"
    "       vekhost materials assign [GROUP]...\n"
    "       vekhost materials assigned\n"
    "       vekhost materials process-groups [on|off]\n"
    "       vekhost materials path\n"
    "\n"
    "Works on the material database file that rules modules use: $VEK_MATERIAL_DB,\n"
    "else $XDG_DATA_HOME/vek/materials.db or ~/.local/share/vek/materials.db.\n"
    "It is created with the catalogue on first use. Names are exact (case counts);\n"
    "\"--\" ends the options, for names that begin with \"-\".\n"
    "\n"
    "  list            the groups, or the grades of GROUP, one per line, in the\n"
    "                  database's order\n"
    "  add             adds GRADE to GROUP (made when new); refused when the grade\n"
    "                  exists in any group or is named like a group\n"
    "  delete          deletes GRADE, or every grade of GROUP (and so the group);\n"
    "                  catalogue grades are protected; a name not found exactly\n"
    "                  is looked up ignoring case\n"
    "  init            creates the database file, with the catalogue or --empty;\n"
    "                  refuses a file that exists\n"
    "  assign          makes the GROUPs, in this order, the groups of the\n"
    "                  \"Investment Casting\" process (none: no groups)\n"
    "  assigned        the groups of \"Investment Casting\", one per line\n"
    "  process-groups  whether dialogs take their groups from the process\n"
    "                  assignment: prints on or off, or switches it\n"
    "  path            the database file\n"
    "\n"
    "Refusals and failures print one line on standard error and exit with 1.\n",
    RunMaterials};
