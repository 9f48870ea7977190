#include "app/EraseQuestion.h"

#include "app/UserTexts.h"

namespace {

std::wstring counted(std::size_t count, const wchar_t* one, const wchar_t* many)
{
    return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

// "C:\", "C:\ and D:\", "C:\, D:\ and E:\"
std::wstring listed(const std::vector<std::wstring>& names)
{
    std::wstring text;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (index > 0)
            text += index + 1 == names.size() ? L" and " : L", ";
        text += names[index];
    }
    return text;
}

} // namespace

std::wstring eraseQuestion(const std::vector<EraseTask>& waiting)
{
    std::size_t files = 0;
    std::size_t folders = 0;
    std::vector<std::wstring> drives;
    std::vector<std::wstring> bins;
    for (const EraseTask& task : waiting) {
        switch (task.kind()) {
        case ItemKind::File:
            ++files;
            break;
        case ItemKind::Folder:
            ++folders;
            break;
        case ItemKind::FreeSpace:
            drives.push_back(task.path());
            break;
        case ItemKind::RecycleBin:
            bins.push_back(task.path());
            break;
        }
    }
    std::wstring question = std::wstring(UserTexts::kConfirmErase) + L"\r\n";
    if (files + folders > 0) {
        std::vector<std::wstring> kinds;
        if (files > 0)
            kinds.push_back(counted(files, UserTexts::kQuestionFile, UserTexts::kQuestionFiles));
        if (folders > 0)
            kinds.push_back(counted(folders, UserTexts::kQuestionFolder, UserTexts::kQuestionFolders));
        question += L"\r\n" + counted(files + folders, UserTexts::kQuestionItem, UserTexts::kQuestionItems) + L": " +
                    kinds.front() + (kinds.size() > 1 ? L", " + kinds.back() : L"");
    }
    if (!drives.empty())
        question += L"\r\n" + std::wstring(UserTexts::kQuestionFreeSpace) + listed(drives);
    for (const std::wstring& bin : bins)
        question += L"\r\n" + bin;
    return question;
}
