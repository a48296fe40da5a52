// From an input event's arrival to the window-tree snapshot being ready, on the configuration
// dialog in per-material mode with its 266-row material grid: what a browser front end waits
// for after each click, wheel notch or key. Each raw event goes through VekRawInput as the
// front end sends it (clicks on grid rows, wheel turns over the grid, navigation keys, a
// text typed into a cell editor), then the snapshot is taken and serialized. Prints the median
// and the 99th percentile over all events, per kind of event, and the cost of the snapshot
// alone with nothing changed.
#include <RuleResources.h>
#include <VEKDataHelper.h>
#include <VEKUniformThicknessRule.h>
#include <afxcmn.h>
#include <resource.h>
#include <vekinput.h>
#include <vekmsgbox.h>
#include <veksnapshot.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

const int kRounds = 100; // each round sends the same sequence of events

double Milliseconds(Clock::time_point tStart, Clock::time_point tEnd)
{
    return std::chrono::duration<double, std::milli>(tEnd - tStart).count();
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(n, v.size() - 1)];
}

// One raw event of the sequence: its kind (for the figures) and how it is sent.
struct Event
{
    const char* pszKind;
    std::function<BOOL(DWORD nTime)> send;
};

class CBench
{
public:
    explicit CBench(HWND hDlg) : m_hDlg(hDlg), m_hGrid(::GetDlgItem(hDlg, IDC_MATERIAL_GRID)) {}

    // The sequence of one round: clicks on the rows shown, the wheel, keys, typed text.
    std::vector<Event> Sequence()
    {
        std::vector<Event> events;
        auto click = [&](int nRowOffset, int nColumn) {
            auto point = [this, nRowOffset, nColumn]() {
                CListCtrl* pGrid = static_cast<CListCtrl*>(CWnd::FromHandle(m_hGrid));
                CRect rc;
                pGrid->GetSubItemRect(pGrid->GetTopIndex() + nRowOffset, nColumn, LVIR_LABEL, rc);
                POINT pt = rc.CenterPoint();
                ::ClientToScreen(m_hGrid, &pt);
                return pt;
            };
            events.push_back({"button down", [point](DWORD t) {
                                  return VekRawInput::ButtonDown(VK_LBUTTON, point(), 0, t);
                              }});
            events.push_back({"button up", [point](DWORD t) {
                                  return VekRawInput::ButtonUp(VK_LBUTTON, point(), 0, t);
                              }});
        };
        auto key = [&](UINT vk) {
            events.push_back(
                {"key down", [vk](DWORD t) { return VekRawInput::KeyDown(vk, 0, t); }});
            events.push_back({"key up", [vk](DWORD t) { return VekRawInput::KeyUp(vk, 0, t); }});
        };
        auto wheel = [&](int nDelta) {
            events.push_back(
                {"wheel", [this, nDelta](DWORD t) {
                     RECT rc;
                     ::GetWindowRect(m_hGrid, &rc);
                     return VekRawInput::Wheel(nDelta, POINT{rc.left + 20, rc.top + 40}, 0, t);
                 }});
        };
        click(1, 0);
        key(VK_DOWN);
        key(VK_DOWN);
        wheel(-WHEEL_DELTA);
        click(3, 0);
        key(VK_NEXT);
        wheel(-WHEEL_DELTA);
        click(2, 1); // opens the thickness editor
        events.push_back({"text", [](DWORD t) { return VekRawInput::Text(L"2.5", t); }});
        click(4, 0); // commits the editor (Enter would press OK)
        wheel(WHEEL_DELTA);
        key(VK_PRIOR);
        key(VK_UP);
        key(VK_HOME);
        return events;
    }

    void Run()
    {
        std::vector<Event> events = Sequence();
        DWORD nTime = VekRawInput::LastEventTime() + 1000;
        size_t cbLargest = 0;
        for (int nRound = 0; nRound < kRounds; ++nRound)
        {
            for (Event& event : events)
            {
                // Far enough apart that no two clicks make a double click.
                nTime += 1000;
                const Clock::time_point tArrival = Clock::now();
                const BOOL bTaken = event.send(nTime);
                if (!bTaken)
                    ++m_nRefused;
                VekSnapshot snap = VekTakeSnapshot();
                const Clock::time_point tReady = Clock::now();
                const double ms = Milliseconds(tArrival, tReady);
                m_all.push_back(ms);
                m_byKind[event.pszKind].push_back(ms);
                cbLargest = std::max(cbLargest, snap.strJson.size());
                if (snap.bChanged)
                    ++m_nChanged;
                if (!::IsWindow(m_hDlg) || !::IsWindowVisible(m_hDlg))
                {
                    std::fprintf(stderr, "the dialog ended during the run\n");
                    return;
                }
            }
        }
        for (int i = 0; i < 200; ++i)
        {
            const Clock::time_point tStart = Clock::now();
            VekSnapshot snap = VekTakeSnapshot();
            m_unchanged.push_back(Milliseconds(tStart, Clock::now()));
        }
        m_cbLargest = cbLargest;
    }

