// A well-formedness check of XML 1.0 text, written for rule files and
// independent of the XML tree the framework keeps. docs/rule-file.md lists
// what it checks and the limits it applies.
#pragma once

#include <cstddef>
#include <string>

struct CXmlLimits
{
    size_t nMaxBytes;          // the whole text
    size_t nMaxDepth;          // elements nested in one another, the root counting as 1
    size_t nMaxAttributeBytes; // one attribute's value, as written
    size_t nMaxNameBytes;      // one element or attribute name
};

// Limits no real rule file reaches: the deepest rule element nests 9 levels,
// and its longest text is a material name.
extern const CXmlLimits g_RuleFileLimits;

// True when strText is a well-formed XML 1.0 document in UTF-8 within the
// limits. Otherwise false, with strProblem saying what and on which line
// ("line 3: attribute \"Name\" given twice").
bool CheckWellFormedXml(const std::string& strText, const CXmlLimits& limits,
                        std::string& strProblem);
