// CommandTailFrom: where the command tail starts on the process command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/command_tail.h"
#include "tests/fake_platform.h"

namespace {

struct TailCase {
  std::string line;
  std::string tail;
  const char* why;
};

const TailCase kCases[] = {
    {"regval.exe W HKCU", "W HKCU", "an unquoted name ends at a blank"},
    {"regval.exe", "", "no arguments give an empty tail"},
    {"", "", "an empty line"},
    {"regval.exe \t\r\n W", "W", "every byte 0x01-0x20 after the name is skipped"},
    {"regval.exe\tW", "W", "a tab ends an unquoted name"},
    {"\"C:\\Program Files\\regval.exe\" W x", "W x", "a quoted name runs to its closing quote"},
    {"\"C:\\a b\\regval.exe\"W x", "W x", "the tail starts right after the closing quote"},
    {"\"C:\\a b\\regval.exe W x", "", "without a closing quote the name takes the line"},
    {"\"\" R x", "R x", "an empty quoted name"},
    {"C:\\a\"b c\"\\regval.exe W", "c\"\\regval.exe W", "a quote inside an unquoted name"},
    {"C:\\r\xE9gval.exe W", "W", "bytes from 0x80 up belong to the name"},
    {"regval.exe \xA0W", "\xA0W", "a byte from 0x80 up is not skipped as blank"},
    {"regval.exe W \"q\" ", "W \"q\" ", "the tail is left as it is"},
};

TEST(CommandTailFrom, Cases) {
  for (const TailCase& c : kCases) {
    SCOPED_TRACE(c.why);
    std::vector<char> line(c.line.begin(), c.line.end());
    line.push_back('\0');
    char* tail = CommandTailFrom(line.data());
    ASSERT_GE(tail, line.data());
    ASSERT_LT(tail, line.data() + line.size()) << "a pointer into the line";
    EXPECT_EQ(std::string(tail), c.tail);
  }
}

TEST(CommandTailFrom, DoubleByteCharactersStayWholeInsideQuotes) {
  fake::Scope fake;
  fake.platform().leadByteRanges = {{0x81, 0x9F}, {0xE0, 0xFC}};  // as in code page 932
  const struct {
    std::string line;
    std::string tail;
    const char* why;
  } kDoubleByteCases[] = {
      {"\"C:\\\x83\"x.exe\" W", "W", "a trail byte equal to a quote does not close the name"},
      {"\"C:\\x\x83", "", "a lead byte at the very end takes no terminator along"},
      {"\"C:\\x.exe\"\x83 W", "\x83 W", "outside the quotes a lead byte is an ordinary byte"},
  };
  for (const auto& c : kDoubleByteCases) {
    SCOPED_TRACE(c.why);
    std::vector<char> line(c.line.begin(), c.line.end());
    line.push_back('\0');
    EXPECT_EQ(std::string(CommandTailFrom(line.data())), c.tail);
  }
}

TEST(CommandTailFrom, NoLineGivesAWritableEmptyTail) {
  char* tail = CommandTailFrom(nullptr);
  ASSERT_NE(tail, nullptr);
  EXPECT_EQ(*tail, '\0');
}

}  // namespace
