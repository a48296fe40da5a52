// The storage road against the XML library underneath it: a rule file of N
// rules is loaded, every rule is built by the module (GetRule), written back
// (GetXMLNode) in place of its element, and the file is saved; the baseline is
// pugixml alone loading and saving the same file. Both save the same way
// (temporary file, flush to disk, rename). Prints both times, their ratio (of
// processor time) and the time per rule for N = 1,000, 10,000 and 100,000.
// Two further roads bound the comparison from either side: the framework's
// document loading and saving the file with no rule work in between, and
// pugixml alone rebuilding every rule element node by node.
//
// Peak memory: before the timed runs, one pass of each road and size runs in a
// child process of its own that counts the heap blocks the pass holds at any
// moment (operator new and the XML library's allocator, at the usable size
// malloc gives each block) and reports the highest sum. The timed runs in the
// parent do not count.
//
// Files go to $VEK_BENCH_DIR, else /dev/shm when it is there (so that the disk
// does not take part), else /tmp.
#include <benchmark/benchmark.h>

#include <VekRulesModuleExports.h>
#include <VekXMLNodeList.h>
#include <afx.h>
#include <vekmsgbox.h>

#include <pugixml.hpp>

#include "heap_count.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/wait.h>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
VekRulesModuleExports g_module;
VekXMLDocument* g_pDocument = nullptr;

std::string BenchDir()
{
    if (const char* pszDir = std::getenv("VEK_BENCH_DIR"))
        return pszDir;
    struct stat info = {};
    if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return "/tmp";
}

std::string InputPath(int nRules)
{
    return BenchDir() + "/vek-storage-bench-" + std::to_string(getpid()) + "-" +
           std::to_string(nRules) + ".xml";
}

std::string OutputPath()
{
    return BenchDir() + "/vek-storage-bench-" + std::to_string(getpid()) + "-out.xml";
}

// The text of one default rule element, as the module writes it.
std::string DefaultRuleText()
{
    VekArray<CVekRule*> arrRules;
    g_module.GetAllRules(&arrRules);
    std::string strText;
    if (arrRules.GetSize() == 0)
        return strText;
    std::unique_ptr<VekXMLNode> pNode(arrRules[0]->GetXMLNode());
    CString strXML;
    if (pNode)
        pNode->GetXML(strXML);
    for (int i = 0; i < arrRules.GetSize(); ++i)
        g_module.DeleteRule(&arrRules[i]);
    g_pDocument->Clear();
    // Rule texts are ASCII; a plain narrowing keeps them as they are.
    for (int i = 0; i < strXML.GetLength(); ++i)
        strText.push_back(static_cast<char>(strXML[i]));
    return strText;
}

// The input file of nRules rules, written once per size.
const std::string& InputFile(int nRules)
{
    static std::map<int, std::string> s_mapFiles;
    auto it = s_mapFiles.find(nRules);
    if (it != s_mapFiles.end())
        return it->second;
    static const std::string s_strRule = DefaultRuleText();
    const std::string strPath = InputPath(nRules);
    std::ofstream file(strPath, std::ios::binary);
    file << "<?xml version=\"1.0\"?>\n<VekRuleFile FormatVersion=\"1\">\n<Rules Unit=\"0\">\n";
    for (int i = 0; i < nRules; ++i)
        file << s_strRule;
    file << "</Rules>\n</VekRuleFile>\n";
    return s_mapFiles[nRules] = strPath;
}

void RemoveInputFiles()
{
    for (int nRules : {1000, 10000, 100000})
        std::remove(InputPath(nRules).c_str());
    std::remove(OutputPath().c_str());
}

// One pass of the module's road: load, GetRule for every element, GetXMLNode
// in its place, save, DeleteRule. False when a file could not be read or written.
[[gnu::noinline]] bool ModuleRoundTrip(const CString& strInput, const CString& strOutput)
{
    if (!g_pDocument->Load(strInput))
        return false;
    std::unique_ptr<VekXMLNode> pRoot(g_pDocument->GetRootNode());
    std::unique_ptr<VekXMLNode> pGroup(pRoot->SelectSingleNode(L"Rules"));
    std::unique_ptr<VekXMLNodeList> pElements(pGroup->GetNodeList(L"Rule"));
    std::vector<CVekRule*> vecRules;
    vecRules.reserve(static_cast<size_t>(pElements->GetSize()));
    for (int i = 0; i < pElements->GetSize(); ++i)
    {
        CVekRule* pRule = nullptr;
        g_module.GetRule((*pElements)[i], &pRule);
        vecRules.push_back(pRule);
    }
    for (int i = 0; i < pElements->GetSize(); ++i)
    {
        CVekRule*& pRule = vecRules[static_cast<size_t>(i)];
        if (pRule == nullptr)
            continue;
        std::unique_ptr<VekXMLNode> pNode(pRule->GetXMLNode());
        pGroup->RemoveChild((*pElements)[i]);
        if (pNode)
            pGroup->AppendNode(pNode.get());
        g_module.DeleteRule(&pRule);
    }
    return g_pDocument->Save(strOutput);
}

