#pragma once

// Scrolling: both scroll bars, the wheel, and the smooth-scroll animation of vertical line and
// page steps.

#include <climits>

namespace Kestrel {

namespace ListScrollingDetail {
constexpr UINT kAnimationPeriod = 20;
constexpr int kFewestSteps = 4;
constexpr int kMostSteps = 8;
constexpr int kWheelNotch = WHEEL_DELTA;

inline int trackPosition(HWND window, int bar) noexcept
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window, bar, &info);
    return info.nTrackPos;
}
} // namespace ListScrollingDetail

template <typename T>
void CListImpl<T>::onVScroll(UINT request, int, HWND)
{
    hideTitleTip();
    if (editing_)
        SetFocus(handle());
    const int position = scrollPosition(SB_VERT);
    const int page = static_cast<int>(this->clientRect().bottom) - headerBottom();
    switch (request) {
    case SB_LINEUP:
        scrollVerticallyTo(std::max(position - rowHeight_, 0), true);
        break;
    case SB_LINEDOWN:
        scrollVerticallyTo(position + rowHeight_, true);
        break;
    case SB_PAGEUP:
        scrollVerticallyTo(std::max(position - page, 0), true);
        break;
    case SB_PAGEDOWN:
        scrollVerticallyTo(position + page, true);
        break;
    case SB_TOP:
        scrollVerticallyTo(0, false);
        break;
    case SB_BOTTOM:
        scrollVerticallyTo(itemCount() * rowHeight_, false);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        scrollVerticallyTo(ListScrollingDetail::trackPosition(handle(), SB_VERT), false);
        break;
    case SB_ENDSCROLL:
        animation_.started = false;
        break;
    default:
        break;
    }
}

template <typename T>
void CListImpl<T>::onHScroll(UINT request, int, HWND)
{
    endAnimation();
    hideTitleTip();
    if (editing_)
        SetFocus(handle());
    const int position = scrollPosition(SB_HORZ);
    const int last = std::max(totalColumnWidth(false) - 1, 0);
    const int page = static_cast<int>(this->clientRect().right);
    int target = position;
    switch (request) {
    case SB_LINELEFT:
        target = std::max(position - scaled(kHorizontalLine), 0);
        break;
    case SB_LINERIGHT:
        target = std::min(position + scaled(kHorizontalLine), last);
        break;
    case SB_PAGELEFT:
        target = std::max(position - page, 0);
        break;
    case SB_PAGERIGHT:
        target = std::min(position + page, last);
        break;
    case SB_LEFT:
        target = 0;
        break;
    case SB_RIGHT:
        target = page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        target = ListScrollingDetail::trackPosition(handle(), SB_HORZ);
        break;
    default:
        return;
    }
    resetScrollBars(SB_HORZ, target, false);
    this->invalidate();
}

// The "one screen at a time" setting answers WHEEL_PAGESCROLL: a page of rows per notch.
template <typename T>
void CListImpl<T>::onMouseWheel(UINT, short delta, POINT)
{
    hideTitleTip();
    if (editing_)
        SetFocus(handle());
    const long long perNotch = wheelScrollLines_ == WHEEL_PAGESCROLL ? std::max(visibleItemCount() - 1, 1)
                                                                    : static_cast<long long>(wheelScrollLines_);
    const long long lines = perNotch * delta / ListScrollingDetail::kWheelNotch;
    const long long target = scrollPosition(SB_VERT) - lines * rowHeight_;
    resetScrollBars(SB_VERT, static_cast<int>(std::clamp<long long>(target, 0, INT_MAX)), false);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::scrollVerticallyTo(int position, bool animate)
{
    const int oldTop = topItem();
    resetScrollBars(SB_VERT, std::max(position, 0), false);
    const int newTop = topItem();
    if (animate && scrolling_.smooth && !animation_.started && newTop != oldTop && ready())
        startAnimation(oldTop, newTop);
    if (!animation_.bitmap)
        this->invalidate();
}

// The rows from the upper to the lower top row, and a screen below, are drawn once into a
// bitmap; each tick shows a part of it nearer the new position.
template <typename T>
void CListImpl<T>::startAnimation(int oldTop, int newTop)
{
    using namespace ListScrollingDetail;
    endAnimation();
    const RECT client = this->clientRect();
    const int rows = std::abs(newTop - oldTop);
    const int first = std::min(oldTop, newTop);
    const int height = (rows + visibleItemCount(true)) * rowHeight_;
    const ClientDC screen(handle());
    const MemoryDC memory(screen.get());
    Bitmap bitmap(memory ? CreateCompatibleBitmap(screen.get(), std::max(1L, client.right), height) : nullptr);
    if (!bitmap)
        return;
    {
        const SelectedObject selected(memory.get(), bitmap.get());
        const RECT all{0, 0, client.right, height};
        DCHandle(memory.get()).fillSolidRect(all, colours_.background);
        const int count = itemCount();
        const int left = -scrollPosition(SB_HORZ);
        for (int item = first, top = 0; item < count && top < height; ++item, top += rowHeight_)
            paintRow(memory.get(), item, RECT{left, top, totalColumnWidth(false) - 1, top + rowHeight_}, all);
    }
    animation_.bitmap = std::move(bitmap);
    animation_.height = height;
    animation_.up = newTop < oldTop;
    animation_.started = true;
    animation_.position = rows * rowHeight_;
    animation_.steps = std::clamp(rows, kFewestSteps, kMostSteps);
    animation_.step = std::max((animation_.position - animation_.steps) / animation_.steps, 1);
    animation_.distance = animation_.position;
    (void)this->setTimer(kAnimationTimer, kAnimationPeriod);
}

template <typename T>
void CListImpl<T>::onAnimationTimer()
{
    if (!animation_.bitmap) {
        this->killTimer(kAnimationTimer);
        return;
    }
    if (animation_.position > animation_.steps) {
        animation_.position -= animation_.step;
        if (animation_.position < animation_.step)
            animation_.position = animation_.steps;
    } else {
        --animation_.position;
    }
    if (animation_.position < 0) {
        endAnimation();
        return;
    }
    // Scrolling down the view starts at the bitmap's top and ends a distance further down;
    // scrolling up the other way round.
    const int source = animation_.up ? animation_.position : animation_.distance - animation_.position;
    const RECT client = this->clientRect();
    const ClientDC screen(handle());
    const MemoryDC memory(screen.get());
    if (!memory)
        return;
    const SelectedObject selected(memory.get(), animation_.bitmap.get());
    const int height = std::min(static_cast<int>(client.bottom) - headerBottom(), animation_.height - source);
    BitBlt(screen.get(), 0, headerBottom(), client.right, height, memory.get(), 0, source, SRCCOPY);
}

template <typename T>
void CListImpl<T>::endAnimation()
{
    if (!animation_.bitmap)
        return;
    this->killTimer(kAnimationTimer);
    animation_.bitmap.reset();
    this->invalidate();
}

} // namespace Kestrel
