// Checks of the tables exported by the resource libraries, read directly from
// the built libraries: every language has the same strings, every text is
// present, and format strings take the arguments their callers pass.
#include "resource.h"
#include "vekres.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <cwctype>
#include <vector>

namespace
{

const char* const kLanguages[] = {"en-US", "de-DE"};
const char* const kDefaultLanguage = "en-US";

// A loaded resource library; stays loaded for the whole test program.
const VEK_RES_TABLE* LoadTable(const std::string& lang)
{
    static std::map<std::string, const VEK_RES_TABLE*> s_loaded;
    auto it = s_loaded.find(lang);
    if (it != s_loaded.end())
        return it->second;
    const std::string path =
        std::string(VEK_BIN_DIR) + "/res/" + lang + "/VEKInvestmentCastRulesResu.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const VEK_RES_TABLE* table = nullptr;
    if (handle != nullptr)
        table = static_cast<const VEK_RES_TABLE*>(dlsym(handle, VEK_RES_TABLE_SYMBOL));
    s_loaded[lang] = table;
    return table;
}

std::map<UINT, std::wstring> StringsOf(const VEK_RES_TABLE& table)
{
    std::map<UINT, std::wstring> strings;
    for (UINT i = 0; i < table.nStrings; ++i)
    {
        const VEK_RES_STRING& s = table.pStrings[i];
        strings[s.nID] = s.pszText != nullptr ? s.pszText : L"";
    }
    return strings;
}

// The conversions of a printf-style format in order, each reduced to its
// length modifier and conversion ("s", "d", "ld", ...). "%%" is text. A '%'
// that starts no valid conversion is returned as "?" so that it fails.
std::vector<std::string> Conversions(const std::wstring& text)
{
    std::vector<std::string> result;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != L'%')
            continue;
        ++i;
        if (i < text.size() && text[i] == L'%')
            continue;
        while (i < text.size() && std::wstring(L"-+ #0").find(text[i]) != std::wstring::npos)
            ++i;
        while (i < text.size() && (iswdigit(text[i]) || text[i] == L'.' || text[i] == L'*'))
            ++i;
        std::string spec;
        while (i < text.size() && std::wstring(L"hlLqjzt").find(text[i]) != std::wstring::npos)
            spec += static_cast<char>(text[i++]);
        if (i < text.size() && std::wstring(L"diouxXeEfgGcsSp").find(text[i]) != std::wstring::npos)
            spec += static_cast<char>(text[i]);
        else
            spec = "?";
        result.push_back(spec);
    }
    return result;
}

// The members of a that b lacks, so that a failure names the identifiers.
std::vector<UINT> Missing(const std::set<UINT>& a, const std::set<UINT>& b)
{
    std::vector<UINT> result;
    for (UINT id : a)
        if (b.count(id) == 0)
            result.push_back(id);
    return result;
}

// The string identifiers that resource.h declares.
std::set<UINT> DeclaredStringIds()
{
    std::set<UINT> ids;
    std::ifstream header(VEK_RESOURCE_HEADER);
    const std::regex define(R"(^\s*#define\s+IDS_\w+\s+(\d+))");
    std::string line;
    std::smatch match;
    while (std::getline(header, line))
        if (std::regex_search(line, match, define))
            ids.insert(static_cast<UINT>(std::stoul(match[1])));
    return ids;
}

class ResourceTable : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ResourceTable, LoadsWithCurrentLayout)
{
    const VEK_RES_TABLE* table = LoadTable(GetParam());
    ASSERT_NE(table, nullptr) << dlerror();
    EXPECT_EQ(table->nVersion, VEK_RES_TABLE_VERSION);
    ASSERT_NE(table->pStrings, nullptr);
    EXPECT_GT(table->nStrings, 0u);
}

TEST_P(ResourceTable, EachIdOnceAndEveryTextNonEmpty)
{
    const VEK_RES_TABLE* table = LoadTable(GetParam());
    ASSERT_NE(table, nullptr);
    std::set<UINT> seen;
    for (UINT i = 0; i < table->nStrings; ++i)
    {
        const VEK_RES_STRING& s = table->pStrings[i];
        EXPECT_TRUE(seen.insert(s.nID).second) << "string " << s.nID << " defined twice";
        EXPECT_TRUE(s.pszText != nullptr && s.pszText[0] != L'\0')
            << "string " << s.nID << " is empty";
    }
}

