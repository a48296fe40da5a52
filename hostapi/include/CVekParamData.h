// CVekParamData<T>: a parameter record whose values are of type T.
#pragma once

#include "CVekParamDataBase.h"

#include <type_traits>

// The seven value types and their C++ element types (Type_e):
//   VEK_TYPE_INT int32_t, VEK_TYPE_LONG LONG (= int32_t), VEK_TYPE_BOOL bool,
//   VEK_TYPE_DOUBLE double, VEK_TYPE_STRING CString*, VEK_TYPE_QWORD ULONGLONG,
//   VEK_TYPE_UINT uint32_t.
// Types 1 and 2 share the record type CVekParamData<int32_t>; the storage's
// Type_e tells them apart.
template <Type_e eType> struct VekValueType;
template <> struct VekValueType<VEK_TYPE_INT>
{
    typedef int32_t type;
};
template <> struct VekValueType<VEK_TYPE_LONG>
{
    typedef LONG type;
};
template <> struct VekValueType<VEK_TYPE_BOOL>
{
    typedef bool type;
};
template <> struct VekValueType<VEK_TYPE_DOUBLE>
{
    typedef double type;
};
template <> struct VekValueType<VEK_TYPE_STRING>
{
    typedef CString* type;
};
template <> struct VekValueType<VEK_TYPE_QWORD>
{
    typedef ULONGLONG type;
};
template <> struct VekValueType<VEK_TYPE_UINT>
{
    typedef uint32_t type;
};

// The value type eType as a compile-time constant: VekValueTypeTag<eType>::value.
template <Type_e eType> using VekValueTypeTag = std::integral_constant<Type_e, eType>;

// The one dispatch from a run-time value type to code written once for all
// seven: returns visit(VekValueTypeTag<eType>()) for the seven value types
// and fallback() for VEK_TYPE_NONE and unknown codes. Every call of visit
// must return what fallback returns.
template <class Visit, class Fallback>
auto VekVisitValueType(Type_e eType, Visit&& visit, Fallback&& fallback) -> decltype(fallback())
{
    switch (eType)
    {
    case VEK_TYPE_INT:
        return visit(VekValueTypeTag<VEK_TYPE_INT>());
    case VEK_TYPE_LONG:
        return visit(VekValueTypeTag<VEK_TYPE_LONG>());
    case VEK_TYPE_BOOL:
        return visit(VekValueTypeTag<VEK_TYPE_BOOL>());
    case VEK_TYPE_DOUBLE:
        return visit(VekValueTypeTag<VEK_TYPE_DOUBLE>());
    case VEK_TYPE_STRING:
        return visit(VekValueTypeTag<VEK_TYPE_STRING>());
    case VEK_TYPE_QWORD:
        return visit(VekValueTypeTag<VEK_TYPE_QWORD>());
    case VEK_TYPE_UINT:
        return visit(VekValueTypeTag<VEK_TYPE_UINT>());
    default:
        return fallback();
    }
}

// True when values of C++ type T are those of value type eType.
template <class T> inline bool VekIsValueTypeOf(Type_e eType)
{
    return VekVisitValueType(
        eType,
        [](auto tag) {
            return std::is_same<T, typename VekValueType<decltype(tag)::value>::type>::value;
        },
        [] { return false; });
}

// The values are in m_arrValues. For T = CString* the record owns the strings
// its list points to: ClearValues and the destructor delete them, and whoever
// removes one from the list takes it over.
template <class T> class CVekParamData : public CVekParamDataBase
{
public:
    CVekParamData() = default;
    CVekParamData(const CVekParamData& other)
        : CVekParamDataBase(other), m_arrValues(other.m_arrValues)
    {
        DeepCopyValues();
    }
    CVekParamData& operator=(const CVekParamData& other)
    {
        if (this != &other)
        {
            FreeValues();
            CVekParamDataBase::operator=(other);
            m_arrValues = other.m_arrValues;
            DeepCopyValues();
        }
        return *this;
    }
    ~CVekParamData() override { FreeValues(); }

    CVekParamDataBase* Clone() const override { return new CVekParamData(*this); }
    int GetValueCount() const override { return m_arrValues.GetSize(); }
    void ClearValues() override
    {
        FreeValues();
        m_arrValues.Reset();
    }

    VekArray<T> m_arrValues;

private:
    void FreeValues()
    {
        if constexpr (std::is_same<T, CString*>::value)
        {
            for (int i = 0; i < m_arrValues.GetSize(); ++i)
            {
                delete m_arrValues[i];
                m_arrValues[i] = nullptr;
            }
        }
    }
    void DeepCopyValues()
    {
        if constexpr (std::is_same<T, CString*>::value)
        {
            for (int i = 0; i < m_arrValues.GetSize(); ++i)
                m_arrValues[i] = m_arrValues[i] ? new CString(*m_arrValues[i]) : nullptr;
        }
    }
};
