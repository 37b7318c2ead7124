#include "app/win32_arguments.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/unicode.h"

namespace zz {

std::vector<std::string> SplitCommandLine(const wchar_t* commandLine) {
    std::vector<std::string> arguments;
    // An empty text would make the platform report the program's own path as argv[0].
    if (commandLine == nullptr || *commandLine == L'\0') {
        return arguments;
    }
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine, &count);
    if (argv == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Narrow(argv[i]));
    }
    LocalFree(argv);  // the one allocation of CommandLineToArgvW; its result is not needed
    return arguments;
}

}  // namespace zz
