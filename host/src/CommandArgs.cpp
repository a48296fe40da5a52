#include "Commands.h"

#include "HostText.h"

#include <algorithm>

namespace
{
bool Contains(const std::vector<std::string>& vec, const std::string& str)
{
    return std::find(vec.begin(), vec.end(), str) != vec.end();
}
} // namespace

const std::string* CCommandArgs::GetOption(const std::string& strName) const
{
    for (auto it = vecOptions.rbegin(); it != vecOptions.rend(); ++it)
    {
        if (it->first == strName)
            return &it->second;
    }
    return nullptr;
}

bool CCommandArgs::HasFlag(const std::string& strName) const
{
    return Contains(vecFlags, strName);
}

int UsageError(const char* pszCommand, const std::string& strMessage)
{
    ReportError(std::string(pszCommand) + ": " + strMessage + " (see 'vekhost " + pszCommand +
                " --help')");
    return HOST_EXIT_USAGE;
}

bool ParseCommandArgs(const char* pszCommand, const std::vector<std::string>& vecArgs,
                      const std::vector<std::string>& vecValueOptions,
                      const std::vector<std::string>& vecFlagOptions, size_t nPositional,
                      CCommandArgs& args)
{
    for (size_t i = 0; i < vecArgs.size(); ++i)
    {
        const std::string& strArg = vecArgs[i];
        if (Contains(vecValueOptions, strArg))
        {
            if (i + 1 >= vecArgs.size())
            {
                UsageError(pszCommand, "option " + strArg + " needs a value");
                return false;
            }
            args.vecOptions.emplace_back(strArg, vecArgs[++i]);
        }
        else if (Contains(vecFlagOptions, strArg))
        {
            args.vecFlags.push_back(strArg);
        }
        else if (strArg.size() > 1 && strArg[0] == '-')
        {
            UsageError(pszCommand, "unknown option " + strArg);
            return false;
        }
        else
        {
            args.vecPositional.push_back(strArg);
        }
    }
    if (args.vecPositional.size() != nPositional)
    {
        UsageError(pszCommand, nPositional == 0
                                   ? "unexpected argument " + args.vecPositional.front()
                                   : "expected " + std::to_string(nPositional) + " file argument" +
                                         (nPositional == 1 ? "" : "s"));
        return false;
    }
    return true;
}
