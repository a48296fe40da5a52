// Readable tables of rules for the terminal.
#pragma once

#include <CVekRule.h>

#include <string>
#include <vector>

// Prints rows as columns padded to their widest cell, each line starting with strIndent.
void PrintTable(const std::vector<std::vector<std::string>>& vecRows, const std::string& strIndent);

// The rule's name as shown to the user (the stored name when it has no display name).
std::string RuleDisplayName(const CVekRule* pRule);

// Name, summary, module, unit, parameters (identifier, operator, values,
// criteria flag) and constraints (name, active, values of their first parameter).
void PrintRule(const CVekRule* pRule, int nNumber);

// The values of a parameter as text, separated by ", "; "-" when it has none.
std::string ParameterValuesText(const CVekParamStorage* pParam);
