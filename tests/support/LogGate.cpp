#include "tests/support/LogGate.h"

#include <memory>
#include <stdexcept>

namespace KestrelTest {

namespace {

// Long enough for any test, short enough that a forgotten release still ends the run.
constexpr DWORD kLongestHoldMilliseconds = 120000;

class GateWriter : public Kestrel::LogWriter {
public:
    explicit GateWriter(LogGate& gate) noexcept : LogWriter(0), gate_(gate) {}

    bool write(const std::wstring& line) override
    {
        gate_.pass(line);
        return true;
    }

private:
    LogGate& gate_;
};

} // namespace

LogGate::LogGate(std::wstring text)
    : text_(std::move(text)), held_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      released_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (!held_ || !released_)
        throw std::runtime_error("cannot create the log gate's events");
    auto writer = std::make_unique<GateWriter>(*this);
    writer_ = writer.get();
    if (!Kestrel::Logger::instance().addWriter(std::move(writer)))
        writer_ = nullptr;
}

LogGate::~LogGate()
{
    release();
    Kestrel::Logger::instance().removeWriter(writer_);
}

bool LogGate::waitUntilHeld(DWORD timeoutMilliseconds)
{
    return WaitForSingleObject(held_.get(), timeoutMilliseconds) == WAIT_OBJECT_0;
}

void LogGate::release() noexcept
{
    SetEvent(released_.get());
}

void LogGate::pass(const std::wstring& line)
{
    if (line.find(text_) == std::wstring::npos || InterlockedExchange(&triggered_, 1) != 0)
        return;
    SetEvent(held_.get());
    WaitForSingleObject(released_.get(), kLongestHoldMilliseconds);
}

} // namespace KestrelTest
