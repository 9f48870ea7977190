#include "erase/Disposal.h"

#include "foundation/PathUtilities.h"

#include <string>

namespace {

const wchar_t kDisposalStem[] = L"KestrelWipewell";

bool moveAsideAndRemove(Kestrel::FileSpec& item)
{
    const std::wstring original = item.path();
    const std::wstring disposal = Kestrel::makeDisposalName(original, kDisposalStem);
    bool moved = false;
    if (!disposal.empty()) {
        item.moveTo(disposal);
        // The file object names the target even after a failed move; the item is then still
        // under its own name. Only an item that left its name and arrived is looked for there.
        moved = !Kestrel::pathExists(original) && Kestrel::pathExists(disposal);
        if (!moved)
            item.assign(original);
    }
    if (moved || Kestrel::pathExists(original))
        item.remove();
    return !Kestrel::pathExists(original) && !(moved && Kestrel::pathExists(disposal));
}

} // namespace

bool disposeOfFile(Kestrel::FileSpec& file)
{
    file.resize(0);
    return moveAsideAndRemove(file);
}

bool disposeOfFolder(Kestrel::FileSpec& folder)
{
    return moveAsideAndRemove(folder);
}
