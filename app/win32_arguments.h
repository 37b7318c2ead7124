#pragma once
// The program's arguments as the platform splits its command line (quotes and backslashes).

#include <string>
#include <vector>

namespace zz {

// The arguments after the program name, in UTF-8.
std::vector<std::string> SplitCommandLine(const wchar_t* commandLine);

}  // namespace zz
