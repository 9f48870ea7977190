#pragma once

#include <string>

namespace KestrelTest {

// The process's current folder, changed for the life of the object and then set back.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

    [[nodiscard]] bool changed() const noexcept { return changed_; }

private:
    std::wstring previous_;
    bool changed_ = false;
};

} // namespace KestrelTest
