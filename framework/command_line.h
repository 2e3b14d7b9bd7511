// The command line of a Windows program: split into arguments as the C
// runtime splits it, each argument handed to an overridable ParseParam with a
// leading "/" or "-" taken off and reported as a switch.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen };

    virtual ~CCommandLineInfo() = default;

    // The base class keeps the first argument that is not a switch as the
    // document to open and ignores everything else.
    virtual void ParseParam(const char* param, bool isSwitch, bool isLast);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};

// Splits a command line as the C runtime does: blanks separate arguments,
// double quotes group them, backslashes escape a quote only when they stand
// right before it. The program name is the first element.
std::vector<std::string> SplitCommandLine(const char* commandLine);

// Hands every argument after the program name to info.ParseParam.
void ParseCommandLineArguments(const std::vector<std::string>& arguments, CCommandLineInfo& info);
