#pragma once
// Listing a folder the way the Windows "*.ext" search did: extensions matched without
// regard to case.

#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// Names (not paths) of the entries of `folder` that are not directories and whose name
// ends in `extension` (".so", ".spu"), in the order the file system gives them.
// A missing or unreadable folder gives an empty list.
std::vector<std::string> ListFilesWithExtension(const std::string& folder, std::string_view extension);

bool EndsWithNoCase(std::string_view text, std::string_view suffix);

}  // namespace kestrel
