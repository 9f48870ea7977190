#include "erase/NamedStreams.h"

#include "erase/FolderIdentity.h"
#include "erase/LinkGuard.h"
#include "erase/OpenFailure.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <atomic>

namespace {

std::atomic<StreamNamesSource> streamNamesSource{nullptr};

// ":name:$DATA" as the listing gives it; the main stream ("::$DATA") has an empty name.
std::wstring streamNameOf(const WIN32_FIND_STREAM_DATA& found)
{
    std::wstring name = found.cStreamName;
    const std::wstring type = L":$DATA";
    if (name.size() >= type.size() && name.compare(name.size() - type.size(), type.size(), type) == 0)
        name.resize(name.size() - type.size());
    return name.empty() ? name : name.substr(1);
}

StreamListing listStreamNames(const std::wstring& path)
{
    StreamListing listing;
    WIN32_FIND_STREAM_DATA found;
    const Kestrel::UniqueFindHandle search(FindFirstStreamW(path.c_str(), FindStreamInfoStandard, &found, 0));
    if (!search)
        return {{}, GetLastError()};
    do {
        if (std::wstring name = streamNameOf(found); !name.empty())
            listing.names.push_back(std::move(name));
    } while (FindNextStreamW(search.get(), &found));
    if (const DWORD error = GetLastError(); error != ERROR_HANDLE_EOF)
        return {{}, error};
    return listing;
}

// No stream at all, a file system that has none (FAT), or one that cannot list them (some network
// shares, a virtual machine's shared folders, file systems run in user mode): none to erase.
bool listsNoStreams(DWORD error) noexcept
{
    return error == ERROR_HANDLE_EOF || error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_NOT_SUPPORTED;
}

} // namespace

bool NamedStreams::open(const std::wstring& path, HANDLE item)
{
    const StreamNamesSource source = streamNamesSource.load();
    const StreamListing listing = source ? source(path) : listStreamNames(path);
    if (listing.error != ERROR_SUCCESS) {
        if (listsNoStreams(listing.error))
            return true;
        Kestrel::reportFileError(path, listing.error);
        return false;
    }
    const std::vector<std::wstring>& names = listing.names;
    if (names.empty())
        return true;
    const auto identity = identityOf(item);
    if (!identity) {
        Kestrel::reportFileError(path);
        return false;
    }
    for (const std::wstring& name : names) {
        Stream stream{path + L':' + name, {}, 0};
        // The item's handle shares reading and writing but not deletion. Windows keeps the sharing
        // of each stream apart; Wine checks it per file, so the stream shares deletion and asks
        // for no more than the item's handle shares.
        stream.handle.reset(CreateFileW(stream.path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        const DWORD openError = stream.handle ? ERROR_SUCCESS : GetLastError();
        const std::wstring display = Kestrel::displayPath(stream.path);
        LARGE_INTEGER size{};
        if (!stream.handle || !GetFileSizeEx(stream.handle.get(), &size)) {
            reportOpenFailure(display, stream.handle ? GetLastError() : openError);
            return false;
        }
        // Every stream of a file has the file's identity. Under Wine on a Linux file system the
        // same name opens a file of its own beside the item, which is not the user's to erase.
        if (identityOf(stream.handle.get()) != identity) {
            reportSkippedLink(display);
            return false;
        }
        stream.size = static_cast<std::uint64_t>(size.QuadPart);
        streams_.push_back(std::move(stream));
    }
    return true;
}

std::uint64_t NamedStreams::totalBytes() const noexcept
{
    std::uint64_t total = 0;
    for (const Stream& stream : streams_)
        total += stream.size;
    return total;
}

OverwriteResult NamedStreams::overwrite(const OverwriteBuffer& buffer, EraseTask& task, ProgressMeter& meter)
{
    for (Stream& stream : streams_) {
        const OverwriteResult result =
            overwriteFile(stream.handle.get(), stream.path, {{0, stream.size}}, buffer, task, meter);
        if (result != OverwriteResult::Complete)
            return result;
        FILE_END_OF_FILE_INFO empty{};
        if (!SetFileInformationByHandle(stream.handle.get(), FileEndOfFileInfo, &empty, sizeof empty)) {
            Kestrel::reportFileError(stream.path);
            return OverwriteResult::Failed;
        }
        stream.handle.reset();
    }
    return OverwriteResult::Complete;
}

void setStreamNamesSourceForTests(StreamNamesSource source) noexcept
{
    streamNamesSource.store(source);
}
