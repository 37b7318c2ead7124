#pragma once
// The program's command line: what the shell, a printer queue or an automation client asks of it.

#include <string>
#include <vector>

namespace zz {

enum class ShellCommand {
    kFileNew,        // no argument
    kFileOpen,       // a file name
    kFilePrint,      // /p file: print on the default printer, then end
    kFilePrintTo,    // /pt file [printer [driver [port]]]: print there, then end
    kAppRegister,    // /Register, /Regserver: write the registry entries, then end
    kAppUnregister,  // /Unregister, /Unregserver: remove them, then end
};

enum class CommandLineError {
    kNone,
    kUnknownOption,       // an option of no known name, or "/" or "-" alone
    kMissingFileName,     // /p or /pt without a file
    kUnexpectedArgument,  // a second file name, or more than a printer, driver and port
    kConflictingOptions,  // two actions at once, such as /p with /Unregister
};

struct CCommandLineInfo {
    ShellCommand m_nShellCommand = ShellCommand::kFileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    // Started by an automation client: no window, alive while a client holds a document.
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;

    CommandLineError m_error = CommandLineError::kNone;
    // The argument the error is about.
    std::string m_strErrorArgument;

    bool IsValid() const { return m_error == CommandLineError::kNone; }
    bool IsStartedByClient() const { return m_bRunEmbedded || m_bRunAutomated; }
};

// Reads the arguments after the program name. An option is a word introduced by "/" or "-",
// its name compared without regard to case; anything else is a file name (or, after /pt, the
// printer, driver and port).
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zz
