// CVekParamStorage: one parameter of a rule or constraint, with its value type.
#pragma once

#include "CVekParamData.h"

// Holds the value type and the typed record of that type, which it owns and
// deletes. For a value type outside 1..7 the record is a plain
// CVekParamDataBase (all fields, no values).
class VEK_FRAMEWORK_API CVekParamStorage
{
public:
    // Creates an empty record of the given value type (defaults of CVekParamDataBase).
    explicit CVekParamStorage(Type_e eType);
    CVekParamStorage(const CVekParamStorage&) = delete;
    CVekParamStorage& operator=(const CVekParamStorage&) = delete;
    ~CVekParamStorage();

    Type_e GetType() const { return m_eType; }

    // The typed record when T is the element type of this storage's value type
    // (see VekValueType), otherwise null. Owned by the storage.
    template <class T> CVekParamData<T>* GetData()
    {
        return VekIsValueTypeOf<T>(m_eType) ? static_cast<CVekParamData<T>*>(m_pData) : nullptr;
    }
    template <class T> const CVekParamData<T>* GetData() const
    {
        return VekIsValueTypeOf<T>(m_eType) ? static_cast<const CVekParamData<T>*>(m_pData)
                                            : nullptr;
    }
    // The record's common fields, whatever the value type; never null.
    CVekParamDataBase* GetBase() { return m_pData; }
    const CVekParamDataBase* GetBase() const { return m_pData; }

    LONG GetId() const { return m_pData->m_nId; }
    int GetValueCount() const { return m_pData->GetValueCount(); }

    // A deep copy (strings of type 5 included); new, caller deletes.
    CVekParamStorage* Clone() const;

private:
    CVekParamStorage(Type_e eType, CVekParamDataBase* pData) : m_eType(eType), m_pData(pData) {}

    Type_e m_eType;
    CVekParamDataBase* m_pData;
};
