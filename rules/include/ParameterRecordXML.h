// XML form of parameter records: one "Parameter" element per record, for every
// value type. The writer and reader are chosen by the record's value type.
#pragma once

#include <CVekParamStorage.h>

class VekXMLNode;

// True for the value types whose records have an XML form (1 to 7).
bool HasParameterXML(const CVekParamStorage* pParam);

// A new "Parameter" element created in the module's document (g_pXMLDoc) and filled
// from the record; the caller appends it and deletes the node object. Writing may
// reset the record's value list first (see the value reset rule). Null when no
// document is set or the value type has no XML form.
VekXMLNode* WriteParameterXML(CVekParamStorage* pParam);

// Fills the record from the first "Parameter" child of pRuleNode whose "Type" is the
// record's identifier; the record stays unchanged when there is none.
void ReadParameterXML(CVekParamStorage* pParam, VekXMLNode* pRuleNode);
