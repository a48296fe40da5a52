#include "ModuleDocument.h"

VekXMLDocument* g_pXMLDoc = nullptr;
