#include "VekXMLNodeList.h"

VekXMLNode* VekXMLNodeList::operator[](int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return nullptr;
    return &m_vecNodes[static_cast<size_t>(nIndex)];
}
