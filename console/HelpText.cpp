#include "console/HelpText.h"

namespace {

using Verb = ConsoleCommand::Verb;

constexpr const wchar_t* kIntroduction =
    L"kww erases files, folders, a drive's free space and the Recycle Bin so that what they held\r\n"
    L"cannot be read back.\r\n"
    L"\r\n";

constexpr const wchar_t* kEraseUsage = L"  kww erase [--yes] [--preview] PATH...\r\n";
constexpr const wchar_t* kFreeSpaceUsage = L"  kww freespace [--yes] [--preview] D:\\\r\n";
constexpr const wchar_t* kRecycleBinUsage = L"  kww recyclebin [--yes] [--preview]\r\n";
constexpr const wchar_t* kRecordUsage = L"    each also with [--json] [--report FILE] [--verify sample|all|off]\r\n";
constexpr const wchar_t* kOtherUsage = L"  kww help [COMMAND]\r\n"
                                       L"  kww --version\r\n";

constexpr const wchar_t* kErase =
    L"erase      Erases each file, and each folder with everything in it. A relative path is read\r\n"
    L"           against the current folder; * and ? in the last part match the names in that\r\n"
    L"           folder, never in deeper ones, and take only what they spell, whatever the case:\r\n"
    L"           *.doc takes a.doc and B.DOC, never a.docx; *.* takes only names with a dot.\r\n"
    L"           Links are never followed: they stay, and so does each folder that holds one\r\n"
    L"           (its files are erased). A drive's root (D:\\) takes everything on the drive,\r\n"
    L"           and the question then asks for the drive's letter.\r\n";
constexpr const wchar_t* kFreeSpace =
    L"freespace  Overwrites the free space of the drive, so that what was deleted the ordinary\r\n"
    L"           way cannot be read back. No file that exists is changed.\r\n";
constexpr const wchar_t* kRecycleBin =
    L"recyclebin Erases what this user's Recycle Bin holds on every fixed drive, each deleted\r\n"
    L"           item as erase does and then its record; one that cannot be erased stays in\r\n"
    L"           the bin. Other users' bins and copies kept elsewhere are not touched.\r\n";

constexpr const wchar_t* kOptions =
    L"--preview  Shows what the command would destroy, and changes nothing: each item, and under\r\n"
    L"           a folder every file and folder it holds, one line each, in the order the erase\r\n"
    L"           takes them (deepest first, the folder last; links named as skipped); for the\r\n"
    L"           Recycle Bin each deleted item by the path it was deleted from, with its size.\r\n"
    L"--yes, -y  Erases without asking. Without it kww lists what goes and asks; with no console\r\n"
    L"           to ask (input redirected) it refuses.\r\n"
    L"--json     JSON Lines on standard output instead of the text lines: a run line, one line\r\n"
    L"           per item as it ends, a summary whose sha256 is the hash of every earlier line.\r\n"
    L"           Without --yes or --preview it refuses, as a redirected run does.\r\n"
    L"--report FILE  The same JSON Lines into FILE, made new (an existing one is refused), one\r\n"
    L"           line at a time as it happens; a run stopped early leaves no summary line.\r\n"
    L"--verify   How much of what was written is read back from the drive, past the cache,\r\n"
    L"           before an item counts as erased: sample (the default: all of a file up to\r\n"
    L"           62.5 MiB, 1,000 blocks of 64 KiB spread over a larger one), all, or off. Other\r\n"
    L"           bytes fail the item, which keeps its name. It proves what the drive returns for\r\n"
    L"           those addresses, not what a drive's remapped or spare cells still hold.\r\n"
    L"--         Every later word is a path, also one that starts with - or /. Before it, such\r\n"
    L"           words are options (--yes, -y and /y alike); a path is written .\\-name or \\dir.\r\n"
    L"--help, /? This help; after a command, that command's part.\r\n";

constexpr const wchar_t* kOutcome =
    L"\r\n"
    L"If any path names nothing, kww asks nothing and changes nothing. One line per item as it\r\n"
    L"ends (Done, Failed or Aborted, then in brackets the reason and what stays elsewhere, such\r\n"
    L"as a cloud service's copies), then a summary. Exit codes: 0 every item done, 1 at least\r\n"
    L"one failed or a path named nothing, 2 bad usage or refused, 3 stopped by Ctrl+C or\r\n"
    L"Ctrl+Break (also at the question; the running item stops within one chunk and no other\r\n"
    L"starts: a file stopped part-way stays under its name, and the same command finishes it);\r\n"
    L"closing the console, logging off and shutting down stop it the same way. The log is\r\n"
    L"%APPDATA%\\Larkspan\\Wipewell\\KWW.log, as for the window.\r\n";

const wchar_t* usageOf(Verb verb)
{
    return verb == Verb::Erase ? kEraseUsage : verb == Verb::FreeSpace ? kFreeSpaceUsage : kRecycleBinUsage;
}

const wchar_t* partOf(Verb verb)
{
    return verb == Verb::Erase ? kErase : verb == Verb::FreeSpace ? kFreeSpace : kRecycleBin;
}

} // namespace

std::wstring helpText(std::optional<Verb> topic)
{
    if (topic && *topic != Verb::Help && *topic != Verb::Version)
        return std::wstring(usageOf(*topic)) + kRecordUsage + L"\r\n" + partOf(*topic) + kOptions + kOutcome;
    return std::wstring(kIntroduction) + kEraseUsage + kFreeSpaceUsage + kRecycleBinUsage + kRecordUsage + kOtherUsage + L"\r\n" +
           kErase + kFreeSpace + kRecycleBin + kOptions + kOutcome;
}
