#pragma once

#include "foundation/UniqueHandle.h"

#include <string>

// Another Wine process that holds a file open with no sharing for as long as this object lives.
class FileHolder {
public:
    explicit FileHolder(const std::wstring& file);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    // Whether the other process has the file open.
    [[nodiscard]] bool holding() const noexcept { return holding_; }

private:
    Kestrel::UniqueHandle ready_;
    Kestrel::UniqueHandle release_;
    Kestrel::UniqueHandle process_;
    bool holding_ = false;
};
