#include "browser/render_policy.h"

#include <webkit2/webkit2.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace vesko {

namespace {

namespace fs = std::filesystem;

// Kernel drivers that give a render node without anything to draw with: the
// graphics library falls back to software on them.
constexpr const char* drawless_drivers[] = {"vgem", "vkms"};

std::string driver_of(const fs::path& sys_device)
{
    std::error_code ec;
    const fs::path target = fs::read_symlink(sys_device / "driver", ec);
    return ec ? std::string() : target.filename().string();
}

// virtio-gpu draws on the host's GPU only when the host offers virgl, its
// feature bit 0; the "features" file lists the bits as '0'/'1' from bit 0 on.
bool virtio_offers_3d(const fs::path& sys_device)
{
    std::ifstream features(sys_device / "features");
    char bit0 = '0';
    return features.get(bit0) && bit0 == '1';
}

} // namespace

bool has_drawing_gpu(const std::vector<RenderNode>& nodes)
{
    return std::any_of(nodes.begin(), nodes.end(), [](const RenderNode& node) {
        if (!node.usable || node.driver.empty())
            return false;
        if (std::find(std::begin(drawless_drivers), std::end(drawless_drivers), node.driver) !=
            std::end(drawless_drivers))
            return false;
        if (node.driver == "virtio_gpu")
            return node.virtio_3d;
        return true;
    });
}

std::vector<RenderNode> machine_render_nodes()
{
    std::vector<RenderNode> nodes;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) != 0)
            continue;
        // The node's device; for virtio-gpu, that is the virtio device itself.
        const fs::path sys_device = fs::path("/sys/class/drm") / name / "device";
        RenderNode node;
        node.driver = driver_of(sys_device);
        node.usable = access(entry.path().c_str(), R_OK | W_OK) == 0;
        node.virtio_3d = node.driver == "virtio_gpu" && virtio_offers_3d(sys_device);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

bool machine_has_drawing_gpu()
{
    // A machine does not gain or lose its GPU while the browser runs.
    static const bool gpu = has_drawing_gpu(machine_render_nodes());
    return gpu;
}

void apply_engine_render_policy()
{
    if (machine_has_drawing_gpu())
        return;
    if (GtkSettings* gtk = gtk_settings_get_default())
        g_object_set(gtk, "gtk-overlay-scrolling", FALSE, nullptr);
}

void apply_render_policy(WebKitSettings* settings)
{
    if (!machine_has_drawing_gpu())
        webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
}

} // namespace vesko