// Saves doc to strOutput as the framework does: temporary file written in
// 64 KB pieces (the framework's piece size), flush to disk, rename. pugixml's
// own file writer would leave the pieces to the C library's buffer of a few
// kilobytes, and on this machine every system call is expensive: the baseline
// would then pay for a smaller buffer rather than for its work.
bool SaveAsTheFrameworkDoes(const pugi::xml_document& doc, const std::string& strOutput)
{
    const std::string strTemp = strOutput + ".tmp";
    FILE* pFile = std::fopen(strTemp.c_str(), "wb");
    if (pFile == nullptr)
        return false;
    static char s_szPiece[64 * 1024];
    std::setvbuf(pFile, s_szPiece, _IOFBF, sizeof s_szPiece);
    {
        pugi::xml_writer_file writer(pFile);
        doc.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
    }
    bool bOk = std::fflush(pFile) == 0 && fsync(fileno(pFile)) == 0;
    bOk = std::fclose(pFile) == 0 && bOk;
    return bOk && std::rename(strTemp.c_str(), strOutput.c_str()) == 0;
}

// The framework's document loading and saving the file, with no rule in between:
// what the module's road costs before the module does anything.
[[gnu::noinline]] bool FrameworkRoundTrip(const CString& strInput, const CString& strOutput)
{
    return g_pDocument->Load(strInput) && g_pDocument->Save(strOutput);
}

// One pass of pugixml alone: load and save the same file.
[[gnu::noinline]] bool PugixmlRoundTrip(const std::string& strInput, const std::string& strOutput)
{
    pugi::xml_document doc;
    if (!doc.load_file(strInput.c_str(), pugi::parse_default | pugi::parse_declaration))
        return false;
    return SaveAsTheFrameworkDoes(doc, strOutput);
}

// Copies the attributes and children of source under target through pugixml's
// public interface, one name and one value at a time.
void RebuildInto(pugi::xml_node target, pugi::xml_node source)
{
    for (pugi::xml_attribute attr : source.attributes())
        target.append_attribute(attr.name()).set_value(attr.value());
    for (pugi::xml_node child : source.children())
    {
        if (child.type() == pugi::node_element)
            RebuildInto(target.append_child(child.name()), child);
        else
            target.append_child(child.type()).set_value(child.value());
    }
}

// The least any road that writes every rule element anew pays on top of
// loading and saving: pugixml alone copies each "Rule" element node by node
// into a new one, in its place, with no rule objects and no conversions.
[[gnu::noinline]] bool PugixmlRebuildRoundTrip(const std::string& strInput,
                                               const std::string& strOutput)
{
    pugi::xml_document doc;
    if (!doc.load_file(strInput.c_str(), pugi::parse_default | pugi::parse_declaration))
        return false;
    pugi::xml_node group = doc.child("VekRuleFile").child("Rules");
    std::vector<pugi::xml_node> vecElements;
    for (pugi::xml_node element : group.children("Rule"))
        vecElements.push_back(element);
    for (pugi::xml_node element : vecElements)
    {
        RebuildInto(group.append_child("Rule"), element);
        group.remove_child(element);
    }
    return SaveAsTheFrameworkDoes(doc, strOutput);
}

// The first pass over a size grows the heap and faults its pages in; that cost
// belongs to the process, not to the road, so one untimed pass runs first.
bool WarmUp(const std::string& strWhat, int nRules, const std::function<bool()>& pfnPass)
{
    static std::set<std::string> s_setWarm;
    const std::string strKey = strWhat + std::to_string(nRules);
    if (s_setWarm.count(strKey) != 0)
        return true;
    s_setWarm.insert(strKey);
    return pfnPass();
}

// Times pfnPass after one untimed warm-up pass; a failing pass ends the benchmark with an error.
template <class Pass>
void RunPasses(benchmark::State& state, const char* pszName, int nRules, Pass& pfnPass)
{
    if (!WarmUp(pszName, nRules, pfnPass))
    {
        state.SkipWithError("cannot read or write the rule file");
        return;
    }
    for (auto _ : state)
    {
        if (!pfnPass())
        {
            state.SkipWithError("cannot read or write the rule file");
            return;
        }
    }
    state.counters["rules"] = nRules;
}

