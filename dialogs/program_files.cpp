#include "program_files.h"

#include <algorithm>
#include <cctype>

#include "text.h"

namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string ProgramOfCommand(const std::string& commandText, bool stripPath) {
    std::string text = AfxLowerCase(commandText);
    size_t end;
    if (size_t exe = text.find(".exe"); exe != std::string::npos)
        end = exe + 4;
    else if (size_t pif = text.find(".pif"); pif != std::string::npos)
        end = pif + 4;
    else if (text.find("dos box") != std::string::npos)
        end = text.size();
    else
        end = std::min(text.find(' '), text.size());
    text.erase(end);

    size_t first = 0;
    do {
        while (first < text.size() && IsSpace(text[first])) ++first;
        if (first < text.size() && text[first] == '"') ++first;
    } while (first < text.size() && text[first] == '"');
    size_t last = text.size();
    do {
        while (last > first && IsSpace(text[last - 1])) --last;
        if (last > first && text[last - 1] == '"') --last;
    } while (last > first && text[last - 1] == '"');
    text = text.substr(first, last - first);

    if (stripPath) {
        size_t slash = text.rfind('\\');
        if (slash != std::string::npos) text.erase(0, slash + 1);
    }
    return text;
}
