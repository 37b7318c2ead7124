#include "app/command_line.h"

#include <string_view>

#include "settings/ascii.h"

namespace zz {

namespace {

bool IsOption(const std::string& argument) {
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

class Parser {
public:
    explicit Parser(CCommandLineInfo& info) : m_info(info) {}

    void Option(const std::string& argument) {
        const std::string_view name = std::string_view(argument).substr(1);
        if (EqualsIgnoringAsciiCase(name, "p")) {
            SetCommand(ShellCommand::kFilePrint);
        } else if (EqualsIgnoringAsciiCase(name, "pt")) {
            SetCommand(ShellCommand::kFilePrintTo);
        } else if (EqualsIgnoringAsciiCase(name, "Register") ||
                   EqualsIgnoringAsciiCase(name, "Regserver")) {
            SetCommand(ShellCommand::kAppRegister);
        } else if (EqualsIgnoringAsciiCase(name, "Unregister") ||
                   EqualsIgnoringAsciiCase(name, "Unregserver")) {
            if (SetCommand(ShellCommand::kAppUnregister)) {
                m_info.m_bTellUnregister = EqualsIgnoringAsciiCase(name, "Unregister");
            }
        } else if (EqualsIgnoringAsciiCase(name, "Embedding")) {
            m_info.m_bRunEmbedded = true;
        } else if (EqualsIgnoringAsciiCase(name, "Automation")) {
            m_info.m_bRunAutomated = true;
        }
    }

    void Word(const std::string& argument) {
        std::string* slots[] = {&m_info.m_strFileName, &m_info.m_strPrinterName,
                                &m_info.m_strDriverName, &m_info.m_strPortName};
        // Only /pt takes more than the file name.
        const size_t slotCount = m_info.m_shellCommand == ShellCommand::kFilePrintTo ? 4 : 1;
        if (m_nWords < slotCount) {
            *slots[m_nWords++] = argument;
        } else {
            m_info.m_extraWords.push_back(argument);
        }
    }

    void Finish() {
        const ShellCommand command = m_info.m_shellCommand;
        const bool print =
            command == ShellCommand::kFilePrint || command == ShellCommand::kFilePrintTo;
        if (print && m_info.m_strFileName.empty()) {
            m_info.m_shellCommand = ShellCommand::kFileNew;  // nothing to print: just start
        }
        if (m_info.m_shellCommand == ShellCommand::kFileNew && !m_info.m_strFileName.empty()) {
            m_info.m_shellCommand = ShellCommand::kFileOpen;
        }
    }

private:
    // The first action wins; false when one was set already.
    bool SetCommand(ShellCommand command) {
        if (m_bCommandSet) {
            return false;
        }
        m_bCommandSet = true;
        m_info.m_shellCommand = command;
        return true;
    }

    CCommandLineInfo& m_info;
    bool m_bCommandSet = false;
    size_t m_nWords = 0;
};

}  // namespace

std::vector<std::string> CCommandLineInfo::FileCandidates() const {
    std::vector<std::string> names;
    if (!m_extraWords.empty()) {
        std::string joined = m_strFileName;
        for (const std::string& word : m_extraWords) {
            joined.append(1, ' ').append(word);
        }
        names.push_back(std::move(joined));
    }
    names.push_back(m_strFileName);
    return names;
}

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments) {
    CCommandLineInfo info;
    Parser parser(info);
    for (const std::string& argument : arguments) {
        if (IsOption(argument)) {
            parser.Option(argument);
        } else {
            parser.Word(argument);
        }
    }
    parser.Finish();
    return info;
}

}  // namespace zz
