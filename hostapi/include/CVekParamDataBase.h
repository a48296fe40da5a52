// CVekParamDataBase: the fields every parameter record holds, whatever the type of its values.
#pragma once

#include "VekArray.h"
#include "VekEnums.h"
#include "VekFrameworkApi.h"
#include "afxstr.h"

#include <map>
#include <utility>

// Deviation limits by severity code (VekSeverity_e): (first, second).
typedef std::map<int32_t, std::pair<double, double>> VekDeviationMap;

// The typed records CVekParamData<T> derive from this. Fields are public: the
// rules modules read and write them directly.
class VEK_FRAMEWORK_API CVekParamDataBase
{
public:
    CVekParamDataBase() = default;
    CVekParamDataBase(const CVekParamDataBase&) = default;
    CVekParamDataBase& operator=(const CVekParamDataBase&) = default;
    virtual ~CVekParamDataBase();

    // A deep copy of the same dynamic type; new, caller deletes.
    virtual CVekParamDataBase* Clone() const;
    // Number of values; 0 for a record without values.
    virtual int GetValueCount() const;
    // Empties the value list (freeing owned values) and resets it.
    virtual void ClearValues();

    CString m_strName;
    VekOperator_e m_eOperator = VEK_OPERATOR_NONE;
    VekArray<LONG> m_arrOperatorOptions;
    VekParamType_e m_eParamType = VEK_PARAM_NONE;
    CString m_strRemarks;
    LONG m_nId = 0;                 // the parameter's number (e.g. 40067)
    bool m_bStatus = false;         // the record's status
    LONG m_nCriteriaType = 0;       // result-criteria type
    bool m_bCriteriaStatus = false; // result-criteria status
    VekDeviationMap m_mapPercentDeviation;
    VekDeviationMap m_mapAbsoluteDeviation;
    VekDeviationMap m_mapAbsoluteValue;
};
