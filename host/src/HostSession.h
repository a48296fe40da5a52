// The host's side of a session with one or more rules modules: the XML
// document handed to them, the modules themselves, and every rule they made.
#pragma once

#include "DatabaseLibrary.h"
#include "RulesModule.h"

#include <memory>
#include <string>
#include <vector>

class CHostSession
{
public:
    CHostSession();
    CHostSession(const CHostSession&) = delete;
    CHostSession& operator=(const CHostSession&) = delete;
    // Gives every rule back to its module, takes the document away from the
    // modules and unloads them, in that order.
    ~CHostSession();

    // Loads the database library. Without it the modules are told of no
    // database library; false with a one-line message.
    bool LoadDatabaseLibrary(const std::string& strPath, std::string& strError);
    CDatabaseLibrary& GetDatabaseLibrary() { return m_database; }
    // Why the database library did not load (empty when it did or was not tried).
    const std::string& GetDatabaseLibraryError() const { return m_strDatabaseError; }

    // Loads each module and hands it the document and the database module
    // list. False, with a one-line message, at the first module that fails,
    // including one that has no name because its resources are missing.
    bool LoadModules(const std::vector<std::string>& vecPaths, std::string& strError);

    // The document every module writes its rule elements into; owned by the session.
    VekXMLDocument& GetDocument() { return m_doc; }
    const std::vector<std::unique_ptr<CRulesModule>>& GetModules() const { return m_vecModules; }

    // The default rules of every module, in module order. The session owns them.
    std::vector<CVekRule*> NewRules();
    // The default rules of one module. The session owns them.
    std::vector<CVekRule*> NewRules(CRulesModule& module);
    // The rule built from a stored rule element. Every module is offered the
    // element; when several accept it the first module's rule is used and the
    // others are given back (with a warning). Null when no module accepts it.
    // The session owns the rule.
    CVekRule* ReadRule(VekXMLNode* pElement);

    // The one-line message for a module whose resource library is missing or
    // broken, naming the folders it is looked for in.
    static std::string MissingResourcesMessage(const std::string& strModule);

private:
    struct COwnedRule
    {
        CVekRule* pRule;
        CRulesModule* pModule;
    };

    // Declared first so that the modules are unloaded before they go.
    VekXMLDocument m_doc;
    CDatabaseLibrary m_database;
    std::string m_strDatabaseError;
    std::vector<std::unique_ptr<CRulesModule>> m_vecModules;
    std::vector<COwnedRule> m_vecRules;
};
