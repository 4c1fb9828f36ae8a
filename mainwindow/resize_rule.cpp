#include "mainwindow/resize_rule.h"

#include <algorithm>
#include <cmath>

namespace vesko {

int clamp_control_size(double size)
{
    if (std::isnan(size))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(size), 0.0, static_cast<double>(max_control_size)));
}

ResizeResult resize_rule(int client_width, int status_bar_top, int pane_top, int address_box_left)
{
    const double w = client_width;
    ResizeResult r{};
    r.pane_width = clamp_control_size(w - 20.0);
    r.pane_height = clamp_control_size(static_cast<double>(status_bar_top) - 10.0 - pane_top);
    double box = w - 10.0 - address_box_left;
    if (box < 50.0)
        box = 50.0;
    r.address_box_width = clamp_control_size(box);
    return r;
}

} // namespace vesko
