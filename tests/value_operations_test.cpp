// SetStringValue and QueryValueToFile against the fake registry and a scratch folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "registry/value_operations.h"
#include "tests/fake_platform.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kKey[] = "Software\\Example";

std::string Str(const char* bytes, size_t size) { return std::string(bytes, size); }

class ValueOperationsTest : public ::testing::Test {
 protected:
  ValueOperationsTest() {
    folder_ = std::filesystem::temp_directory_path() /
              ("regval-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    platform().AddKey(HKEY_CURRENT_USER, kKey);
  }
  ~ValueOperationsTest() override { std::filesystem::remove_all(folder_); }

  fake::Platform& platform() { return fake_.platform(); }

  void Put(const char* name, DWORD type, const std::string& bytes) {
    platform().PutValue(HKEY_CURRENT_USER, kKey, name, type, fake::Bytes(bytes));
  }

  std::string OutPath() const { return (folder_ / "out.txt").string(); }

  std::optional<std::string> OutFile() const {
    std::ifstream in(OutPath(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  void WriteOutFile(const std::string& content) const {
    std::ofstream(OutPath(), std::ios::binary) << content;
  }

  int Read(const char* name) { return QueryValueToFile(HKEY_CURRENT_USER, kKey, name, OutPath().c_str()); }

  fake::Scope fake_;
  std::filesystem::path folder_;
};

TEST_F(ValueOperationsTest, WriteStoresTheStringWithItsZero) {
  EXPECT_EQ(SetStringValue(HKEY_CURRENT_USER, kKey, "Greeting", "Hello"), 1);
  const fake::Value* value = platform().FindValue(HKEY_CURRENT_USER, kKey, "Greeting");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, REG_SZ);
  EXPECT_EQ(std::string(value->bytes.begin(), value->bytes.end()), Str("Hello", 6));
  EXPECT_THAT(platform().calls, ElementsAre("open Software\\Example 3", "set Greeting 1", "close"));
}

TEST_F(ValueOperationsTest, WriteWithoutTextStoresTheEmptyString) {
  EXPECT_EQ(SetStringValue(HKEY_CURRENT_USER, kKey, "Empty", nullptr), 1);
  const fake::Value* value = platform().FindValue(HKEY_CURRENT_USER, kKey, "Empty");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->bytes, std::vector<BYTE>{0});
}

TEST_F(ValueOperationsTest, WriteFailures) {
  EXPECT_EQ(SetStringValue(HKEY_CURRENT_USER, "Software\\Missing", "Greeting", "Hello"), 0);
  EXPECT_THAT(platform().calls,
              ElementsAre("open Software\\Missing 3", "debug Failed to open key\n"));

  platform().calls.clear();
  platform().failNextSet = ERROR_ACCESS_DENIED;
  EXPECT_EQ(SetStringValue(HKEY_CURRENT_USER, kKey, "Greeting", "Hello"), 0);
  EXPECT_THAT(platform().calls, ElementsAre("open Software\\Example 3", "set Greeting 1",
                                            "debug Could not set new value\n", "close"));
  EXPECT_EQ(platform().FindValue(HKEY_CURRENT_USER, kKey, "Greeting"), nullptr);
}

struct ReadCase {
  DWORD type;
  std::string stored;
  std::string file;
  const char* why;
};

const ReadCase kReadCases[] = {
    {REG_SZ, Str("Hello", 6), "Hello", "a string, without its zero"},
    {REG_SZ, Str("a\nb\n", 5), "a\r\nb\r\n", "LF becomes CR LF"},
    {REG_SZ, Str("a\r\nb", 5), "a\r\r\nb", "CR LF becomes CR CR LF"},
    {REG_SZ, Str("\r\x1A%PATH%\x80\xFF", 11), "\r\x1A%PATH%\x80\xFF", "other bytes unchanged"},
    {REG_SZ, Str("", 1), "", "the empty string"},
    {REG_SZ, std::string(79, 'x') + '\0', std::string(79, 'x'), "79 bytes fit the buffer"},
    {REG_DWORD, Str("A\0\0\0", 4), "A", "a DWORD of 65"},
    {REG_DWORD, "DCBA", "DCBA", "a DWORD without a zero byte"},
    {REG_MULTI_SZ, Str("one\0two\0\0", 9), "one", "only the first string of a multi-string"},
    {REG_EXPAND_SZ, Str("%TEMP%\\x", 9), "%TEMP%\\x", "references are not expanded"},
    {REG_SZ, "abc", "abc", "a string stored without its zero"},
    {REG_BINARY, "", "", "a value of zero length"},
    {REG_BINARY, std::string(80, '\x7F'), std::string(80, '\x7F'), "80 bytes without a zero"},
};

TEST_F(ValueOperationsTest, ReadWritesTheDataUpToTheFirstZero) {
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.why);
    Put("Value", c.type, c.stored);
    platform().calls.clear();
    EXPECT_EQ(Read("Value"), 1);
    EXPECT_EQ(OutFile(), c.file);
    EXPECT_THAT(platform().calls,
                ElementsAre("open Software\\Example 3", "query Value", "close", "fopen wb"));
  }
}