    void Print() const
    {
        std::printf("Snapshot after each raw event: configuration dialog, per-material mode, %d "
                    "grid rows\n",
                    static_cast<int>(::SendMessageW(m_hGrid, LVM_GETITEMCOUNT, 0, 0)));
        std::printf("%zu events (%zu changed the state, %zu taken by no window), largest "
                    "document %zu bytes\n",
                    m_all.size(), m_nChanged, m_nRefused, m_cbLargest);
        std::printf("%-22s %8s %12s %12s\n", "event", "count", "median ms", "p99 ms");
        std::printf("%-22s %8zu %12.3f %12.3f\n", "all events", m_all.size(),
                    Percentile(m_all, 0.5), Percentile(m_all, 0.99));
        for (const auto& kind : m_byKind)
            std::printf("%-22s %8zu %12.3f %12.3f\n", kind.first.c_str(), kind.second.size(),
                        Percentile(kind.second, 0.5), Percentile(kind.second, 0.99));
        std::printf("%-22s %8zu %12.3f %12.3f\n", "snapshot, no event", m_unchanged.size(),
                    Percentile(m_unchanged, 0.5), Percentile(m_unchanged, 0.99));
    }

private:
    HWND m_hDlg;
    HWND m_hGrid;
    std::vector<double> m_all;
    std::map<std::string, std::vector<double>> m_byKind;
    std::vector<double> m_unchanged;
    size_t m_nChanged = 0;
    size_t m_nRefused = 0; // events no window took
    size_t m_cbLargest = 0;
};

std::string TempFolder()
{
    const char* pszTmp = std::getenv("TMPDIR");
    std::string strTemplate = std::string(pszTmp ? pszTmp : "/tmp") + "/vekdb-snap-XXXXXX";
    return mkdtemp(&strTemplate[0]) ? strTemplate : std::string();
}

void RemoveDatabase(const std::string& strFolder)
{
    for (const char* pszSuffix : {"", "-wal", "-shm", "-journal"})
        unlink((strFolder + "/materials.db" + pszSuffix).c_str());
    rmdir(strFolder.c_str());
}
} // namespace

int main()
{
    CWinApp app(L"Snapshot benchmark");
    if (!GetRuleResources()->GetResDll())
    {
        std::fprintf(stderr, "the en-US resource library was not found\n");
        return 1;
    }
    HINSTANCE hDatabase = LoadLibraryW(L"" VEK_BIN_DIR L"/VEKDatabaseu.so");
    if (!hDatabase)
    {
        std::fprintf(stderr, "the database library was not found\n");
        return 1;
    }
    const std::string strFolder = TempFolder();
    if (strFolder.empty())
    {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    setenv("VEK_MATERIAL_DB", (strFolder + "/materials.db").c_str(), 1);
    vek_db::VEKDataHelper::getInstance().Close();

    int nBoxes = 0;
    VekSetMessageBoxResponder([&](HWND, const CString&, const CString&, UINT) {
        ++nBoxes;
        return IDOK;
    });
    bool bRan = false;
    VekSetModalHandler([&](CDialog& dlg) {
        if (dlg.GetTemplateID() != IDD_UNIFORM_THICKNESS)
            return; // a nested dialog is cancelled
        if (!VekInput::Click(::GetDlgItem(dlg.m_hWnd, IDC_MATERIAL_CHECK)))
            return;
        CBench bench(dlg.m_hWnd);
        bench.Run();
        bench.Print();
        bRan = true;
        dlg.EndDialog(IDCANCEL);
    });
    {
        CVEKUniformThicknessRule rule(L"Description", L"VEKInvestmentCastRulesValidator",
                                      VEK_RULE_CATEGORY_INVESTMENT_CASTING, 20010, nullptr);
        rule.Configure();
    }
    VekSetModalHandler(nullptr);
    VekSetMessageBoxResponder(nullptr);
    vek_db::VEKDataHelper::getInstance().Close();
    unsetenv("VEK_MATERIAL_DB");
    RemoveDatabase(strFolder);
    FreeLibrary(hDatabase);
    if (nBoxes)
        std::printf("(%d message boxes answered during the run)\n", nBoxes);
    if (!bRan)
    {
        std::fprintf(stderr, "the configuration dialog did not run the benchmark\n");
        return 1;
    }
    return 0;
}
