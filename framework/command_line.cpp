#include "command_line.h"

void CCommandLineInfo::ParseParam(const char* param, bool isSwitch, bool /*isLast*/) {
    if (isSwitch || !m_strFileName.empty()) return;
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program name follows simpler rules: quotes group, nothing escapes.
const char* SplitProgramName(const char* p, std::vector<std::string>& arguments) {
    std::string name;
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p) {
        if (*p == '"')
            quoted = !quoted;
        else
            name += *p;
    }
    arguments.push_back(name);
    return p;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> arguments;
    if (!commandLine) return arguments;
    const char* p = SplitProgramName(commandLine, arguments);
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (!*p) break;
        std::string argument;
        bool quoted = false;
        while (*p && (quoted || !IsBlank(*p))) {
            size_t backslashes = 0;
            while (*p == '\\') {
                ++backslashes;
                ++p;
            }
            if (*p == '"') {
                // 2n backslashes before a quote give n and the quote groups;
                // 2n+1 give n and a literal quote.
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    argument += '"';
                } else if (quoted && p[1] == '"') {
                    argument += '"';  // "" inside quotes is a literal quote
                    ++p;
                } else {
                    quoted = !quoted;
                }
                ++p;
            } else {
                argument.append(backslashes, '\\');
                if (*p && (quoted || !IsBlank(*p))) argument += *p++;
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

void ParseCommandLineArguments(const std::vector<std::string>& arguments, CCommandLineInfo& info) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        const char* param = arguments[i].c_str();
        bool isSwitch = param[0] == '-' || param[0] == '/';
        if (isSwitch) ++param;
        info.ParseParam(param, isSwitch, i + 1 == arguments.size());
    }
}
