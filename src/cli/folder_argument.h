#pragma once
// A folder named on the command line must be one: a typing error should not look like an
// empty folder.

#include <string>

namespace kestrel::cli {

// True when `folder` is a directory; otherwise tells why on standard error.
bool CheckFolderArgument(const std::string& folder);

}  // namespace kestrel::cli
