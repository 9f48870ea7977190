#pragma once

#include "foundation/Logger.h"
#include "foundation/SectionLock.h"

#include <string>

// A log writer that keeps the first error line written while an item runs ("Sharing violation:
// C:\\x\\held.txt", "Skipped link: C:\\x\\link"): the most particular reason the item failed,
// written by the file layer or the engine before the outcome line. The worker thread writes;
// the console's thread arms and takes.
class FailureReason : public Kestrel::LogWriter {
public:
    FailureReason() noexcept : LogWriter(2) {}

    // Forgets what was kept and starts listening.
    void arm();
    // The message of the first error line since arm(), without the level and the closing
    // ". "; empty when none came. Stops listening.
    [[nodiscard]] std::wstring take();

    bool write(const std::wstring& line) override;

private:
    Kestrel::SectionLock lock_;
    bool armed_ = false;
    std::wstring reason_;
};
