#pragma once

// Folders for tests that write files: a fresh one that goes away with the
// test, and one that takes no new files however privileged the test is.

#include <glib.h>
#include <glib/gstdio.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vesko::test {

inline std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool file_exists(const std::string& path)
{
    return g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
}

// The names in a folder.
inline std::vector<std::string> list_folder(const std::string& path)
{
    std::vector<std::string> names;
    if (GDir* dir = g_dir_open(path.c_str(), 0, nullptr)) {
        while (const char* name = g_dir_read_name(dir))
            names.emplace_back(name);
        g_dir_close(dir);
    }
    return names;
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        gchar* made = g_dir_make_tmp("vesko-test-XXXXXX", nullptr);
        m_path = made ? made : "";
        g_free(made);
    }
    ~ScratchFolder()
    {
        if (m_read_only_mount)
            umount(m_path.c_str());
        chmod(m_path.c_str(), 0700);
        for (const std::string& name : list_folder(m_path))
            g_unlink((m_path + "/" + name).c_str());
        g_rmdir(m_path.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    // Makes the folder take no new files, keeping what it holds: a read-only
    // mount over it where the test may mount (root bypasses file modes),
    // else its mode.
    void make_read_only()
    {
        const std::vector<std::string> names = list_folder(m_path);
        std::vector<std::pair<std::string, std::string>> kept;
        for (const std::string& name : names)
            kept.emplace_back(name, read_file(file(name)));
        if (geteuid() == 0 && mount("vesko-test", m_path.c_str(), "tmpfs", 0, "size=1m") == 0) {
            for (const auto& [name, bytes] : kept)
                write_file(file(name), bytes);
            if (mount("vesko-test", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0) {
                m_read_only_mount = true;
                return;
            }
            umount(m_path.c_str());
        }
        chmod(m_path.c_str(), 0500);
    }

private:
    std::string m_path;
    bool m_read_only_mount = false;
};

} // namespace vesko::test
