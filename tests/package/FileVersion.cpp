// Prints the file version from an executable's version resource as four numbers ("1.1.72.0"),
// read the way Windows Explorer reads it: GetFileVersionInfoW and the root block's fixed record.
// The packaging test runs it on the installed program.
#include <windows.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2) {
        std::fputs("usage: package_file_version <executable>\n", stderr);
        return 64;
    }
    const wchar_t* path = argv[1];
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) {
        std::fprintf(stderr, "no version resource: error %lu\n", GetLastError());
        return 1;
    }
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data())) {
        std::fprintf(stderr, "GetFileVersionInfoW failed: error %lu\n", GetLastError());
        return 1;
    }
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        std::fputs("no fixed file information in the version resource\n", stderr);
        return 1;
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (info->dwSignature != VS_FFI_SIGNATURE) {
        std::fputs("the fixed file information has a wrong signature\n", stderr);
        return 1;
    }
    std::printf("%u.%u.%u.%u\n", unsigned{HIWORD(info->dwFileVersionMS)},
                unsigned{LOWORD(info->dwFileVersionMS)}, unsigned{HIWORD(info->dwFileVersionLS)},
                unsigned{LOWORD(info->dwFileVersionLS)});
    return 0;
}
