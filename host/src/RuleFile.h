// Rule files: the XML documents in which the host keeps rules (docs/rule-file.md).
//
//   <VekRuleFile FormatVersion="1">
//     <Rules Unit="0">  <Rule .../> ...  </Rules>
//   </VekRuleFile>
//
// Rule elements belong to their modules; the host only places them under a
// "Rules" element whose "Unit" gives the unit of every length inside.
#pragma once

#include <VekXMLDocument.h>
#include <VekXMLNodeList.h>

#include <memory>
#include <string>

// The format this host reads and writes. Files of a newer format are refused.
constexpr int RULE_FILE_FORMAT_VERSION = 1;

// Loads a rule file into doc and checks its frame: readable, well-formed XML,
// root "VekRuleFile" with a format version not newer than ours, and at least
// one "Rule" element under a "Rules" element. False, with a one-line message
// naming the file in strError, otherwise.
bool LoadRuleFile(VekXMLDocument& doc, const std::string& strPath, std::string& strError);

// Makes doc an empty rule file with one "Rules" element of unit nUnit and
// returns that element (new, caller deletes).
VekXMLNode* CreateRuleFile(VekXMLDocument& doc, int nUnit);

// The "Rules" elements of a loaded rule file, in document order (new, caller deletes).
VekXMLNodeList* GetRuleGroups(VekXMLDocument& doc);
// The unit of a "Rules" element; 0 when missing or not a number, as the modules read it.
int GetGroupUnit(VekXMLNode* pGroup);
void SetGroupUnit(VekXMLNode* pGroup, int nUnit);

// Writes doc to strPath atomically: a temporary file beside the target is
// written completely and then renamed over it, so an interrupted or failed
// save leaves any earlier file as it was. False, with a one-line message.
bool SaveRuleFile(const VekXMLDocument& doc, const std::string& strPath, std::string& strError);
