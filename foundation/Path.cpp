#include "foundation/Path.h"

#include "foundation/Exception.h"

namespace Kestrel {

namespace {

bool isSeparator(wchar_t c) noexcept
{
    return c == L'\\' || c == L'/';
}

bool isDriveLetter(wchar_t c) noexcept
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

[[noreturn]] void parseFailed()
{
    throw Exception("Parse failed");
}

} // namespace

Path::Path(const std::wstring& path)
{
    parse(path);
}

void Path::parse(const std::wstring& path)
{
    *this = Path();
    const std::size_t end = path.size();
    std::size_t at = 0;

    if (at < end && isSeparator(path[at])) {
        absolute_ = true;
        ++at;
    }
    if (absolute_ && at < end && isSeparator(path[at])) {
        ++at;
        const std::size_t nodeStart = at;
        while (at < end && !isSeparator(path[at]))
            ++at;
        node_ = path.substr(nodeStart, at - nodeStart);
        if (at < end)
            ++at;
    } else if (at + 1 < end && path[at + 1] == L':') {
        if (!isDriveLetter(path[at]) || absolute_)
            parseFailed();
        device_.assign(1, path[at]);
        absolute_ = true;
        at += 2;
        if (at >= end || !isSeparator(path[at]))
            parseFailed();
        ++at;
    }

    std::wstring segment;
    for (; at < end; ++at) {
        if (isSeparator(path[at])) {
            pushDirectory(segment);
            segment.clear();
        } else {
            segment += path[at];
        }
    }
    name_ = segment;

    // \\server\share names a share, which is a folder even without the trailing separator.
    if (!node_.empty() && directories_.empty() && !name_.empty())
        makeDirectory();
}

std::wstring Path::toString() const
{
    std::wstring text;
    if (!node_.empty())
        text = L"\\\\" + node_ + L"\\";
    else if (!device_.empty())
        text = device_ + L":\\";
    else if (absolute_)
        text = L"\\";
    for (const std::wstring& directory : directories_)
        text += directory + L"\\";
    return text + name_;
}

void Path::pushDirectory(const std::wstring& segment)
{
    if (segment.empty() || segment == L".")
        return;
    if (segment == L"..") {
        if (!directories_.empty() && directories_.back() != L"..")
            directories_.pop_back();
        else if (!absolute_)
            directories_.push_back(segment);
        return;
    }
    directories_.push_back(segment);
}

void Path::makeDirectory()
{
    pushDirectory(name_);
    name_.clear();
}

void Path::makeParent()
{
    if (!name_.empty()) {
        name_.clear();
    } else if (directories_.empty()) {
        if (!absolute_)
            directories_.emplace_back(L"..");
    } else if (directories_.back() == L"..") {
        directories_.emplace_back(L"..");
    } else {
        directories_.pop_back();
    }
}

Path Path::parent() const
{
    Path copy(*this);
    copy.makeParent();
    return copy;
}

void Path::append(const Path& other)
{
    makeDirectory();
    directories_.insert(directories_.end(), other.directories_.begin(), other.directories_.end());
    name_ = other.name_;
}

} // namespace Kestrel