TEST_F(ValueOperationsTest, ReadOfLineFeedsDoublesThemWithinTheBuffer) {
  Put("Value", REG_SZ, std::string(79, '\n') + '\0');
  EXPECT_EQ(Read("Value"), 1);
  std::string expected;
  for (int i = 0; i < 79; ++i) expected += "\r\n";
  EXPECT_EQ(OutFile(), expected);
}

TEST_F(ValueOperationsTest, ReadReplacesAnExistingFileWhole) {
  WriteOutFile("a much longer old content");
  Put("Value", REG_SZ, Str("new", 4));
  EXPECT_EQ(Read("Value"), 1);
  EXPECT_EQ(OutFile(), "new");
}

TEST_F(ValueOperationsTest, ReadFailuresLeaveTheFileAlone) {
  const struct {
    const char* subkey;
    const char* name;
    LONG failQuery;
    const char* message;
    const char* why;
  } kCases[] = {
      {"Software\\Missing", "Value", ERROR_SUCCESS, "Failed to open key\n", "no such key"},
      {"Software\\ReadOnly", "Value", ERROR_SUCCESS, "Failed to open key\n",
       "a key that refuses the set right"},
      {kKey, "Missing", ERROR_SUCCESS, "Could not query value\n", "no such value"},
      {kKey, "Long", ERROR_SUCCESS, "Could not query value\n", "80 bytes and a zero"},
      {kKey, "Value", ERROR_ACCESS_DENIED, "Could not query value\n", "a refused query"},
  };
  platform().AddKey(HKEY_CURRENT_USER, "Software\\ReadOnly").refusesSetRight = true;
  platform().PutValue(HKEY_CURRENT_USER, "Software\\ReadOnly", "Value", REG_SZ, fake::Bytes("x"));
  Put("Value", REG_SZ, Str("x", 2));
  Put("Long", REG_SZ, std::string(80, 'x') + '\0');
  WriteOutFile("old");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    platform().calls.clear();
    platform().failNextQuery = c.failQuery;
    EXPECT_EQ(QueryValueToFile(HKEY_CURRENT_USER, c.subkey, c.name, OutPath().c_str()), 0);
    EXPECT_THAT(platform().DebugStrings(), ElementsAre(c.message));
    EXPECT_TRUE(platform().openKeys.empty()) << "every opened key is closed";
    EXPECT_EQ(OutFile(), "old");
  }
}

TEST_F(ValueOperationsTest, ReadWithoutFileNameQueriesAndClosesButWritesNothing) {
  Put("Value", REG_SZ, Str("x", 2));
  EXPECT_EQ(QueryValueToFile(HKEY_CURRENT_USER, kKey, "Value", nullptr), 0);
  EXPECT_THAT(platform().calls, ElementsAre("open Software\\Example 3", "query Value", "close"));
}

TEST_F(ValueOperationsTest, ReadIntoAMissingFolderFailsQuietly) {
  Put("Value", REG_SZ, Str("x", 2));
  const std::string path = (folder_ / "missing" / "out.txt").string();
  EXPECT_EQ(QueryValueToFile(HKEY_CURRENT_USER, kKey, "Value", path.c_str()), 0);
  EXPECT_THAT(platform().DebugStrings(), IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
}

}  // namespace
