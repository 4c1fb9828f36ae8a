#pragma once

#include <string>

namespace vesko::test {

// The folder g_get_tmp_dir() names for this run (empty if it could not be made).
const std::string& private_temp_folder();

} // namespace vesko::test
