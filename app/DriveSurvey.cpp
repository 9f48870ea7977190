#include "app/DriveSurvey.h"

#include "foundation/UniqueHandle.h"

#include <mutex>
#include <system_error>
#include <thread>

struct DriveSurvey::Shared {
    std::mutex lock;
    std::vector<Answer> answers;
    std::size_t silent = 0;
    Kestrel::UniqueHandle allAnswered{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

DriveSurvey::DriveSurvey() : shared_(std::make_shared<Shared>()), start_(GetTickCount())
{
    for (std::wstring& root : driveRoots())
        shared_->answers.push_back({std::move(root), false, std::nullopt});
    shared_->silent = shared_->answers.size();
    if (shared_->silent == 0)
        SetEvent(shared_->allAnswered.get());
    for (std::size_t index = 0; index < shared_->answers.size(); ++index) {
        const auto ask = [shared = shared_, index, root = shared_->answers[index].root] {
            std::optional<WipeableDrive> drive = wipeableDrive(root);
            const std::lock_guard<std::mutex> guard(shared->lock);
            shared->answers[index].answered = true;
            shared->answers[index].drive = std::move(drive);
            if (--shared->silent == 0)
                SetEvent(shared->allAnswered.get());
        };
        try {
            // Detached: a drive that never answers must not hold the window; the thread holds
            // the answers it writes to for as long as it runs.
            std::thread(ask).detach();
        } catch (const std::system_error&) {
            ask();
        }
    }
}

std::vector<DriveSurvey::Answer> DriveSurvey::answersWithin(DWORD boundMilliseconds) const
{
    const DWORD waited = GetTickCount() - start_;
    WaitForSingleObject(shared_->allAnswered.get(), waited < boundMilliseconds ? boundMilliseconds - waited : 0);
    const std::lock_guard<std::mutex> guard(shared_->lock);
    return shared_->answers;
}