// Peak heap bytes one pass holds, counted in a child process; -1 when the pass
// or the child failed.
long long PeakBytesOfPass(const std::function<bool()>& pfnPass)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid < 0)
    {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0)
    {
        close(fds[0]);
        // What the parent's document holds is not part of the pass.
        g_pDocument->Clear();
        StartHeapCount();
        const bool bOk = pfnPass();
        const long long nPeak = bOk ? HeapPeakBytes() : -1;
        const bool bWritten = write(fds[1], &nPeak, sizeof nPeak) == sizeof nPeak;
        _exit(bWritten ? 0 : 1);
    }
    close(fds[1]);
    long long nPeak = -1;
    if (read(fds[0], &nPeak, sizeof nPeak) != sizeof nPeak)
        nPeak = -1;
    close(fds[0]);
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0 ? nPeak : -1;
}

// One road over the file of state.range(0) rules; pfnRoad(input, output) runs one pass.
// The passes are kept out of line, so that a profiler can collect exactly them
// (valgrind --toggle-collect='*ModuleRoundTrip*').
template <class TPath, class Road>
void RunRoad(benchmark::State& state, const char* pszName, Road pfnRoad)
{
    const int nRules = static_cast<int>(state.range(0));
    const TPath input(InputFile(nRules).c_str());
    const TPath output(OutputPath().c_str());
    auto pfnPass = [&] { return pfnRoad(input, output); };
    RunPasses(state, pszName, nRules, pfnPass);
}

void BM_ModuleRoundTrip(benchmark::State& state)
{
    RunRoad<CString>(state, "module", ModuleRoundTrip);
}

void BM_PugixmlRoundTrip(benchmark::State& state)
{
    RunRoad<std::string>(state, "pugixml", PugixmlRoundTrip);
}

void BM_FrameworkRoundTrip(benchmark::State& state)
{
    RunRoad<CString>(state, "framework", FrameworkRoundTrip);
}

void BM_PugixmlRebuild(benchmark::State& state)
{
    RunRoad<std::string>(state, "pugixml-rebuild", PugixmlRebuildRoundTrip);
}

// Keeps the fastest repetition of every benchmark so that the ratios can be
// printed after the table. On a shared machine the fastest repetition is the
// one least disturbed by others, for both sides alike.
class CCollectingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& vecRuns) override
    {
        for (const Run& run : vecRuns)
        {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            // "BM_ModuleRoundTrip/1000/min_time:1.000/repeats:5" is kept as
            // "BM_ModuleRoundTrip/1000".
            std::string strName = run.benchmark_name();
            strName = strName.substr(0, strName.find("/min_time"));
            const double dMultiplier = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::pair<double, double> times(run.GetAdjustedRealTime() / dMultiplier,
                                                  run.GetAdjustedCPUTime() / dMultiplier);
            auto it = m_mapTimes.find(strName);
            if (it == m_mapTimes.end() || times.second < it->second.second)
                m_mapTimes[strName] = times;
        }
        ConsoleReporter::ReportRuns(vecRuns);
    }
    // Seconds per iteration of the fastest repetition: wall clock, then processor time.
    std::map<std::string, std::pair<double, double>> m_mapTimes;
};

bool LoadModule()
{
    const std::string strPath = std::string(VEK_BIN_DIR) + "/VEKInvestmentCastRulesu.so";
    void* hModule = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (hModule == nullptr)
    {
        std::fprintf(stderr, "storage_bench: cannot load %s: %s\n", strPath.c_str(), dlerror());
        return false;
    }
    if (VekResolveRulesModuleExports(static_cast<HMODULE>(hModule), g_module) != nullptr)
    {
        std::fprintf(stderr, "storage_bench: %s is not a rules module\n", strPath.c_str());
        return false;
    }
    g_pDocument = new VekXMLDocument;
    VekXMLDocument::SetCurrent(g_pDocument);
    g_module.SetXMLDoc(g_pDocument);
    return true;
}

// The sizes and repetitions of every road.
void Sizes(benchmark::internal::Benchmark* pBenchmark)
{
    pBenchmark->Arg(1000)
        ->Arg(10000)
        ->Arg(100000)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->Repetitions(5);
}
} // namespace

// The framework's road right after the module's, so that both meet the process in
// the same state: at 100,000 rules a road's time depends on the roads before it.
BENCHMARK(BM_ModuleRoundTrip)->Apply(Sizes);
BENCHMARK(BM_FrameworkRoundTrip)->Apply(Sizes);
BENCHMARK(BM_PugixmlRoundTrip)->Apply(Sizes);
BENCHMARK(BM_PugixmlRebuild)->Apply(Sizes);

