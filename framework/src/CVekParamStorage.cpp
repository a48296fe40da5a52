#include "CVekParamStorage.h"

namespace
{
CVekParamDataBase* NewRecord(Type_e eType)
{
    switch (eType)
    {
    case VEK_TYPE_INT:
    case VEK_TYPE_LONG:
        return new CVekParamData<int32_t>;
    case VEK_TYPE_BOOL:
        return new CVekParamData<bool>;
    case VEK_TYPE_DOUBLE:
        return new CVekParamData<double>;
    case VEK_TYPE_STRING:
        return new CVekParamData<CString*>;
    case VEK_TYPE_QWORD:
        return new CVekParamData<ULONGLONG>;
    case VEK_TYPE_UINT:
        return new CVekParamData<uint32_t>;
    default:
        return new CVekParamDataBase;
    }
}
} // namespace

CVekParamStorage::CVekParamStorage(Type_e eType) : m_eType(eType), m_pData(NewRecord(eType)) {}

CVekParamStorage::~CVekParamStorage()
{
    delete m_pData;
}

CVekParamStorage* CVekParamStorage::Clone() const
{
    return new CVekParamStorage(m_eType, m_pData->Clone());
}
