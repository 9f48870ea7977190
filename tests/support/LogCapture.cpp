#include "tests/support/LogCapture.h"

#include <memory>

namespace KestrelTest {

namespace {

class CaptureWriter : public Kestrel::LogWriter {
public:
    explicit CaptureWriter(LogCapture& capture) noexcept : LogWriter(0), capture_(capture) {}

    bool write(const std::wstring& line) override
    {
        capture_.add(line);
        return true;
    }

private:
    LogCapture& capture_;
};

} // namespace

LogCapture::LogCapture()
{
    auto writer = std::make_unique<CaptureWriter>(*this);
    writer_ = writer.get();
    if (!Kestrel::Logger::instance().addWriter(std::move(writer)))
        writer_ = nullptr;
}

LogCapture::~LogCapture()
{
    Kestrel::Logger::instance().removeWriter(writer_);
}

std::vector<std::wstring> LogCapture::lines() const
{
    Kestrel::SectionGuard guard(lock_);
    return lines_;
}

bool LogCapture::contains(const std::wstring& text) const
{
    return count(text) != 0;
}

std::size_t LogCapture::count(const std::wstring& text) const
{
    Kestrel::SectionGuard guard(lock_);
    std::size_t matches = 0;
    for (const auto& line : lines_) {
        if (line.find(text) != std::wstring::npos)
            ++matches;
    }
    return matches;
}

bool LogCapture::empty() const
{
    Kestrel::SectionGuard guard(lock_);
    return lines_.empty();
}

void LogCapture::clear()
{
    Kestrel::SectionGuard guard(lock_);
    lines_.clear();
}

void LogCapture::add(const std::wstring& line)
{
    Kestrel::SectionGuard guard(lock_);
    lines_.push_back(line);
}

} // namespace KestrelTest
