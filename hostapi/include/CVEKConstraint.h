// CVEKConstraint: settings of a rule that apply to one case, e.g. one material.
#pragma once

#include "CVekParamStorage.h"
#include "VekEnums.h"
#include "VekFrameworkApi.h"
#include "afxstr.h"

class VekXMLDocument;
class VekXMLNode;

// Owns the parameters in m_arrParameters and deletes them with itself.
// Members are public: rules and their dialogs read and write them directly.
class VEK_FRAMEWORK_API CVEKConstraint
{
public:
    CVEKConstraint() = default;
    CVEKConstraint(VEKConstraintType_e eType, const CString& strName, bool bStatus);
    CVEKConstraint(const CVEKConstraint&) = delete;
    CVEKConstraint& operator=(const CVEKConstraint&) = delete;
    virtual ~CVEKConstraint();

    VEKConstraintType_e GetType() const { return m_eType; }
    const CString& GetName() const { return m_strName; }
    void SetName(const CString& strName) { m_strName = strName; }
    // The status flag it was created with, or read back from XML.
    bool GetStatus() const { return m_bStatus; }
    void SetStatus(bool bStatus) { m_bStatus = bStatus; }

    // Appends pParam to m_arrParameters; the constraint owns it from then on.
    void AddParameter(CVekParamStorage* pParam);
    // The first parameter whose identifier is nId (owned by the constraint), or null.
    CVekParamStorage* FindParameterInArray(long nId) const;
    // Deletes every parameter and resets the array.
    void ClearParameters();

    // A new "Constraint" element holding the constraint and its parameters
    // (see docs/constraint-element.md), created in the current document
    // (VekXMLDocument::GetCurrent) and not yet attached; new, caller deletes.
    // Null when no document is current.
    VekXMLNode* GetXMLNode() const;
    // As GetXMLNode, in pDoc; null when pDoc is null.
    VekXMLNode* GetXMLNode(VekXMLDocument* pDoc) const;
    // Fills the constraint from a "Constraint" element: name and status from its
    // attributes when present, and each existing parameter from the element's
    // parameter with the same identifier and value type, whose stored fields
    // and values replace the parameter's. Parameters the element does not hold
    // keep their content; parameters only the element holds are ignored.
    // False (nothing changed) for a null node or an element of another name.
    bool PopulateFromXML(VekXMLNode* pNode);

    // A deep copy; new, caller deletes.
    CVEKConstraint* Clone() const;

    VEKConstraintType_e m_eType = VEK_CONSTRAINT_NONE;
    CString m_strName;
    bool m_bStatus = false;
    VekArray<CVekParamStorage*> m_arrParameters;
};
