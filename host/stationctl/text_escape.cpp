#include "text_escape.h"

#include <cstdio>

namespace stationctl {

std::string UnescapeText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == 'n') {
                result += '\n';
                ++i;
                continue;
            }
            if (text[i + 1] == '\\') {
                result += '\\';
                ++i;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

std::string EscapeForLine(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                result += hex;
            } else {
                result += c;
            }
        }
    }
    return result;
}

}  // namespace stationctl
