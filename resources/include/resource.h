// Identifiers of the module's resources: the strings and dialog templates of
// VEKInvestmentCastRulesResu and the controls of those templates. The numbers
// are fixed: rule nodes, stored settings and every language's resource library
// depend on them.
#pragma once

// ---------------------------------------------------------------------------
// Strings
// ---------------------------------------------------------------------------

// Severity names, in the order of the severity combo box; entry i stands for
// severity i + 1.
#define IDS_SEVERITY_1 40000
#define IDS_SEVERITY_2 40001
#define IDS_SEVERITY_3 40002
#define IDS_SEVERITY_4 40003
#define IDS_SEVERITY_5 40004

// Unit names of the unit converter's codes 0 to 4 and 6 to 10 (code 5 is a
// compound unit and has no text).
#define IDS_UNIT_MM 40005   // code 0, millimetre
#define IDS_UNIT_CM 40006   // code 1, centimetre
#define IDS_UNIT_M 40007    // code 2, metre
#define IDS_UNIT_IN 40008   // code 3, inch
#define IDS_UNIT_FT 40009   // code 4, foot
#define IDS_UNIT_UM 40010   // code 6, micrometre
#define IDS_UNIT_KM 40011   // code 7, kilometre
#define IDS_UNIT_YD 40012   // code 8, yard
#define IDS_UNIT_MIL 40013  // code 9, mil
#define IDS_UNIT_MILE 40014 // code 10, mile

// Reading or writing a rule element met a parameter of unknown value type.
#define IDS_XML_ERROR 40019

// Material database dialog.
#define IDS_MATERIAL_TREE_ROOT 40042       // text of the tree's root item
#define IDS_MATERIAL_DB_CAPTION 40043      // caption of every message box of the dialog
#define IDS_GRADE_EXISTS 40044             // %s grade name, %s group name
#define IDS_GRADE_ADD_FAILED 40045         // the database refused the new grade
#define IDS_DELETE_NOTHING_SELECTED 40046  // delete with nothing typed or selected
#define IDS_DELETE_REFUSED_SHOWN 40047     // the database refuses to delete a shown entry
#define IDS_DELETE_REFUSED_NOT_SHOWN 40048 // ... an entry the tree does not show
#define IDS_KIND_GROUP 40049               // kind word for a group in 40050 and 40052
#define IDS_DELETE_CONFIRM 40050           // %s kind word, %s name; Yes/No
#define IDS_KIND_GRADE 40051               // kind word for a grade in 40050 and 40052
#define IDS_DELETED 40052                  // %s kind word, %s name
#define IDS_DISCARD_DB_CHANGES 40053       // question on Cancel with pending edits; Yes/No
#define IDS_GRADE_ADDED 40054              // %s grade name, %s group name
#define IDS_DELETE_GROUP_MISSING 40055     // %s grade text; a selection without a group name
#define IDS_GRADE_DELETE_FAILED 40056      // the database failed to delete a grade
#define IDS_DELETE_NAME_MISSING 40057      // a grade removal without group or grade name

// Module and rule.
#define IDS_MODULE_NAME 40061      // answer of GetModuleName
#define IDS_MODULE_SUMMARY 40062   // answer of GetModuleSummary
#define IDS_RULE_NAME 40063        // default-language text: the rule's stored name
#define IDS_SUMMARY_FORMAT 40065   // %s operator wording, %s thickness, %s unit name
#define IDS_OPERATOR_GE 40069      // operator wording of ">=" in the summary
#define IDS_SUMMARY_MATERIAL 40072 // summary while thicknesses per material are active

// Uniform thickness dialog and its material grid.
#define IDS_MISSING_THICKNESS 40103 // OK with a material row without thickness
#define IDS_COLUMN_MATERIAL 40104   // title of grid column 0
#define IDS_COLUMN_THICKNESS 40105  // title of grid column 1; %s unit name
#define IDS_VALUE_RANGE 40107       // a lower limit above the upper limit in a grid row
#define IDS_DUPLICATE_SUFFIX 40108  // follows "<name> " when a name is in the grid already
#define IDS_RULE_DESCRIPTION 40116  // description handed to every new rule
#define IDS_ZERO_THICKNESS 40122    // OK with a uniform thickness of zero
#define IDS_GRADE_IS_GROUP 40123    // %s grade name; the name is a group's name

// ---------------------------------------------------------------------------
// Dialog templates
// ---------------------------------------------------------------------------

#define IDD_EDIT_MATERIAL_DB 40029  // material database dialog
#define IDD_UNIFORM_THICKNESS 40102 // uniform thickness configuration dialog

// ---------------------------------------------------------------------------
// Controls
// ---------------------------------------------------------------------------

// Material database dialog.
#define IDC_MATERIAL_TREE 40030  // tree of groups and grades with check boxes
#define IDC_MATERIAL_GROUP 40034 // edit: material group name
#define IDC_MATERIAL_GRADE 40035 // edit: material grade name
#define IDC_ADD_GRADE 40036      // button: add the grade
#define IDC_DELETE_ENTRY 40037   // button: delete the grade or group

// Uniform thickness dialog.
#define IDC_OPERATOR 40075         // combo: operator of the uniform thickness
#define IDC_THICKNESS 40077        // numeric edit: uniform thickness
#define IDC_THICKNESS_UNIT 40078   // static: unit text
#define IDC_LIMIT_CHECK 40080      // check box: only re-evaluates the OK button
#define IDC_MATERIAL_UNIT 40085    // static: unit text
#define IDC_SEVERITY 40087         // combo: severity names 40000 to 40004
#define IDC_DB_MODULE 40090        // combo: name of the material database module
#define IDC_EDIT_MATERIAL_DB 40091 // button: opens the material database dialog
#define IDC_MATERIAL_GRID 40093    // list control: the material grid
#define IDC_MATERIAL_CHECK 40096   // check box: one thickness per material
#define IDC_AVAILABLE_GROUPS 40097 // list box: every material group
#define IDC_SELECTED_GROUPS 40098  // list box: the groups offered in the grid
#define IDC_ADD_GROUPS 40099       // button: add the selected groups
#define IDC_UNIFORM_CHECK 40101    // check box: one uniform thickness
#define IDC_REMOVE_GROUPS 40400    // button: remove the selected groups

// In-place editors of the material grid, created at run time as children of the grid.
#define IDC_CELL_EDIT 40014  // text editor of number cells
#define IDC_CELL_COMBO 40015 // drop-down list of name cells
