// Built only into the test copy of the module: lets tests look at the
// application object, which the real module keeps to itself.
#include "VEKInvestmentCastRulesApp.h"

extern "C" __attribute__((visibility("default"))) CVEKInvestmentCastRulesApp* VekProbeApp()
{
    return g_pApp;
}
