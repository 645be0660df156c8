// SplitArguments: what becomes a token, what becomes NUL, and the run-on at capacity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/tokenizer.h"

namespace {

struct Split {
  std::vector<char> text;  // the tail after splitting, NULs and all
  std::vector<std::string> tokens;
};

Split SplitTail(const std::string& tail, int capacity = 10) {
  Split result{{tail.begin(), tail.end()}, {}};
  result.text.push_back('\0');
  std::vector<char*> slots(static_cast<size_t>(capacity), nullptr);
  int count = -1;
  SplitArguments(result.text.data(), &count, slots.data(), capacity);
  EXPECT_GE(count, 0);
  EXPECT_LE(count, capacity);
  for (int i = 0; i < count; ++i) {
    char* slot = slots[static_cast<size_t>(i)];
    EXPECT_GE(slot, result.text.data());
    EXPECT_LT(slot, result.text.data() + result.text.size());
    result.tokens.emplace_back(slot);
  }
  for (size_t i = static_cast<size_t>(count); i < slots.size(); ++i) EXPECT_EQ(slots[i], nullptr);
  return result;
}

using Tokens = std::vector<std::string>;

struct TokenCase {
  const char* tail;
  Tokens tokens;
  const char* why;
};

const TokenCase kCases[] = {
    {"W HKEY_CURRENT_USER Software\\Example Greeting Hello",
     {"W", "HKEY_CURRENT_USER", "Software\\Example", "Greeting", "Hello"}, "a typical write"},
    {"  /R", {"R"}, "leading separators make no empty token"},
    {"--w", {"w"}, "a run of separators is dropped"},
    {"a-b/c", {"a-b/c"}, "'-' and '/' inside a token stay in it"},
    {"x -5", {"x", "5"}, "a separator is removed only before a token"},
    {"", {}, "an empty tail"},
    {" -/ ", {}, "separators only"},
    {"a b c d e f g h i j k l", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j k l"},
     "the tenth token runs on through the rest"},
    {"a b c d e f g h i j ", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j "},
     "the tenth token keeps the blank after it"},
    {"abc\xA0" "def", {"abc\xA0" "def"}, "bytes from 0x80 up are token characters"},
    {"R\tHKEY_USERS\tKey\tName", {"R", "HKEY_USERS", "Key", "Name"}, "a tab separates"},
    {"W HKCU K V data\r\n", {"W", "HKCU", "K", "V", "data"}, "a trailing CR LF is no data"},
    {"a\vb\fc\nd", {"a", "b", "c", "d"}, "every white-space character separates"},
    {"\t\t-x", {"x"}, "leading white space makes no empty token"},
};

TEST(SplitArguments, Cases) {
  for (const TokenCase& c : kCases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(SplitTail(c.tail).tokens, c.tokens);
  }
}

TEST(SplitArguments, SeparatorsBecomeNulInPlace) {
  const Split split = SplitTail("W HKCU Key -5");
  const std::string expected("W\0HKCU\0Key\0\0" "5\0", 14);
  EXPECT_EQ(std::string(split.text.begin(), split.text.end()), expected);
}

TEST(SplitArguments, SeparatorsOnlyBecomeNul) {
  const Split split = SplitTail(" -/\t");
  EXPECT_EQ(std::string(split.text.begin(), split.text.end()), std::string(5, '\0'));
}

TEST(SplitArguments, CapacityCutsTheLastTokenNoMore) {
  EXPECT_EQ(SplitTail("a b c", 2).tokens, (Tokens{"a", "b c"}));
  EXPECT_EQ(SplitTail(" a b", 1).tokens, (Tokens{"a b"}));
}

TEST(SplitArguments, NullArgumentsOrNoCapacityWriteNothing) {
  char text[] = "a b";
  char* slots[2] = {nullptr, nullptr};
  int count = 7;
  SplitArguments(nullptr, &count, slots, 2);
  SplitArguments(text, &count, slots, 0);
  SplitArguments(text, &count, slots, -1);
  SplitArguments(text, &count, nullptr, 2);
  SplitArguments(text, nullptr, slots, 2);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(slots[0], nullptr);
  EXPECT_EQ(std::string(text, sizeof text), std::string("a b") + '\0');
}

}  // namespace