int main(int argc, char** argv)
{
    // Blocks of any size come from the heap and freed memory stays with the
    // process: otherwise every pass over a large file maps fresh pages and
    // faults them in, which on a virtual machine costs more than the parsing
    // and would be measured on both sides instead of the XML work.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    setenv("VEK_HOME", VEK_BIN_DIR, 0);
    setenv("VEK_UI_LANGUAGE", "en-US", 0);
    // --skip_memory leaves out the memory passes, e.g. under a profiler.
    bool bMeasureMemory = true;
    for (int i = 1; i < argc; ++i)
    {
        if (std::string(argv[i]) == "--skip_memory")
        {
            bMeasureMemory = false;
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv) || !LoadModule())
        return 1;
    VekSetMessageBoxResponder([](HWND, const CString&, const CString&, UINT nType) {
        return VekDefaultMessageBoxButton(nType);
    });

    CountXmlHeap();

    // Peak memory of one pass per road and size, each in a fresh child process.
    std::map<int, std::pair<long long, long long>> mapPeaks;
    // One output file for every pass, named here: a child process would name its own.
    const std::string strOutputPath = OutputPath();
    const CString strOutput(strOutputPath.c_str());
    for (int nRules : {1000, 10000, 100000})
    {
        if (!bMeasureMemory)
            break;
        const std::string strInput = InputFile(nRules);
        const CString strWideInput(strInput.c_str());
        mapPeaks[nRules] = std::make_pair(
            PeakBytesOfPass([&] { return ModuleRoundTrip(strWideInput, strOutput); }),
            PeakBytesOfPass([&] { return PugixmlRoundTrip(strInput, strOutputPath); }));
    }

    CCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    RemoveInputFiles();

    // The machine may be shared: processor time is the figure compared; wall
    // clock time is printed beside it.
    std::printf("\n%8s  %22s  %22s  %6s  %14s  %19s  %6s\n", "rules", "module cpu/wall (ms)",
                "pugixml cpu/wall (ms)", "ratio", "module us/rule", "peak MiB mod/pugi", "ratio");
    for (int nRules : {1000, 10000, 100000})
    {
        const std::string strArg = "/" + std::to_string(nRules);
        auto itModule = reporter.m_mapTimes.find("BM_ModuleRoundTrip" + strArg);
        auto itPugi = reporter.m_mapTimes.find("BM_PugixmlRoundTrip" + strArg);
        if (itModule == reporter.m_mapTimes.end() || itPugi == reporter.m_mapTimes.end())
            continue;
        const std::pair<double, double>& module = itModule->second;
        const std::pair<double, double>& pugi = itPugi->second;
        std::pair<long long, long long> peaks(-1, 1);
        if (mapPeaks.count(nRules) != 0)
            peaks = mapPeaks[nRules];
        const double dMiB = 1024.0 * 1024.0;
        std::printf("%8d  %10.1f / %9.1f  %10.1f / %9.1f  %6.2f  %14.2f  %8.1f / %8.1f  %6.2f\n",
                    nRules, module.second * 1e3, module.first * 1e3, pugi.second * 1e3,
                    pugi.first * 1e3, module.second / pugi.second, module.second * 1e6 / nRules,
                    static_cast<double>(peaks.first) / dMiB,
                    static_cast<double>(peaks.second) / dMiB,
                    static_cast<double>(peaks.first) / static_cast<double>(peaks.second));
    }
    // The roads on either side of the module's, processor time in ms and as a
    // multiple of pugixml alone; "rule work" is what the module's road costs
    // beyond the framework's own loading and saving, per rule.
    std::printf("\n%8s  %22s  %22s  %19s  %14s\n", "rules", "framework only (ratio)",
                "pugixml rebuild (ratio)", "module / rebuilding", "rule work us");
    auto cpuOf = [&](const std::string& strName) {
        auto it = reporter.m_mapTimes.find(strName);
        return it != reporter.m_mapTimes.end() ? it->second.second : 0.0;
    };
    for (int nRules : {1000, 10000, 100000})
    {
        const std::string strArg = "/" + std::to_string(nRules);
        const double dPugi = cpuOf("BM_PugixmlRoundTrip" + strArg);
        const double dModule = cpuOf("BM_ModuleRoundTrip" + strArg);
        const double dFramework = cpuOf("BM_FrameworkRoundTrip" + strArg);
        const double dRebuild = cpuOf("BM_PugixmlRebuild" + strArg);
        if (dPugi <= 0.0)
            continue;
        const double dRuleWork =
            dModule > 0.0 && dFramework > 0.0 ? (dModule - dFramework) * 1e6 / nRules : 0.0;
        std::printf("%8d  %12.1f (%5.2f)  %13.1f (%5.2f)  %19.2f  %14.2f\n", nRules,
                    dFramework * 1e3, dFramework / dPugi, dRebuild * 1e3, dRebuild / dPugi,
                    dRebuild > 0.0 ? dModule / dRebuild : 0.0, dRuleWork);
    }
    benchmark::Shutdown();
    delete g_pDocument;
    return 0;
}
