#include "app/DriveSurvey.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

// How long the survey's end waits for drives still silent. Their askers only read a drive's facts,
// so one that the process's end cuts short loses nothing.
constexpr DWORD kEndBound = 500; // milliseconds

} // namespace

struct DriveSurvey::Slot {
    const std::wstring root;
    const HWND notify;
    const UINT message;
    mutable std::mutex lock;
    bool answered = false;
    std::optional<WipeableDrive> drive;

    void ask()
    {
        std::optional<WipeableDrive> found = wipeableDrive(root);
        {
            const std::lock_guard<std::mutex> guard(lock);
            answered = true;
            drive = std::move(found);
        }
        PostMessageW(notify, message, 0, 0);
    }
};

DWORD WINAPI DriveSurvey::askProc(LPVOID share) noexcept
{
    const std::unique_ptr<std::shared_ptr<Slot>> slot(static_cast<std::shared_ptr<Slot>*>(share));
    try {
        (*slot)->ask();
    } catch (...) {
        // Out of memory: the drive stays silent and is shown as not answering.
    }
    return 0;
}

bool DriveSurvey::stillAsking(const Asker& asker) noexcept
{
    return asker.thread && WaitForSingleObject(asker.thread.get(), 0) == WAIT_TIMEOUT;
}

DriveSurvey::DriveSurvey(HWND notify, UINT message) noexcept : notify_(notify), message_(message) {}

DriveSurvey::~DriveSurvey()
{
    const DWORD start = GetTickCount();
    for (const std::vector<Asker>* askers : {&askers_, &earlier_}) {
        for (const Asker& asker : *askers) {
            const DWORD waited = GetTickCount() - start;
            if (asker.thread)
                WaitForSingleObject(asker.thread.get(), waited < kEndBound ? kEndBound - waited : 0);
        }
    }
}

DriveSurvey::Asker DriveSurvey::startAsking(const std::wstring& root) const
{
    Asker asker{std::make_shared<Slot>(root, notify_, message_), {}};
    auto share = std::make_unique<std::shared_ptr<Slot>>(asker.slot);
    asker.thread.reset(CreateThread(nullptr, 0, askProc, share.get(), 0, nullptr));
    if (asker.thread)
        static_cast<void>(share.release()); // the thread's now
    else
        asker.slot->ask();
    return asker;
}

void DriveSurvey::ask()
{
    for (Asker& asker : askers_)
        earlier_.push_back(std::move(asker));
    askers_.clear();
    for (std::wstring& root : driveRoots()) {
        const auto silent = std::find_if(earlier_.begin(), earlier_.end(), [&](const Asker& asker) {
            return asker.slot->root == root && stillAsking(asker);
        });
        if (silent != earlier_.end()) {
            askers_.push_back(std::move(*silent));
            earlier_.erase(silent);
        } else {
            askers_.push_back(startAsking(root));
        }
    }
    // Askers that have ended are done with; a drive gone since the last round may keep one out.
    std::erase_if(earlier_, [](const Asker& asker) { return !stillAsking(asker); });
}

std::vector<DriveSurvey::Answer> DriveSurvey::answers() const
{
    std::vector<Answer> answers;
    for (const Asker& asker : askers_) {
        const std::lock_guard<std::mutex> guard(asker.slot->lock);
        answers.push_back({asker.slot->root, asker.slot->answered, asker.slot->drive});
    }
    return answers;
}

bool DriveSurvey::allAnswered() const
{
    return std::all_of(askers_.begin(), askers_.end(), [](const Asker& asker) {
        const std::lock_guard<std::mutex> guard(asker.slot->lock);
        return asker.slot->answered;
    });
}
