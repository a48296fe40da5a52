// Rule files: the XML documents in which the host keeps rules (docs/rule-file.md).
//
//   <VekRuleFile FormatVersion="1">
//     <Rules Unit="0">  <Rule .../> ...  </Rules>
//   </VekRuleFile>
//
// Rule elements belong to their modules; the host only places them under a
// "Rules" element whose "Unit" gives the unit of every length inside.
#pragma once

#include "veksafesave.h"

#include <VekXMLDocument.h>
#include <VekXMLNodeList.h>

#include <memory>
#include <string>

// The format this host reads and writes. Files of a newer format are refused.
constexpr int RULE_FILE_FORMAT_VERSION = 1;

// Loads a rule file into doc and checks its frame: readable, within the size
// limit, well-formed XML within the limits of g_RuleFileLimits (XmlCheck.h),
// root "VekRuleFile" with a format version not newer than ours, and at least
// one "Rule" element under a "Rules" element. False, with a one-line message
// naming the file in strError, otherwise.
bool LoadRuleFile(VekXMLDocument& doc, const std::string& strPath, std::string& strError);

// Makes doc an empty rule file with one "Rules" element of unit nUnit and
// returns that element (new, caller deletes).
VekXMLNode* CreateRuleFile(VekXMLDocument& doc, int nUnit);

// The "Rules" elements of a loaded rule file, in document order (new, caller deletes).
VekXMLNodeList* GetRuleGroups(VekXMLDocument& doc);
// The unit of a "Rules" element: 0 when missing, as the modules read it. False
// when present but not a unit code from 0 to 10 written as a whole number.
bool GetGroupUnit(VekXMLNode* pGroup, int& nUnit);
void SetGroupUnit(VekXMLNode* pGroup, int nUnit);

// Writes doc to strPath with VekSaveFileSafely, after checking that the text is
// well-formed XML within the limits. False, with a one-line message, when
// nothing was written.
bool SaveRuleFile(const VekXMLDocument& doc, const std::string& strPath, CVekSaveResult& result,
                  std::string& strError);
