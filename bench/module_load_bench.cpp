// One host cycle: load the module (its resource libraries with it), get its
// rules, delete them, unload. The host framework and utility library stay
// loaded, as they are in the host process. Prints the time per cycle.
#include <benchmark/benchmark.h>

#include <afx.h>

#include <CLocationHelper.h>
#include <VekRulesModuleExports.h>

#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace
{
const std::string kModulePath = std::string(VEK_BIN_DIR) + "/VEKInvestmentCastRulesu.so";

void LoadGetRulesUnload(benchmark::State& state, const char* pszLanguage)
{
    setenv("VEK_HOME", VEK_BIN_DIR, 1);
    setenv("VEK_UI_LANGUAGE", pszLanguage, 1);
    // Resolving the folder also keeps the utility library loaded across cycles.
    char szFolder[512] = {0};
    std::wcstombs(szFolder, CLocationHelper::GetLocalizedResPath(), sizeof szFolder - 1);
    state.SetLabel(szFolder);
    for (auto _ : state)
    {
        void* hModule = dlopen(kModulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!hModule)
        {
            state.SkipWithError(dlerror());
            return;
        }
        VekRulesModuleExports exports;
        if (const char* pszMissing =
                VekResolveRulesModuleExports(static_cast<HMODULE>(hModule), exports))
        {
            dlclose(hModule);
            state.SkipWithError(pszMissing);
            return;
        }
        VekArray<CVekRule*> arrRules;
        exports.GetAllRules(&arrRules);
        benchmark::DoNotOptimize(arrRules.GetSize());
        for (int i = 0; i < arrRules.GetSize(); ++i)
            exports.DeleteRule(&arrRules[i]);
        dlclose(hModule);
    }
}

void BM_ModuleCycleDefaultLanguage(benchmark::State& state)
{
    LoadGetRulesUnload(state, "en-US");
}
void BM_ModuleCycleOtherLanguage(benchmark::State& state)
{
    LoadGetRulesUnload(state, "de-DE");
}
void BM_ModuleCycleMissingLanguage(benchmark::State& state)
{
    LoadGetRulesUnload(state, "fr-FR");
}
} // namespace

BENCHMARK(BM_ModuleCycleDefaultLanguage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModuleCycleOtherLanguage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModuleCycleMissingLanguage)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
