// Whether a rule's numbers survive being written: the file keeps some of them
// with six decimals only, so a value converted into a large unit can come
// back changed, or as 0.
#pragma once

#include <CVekRule.h>

#include <string>

// How far a number may move, relative to itself, on its way through the file.
constexpr double kStoredRelativePrecision = 1e-4;

// Compares every number of pRule's parameters and of its constraints'
// parameters with the same number in pStored, the rule its module read back
// from what it wrote. False at the first number that moved by more than
// kStoredRelativePrecision of itself or became 0, with a one-line
// description naming the rule and, for a constraint, its material.
bool NumbersSurviveStorage(const CVekRule* pRule, const CVekRule* pStored, std::string& strProblem);
