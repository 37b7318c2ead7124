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

struct CCommandLineInfo {
    ShellCommand m_shellCommand = ShellCommand::kFileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    // Started by an automation client: no window, alive while a client holds a document.
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    // /Unregister, the name a parent types, says how it went; /Unregserver, the one tools
    // use, ends silently.
    bool m_bTellUnregister = false;
    // Words past those the command takes: a path with spaces that nobody quoted comes apart.
    std::vector<std::string> m_extraWords;

    bool IsStartedByClient() const { return m_bRunEmbedded || m_bRunAutomated; }

    // The names the file may have, most likely first: with the extra words joined back on by
    // single blanks, then the file name alone.
    std::vector<std::string> FileCandidates() const;
};

// Reads the arguments after the program name. An option is a word introduced by "/" or "-",
// its name compared without regard to case; anything else is a file name (or, after /pt, the
// printer, driver and port). As in the framework's grammar, what is not understood is left
// aside: an unknown option, a second action after the first, a print option without a file.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zz
