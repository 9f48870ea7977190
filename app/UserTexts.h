#pragma once

// The texts the program shows in its own boxes and tips, written once for the code that shows
// them and the tests that look for them. Several end in a blank, as they always have.
namespace UserTexts {

inline constexpr const wchar_t* kNothingWaiting = L"There is not task waiting for erasing. ";
inline constexpr const wchar_t* kConfirmErase =
    L"Are you sure to erase the files and folders? \r\nYou will not be able to undo this operation! \r\n\r\n"
    L"Please close all applications which may use the files you want to erase before you click Yes. ";
// Below the question, what goes: the files and folders counted, each drive's free space and the
// Recycle Bin named.
inline constexpr const wchar_t* kQuestionItem = L"item";
inline constexpr const wchar_t* kQuestionItems = L"items";
inline constexpr const wchar_t* kQuestionFile = L"file";
inline constexpr const wchar_t* kQuestionFiles = L"files";
inline constexpr const wchar_t* kQuestionFolder = L"folder";
inline constexpr const wchar_t* kQuestionFolders = L"folders";
inline constexpr const wchar_t* kQuestionFreeSpace = L"The free space of ";
inline constexpr const wchar_t* kConfirmExit = L"Are you sure to abort the erasing task and exit? ";

// Added to the reason of a row whose task was stopped after it had begun to overwrite.
inline constexpr const wchar_t* kFileStoppedPartWay =
    L"Stopped part-way: the file stays under its name, partly overwritten. Retry erases it whole.";
inline constexpr const wchar_t* kFolderStoppedPartWay =
    L"Stopped part-way: what was not erased yet stays, a file perhaps partly overwritten. Retry erases the rest.";

// The task list's row menu; Del removes the selected rows as Remove does.
inline constexpr const wchar_t* kCopyReasonItem = L"&Copy reason";
inline constexpr const wchar_t* kOpenLogItem = L"Open &log";
inline constexpr const wchar_t* kRetryItem = L"&Retry";
inline constexpr const wchar_t* kRemoveItem = L"Re&move\tDel";
inline constexpr const wchar_t* kClearFinishedItem = L"Clear &finished";
inline constexpr const wchar_t* kTooManyFiles = L"Too many files selected. Please select fewer files at a time. ";
inline constexpr const wchar_t* kFailure =
    L"Sorry. Some errors occur and this application will be closed. Please relaunch it. ";
inline constexpr const wchar_t* kAllFilesFilter = L"All files(*.*)|*.*|";

// A later start whose paths or drives the running window did not take: the first line, the
// items, then the advice.
inline constexpr const wchar_t* kPathsNotHandedOver =
    L"Kestrel Wipewell is running, but its window did not take these paths from this start: ";
inline constexpr const wchar_t* kDrivesNotHandedOver =
    L"Kestrel Wipewell is running, but its window did not take the free space of these drives from this start: ";
inline constexpr const wchar_t* kRecycleBinNotHandedOver =
    L"Kestrel Wipewell is running, but its window did not take the Recycle Bin from this start: ";
inline constexpr const wchar_t* kNotHandedOverAdvice =
    L"It did not answer in time, or refused them. Check its list and add what is missing there; "
    L"the log names each one. ";

// The one item of the drive menu of Add Free Space... when no drive's free space can be wiped;
// it cannot be chosen.
inline constexpr const wchar_t* kNoWipeableDrive = L"No drive whose free space can be wiped";
// After a drive's letter in the drive menu, for a drive that has not answered yet (a USB disk that
// spins up).
inline constexpr const wchar_t* kDriveNotAnswering = L"(not answering)";

// Add Recycle Bin pressed while this user's bin holds nothing on any fixed drive; no row is added.
inline constexpr const wchar_t* kRecycleBinEmpty = L"Your Recycle Bin is empty: there is nothing in it to erase. ";

// The folder browser of Add Folder..., above its tree.
inline constexpr const wchar_t* kChooseFolderToErase =
    L"Choose a folder to add to the erasing tasks. Erase! destroys it with everything in it.";

// The main dialog's button tips.
inline constexpr const wchar_t* kAddFileTip = L"Add or drag and drop files into erasing tasks";
inline constexpr const wchar_t* kAddFolderTip = L"Add or drag and drop folder into erasing tasks";
inline constexpr const wchar_t* kAddFreeSpaceTip = L"Add a drive's free space into erasing tasks";
inline constexpr const wchar_t* kAddRecycleBinTip =
    L"Add what your Recycle Bin holds on every fixed drive into erasing tasks";
inline constexpr const wchar_t* kHelpTip = L"Help";
inline constexpr const wchar_t* kAboutTip = L"About Kestrel Wipewell";
inline constexpr const wchar_t* kStopSelectedTip = L"Stop the selected erasing tasks";
inline constexpr const wchar_t* kEraseTip = L"Start erasing tasks now";

} // namespace UserTexts
