// The material database beyond what rules modules use: opening a chosen file,
// creating one, assigning groups to processes and the reason of a refusal.
// The host's own tools use it; modules stay with IDatabaseCollector.
#pragma once

#include "IDatabaseCollector.h"
#include "VekFrameworkApi.h"

#include <memory>
#include <string>
#include <vector>

namespace vek_db
{
class VEK_FRAMEWORK_API IMaterialDatabase : public IDatabaseCollector
{
public:
    virtual ~IMaterialDatabase();

    // Why the last operation that answered -1 (or opened nothing) failed, as
    // one English sentence naming the file or the names concerned.
    virtual CString GetLastMessage() const = 0;

    // Makes vecGroups, in this order, the groups assigned to the process.
    // False (nothing changes) when a group does not exist or the file cannot
    // be written.
    virtual bool SetProcessMaterialGroups(const CString& strProcess,
                                          const std::vector<CString>& vecGroups) = 0;

    // Switches the stored setting that UsesProcessMaterialGroups reports.
    // False (nothing changes) when the file cannot be written.
    virtual bool SetUsesProcessMaterialGroups(bool bUses) = 0;

    // The file the database lives in.
    virtual std::string GetPath() const = 0;

    // How long an edit waits for another program's edit to finish before it
    // is refused (ten seconds unless set).
    virtual void SetBusyTimeout(int nMilliseconds) = 0;
};

enum class OpenMode
{
    OpenOrCreate, // open the file; when it does not exist, create it with the catalogue
    CreateSeeded, // create a new file with the catalogue; an existing file is refused
    CreateEmpty,  // create a new file without groups; an existing file is refused
};

// Opens or creates the database file at strPath. Null, with one sentence in
// strError, when the file cannot be opened or created, is not a material
// database, is damaged, or was written by a newer version; the file is then
// left as it was. The caller owns the result.
VEK_FRAMEWORK_API std::unique_ptr<IMaterialDatabase> OpenMaterialDatabase(
    const std::string& strPath, OpenMode eMode, std::string& strError);

// The database file the host uses: $VEK_MATERIAL_DB when set and not empty,
// else vek/materials.db under $XDG_DATA_HOME (when absolute) or ~/.local/share.
// Empty when neither the variable nor a home folder is known.
VEK_FRAMEWORK_API std::string DefaultMaterialDatabasePath();

// The process name under which the catalogue assigns its casting groups.
constexpr const wchar_t* kInvestmentCastingProcess = L"Investment Casting";
} // namespace vek_db
