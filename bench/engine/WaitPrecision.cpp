// How well the run's waits keep time on the real clock: for waits of 1, 5
// and 50 hundredths, the overshoot of 100 waits (median and worst) and the
// processor time used while waiting. The windows' event loop is a real Qt
// event loop with nothing to do.
//
//     build/bench/engine/engine_wait_precision [count]

#include "RealClockDesktop.h"

#include "common/Settings.h"
#include "engine/Run.h"
#include "engine/RunUi.h"
#include "store/SequenceStore.h"
#include "workbook/Workbook.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tapwise {
namespace {

class EventLoopUi : public RunUi {
public:
    void processEvents() override { QCoreApplication::processEvents(); }
    void closeMainWindow() override {}
    void showMessage(const QString&) override {}
    QString chooseWorkbook() override { return {}; }
    std::optional<QString> askPassword(const QString&) override { return std::nullopt; }
    StartAnswer showStartWindow(const StartRequest&) override { return {true, 2}; }
    QString showMessageWindow(const MessageRequest&) override { return {}; }
    CycleAnswer showCycleDialog(const CycleRequest&) override { return {}; }
    void showRunningWindow(const QString&, const QString&) override {}
    void closeRunningWindow() override {}
    bool runningWindowActivated() override { return false; }
    void showActivationNotice(const QString&) override {}
};

class NoWorkbooks : public WorkbookOpener {
public:
    Result<std::unique_ptr<Workbook>> open(const QString&, const QString&, bool) override {
        return Error{0, QStringLiteral("no workbooks here")};
    }
    bool needsPassword(const QString&) override { return false; }
};

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void measure(Run& run, RealClockDesktop& desktop, qint64 hundredths, int count) {
    std::vector<double> overshoot;
    const double cpuBefore = processorSeconds();
    const auto wallBefore = desktop.monotonicTime();
    for (int i = 0; i < count; ++i) {
        const auto start = desktop.monotonicTime();
        run.pause.WaitHundredths(hundredths);
        const auto took = desktop.monotonicTime() - start;
        overshoot.push_back(double((took - hundredths * std::chrono::milliseconds(10)).count()) /
                            1e6);
    }
    const double wall = double((desktop.monotonicTime() - wallBefore).count()) / 1e9;
    const double cpu = processorSeconds() - cpuBefore;
    std::sort(overshoot.begin(), overshoot.end());
    std::printf("%5lld hundredths x %d: overshoot median %.3f ms, worst %.3f ms, "
                "least %.3f ms; CPU %.2f %% of %.2f s\n",
                static_cast<long long>(hundredths), count, overshoot[overshoot.size() / 2],
                overshoot.back(), overshoot.front(), 100.0 * cpu / wall, wall);
}

} // namespace
} // namespace tapwise

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    QTemporaryDir folder;
    tapwise::Settings settings;
    tapwise::SequenceStore store(folder.path() + u'/');
    tapwise::RealClockDesktop desktop;
    tapwise::EventLoopUi ui;
    tapwise::NoWorkbooks workbooks;
    tapwise::Run run(tapwise::RunServices{settings, store, desktop, ui, workbooks});
    for (const qint64 hundredths : {1, 5, 50})
        tapwise::measure(run, desktop, hundredths, count);
    return 0;
}
