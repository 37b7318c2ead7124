#include "app/win32_arguments.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/handles.h"
#include "framework/unicode.h"

namespace zz {

std::vector<std::string> SplitCommandLine(const wchar_t* commandLine) {
    std::vector<std::string> arguments;
    // An empty text would make the platform report the program's own path as argv[0].
    if (commandLine == nullptr || *commandLine == L'\0') {
        return arguments;
    }
    int count = 0;
    const ArgumentList argv(CommandLineToArgvW(commandLine, &count));
    for (int i = 1; argv && i < count; ++i) {
        arguments.push_back(Narrow(argv.Get()[i]));
    }
    return arguments;
}

}  // namespace zz
