// CVekRule: base class of every rule the host checks.
#pragma once

#include "CVEKConstraint.h"
#include "CVekParamStorage.h"
#include "VekArray.h"
#include "VekEnums.h"
#include "VekFrameworkApi.h"
#include "afxcoll.h"
#include "afxstr.h"

#include <list>
#include <map>
#include <utility>
#include <vector>

class VekXMLNode;
// The host's CAD objects, passed through without being looked into.
class CVekCADSystem;
class CVekCADData;
class CVekResultSet;

// A material group and the checked grades of it; the entry owns its list.
typedef std::vector<std::pair<CString, CStringList*>> VekMaterialSelection;

// The host calls a rule only through the virtual operations below, by their
// position in the table of virtual functions, so their order and shape are
// fixed: never insert, remove or reorder one. Slots 1, 2, 5, 7, 11, 14 and 20
// are hooks the host calls at its own moments; a rule overrides what it needs.
//
// The rule owns its parameters, constraints and material selection and frees
// them in its destructor. Members are public: rules and their dialogs use them
// directly.
class VEK_FRAMEWORK_API CVekRule
{
public:
    CVekRule();
    CVekRule(const CVekRule&) = delete;
    CVekRule& operator=(const CVekRule&) = delete;

    /* slot  0 */ virtual ~CVekRule();
    /* slot  1 */ virtual void RuleHook1();
    /* slot  2 */ virtual int RuleHook2(LONGLONG nArg1, LONGLONG nArg2, LONGLONG nArg3); // base: 0
    // Reads the rule from a rule element. Base: nothing.
    /* slot  3 */ virtual void PopulateFromXML(VekXMLNode* pNode);
    // A new rule element (caller deletes the node object), or null. Base: null.
    /* slot  4 */ virtual VekXMLNode* GetXMLNode();
    /* slot  5 */ virtual void RuleHook5();
    // pOldUnit and pNewUnit each point to two 32-bit integers, the unit code
    // first. Base: stores the new pair in m_nUnit and m_nUnit2.
    /* slot  6 */ virtual void ChangeUnits(int* pOldUnit, int* pNewUnit);
    /* slot  7 */ virtual bool RuleHook7(LONGLONG nArg); // base: false
    // Lets the user edit the rule. Base: nothing.
    /* slot  8 */ virtual void Configure();
    // Keeps the dialog image and calls Configure.
    /* slot  9 */ virtual void ConfigureRule(HBITMAP hBitmap);
    /* slot 10 */ virtual void SetDialogImageInfo(CString strInfo);
    /* slot 11 */ virtual int RuleHook11(LONGLONG nArg1, LONGLONG nArg2, LONGLONG nArg3); // base: 0
    // Makes this rule a deep copy of pOther's settings (texts, numbers,
    // parameters, constraints, material selection). Nothing for null or self.
    /* slot 12 */ virtual CVekRule& operator=(const CVekRule* pOther);
    // The first parameter of m_arrParameters with identifier nId (owned by the rule), or null.
    /* slot 13 */ virtual CVekParamStorage* FindParameterInArray(long nId);
    /* slot 14 */ virtual void RuleHook14(int nArg);
    /* slot 15 */ virtual bool ValidateInputData();               // base: true
    /* slot 16 */ virtual CString GetRequiredInputData();         // base: empty
    /* slot 17 */ virtual void SetInputData(CString& strData);    // base: nothing
    /* slot 18 */ virtual void SetPreExecutionData(void*& pData); // base: nothing
    /* slot 19 */ virtual int GetRuleId();                        // m_nRuleId
    /* slot 20 */ virtual int RuleHook20();                       // base: 0
    // Called when the rule has been read from XML. Base: nothing.
    /* slot 21 */ virtual void PostPopulate();
    /* slot 22 */ virtual int GetCutterStatus(); // base: 0
    /* slot 23 */ virtual bool Heal(CVekCADSystem* pSystem, CVekCADData* pData,
                                    CVekResultSet* pResults); // base: false
    /* slot 24 */ virtual bool IsRuleParametric();            // base: false
    /* slot 25 */ virtual bool ValidateInputParameters(
        std::map<LONG, double>& mapValues); // base: true
    /* slot 26 */ virtual void InitConstraints(VekXMLNode* pNode,
                                               std::list<LONG>& lstIds); // base: nothing
    // Base: for each identifier, the first value of that parameter in the first
    // constraint holding it, when the value type is numeric.
    /* slot 27 */ virtual void GetConstraintParameters(std::list<LONG>& lstIds,
                                                       std::map<LONG, double>& mapValues);
    // Parameter nId of the first constraint named strConstraint (ordinal comparison), or null.
    /* slot 28 */ virtual CVekParamStorage* FindParameterInConstraintArray(CString strConstraint,
                                                                           long nId);

    // Sets the category and m_strRuleCategory to its text.
    void SetRuleCategory(VEKRuleCategory_e eCategory);
    VEKRuleCategory_e GetRuleCategoryEnum() const { return m_eRuleCategory; }
    // Display text of a category ("Investment Casting" for 20); empty for an unknown one.
    static CString GetRuleCategoryText(VEKRuleCategory_e eCategory);

    // A new parameter in no collection yet (caller appends it somewhere, or
    // deletes it): value type eType, identifier nId, operator, parameter kind,
    // record status bStatus and criteria status bCriteriaStatus; no values, empty
    // name and remarks, criteria type 0, empty maps.
    static CVekParamStorage* CreateParamStorageObject(Type_e eType, long nId,
                                                      VekOperator_e eOperator,
                                                      VekParamType_e eParamType, bool bStatus,
                                                      bool bCriteriaStatus);
    // A new constraint with no parameters, in no collection yet (caller appends it or deletes it).
    static CVEKConstraint* CreateConstraintObject(VEKConstraintType_e eType, CString strName,
                                                  bool bStatus);
    // Deletes every constraint and resets m_arrConstraints.
    void ClearConstraints();
    // Deletes every parameter and resets m_arrParameters.
    void ClearParameterArray();
    // Deletes every list of the material selection and empties it.
    void ClearMaterialSelection();

    CString m_strName;               // name stored in XML, the same in every language
    CString m_strDisplayName;        // name shown to the user
    CString m_strSummary;            // one-line summary of the settings
    CString m_strModule;             // identifier of the module that made the rule
    CString m_strRuleCategory;       // category text (see SetRuleCategory)
    CString m_strRuleModule;         // module name, from XML
    CString m_strRuleModuleFileName; // module file, from XML
    CStringList m_lstDescription;    // description lines
    int m_nStatus = 0;
    int m_nSeverity = 0;
    int m_nLifeStatus = 0;
    VekArray<CVekParamStorage*> m_arrParameters; // owned
    VekArray<CVEKConstraint*> m_arrConstraints;  // owned
    bool m_bPopulated = false;
    int m_nUnit = 0; // unit code of every length the rule holds (CVEKUnitConvertor); 0 = millimetre
    int m_nUnit2 = 0; // second half of the last unit pair given to ChangeUnits
    int m_nRuleId = 0;
    int m_nReinitFlag = 0; // set by the host; 1 asks PopulateFromXML to rebuild from scratch
    VekMaterialSelection m_vecMaterialSelection; // owned lists
    CString m_strDBModuleFile;                   // material database library the rule refers to
    VEKRuleCategory_e m_eRuleCategory = VEK_RULE_CATEGORY_UNKNOWN;
    CString m_strDialogImageInfo;
    HBITMAP m_hDialogImage = nullptr; // not owned
};
