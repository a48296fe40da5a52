#include "VekXMLNode.h"

#include "VekXMLNodeList.h"
#include "VekXMLBlockCache.h"
#include "VekXMLHandles.h"
#include "VekXMLNumbers.h"
#include "VekXMLText.h"

#include <memory>

using vek_xml::FromUtf8;
using vek_xml::HandleOf;
using vek_xml::NodeOf;
using vek_xml::ToUtf8;

namespace
{
vek_xml::CBlockCache<sizeof(VekXMLNode)> g_nodeBlocks;
}

void* VekXMLNode::operator new(size_t nSize)
{
    return g_nodeBlocks.Take(nSize);
}

void VekXMLNode::operator delete(void* p, size_t nSize) noexcept
{
    g_nodeBlocks.Give(p, nSize);
}

bool VekXMLNode::IsSameNode(const VekXMLNode* pOther) const
{
    return pOther != nullptr && pOther->m_pHandle == m_pHandle;
}

CString VekXMLNode::GetNodeName() const
{
    return FromUtf8(NodeOf(this).name());
}

CString VekXMLNode::GetNodeValue() const
{
    return FromUtf8(NodeOf(this).text().get());
}

bool VekXMLNode::SetNodeValue(const CString& strValue)
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return false;
    const vek_xml::Utf8Text value(strValue);
    return node.text().set(value.data(), value.size());
}

bool VekXMLNode::GetNodeValueInInt(int& nValue) const
{
    return m_pHandle != nullptr && vek_xml::ParseInteger(NodeOf(this).text().get(), nValue);
}

bool VekXMLNode::GetNodeValueInLong(long& nValue) const
{
    return m_pHandle != nullptr && vek_xml::ParseInteger(NodeOf(this).text().get(), nValue);
}

bool VekXMLNode::GetNodeValueInDouble(double& dValue) const
{
    return m_pHandle != nullptr && vek_xml::ParseDouble(NodeOf(this).text().get(), dValue);
}

namespace
{
bool SetAttribute(pugi::xml_node node, const char* pszName, const CString& strValue)
{
    const vek_xml::Utf8Text value(strValue);
    pugi::xml_attribute attr = node.attribute(pszName);
    if (!attr)
        attr = node.append_attribute(pszName);
    return attr && attr.set_value(value.data(), value.size());
}

pugi::xml_node AppendElement(pugi::xml_node parent, const char* pszName)
{
    if (!parent || parent.type() != pugi::node_element)
        return pugi::xml_node();
    return parent.append_child(pszName);
}

VekXMLNodeList* ListChildren(pugi::xml_node node, const char* pszName)
{
    // Gathered on the stack first, so that the list is allocated once at its size.
    constexpr int kGathered = 16;
    void* arrGathered[kGathered];
    int nGathered = 0;
    pugi::xml_node child = node.child(pszName);
    for (; child && nGathered < kGathered; child = child.next_sibling(pszName))
        arrGathered[nGathered++] = HandleOf(child);
    std::unique_ptr<VekXMLNodeList> pList(new VekXMLNodeList);
    pList->Reserve(child ? 2 * kGathered : nGathered);
    for (int i = 0; i < nGathered; ++i)
        pList->AddHandle(arrGathered[i]);
    for (; child; child = child.next_sibling(pszName))
        pList->AddHandle(HandleOf(child));
    return pList.release();
}

const wchar_t* OrEmpty(LPCWSTR pszName)
{
    return pszName != nullptr ? pszName : L"";
}
bool ReadAttribute(pugi::xml_node node, const char* pszName, CString& strValue)
{
    pugi::xml_attribute attr = node.attribute(pszName);
    if (!attr)
        return false;
    vek_xml::AssignUtf8(strValue, attr.value());
    return true;
}
} // namespace

bool VekXMLNode::AddAttribute(const CString& strName, const CString& strValue)
{
    pugi::xml_node node = NodeOf(this);
    if (!node || strName.IsEmpty())
        return false;
    return SetAttribute(node, ToUtf8(strName).c_str(), strValue);
}

bool VekXMLNode::AddAttribute(LPCWSTR pszName, const CString& strValue)
{
    pugi::xml_node node = NodeOf(this);
    if (!node || pszName == nullptr || *pszName == L'\0')
        return false;
    return SetAttribute(node, vek_xml::Utf8Name(pszName).c_str(), strValue);
}

bool VekXMLNode::GetAttributeValue(const CString& strName, CString& strValue) const
{
    pugi::xml_node node = NodeOf(this);
    return node && ReadAttribute(node, ToUtf8(strName).c_str(), strValue);
}

bool VekXMLNode::GetAttributeValue(LPCWSTR pszName, CString& strValue) const
{
    pugi::xml_node node = NodeOf(this);
    if (!node || !pszName)
        return false;
    // Rules read their attributes by the thousand and the names are short ASCII.
    return ReadAttribute(node, vek_xml::Utf8Name(pszName).c_str(), strValue);
}

bool VekXMLNode::HasAttribute(const CString& strName) const
{
    pugi::xml_node node = NodeOf(this);
    return node && node.attribute(ToUtf8(strName).c_str());
}

bool VekXMLNode::RemoveAttribute(const CString& strName)
{
    pugi::xml_node node = NodeOf(this);
    return node && node.remove_attribute(ToUtf8(strName).c_str());
}

