// VekXMLDocument: the XML document in which rules are stored.
#pragma once

#include "VekXMLNode.h"

// Owns the document tree. Node objects handed out are handles (see
// VekXMLNode) that the caller deletes; the elements belong to the document.
//
// The current document: the host makes the document it hands to the rules
// modules current with SetCurrent (and clears it with SetCurrent(nullptr)).
// Framework code that creates XML without being given a document, such as
// CVEKConstraint::GetXMLNode(), creates its nodes in the current document.
// A document that is destroyed while current stops being current.
//
// Out of memory: the tree cannot always say that an element or value it was
// asked to add could not be stored. Load, LoadXML, Save and GetXML therefore
// throw std::bad_alloc when memory ran out while reading, or at any time since
// the content was last loaded or cleared (in any document: the count is
// process-wide), instead of reading or writing a document that may be short.
class VEK_FRAMEWORK_API VekXMLDocument
{
public:
    VekXMLDocument();
    VekXMLDocument(const VekXMLDocument&) = delete;
    VekXMLDocument& operator=(const VekXMLDocument&) = delete;
    ~VekXMLDocument();

    static void SetCurrent(VekXMLDocument* pDoc);
    // The current document, or null when none is set.
    static VekXMLDocument* GetCurrent();

    // File names: strPath holds the name's bytes as VekFileNameToWide
    // (vekfilename.h) gives them, so a name that is not UTF-8 reaches the
    // system exactly as it was; a name that is UTF-8 is simply its text.
    //
    // Replaces the content by the file's (UTF-8 or UTF-16 with BOM). False on a
    // missing file or malformed XML; the document is then empty. All handles
    // into the old content become invalid.
    bool Load(const CString& strPath);
    // Writes the document as UTF-8 with declaration, as VekSaveFileSafely
    // (veksafesave.h) saves: the file is replaced only when the whole text is
    // on disk, keeps its permissions, and a symbolic link is written through.
    // False on failure (also for a target that is not a regular file).
    bool Save(const CString& strPath) const;
    // As Load, from text.
    bool LoadXML(const CString& strXML);
    // The whole document as text (without unattached nodes). False when it has no element.
    bool GetXML(CString& strXML) const;
    // Removes all content; handles into it become invalid.
    void Clear();

    // A new element that is not in the document tree yet; new, caller deletes.
    // It becomes part of the tree when appended (VekXMLNode::AppendNode);
    // until then it is never saved. Null for an empty name.
    VekXMLNode* CreateNode(const CString& strName);
    // The same for a name given as text (null as an empty name).
    VekXMLNode* CreateNode(LPCWSTR pszName);
    // The document (top-level) element; new, caller deletes; null when none.
    VekXMLNode* GetRootNode() const;
    // Creates the document element named strName; new, caller deletes. Null when
    // the document already has one or the name is empty.
    VekXMLNode* CreateRootNode(const CString& strName);
    // True when pNode's element belongs to this document (attached or not).
    bool Owns(const VekXMLNode* pNode) const;

private:
    // Framework code that works on the tree itself (element templates).
    friend struct VekXMLDocumentInternals;

    struct Impl;
    Impl* m_pImpl;
};
