#pragma once

namespace vesko {

// Widths and heights set on a control are kept within this range.
inline constexpr int max_control_size = 32627;

int clamp_control_size(double size);

struct ResizeResult {
    int pane_width;
    int pane_height;
    int address_box_width;
};

// The sizes that follow the window: the Browser pane keeps a 10 px margin to
// the sides and to the status bar, the Address box a 10 px margin to the right
// edge but never becomes narrower than 50 px.
ResizeResult resize_rule(int client_width, int status_bar_top, int pane_top, int address_box_left);

} // namespace vesko