TEST_P(ResourceTable, DefinesExactlyTheDeclaredStrings)
{
    const VEK_RES_TABLE* table = LoadTable(GetParam());
    ASSERT_NE(table, nullptr);
    const std::set<UINT> declared = DeclaredStringIds();
    ASSERT_FALSE(declared.empty()) << "no IDS_ identifiers read from " << VEK_RESOURCE_HEADER;
    std::set<UINT> defined;
    for (const auto& entry : StringsOf(*table))
        defined.insert(entry.first);
    EXPECT_EQ(Missing(declared, defined), std::vector<UINT>{}) << "declared but not defined";
    EXPECT_EQ(Missing(defined, declared), std::vector<UINT>{}) << "defined but not declared";
}

// The arguments each format string receives from its caller; every other
// string is shown or inserted as it is and must take none.
TEST_P(ResourceTable, FormatStringsTakeTheirCallersArguments)
{
    const std::map<UINT, std::vector<std::string>> formats = {
        {IDS_SUMMARY_FORMAT, {"s", "s", "s"}}, // operator wording, thickness, unit
        {IDS_COLUMN_THICKNESS, {"s"}},         // unit
        {IDS_GRADE_EXISTS, {"s", "s"}},        // grade, group
        {IDS_GRADE_ADDED, {"s", "s"}},         // grade, group
        {IDS_DELETE_CONFIRM, {"s", "s"}},      // kind word, name
        {IDS_DELETED, {"s", "s"}},             // kind word, name
        {IDS_DELETE_GROUP_MISSING, {"s"}},     // grade
        {IDS_GRADE_IS_GROUP, {"s"}},           // grade
    };
    const VEK_RES_TABLE* table = LoadTable(GetParam());
    ASSERT_NE(table, nullptr);
    for (const auto& [id, text] : StringsOf(*table))
    {
        auto it = formats.find(id);
        const std::vector<std::string> expected =
            it != formats.end() ? it->second : std::vector<std::string>{};
        EXPECT_EQ(Conversions(text), expected) << "string " << id;
    }
}

TEST_P(ResourceTable, SeverityNamesAreDistinct)
{
    // The dialog maps a severity name back to its number by comparing texts.
    const VEK_RES_TABLE* table = LoadTable(GetParam());
    ASSERT_NE(table, nullptr);
    std::map<UINT, std::wstring> strings = StringsOf(*table);
    std::set<std::wstring> names;
    for (UINT id = IDS_SEVERITY_1; id <= IDS_SEVERITY_5; ++id)
        EXPECT_TRUE(names.insert(strings[id]).second) << "severity string " << id;
}

INSTANTIATE_TEST_SUITE_P(Languages, ResourceTable, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             name.erase(name.find('-'), 1);
                             return name;
                         });

TEST(ResourceTables, EveryLanguageMatchesTheDefault)
{
    const VEK_RES_TABLE* base = LoadTable(kDefaultLanguage);
    ASSERT_NE(base, nullptr);
    const std::map<UINT, std::wstring> baseStrings = StringsOf(*base);
    for (const char* lang : kLanguages)
    {
        const VEK_RES_TABLE* table = LoadTable(lang);
        ASSERT_NE(table, nullptr) << lang;
        const std::map<UINT, std::wstring> strings = StringsOf(*table);
        std::set<UINT> ids, baseIds;
        for (const auto& entry : strings)
            ids.insert(entry.first);
        for (const auto& entry : baseStrings)
            baseIds.insert(entry.first);
        EXPECT_EQ(Missing(baseIds, ids), std::vector<UINT>{}) << "missing in " << lang;
        EXPECT_EQ(Missing(ids, baseIds), std::vector<UINT>{}) << "only in " << lang;
        for (const auto& [id, text] : strings)
        {
            auto it = baseStrings.find(id);
            if (it != baseStrings.end())
            {
                EXPECT_EQ(Conversions(text), Conversions(it->second)) << lang << " string " << id;
            }
        }
    }
}

TEST(ResourceTables, RuleNameDiffersBetweenLanguages)
{
    // The stored rule name must come from the default language; a German name
    // equal to the English one would hide a lookup in the wrong library.
    const VEK_RES_TABLE* en = LoadTable("en-US");
    const VEK_RES_TABLE* de = LoadTable("de-DE");
    ASSERT_NE(en, nullptr);
    ASSERT_NE(de, nullptr);
    EXPECT_NE(StringsOf(*en)[IDS_RULE_NAME], StringsOf(*de)[IDS_RULE_NAME]);
}

TEST(ResourceTables, HelpFileBesideEachLibrary)
{
    for (const char* lang : kLanguages)
    {
        std::ifstream help(std::string(VEK_BIN_DIR) + "/res/" + lang + "/ortiva.chm");
        EXPECT_TRUE(help.good()) << lang;
    }
}

} // namespace
