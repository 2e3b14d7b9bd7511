#include "text_escape.h"

#include <gtest/gtest.h>

using namespace stationctl;

TEST(UnescapeText, BackslashNBecomesALineFeed) {
    EXPECT_EQ(UnescapeText("Disk full\\nSave your work"), "Disk full\nSave your work");
    EXPECT_EQ(UnescapeText("\\n\\n"), "\n\n");
}

TEST(UnescapeText, OtherBackslashesStaySoPathsNeedNoDoubling) {
    EXPECT_EQ(UnescapeText("C:\\temp\\x.txt"), "C:\\temp\\x.txt");
    EXPECT_EQ(UnescapeText("ends with \\"), "ends with \\");
}

TEST(UnescapeText, DoubledBackslashIsOneSoBackslashNCanBeWritten) {
    EXPECT_EQ(UnescapeText("C:\\\\new"), "C:\\new");
    EXPECT_EQ(UnescapeText("\\\\\\n"), "\\\n");
}

TEST(EscapeForLine, KeepsEachTextOnOneLine) {
    EXPECT_EQ(EscapeForLine("A\nB\r\nC\tD"), "A\\nB\\r\\nC\\tD");
    EXPECT_EQ(EscapeForLine(std::string("E\x08"
                                        "F\x7F",
                                        4)),
              "E\\x08F\\x7F");
    EXPECT_EQ(EscapeForLine(std::string("\x1B", 1)), "\\x1B");
}

TEST(EscapeForLine, BackslashIsDoubledSoTheLineReadsBackUnambiguously) {
    EXPECT_EQ(EscapeForLine("C:\\new"), "C:\\\\new");
    EXPECT_EQ(UnescapeText(EscapeForLine("C:\\new\nnext")), "C:\\new\nnext");
}

TEST(EscapeForLine, LeavesPrintableAndHighBytesAlone) {
    EXPECT_EQ(EscapeForLine("Caf\xE9 ~ 100%"), "Caf\xE9 ~ 100%");
}
