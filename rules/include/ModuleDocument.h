// The host's XML document in which rules write their nodes.
#pragma once

class VekXMLDocument;

// Set by the host through SetXMLDoc; not owned; null until then. While it is null
// no rule writes XML.
extern VekXMLDocument* g_pXMLDoc;
