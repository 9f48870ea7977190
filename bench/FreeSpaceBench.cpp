#include "bench/FreeSpaceBench.h"

#include "bench/TimedRun.h"
#include "erase/FillFolder.h"
#include "foundation/Logger.h"
#include "foundation/UniqueHandle.h"
#include "tests/support/WineDriveName.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

namespace {

// Keeps every line the logger writes; read once the task has finished, when nothing logs.
class LineKeeper : public Kestrel::LogWriter {
public:
    LineKeeper() : LogWriter(0) {}
    bool write(const std::wstring& line) override
    {
        lines.push_back(line);
        return true;
    }
    std::vector<std::wstring> lines;
};

struct Figures {
    unsigned long long bytes = 0;
    unsigned long long records = 0;
    unsigned long long unreached = 0;
    bool found = false;
};

// From the wipe's Info line: "Free space of M:\: <n> bytes overwritten, <n> records filled[, <n>
// bytes not reached]; ...".
Figures figuresIn(const std::vector<std::wstring>& lines)
{
    Figures figures;
    for (const std::wstring& line : lines) {
        const auto at = line.find(L" bytes overwritten, ");
        if (at == std::wstring::npos)
            continue;
        const auto start = line.rfind(L": ", at);
        if (start == std::wstring::npos ||
            std::swscanf(line.c_str() + start + 2, L"%llu bytes overwritten, %llu records filled", &figures.bytes,
                         &figures.records) != 2)
            continue;
        const auto unreached = line.find(L"records filled, ", at);
        if (unreached != std::wstring::npos)
            std::swscanf(line.c_str() + unreached + 16, L"%llu bytes not reached", &figures.unreached);
        figures.found = true;
    }
    return figures;
}

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// When the first small file was first seen and when the progress last moved (the last write),
// in seconds from the start; negative when never seen. Only the first small file is looked for:
// Wine matches a name that is not there against every name of the folder (names are compared
// without case), and a look for a later file among thousands of small ones would cost the wipe
// its processor.
struct Phases {
    double smallFiles = -1;
    double lastWrite = -1;
    double progress = 0;
};

double share(double from, double to)
{
    return from >= 0 && to >= from ? to - from : -1;
}

} // namespace

int benchFreeSpace(const std::wstring& root)
{
    if (!KestrelTest::waitUntilWineNamesTheRoot(root)) {
        std::printf("status=Failed error=the drive is not named by its letter\n");
        return 1;
    }
    wchar_t fileSystem[MAX_PATH + 1] = {};
    GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1);
    ULARGE_INTEGER available{}, total{}, free{};
    GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);

    auto owned = std::make_unique<LineKeeper>();
    LineKeeper* const keeper = owned.get();
    Kestrel::Logger::instance().addWriter(std::move(owned));
    // A fresh drive holds no leftover fill folder, so the wipe's folder takes the plain name.
    const std::wstring folder = root + FillFolder::kNameStem + L"\\";
    const std::wstring firstSmall = folder + smallFillName(0);
    Phases phases;
    const auto run = runTimed(ItemKind::FreeSpace, root, [&](const EraseTask& task, double at) {
        if (phases.smallFiles < 0 && exists(firstSmall))
            phases.smallFiles = at;
        if (task.progress() != phases.progress) {
            phases.progress = task.progress();
            phases.lastWrite = at;
        }
    });
    const std::unique_ptr<Kestrel::LogWriter> removed = Kestrel::Logger::instance().removeWriter(keeper);
    const std::vector<std::wstring> lines = std::move(keeper->lines);
    if (!run) {
        std::printf("status=Failed error=start\n");
        return 1;
    }
    const Figures figures = figuresIn(lines);
    const double lastWrite = phases.lastWrite >= 0 ? phases.lastWrite : run->seconds;
    const double firstFill = phases.smallFiles >= 0 ? phases.smallFiles : lastWrite;
    const double small = share(phases.smallFiles, lastWrite);
    std::wprintf(L"status=%ls file_system=%ls free_before=%llu bytes=%llu records=%llu unreached=%llu seconds=%.3f "
                 L"mib_per_s=%.1f first_fill_s=%.3f small_files_s=%.3f clean_up_s=%.3f ms_per_record=%.2f cpu_s=%.3f\n",
                 statusText(run->status).c_str(), fileSystem, static_cast<unsigned long long>(available.QuadPart),
                 figures.bytes, figures.records, figures.unreached, run->seconds,
                 static_cast<double>(figures.bytes) / 1048576.0 / run->seconds, firstFill, small,
                 run->seconds - lastWrite,
                 figures.records > 0 && small >= 0 ? small * 1000.0 / static_cast<double>(figures.records) : 0.0,
                 run->cpuSeconds);
    std::fflush(stdout);
    if (run->status != EraseStatus::Done || !figures.found) {
        for (const std::wstring& line : lines)
            std::fwprintf(stderr, L"%ls", line.c_str());
        return 1;
    }
    return 0;
}
