// VekXMLNode: a handle to one element of a VekXMLDocument.
#pragma once

#include "VekFrameworkApi.h"
#include "afxstr.h"

#include <cstddef>

class VekXMLNodeList;

// A node object is a cheap handle, not the element: deleting it never removes
// the element from its document. Every VekXMLNode* returned by a method below
// is new and belongs to the caller, who deletes it. A handle stays valid while
// its element exists; loading, clearing or destroying the document ends that.
//
// Text is wide (CString); the document stores UTF-8.
class VEK_FRAMEWORK_API VekXMLNode
{
public:
    VekXMLNode() = default;
    // Wraps an element handle of the document implementation; for framework use.
    explicit VekXMLNode(void* pHandle) : m_pHandle(pHandle) {}
    VekXMLNode(const VekXMLNode&) = default;
    VekXMLNode& operator=(const VekXMLNode&) = default;
    ~VekXMLNode() = default;

    // Node objects are made and deleted by the thousand while rules are read and
    // written, so their blocks are reused instead of going through the heap each time.
    static void* operator new(size_t nSize);
    static void operator delete(void* p, size_t nSize) noexcept;

    // True when the handle refers to no element.
    bool IsNull() const { return m_pHandle == nullptr; }
    // True when both handles refer to the same element.
    bool IsSameNode(const VekXMLNode* pOther) const;
    // The element handle of the document implementation; for framework use.
    void* GetHandle() const { return m_pHandle; }
    void SetHandle(void* pHandle) { m_pHandle = pHandle; }

    // Element name; empty for a null handle.
    CString GetNodeName() const;
    // The element's text (its first text child); empty when it has none.
    CString GetNodeValue() const;
    // Replaces the element's text. False for a null handle.
    bool SetNodeValue(const CString& strValue);
    // Reads the text as a decimal integer the way a C stream does: leading
    // blanks and a sign allowed, reading stops at the first non-digit ("12abc"
    // gives 12). False, with nValue unchanged, when there is no number or it
    // does not fit.
    bool GetNodeValueInInt(int& nValue) const;
    bool GetNodeValueInLong(long& nValue) const;
    // Reads the text as a double: leading blanks, sign, digits, point and
    // exponent, reading stops at the first character that does not belong
    // ("12abc" gives 12.0). False, with dValue unchanged, when the text does not
    // start with a number.
    bool GetNodeValueInDouble(double& dValue) const;

    // Sets attribute strName: replaces the value when the attribute exists,
    // otherwise appends the attribute after the existing ones. False for a null
    // handle or an empty name.
    bool AddAttribute(const CString& strName, const CString& strValue);
    // The same for a name given as text (null as an empty name), without building a string for it.
    bool AddAttribute(LPCWSTR pszName, const CString& strValue);
    // True and the value in strValue when the attribute exists; otherwise false
    // and strValue unchanged.
    bool GetAttributeValue(const CString& strName, CString& strValue) const;
    // The same for a name given as text, without building a string for it.
    bool GetAttributeValue(LPCWSTR pszName, CString& strValue) const;
    bool HasAttribute(const CString& strName) const;
    // False when there was no such attribute.
    bool RemoveAttribute(const CString& strName);
    int GetAttributeCount() const;
    // Name and value of the nIndex-th attribute in document order; false when out of range.
    bool GetAttributeAt(int nIndex, CString& strName, CString& strValue) const;

    // Appends pChild's element as the last child of this element, moving it
    // from wherever it was (an unattached node from CreateNode, another place,
    // or another document). pChild keeps referring to the element at its new
    // place; the caller still owns and deletes pChild. False for null handles,
    // or when pChild is this element or one of its ancestors.
    bool AppendNode(VekXMLNode* pChild);
    // Appends a new child element; returns it (new, caller deletes) or null.
    VekXMLNode* AppendNode(const CString& strName);
    // The same for a name given as text (null as an empty name).
    VekXMLNode* AppendNode(LPCWSTR pszName);
    // Removes pChild's element (with its subtree) from this element; pChild
    // becomes a null handle. False when it is not a child of this element.
    bool RemoveChild(VekXMLNode* pChild);

    // First child element named strName; new, caller deletes; null when none.
    VekXMLNode* SelectSingleNode(const CString& strName) const;
    // The same for a name given as text (null as an empty name).
    VekXMLNode* SelectSingleNode(LPCWSTR pszName) const;
    // All child elements named strName, in document order; new, caller deletes;
    // never null for a valid handle (an empty list when none), null for a null handle.
    VekXMLNodeList* GetNodeList(const CString& strName) const;
    // The same for a name given as text (null as an empty name).
    VekXMLNodeList* GetNodeList(LPCWSTR pszName) const;
    // All child elements, in document order; ownership as GetNodeList.
    VekXMLNodeList* GetChildNodes() const;
    // The parent element; new, caller deletes; null for the document element,
    // an unattached node or a null handle.
    VekXMLNode* GetParentNode() const;
    // First child element; new, caller deletes; null when none.
    VekXMLNode* GetFirstChildNode() const;
    // Moves this handle to the next sibling element. False at the last one,
    // with the handle unchanged.
    bool MoveToNextSibling();

    // The element and its subtree as XML text, without declaration. False for a null handle.
    bool GetXML(CString& strXML) const;

private:
    void* m_pHandle = nullptr;
};
