#pragma once

#include "foundation/FileSpec.h"

// The last steps for an overwritten file (emptied first) and for a folder: a move to a
// meaningless name in the same folder, then the removal. When no such name is free or the move
// fails, the item is removed under the name it still has. Answers whether the item is gone, under
// both names; the file layer logs every failing step. The item must hold no handle.
[[nodiscard]] bool disposeOfFile(Kestrel::FileSpec& file);
[[nodiscard]] bool disposeOfFolder(Kestrel::FileSpec& folder);
