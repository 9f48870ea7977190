#include "app/TaskRowMenu.h"

#include "app/UserTexts.h"
#include "framework/UserObject.h"

namespace {

void append(HMENU menu, TaskRowCommand command, const wchar_t* text, bool enabled)
{
    AppendMenuW(menu, MF_STRING | (enabled ? 0 : MF_GRAYED), static_cast<UINT_PTR>(command), text);
}

} // namespace

TaskRowCommand chooseTaskRowCommand(HWND owner, POINT screen, const TaskRowOffer& offer)
{
    const Kestrel::MenuHandle menu(CreatePopupMenu());
    if (!menu)
        return TaskRowCommand::None;
    append(menu.get(), TaskRowCommand::CopyReason, UserTexts::kCopyReasonItem, offer.reason);
    append(menu.get(), TaskRowCommand::OpenLog, UserTexts::kOpenLogItem, true);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    append(menu.get(), TaskRowCommand::Retry, UserTexts::kRetryItem, offer.retry);
    append(menu.get(), TaskRowCommand::Remove, UserTexts::kRemoveItem, offer.remove);
    append(menu.get(), TaskRowCommand::ClearFinished, UserTexts::kClearFinishedItem, offer.clearFinished);
    // Chosen with the keyboard or the mouse alike; the answer comes back here instead of as a
    // command, so that the dialog acts on the rows selected when the menu opened.
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON |
                                                                           TPM_RETURNCMD | TPM_NONOTIFY,
                                                           screen.x, screen.y, owner, nullptr));
    return static_cast<TaskRowCommand>(chosen);
}
