// The suite's temporary files go to a folder of its own, so that the checks
// for leaked files see only what this run made, whatever else runs on the
// machine. Set before main(), before GLib first reads TMPDIR.

#include "tests/reliability/private_temp_folder.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdlib>

namespace vesko::test {

namespace {

struct PrivateTempFolder {
    PrivateTempFolder()
    {
        gchar* pattern = g_build_filename("/tmp", "vesko-reliability-XXXXXX", nullptr);
        if (g_mkdtemp(pattern)) {
            path = pattern;
            setenv("TMPDIR", path.c_str(), 1);
        }
        g_free(pattern);
    }
    ~PrivateTempFolder()
    {
        if (path.empty())
            return;
        if (GDir* dir = g_dir_open(path.c_str(), 0, nullptr)) {
            while (const char* name = g_dir_read_name(dir)) {
                gchar* file = g_build_filename(path.c_str(), name, nullptr);
                g_unlink(file);
                g_free(file);
            }
            g_dir_close(dir);
        }
        g_rmdir(path.c_str());
    }
    std::string path;
};

PrivateTempFolder& folder()
{
    static PrivateTempFolder instance;
    return instance;
}

// Made as the program loads, before anything asks GLib for the folder.
const bool made_at_load = (folder(), true);

} // namespace

const std::string& private_temp_folder()
{
    return folder().path;
}

} // namespace vesko::test