int VekXMLNode::GetAttributeCount() const
{
    int nCount = 0;
    for (pugi::xml_attribute attr = NodeOf(this).first_attribute(); attr;
         attr = attr.next_attribute())
        ++nCount;
    return nCount;
}

bool VekXMLNode::GetAttributeAt(int nIndex, CString& strName, CString& strValue) const
{
    if (nIndex < 0)
        return false;
    pugi::xml_attribute attr = NodeOf(this).first_attribute();
    for (int i = 0; attr && i < nIndex; ++i)
        attr = attr.next_attribute();
    if (!attr)
        return false;
    vek_xml::AssignUtf8(strName, attr.name());
    vek_xml::AssignUtf8(strValue, attr.value());
    return true;
}

bool VekXMLNode::AppendNode(VekXMLNode* pChild)
{
    pugi::xml_node parent = NodeOf(this);
    pugi::xml_node child = NodeOf(pChild);
    if (!parent || !child || parent.type() != pugi::node_element ||
        child.type() != pugi::node_element)
        return false;
    // Within a document the tree itself refuses to move an element under
    // itself or its own descendants.
    if (parent.root() == child.root())
        return static_cast<bool>(parent.append_move(child));
    // Elements cannot move between documents: copy, then drop the original,
    // and let the caller's object follow the element to its new place.
    pugi::xml_node copy = parent.append_copy(child);
    if (!copy)
        return false;
    child.parent().remove_child(child);
    pChild->m_pHandle = HandleOf(copy);
    return true;
}

VekXMLNode* VekXMLNode::AppendNode(const CString& strName)
{
    if (strName.IsEmpty())
        return nullptr;
    pugi::xml_node child = AppendElement(NodeOf(this), ToUtf8(strName).c_str());
    return child ? new VekXMLNode(HandleOf(child)) : nullptr;
}

VekXMLNode* VekXMLNode::AppendNode(LPCWSTR pszName)
{
    if (pszName == nullptr || *pszName == L'\0')
        return nullptr;
    pugi::xml_node child = AppendElement(NodeOf(this), vek_xml::Utf8Name(pszName).c_str());
    return child ? new VekXMLNode(HandleOf(child)) : nullptr;
}

bool VekXMLNode::RemoveChild(VekXMLNode* pChild)
{
    pugi::xml_node parent = NodeOf(this);
    pugi::xml_node child = NodeOf(pChild);
    if (!parent || !child || child.parent() != parent)
        return false;
    if (!parent.remove_child(child))
        return false;
    pChild->m_pHandle = nullptr;
    return true;
}

VekXMLNode* VekXMLNode::SelectSingleNode(const CString& strName) const
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return nullptr;
    pugi::xml_node child = node.child(ToUtf8(strName).c_str());
    return child ? new VekXMLNode(HandleOf(child)) : nullptr;
}

VekXMLNode* VekXMLNode::SelectSingleNode(LPCWSTR pszName) const
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return nullptr;
    pugi::xml_node child = node.child(vek_xml::Utf8Name(OrEmpty(pszName)).c_str());
    return child ? new VekXMLNode(HandleOf(child)) : nullptr;
}

VekXMLNodeList* VekXMLNode::GetNodeList(const CString& strName) const
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return nullptr;
    return ListChildren(node, ToUtf8(strName).c_str());
}

VekXMLNodeList* VekXMLNode::GetNodeList(LPCWSTR pszName) const
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return nullptr;
    return ListChildren(node, vek_xml::Utf8Name(OrEmpty(pszName)).c_str());
}

VekXMLNodeList* VekXMLNode::GetChildNodes() const
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return nullptr;
    VekXMLNodeList* pList = new VekXMLNodeList;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    {
        if (child.type() == pugi::node_element)
            pList->AddHandle(HandleOf(child));
    }
    return pList;
}

VekXMLNode* VekXMLNode::GetParentNode() const
{
    pugi::xml_node parent = NodeOf(this).parent();
    if (!parent || parent.type() != pugi::node_element || vek_xml::IsHiddenElement(parent))
        return nullptr;
    return new VekXMLNode(HandleOf(parent));
}

VekXMLNode* VekXMLNode::GetFirstChildNode() const
{
    for (pugi::xml_node child = NodeOf(this).first_child(); child; child = child.next_sibling())
    {
        if (child.type() == pugi::node_element)
            return new VekXMLNode(HandleOf(child));
    }
    return nullptr;
}

bool VekXMLNode::MoveToNextSibling()
{
    pugi::xml_node node = NodeOf(this);
    if (!node || vek_xml::IsHiddenElement(node.parent()))
        return false;
    for (pugi::xml_node next = node.next_sibling(); next; next = next.next_sibling())
    {
        if (next.type() == pugi::node_element && !vek_xml::IsHiddenElement(next))
        {
            m_pHandle = HandleOf(next);
            return true;
        }
    }
    return false;
}

bool VekXMLNode::GetXML(CString& strXML) const
{
    pugi::xml_node node = NodeOf(this);
    if (!node)
        return false;
    vek_xml::WideStringWriter writer(strXML);
    node.print(writer, "\t", pugi::format_default | pugi::format_no_declaration,
               pugi::encoding_utf8);
    writer.Finish();
    return true;
}
