#pragma once

#include "listctrl/ole/CDataObject.h"

#include <concepts>

namespace Kestrel {

// What a list supplies to the data object of its drags: the data of a format it offered for
// rendering on demand (a new medium the receiver will release), false when it has none.
template <typename T>
concept DragDataSource = requires(T& list, const FORMATETC& format, STGMEDIUM& medium) {
    { list.renderDragData(format, medium) } noexcept -> std::same_as<bool>;
};

// The data object of one list: formats offered on demand are rendered by the list. detach()
// before the list goes.
template <DragDataSource T>
class CDataObjectT final : public CDataObject {
public:
    explicit CDataObjectT(T& list) noexcept : list_(list) {}

private:
    ~CDataObjectT() override = default;

    bool renderData(const FORMATETC& format, STGMEDIUM& medium) noexcept override
    {
        return list_.renderDragData(format, medium);
    }

    T& list_;
};

} // namespace Kestrel
