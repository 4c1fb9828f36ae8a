#pragma once

// Internal to browser/: how the engine draws pages on this machine.

#include <string>
#include <vector>

typedef struct _WebKitSettings WebKitSettings;

namespace vesko {

// One DRM render node (/dev/dri/renderD*) as the kernel describes it.
struct RenderNode {
    std::string driver;      // kernel driver, e.g. "i915", "amdgpu", "virtio_gpu", "vgem"
    bool usable = false;     // the device file can be opened for reading and writing
    bool virtio_3d = false;  // virtio_gpu only: the host offers 3D (virgl)
};

// True when one of the nodes is a GPU that can draw. Without one, the graphics
// library draws in software (llvmpipe), and the engine's accelerated path then
// only costs: on a two-core machine under Xvfb the first frame came 0.4-0.5 s
// after the page's onload instead of right after it, and the page's process
// took some 60 MiB more.
bool has_drawing_gpu(const std::vector<RenderNode>& nodes);

// The render nodes of this machine, read from /dev/dri and /sys/class/drm.
std::vector<RenderNode> machine_render_nodes();

// Whether this machine has a GPU that draws; looked at once per run.
bool machine_has_drawing_gpu();

// What holds for every view of the run; called before the first view exists.
// Without a GPU, page scrollbars are classic ones: overlay scrollbars fade in
// and out after every load and scroll, and each frame of that is painted by
// the CPU in the web process and copied to the window, for some 1-2 % of a
// core in the seconds after a page has loaded.
void apply_engine_render_policy();

// Sets the hardware acceleration policy of a view's settings for this machine:
// the engine's own choice where there is a GPU, never accelerated where there
// is none.
void apply_render_policy(WebKitSettings* settings);

} // namespace vesko
