#include "console/JsonReport.h"

#include "ProgramVersion.h"
#include "console/JsonText.h"
#include "erase/UserSid.h"
#include "foundation/CodePage.h"
#include "foundation/FileError.h"

#include <cwchar>
#include <utility>

namespace {

constexpr const wchar_t* kSchema = L"kestrel-wipewell-report/1";
constexpr const wchar_t* kMethod = L"one pass of pseudo-random data, then emptied, renamed and deleted";

const wchar_t* kindName(ItemKind kind) noexcept
{
    switch (kind) {
    case ItemKind::Folder:
        return L"folder";
    case ItemKind::FreeSpace:
        return L"freespace";
    case ItemKind::RecycleBin:
        return L"recyclebin";
    case ItemKind::File:
        break;
    }
    return L"file";
}

const wchar_t* verifyName(VerifyMode mode) noexcept
{
    return mode == VerifyMode::All ? L"all" : mode == VerifyMode::Off ? L"off" : L"sample";
}

const wchar_t* readBackName(ReadBackExtent extent) noexcept
{
    return extent == ReadBackExtent::Whole ? L"all" : extent == ReadBackExtent::Sample ? L"sample" : L"none";
}

// The warning's sentences: each ends with a full stop, and the task joins them with a blank.
std::vector<std::wstring> sentencesOf(const std::wstring& warning)
{
    std::vector<std::wstring> sentences;
    std::size_t from = 0;
    while (from < warning.size()) {
        std::size_t end = warning.find(L". ", from);
        end = end == std::wstring::npos ? warning.size() : end + 1;
        sentences.push_back(warning.substr(from, end - from));
        from = end + 1;
    }
    return sentences;
}

std::wstring hostName()
{
    wchar_t name[256];
    DWORD size = 256;
    return GetComputerNameExW(ComputerNameDnsHostname, name, &size) ? std::wstring(name, size) : std::wstring();
}

std::wstring userJson()
{
    wchar_t name[257];
    DWORD size = 257;
    const std::wstring account = GetUserNameW(name, &size) ? std::wstring(name) : std::wstring();
    DWORD error = 0;
    const std::wstring sid = currentUserSid(error);
    return JsonObject().add(L"name", account).add(L"sid", sid).text();
}

} // namespace

std::wstring rfc3339(const FILETIME& time)
{
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&time, &utc);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
                  utc.wMinute, utc.wSecond, utc.wMilliseconds);
    return text;
}

JsonReport::JsonReport(const StandardStream* output, Kestrel::UniqueFileHandle file) noexcept
    : output_(output), file_(std::move(file))
{
}

Kestrel::UniqueFileHandle JsonReport::createFile(const std::wstring& path, std::wstring& why)
{
    Kestrel::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
        return file;
    const DWORD error = GetLastError();
    why = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
              ? L"the report file " + path + L" exists already, and kww never replaces one"
              : L"the report file cannot be made: " + Kestrel::fileErrorText(error, path);
    return file;
}

void JsonReport::run(const std::vector<std::wstring>& words, VerifyMode verify)
{
    const std::string version = KWW_VERSION_TEXT;
    writeLine(JsonObject()
                  .add(L"type", L"run")
                  .add(L"schema", kSchema)
                  .add(L"tool", L"kww")
                  .add(L"version", std::wstring(version.begin(), version.end()))
                  .add(L"host", hostName())
                  .addJson(L"user", userJson())
                  .add(L"command", words)
                  .add(L"method", kMethod)
                  .add(L"verify", verifyName(verify))
                  .add(L"started", rfc3339(timeNow()))
                  .text());
}

void JsonReport::item(const ItemRecord& record)
{
    JsonObject line;
    line.add(L"type", L"item")
        .add(L"seq", ++seq_)
        .add(L"kind", kindName(record.kind))
        .add(L"path", record.path)
        .add(L"files", static_cast<std::int64_t>(record.files))
        .add(L"bytes", static_cast<std::int64_t>(record.bytes))
        .add(L"result", record.result)
        .add(L"warnings", sentencesOf(record.warning));
    if (record.errorCode || !record.errorMessage.empty()) {
        JsonObject error;
        if (record.errorCode)
            error.add(L"code", static_cast<std::int64_t>(*record.errorCode));
        else
            error.addJson(L"code", L"null");
        line.addJson(L"error", error.add(L"message", record.errorMessage).text());
    } else {
        line.addJson(L"error", L"null");
    }
    line.add(L"verified", record.verified).add(L"read_back", readBackName(record.readBack));
    line.add(L"started", rfc3339(record.started)).add(L"ended", rfc3339(record.ended));
    if (record.contents)
        line.add(L"contents", *record.contents);
    writeLine(line.text());
}

void JsonReport::summary(const std::vector<std::wstring>& counted, int exitCode)
{
    JsonObject line;
    line.add(L"type", L"summary");
    JsonObject counts;
    for (const wchar_t* result :
         {L"erased", L"erased_with_warnings", L"failed", L"aborted", L"skipped", L"would_erase"}) {
        std::int64_t count = 0;
        for (const std::wstring& each : counted)
            count += each == result ? 1 : 0;
        counts.add(result, count);
    }
    line.addJson(L"counts", counts.text())
        .add(L"ended", rfc3339(timeNow()))
        .add(L"exit_code", static_cast<std::int64_t>(exitCode))
        .add(L"sha256", hash_.finishHex());
    writeLine(line.text());
}

void JsonReport::writeLine(const std::wstring& json)
{
    const std::wstring line = json + L"\n";
    const std::string bytes = Kestrel::toCodePage(line, CP_UTF8);
    hash_.add(bytes);
    if (output_)
        output_->write(line);
    if (file_) {
        DWORD written = 0;
        // Each line reaches the disk as it is written: a run cut short leaves all it got to.
        if (WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            FlushFileBuffers(file_.get());
    }
}
