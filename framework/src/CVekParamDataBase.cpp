#include "CVekParamDataBase.h"

CVekParamDataBase::~CVekParamDataBase() = default;

CVekParamDataBase* CVekParamDataBase::Clone() const
{
    return new CVekParamDataBase(*this);
}

int CVekParamDataBase::GetValueCount() const
{
    return 0;
}

void CVekParamDataBase::ClearValues() {}
