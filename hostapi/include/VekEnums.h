// Enumerations shared by the host framework and the rules modules. Their
// numeric values are stored in rule files and passed across the module
// boundary, so they never change; values not listed are reserved.
#pragma once

#include <cstdint>

// Manufacturing process a rule belongs to.
enum VEKRuleCategory_e : int32_t
{
    VEK_RULE_CATEGORY_UNKNOWN = 0,
    VEK_RULE_CATEGORY_MACHINING = 1,
    VEK_RULE_CATEGORY_SHEET_METAL = 2,
    VEK_RULE_CATEGORY_INJECTION_MOULDING = 3,
    VEK_RULE_CATEGORY_DIE_CASTING = 4,
    VEK_RULE_CATEGORY_ASSEMBLY = 5,
    VEK_RULE_CATEGORY_SAND_CASTING = 6,
    VEK_RULE_CATEGORY_FORGING = 7,
    VEK_RULE_CATEGORY_WELDING = 8,
    VEK_RULE_CATEGORY_ADDITIVE = 9,
    VEK_RULE_CATEGORY_INVESTMENT_CASTING = 20,
};

// Kind of a constraint of a rule.
enum VEKConstraintType_e : int32_t
{
    VEK_CONSTRAINT_NONE = 0,
    VEK_CONSTRAINT_MATERIAL = 1, // the constraint holds settings for one material
};

// Comparison a parameter's values take part in.
enum VekOperator_e : int32_t
{
    VEK_OPERATOR_NONE = 0,          // no comparison; a parameter with it is not stored
    VEK_OPERATOR_RANGE = 1,         // values come in groups of two or three
    VEK_OPERATOR_EQUAL = 2,         // "="
    VEK_OPERATOR_NOT_EQUAL = 3,     // "!="
    VEK_OPERATOR_LESS = 4,          // "<"
    VEK_OPERATOR_LESS_EQUAL = 5,    // "<="
    VEK_OPERATOR_GREATER = 6,       // ">"
    VEK_OPERATOR_GREATER_EQUAL = 7, // ">="
    VEK_OPERATOR_INTERNAL = 12,     // kept in memory only; a parameter with it is not stored
};

// What a parameter's values mean.
enum VekParamType_e : int32_t
{
    VEK_PARAM_NONE = 0,
    VEK_PARAM_VALUE = 1,           // plain values
    VEK_PARAM_ATTRIBUTE_LIST = 24, // each value stands for a list of up to five attribute strings
};

// Value type of a parameter record (CVekParamData<T>):
//   1 int32_t, 2 LONG (32-bit; the same C++ type as 1), 3 bool, 4 double,
//   5 CString* (owned by the record), 6 ULONGLONG (eight-byte value without a
//   text form), 7 uint32_t.
enum Type_e : int32_t
{
    VEK_TYPE_NONE = 0,
    VEK_TYPE_INT = 1,
    VEK_TYPE_LONG = 2,
    VEK_TYPE_BOOL = 3,
    VEK_TYPE_DOUBLE = 4,
    VEK_TYPE_STRING = 5,
    VEK_TYPE_QWORD = 6,
    VEK_TYPE_UINT = 7,
};

// Severity codes: keys of a parameter's deviation maps.
enum VekSeverity_e : int32_t
{
    VEK_SEVERITY_UNKNOWN = 0,
    VEK_SEVERITY_WARNING = 1,
    VEK_SEVERITY_INFO = 2,
};
