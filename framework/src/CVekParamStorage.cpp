#include "CVekParamStorage.h"

namespace
{
CVekParamDataBase* NewRecord(Type_e eType)
{
    return VekVisitValueType(
        eType,
        [](auto tag) -> CVekParamDataBase* {
            return new CVekParamData<typename VekValueType<decltype(tag)::value>::type>;
        },
        []() -> CVekParamDataBase* { return new CVekParamDataBase; });
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
