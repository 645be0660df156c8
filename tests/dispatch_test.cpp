// LookupRootKey and RunCommand: which command lines reach which registry operation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/dispatch.h"
#include "tests/fake_platform.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LookupRootKey, FindsEachRootByWholeNameInAnyCase) {
  const struct {
    const char* name;
    RootKey root;
  } kRoots[] = {
      {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"hkey_current_user", HKEY_CURRENT_USER},
      {"Hkey_Local_Machine", HKEY_LOCAL_MACHINE},   {"HKEY_USERS", HKEY_USERS},
      {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
      {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {"hKeY_dYn_DaTa", HKEY_DYN_DATA},
  };
  for (const auto& row : kRoots) {
    SCOPED_TRACE(row.name);
    RootKey root = nullptr;
    EXPECT_EQ(LookupRootKey(row.name, &root), 1);
    EXPECT_EQ(root, row.root);
  }
}

TEST(LookupRootKey, RejectsShortFormsAndPartialNames) {
  for (const char* name : {"HKLM", "HKCU", "HKEY_LOCAL_MACHINEX", "HKEY_LOCAL_MACHIN", "",
                           " HKEY_USERS", "HKEY_USERS\xA0", "HKEY\xDFUSERS"}) {
    SCOPED_TRACE(name);
    RootKey root = HKEY_USERS;
    EXPECT_EQ(LookupRootKey(name, &root), 0);
    EXPECT_EQ(root, nullptr) << "the root is reset to none";
  }
}

TEST(LookupRootKey, NullOutputIsLeftAlone) { EXPECT_EQ(LookupRootKey("HKEY_USERS", nullptr), 0); }

class RunCommandTest : public ::testing::Test {
 protected:
  RunCommandTest() { fake_.platform().AddKey(HKEY_CURRENT_USER, "Software\\Example"); }

  int Run(const std::string& tail) {
    text_.assign(tail.begin(), tail.end());
    text_.push_back('\0');
    return RunCommand(text_.data());
  }

  std::vector<std::string>& calls() { return fake_.platform().calls; }

  std::string Stored(const char* name) {
    const fake::Value* value =
        fake_.platform().FindValue(HKEY_CURRENT_USER, "Software\\Example", name);
    return value != nullptr ? std::string(value->bytes.begin(), value->bytes.end()) : "<none>";
  }

  fake::Scope fake_;
  std::vector<char> text_;
};

TEST_F(RunCommandTest, CommandLettersSelectTheWrite) {
  for (const char* command : {"W", "w", "Write", "/W", "-w", "wRONG"}) {
    SCOPED_TRACE(command);
    calls().clear();
    EXPECT_EQ(Run(std::string(command) + " HKEY_CURRENT_USER Software\\Example Greeting Hello"), 1);
    EXPECT_THAT(calls(), ElementsAre("open Software\\Example 3", "set Greeting 1", "close"));
    EXPECT_EQ(Stored("Greeting"), std::string("Hello") + '\0');
  }
}

TEST_F(RunCommandTest, CommandLettersSelectTheRead) {
  for (const char* command : {"R", "r", "Read", "/r", "-R"}) {
    SCOPED_TRACE(command);
    calls().clear();
    // No value and no file: the query is made and fails, so no file matters here.
    EXPECT_EQ(Run(std::string(command) + " hkey_current_user Software\\Example Missing"), 0);
    EXPECT_THAT(calls(), ElementsAre("open Software\\Example 3", "query Missing",
                                     "debug Could not query value\n", "close"));
  }
}

TEST_F(RunCommandTest, CommandsThatTouchNoRegistry) {
  const struct {
    const char* tail;
    const char* why;
  } kCases[] = {
      {"", "an empty tail"},
      {"   ", "separators only"},
      {"W HKEY_CURRENT_USER Software\\Example", "three tokens"},
      {"D HKEY_CURRENT_USER Software\\Example Greeting Hello", "an unknown command letter"},
      {"W HKLM Software\\Example Greeting Hello", "a short root name"},
      {"W HKEY_CURRENT_USERX Software\\Example Greeting Hello", "a longer root name"},
      {"5 HKEY_CURRENT_USER Software\\Example Greeting Hello", "a digit as command"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(Run(c.tail), 0);
    EXPECT_THAT(calls(), IsEmpty());
  }
  EXPECT_EQ(RunCommand(nullptr), 0);
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(RunCommandTest, ExtraTokensAreIgnored) {
  EXPECT_EQ(Run("W HKEY_CURRENT_USER Software\\Example Greeting Hello World and more"), 1);
  EXPECT_EQ(Stored("Greeting"), std::string("Hello") + '\0');
}

TEST_F(RunCommandTest, DataAfterAHyphenLosesIt) {
  EXPECT_EQ(Run("W HKEY_CURRENT_USER Software\\Example Number -5"), 1);
  EXPECT_EQ(Stored("Number"), std::string("5") + '\0');
}

TEST_F(RunCommandTest, FourTokensWriteTheEmptyString) {
  EXPECT_EQ(Run("W HKEY_CURRENT_USER Software\\Example Empty"), 1);
  EXPECT_EQ(Stored("Empty"), std::string(1, '\0'));
}

TEST_F(RunCommandTest, FourTokensReadButWriteNoFile) {
  fake_.platform().PutValue(HKEY_CURRENT_USER, "Software\\Example", "Greeting", REG_SZ,
                            fake::Bytes(std::string("Hi") + '\0'));
  EXPECT_EQ(Run("R HKEY_CURRENT_USER Software\\Example Greeting"), 0);
  EXPECT_THAT(calls(), ElementsAre("open Software\\Example 3", "query Greeting", "close"));
}

}  // namespace
