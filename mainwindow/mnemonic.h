#pragma once

#include <string>
#include <string_view>

namespace vesko {

// A caption with an "&" before its mnemonic letter, as the window description
// writes it, in GTK's form with "_": "&F.文件" → "_F.文件". A literal "_" stays
// literal ("__"), "&&" stands for one "&", and a trailing "&" (or one before
// "_", which GTK cannot underline) is dropped.
std::string gtk_mnemonic(std::string_view caption);

} // namespace vesko
