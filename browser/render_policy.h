#pragma once

// Internal to browser/: how the engine draws pages on this machine.

#include <webkit2/webkit2.h>

#include <string>
#include <vector>

namespace vesko {

// One DRM render node (/dev/dri/renderD*) as the kernel describes it.
struct RenderNode {
    std::string driver;      // kernel driver, e.g. "i915", "amdgpu", "virtio_gpu", "vgem"
    bool usable = false;     // the device file can be opened for reading and writing
    bool virtio_3d = false;  // virtio_gpu only: the host offers 3D (virgl)
};

// True when one of the nodes is a GPU that can draw. Without one, the graphics
// library draws in software (llvmpipe), and the engine's accelerated path then
// only costs: the first frame comes about a second after the page has loaded,
// and the software GL stack takes some 80 MiB more.
bool has_drawing_gpu(const std::vector<RenderNode>& nodes);

// The render nodes of this machine, read from /dev/dri and /sys/class/drm.
std::vector<RenderNode> machine_render_nodes();

// Sets the hardware acceleration policy of a view's settings for this machine:
// the engine's own choice where there is a GPU, never accelerated where there
// is none. The machine is looked at once per run.
void apply_render_policy(WebKitSettings* settings);

} // namespace vesko
