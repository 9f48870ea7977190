// erase_bench erase <path>   erases the file or folder through EraseTask, as the main dialog
//                            does: a heap record, its worker thread, the finished message
//                            received by a window of this thread. Timed from the task's start
//                            to its finished message; for a file also up to its last write.
// erase_bench freespace <root>  wipes the free space of a drive through EraseTask the same way
//                            (FreeSpaceBench.h).
// erase_bench bare <folder>   erases the folder with the bare sequence of platform calls
//                            (BareErase.h): the floor the engine is measured against.
// erase_bench readback <folder>  erases three files of 512 MiB made in the folder, reading back
//                            nothing, a sample and everything: the read-back's cost as ratios.
// erase_bench list <folder>  lists the folder as a folder task does and reports the memory the
//                            listing holds per item.
// Prints one line of key=value pairs for scripts/bench.
#include "bench/BareErase.h"
#include "bench/FreeSpaceBench.h"
#include "bench/TimedRun.h"
#include "erase/EraseTask.h"
#include "erase/FolderListing.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct TreeSize {
    std::uint64_t items = 0;
    std::uint64_t bytes = 0;
};

TreeSize measure(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return {};
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {1, (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
    TreeSize size{1, 0};
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (!search)
        return size;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const TreeSize inner = measure(path + L"\\" + name);
        size.items += inner.items;
        size.bytes += inner.bytes;
    } while (FindNextFileW(search.get(), &entry));
    return size;
}

PROCESS_MEMORY_COUNTERS memoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

int erase(const std::wstring& path)
{
    const TreeSize size = measure(path);
    // The progress reaches 100 % with the last write of a file: what follows is the flush, the
    // emptying, the renaming and the deletion.
    double lastWrite = -1;
    const auto run = runTimed(ItemKind::File, path, [&lastWrite](const EraseTask& task, double at) {
        if (lastWrite < 0 && task.progress() >= 100.0)
            lastWrite = at;
    });
    if (!run) {
        std::printf("error=start\n");
        return 1;
    }
    const PROCESS_MEMORY_COUNTERS memory = memoryCounters();
    std::printf("status=%ls items=%llu bytes=%llu seconds=%.3f mib_per_s=%.1f items_per_s=%.0f write_s=%.3f "
                "after_write_s=%.3f cpu_s=%.3f peak_working_set_kib=%lu peak_private_kib=%lu\n",
                statusText(run->status).c_str(), static_cast<unsigned long long>(size.items),
                static_cast<unsigned long long>(size.bytes), run->seconds,
                static_cast<double>(size.bytes) / 1048576.0 / run->seconds,
                static_cast<double>(size.items) / run->seconds, lastWrite,
                lastWrite >= 0 ? run->seconds - lastWrite : -1.0, run->cpuSeconds,
                static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(memory.PeakPagefileUsage / 1024));
    return run->status == EraseStatus::Done ? 0 : 1;
}

int bare(const std::wstring& folder)
{
    const TreeSize size = measure(folder);
    const LONGLONG started = counterNow();
    const std::uint64_t gone = eraseBare(folder);
    const double elapsed = secondsOf(counterNow() - started);
    std::printf("status=%ls items=%llu seconds=%.3f items_per_s=%.0f\n", gone == size.items ? L"Done" : L"Failed",
                static_cast<unsigned long long>(size.items), elapsed, static_cast<double>(size.items) / elapsed);
    return gone == size.items ? 0 : 1;
}

int list(const std::wstring& folder)
{
    const EraseTask task(ItemKind::Folder, folder, EraseStatus::InProgress, 0.0, nullptr);
    const SIZE_T before = memoryCounters().PagefileUsage;
    const LONGLONG started = counterNow();
    FolderListing listing;
    if (!listing.collect(folder, task)) {
        std::printf("error=list\n");
        return 1;
    }
    const double elapsed = secondsOf(counterNow() - started);
    const SIZE_T after = memoryCounters().PagefileUsage;
    const double items = static_cast<double>(listing.items.size());
    std::printf("items=%.0f seconds=%.3f items_per_s=%.0f private_kib=%lu bytes_per_item=%.0f\n", items, elapsed,
                items / elapsed, static_cast<unsigned long>((after - before) / 1024),
                static_cast<double>(after - before) / items);
    return 0;
}

// A file of the size, written and flushed, so that the erase finds its blocks on the disk.
bool makeFile(const std::wstring& path, std::uint64_t size)
{
    const Kestrel::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string chunk(1 << 20, 'k');
    DWORD written = 0;
    for (std::uint64_t done = 0; file && done < size; done += chunk.size()) {
        if (!WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr))
            return false;
    }
    return file && FlushFileBuffers(file.get());
}

int readBack(const std::wstring& folder)
{
    constexpr std::uint64_t kSize = 512ull << 20;
    const std::wstring path = folder + L"\\large.bin";
    double seconds[3] = {};
    const VerifyMode modes[3] = {VerifyMode::Off, VerifyMode::Sample, VerifyMode::All};
    for (int mode = 0; mode < 3; ++mode) {
        if (!makeFile(path, kSize)) {
            std::printf("error=make\n");
            return 1;
        }
        const auto run = runTimed(ItemKind::File, path, [](const EraseTask&, double) {}, modes[mode]);
        if (!run || run->status != EraseStatus::Done) {
            std::printf("error=erase\n");
            return 1;
        }
        seconds[mode] = run->seconds;
    }
    std::printf("off_s=%.3f sample_s=%.3f all_s=%.3f sample_x_off=%.3f all_x_off=%.3f\n", seconds[0], seconds[1],
                seconds[2], seconds[1] / seconds[0], seconds[2] / seconds[0]);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: erase_bench erase|freespace|bare|list|readback <path>\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    if (mode == L"erase")
        return erase(argv[2]);
    if (mode == L"freespace")
        return benchFreeSpace(argv[2]);
    if (mode == L"bare")
        return bare(argv[2]);
    if (mode == L"list")
        return list(argv[2]);
    if (mode == L"readback")
        return readBack(argv[2]);
    return 2;
}
