#pragma once

#include "framework/UserObject.h"

#include <windows.h>

namespace Kestrel {

namespace GdiObjectDetail {
inline void deleteObject(HGDIOBJ object) noexcept { DeleteObject(object); }
} // namespace GdiObjectDetail

// Sole owner of one GDI object, deleted with DeleteObject. The object must not be selected into a
// device context any more when its owner lets it go: SelectedObject puts the old one back first.
template <typename Handle>
using GdiObject = UserObject<Handle, &GdiObjectDetail::deleteObject>;

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

} // namespace Kestrel
