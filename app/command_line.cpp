#include "app/command_line.h"

#include <string_view>

namespace zz {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsOption(const std::string& argument) {
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

class Parser {
public:
    explicit Parser(CCommandLineInfo& info) : m_info(info) {}

    void Option(const std::string& argument) {
        const std::string_view name = std::string_view(argument).substr(1);
        if (EqualsIgnoringCase(name, "p")) {
            SetCommand(ShellCommand::kFilePrint, argument);
        } else if (EqualsIgnoringCase(name, "pt")) {
            SetCommand(ShellCommand::kFilePrintTo, argument);
        } else if (EqualsIgnoringCase(name, "Register") || EqualsIgnoringCase(name, "Regserver")) {
            SetCommand(ShellCommand::kAppRegister, argument);
        } else if (EqualsIgnoringCase(name, "Unregister") ||
                   EqualsIgnoringCase(name, "Unregserver")) {
            SetCommand(ShellCommand::kAppUnregister, argument);
        } else if (EqualsIgnoringCase(name, "Embedding")) {
            m_info.m_bRunEmbedded = true;
        } else if (EqualsIgnoringCase(name, "Automation")) {
            m_info.m_bRunAutomated = true;
        } else {
            Fail(CommandLineError::kUnknownOption, argument);
        }
    }

    void Word(const std::string& argument) {
        std::string* slots[] = {&m_info.m_strFileName, &m_info.m_strPrinterName,
                                &m_info.m_strDriverName, &m_info.m_strPortName};
        // Only /pt takes more than the file name.
        const size_t slotCount = m_info.m_nShellCommand == ShellCommand::kFilePrintTo ? 4 : 1;
        if (m_nWords >= slotCount) {
            Fail(CommandLineError::kUnexpectedArgument, argument);
            return;
        }
        *slots[m_nWords++] = argument;
    }

    void Finish() {
        const ShellCommand command = m_info.m_nShellCommand;
        const bool needsFile =
            command == ShellCommand::kFilePrint || command == ShellCommand::kFilePrintTo;
        if (needsFile && m_info.m_strFileName.empty()) {
            Fail(CommandLineError::kMissingFileName, m_strCommandOption);
        }
        const bool takesNoFile =
            command == ShellCommand::kAppRegister || command == ShellCommand::kAppUnregister;
        if (takesNoFile && !m_info.m_strFileName.empty()) {
            Fail(CommandLineError::kUnexpectedArgument, m_info.m_strFileName);
        }
        if (command == ShellCommand::kFileNew && !m_info.m_strFileName.empty()) {
            m_info.m_nShellCommand = ShellCommand::kFileOpen;
        }
    }

private:
    void SetCommand(ShellCommand command, const std::string& argument) {
        if (!m_strCommandOption.empty()) {
            Fail(CommandLineError::kConflictingOptions, argument);
            return;
        }
        m_strCommandOption = argument;
        m_info.m_nShellCommand = command;
    }

    // The first fault is the one reported.
    void Fail(CommandLineError error, const std::string& argument) {
        if (m_info.m_error == CommandLineError::kNone) {
            m_info.m_error = error;
            m_info.m_strErrorArgument = argument;
        }
    }

    CCommandLineInfo& m_info;
    std::string m_strCommandOption;
    size_t m_nWords = 0;
};

}  // namespace

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
