#pragma once

// Where text sits in a list cell, in pixels at 96 DPI: the list paints a cell's text with these
// insets, and the title tip, which shows the whole text over a cut-off cell, lays its own text
// exactly over it. Changing one without the other would make the text jump when the tip shows.
namespace Kestrel::ListTextInsets {

// A cell's content starts this far in from the cell's left edge (further in the first column,
// which has no divider on its left) and keeps a margin on both sides; an image is followed by a
// gap before the text.
inline constexpr int kFirstColumnIndent = 4;
inline constexpr int kColumnIndent = 3;
inline constexpr int kContentMargin = 4;
inline constexpr int kImageGap = 4;

// The title tip starts a content margin left of the cell's text, so that its left edge lies on
// the cell's indent; it is this much wider than its text, which leaves a margin on its right too.
inline constexpr int kTitleTipLead = kContentMargin;
inline constexpr int kTitleTipExtraWidth = 11;

} // namespace Kestrel::ListTextInsets
