// The Uniform Thickness rule of the Investment Casting process: a limit on the
// wall thickness of the cast part, for the whole part or per material.
#pragma once

#include <CVekRule.h>

class VekXMLNode;

// Identifier of the thickness parameter, of the rule and of each material constraint.
constexpr long THICKNESS_PARAMETER_ID = 40067;
// Parameters of the older per-material layout, read but never written.
constexpr long LEGACY_MATERIAL_LIST_ID = 40070;
constexpr long LEGACY_MATERIAL_FLAG_ID = 40071;

class CVEKUniformThicknessRule : public CVekRule
{
public:
    // pNode may be null: the rule then takes its default settings.
    CVEKUniformThicknessRule(const CString& strDescription, const CString& strModule, int nCategory,
                             int nRuleId, VekXMLNode* pNode);
    // A rule that PopulateFromXML fills next, as GetRule does with every stored
    // rule. Only the default parameter is built: the constraints, the summary
    // and the populated flag that the other constructor derives from the
    // element are all replaced by PopulateFromXML, so they are not made twice.
    // The rule is complete only after PopulateFromXML.
    struct PopulatedNext
    {
    };
    CVEKUniformThicknessRule(const CString& strDescription, const CString& strModule, int nCategory,
                             int nRuleId, PopulatedNext);
    ~CVEKUniformThicknessRule() override;

    void RuleHook1() override;
    int RuleHook2(LONGLONG nArg1, LONGLONG nArg2, LONGLONG nArg3) override;
    void PopulateFromXML(VekXMLNode* pNode) override;
    // A new "Rule" element in the host's document (caller deletes the node object), or null.
    VekXMLNode* GetXMLNode() override;
    void RuleHook5() override;
    void ChangeUnits(int* pOldUnit, int* pNewUnit) override;
    bool RuleHook7(LONGLONG nArg) override;
    void Configure() override;
    int RuleHook11(LONGLONG nArg1, LONGLONG nArg2, LONGLONG nArg3) override;
    void RuleHook14(int nArg) override;
    int RuleHook20() override;

    // Rebuilds the summary from the thickness parameter and the first constraint.
    void UpdateSummary();

private:
    // Names, codes and category common to both constructors.
    void InitIdentity(const CString& strDescription, const CString& strModule, int nCategory,
                      int nRuleId);
    void InitFromXML(VekXMLNode* pNode);
    void CreateDefaultParameter();
    void CreateDefaultConstraints();
    void BuildDefaultSummary();

    // Reading and writing the "Rule" element.
    VekXMLNode* WriteRuleXML();
    void ReadRuleXML(VekXMLNode* pNode);
    void PopulateConstraintsFromXML(VekXMLNode* pNode);
    void CreateConstraintsFromXML(VekXMLNode* pNode);
    static bool ReadConstraintAttributes(VekXMLNode* pNode, CString& strType, CString& strName,
                                         CString& strStatus);
    void ConvertLegacyParameters(VekXMLNode* pNode);
    static int ReadUnitFromXML(VekXMLNode* pNode);

    // A constraint of one material with its thickness parameter (no value when dThickness is null).
    CVEKConstraint* CreateMaterialConstraint(const CString& strMaterial, bool bStatus,
                                             const double* pThickness);
};

// Turns the older (flag, thickness) and (flag, a, b) value layouts of a thickness
// parameter into the current one, setting the criteria flag from the first value.
void NormalizeThicknessParameter(CVekParamStorage* pParam);

// Current-language text of a unit code; empty for code 5 and unknown codes.
CString GetUnitText(int nUnit);
