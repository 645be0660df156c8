// The real program, regval.exe or regval64.exe, under Wine: its registry, real files and the
// debug-output channel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/system/wine_session.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace fs = std::filesystem;

using Strings = std::vector<std::string>;

std::string Str(const char* bytes, size_t size) { return std::string(bytes, size); }

// The program under test, from the command line: system_tests ARCH PROGRAM.EXE.
std::string g_arch;
std::string g_program;

std::string Program() { return wine::WindowsPath(g_program); }
// Quoted, in case the build folder holds blanks.
std::string QuotedProgram() { return "\"" + Program() + "\" "; }

class SystemTest : public ::testing::Test {
 protected:
  SystemTest() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    key_ = "Software\\regval-system\\" + g_arch + "\\" + name;
    folder_ = fs::path(REGVAL_SCRATCH_DIR) / g_arch / name;
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }

  void SetUp() override {
    const std::string reason = wine::CannotRun(g_arch);
    if (!reason.empty()) {
      GTEST_SKIP() << reason << ": system tests of " << fs::path(g_program).filename().string()
                   << " skipped";
    }
  }

  // Creates the key, runs regval with the tail, then reads the named value back.
  wine::Report Run(const std::string& tail, const std::vector<Strings>& setup = {},
                   const char* readBack = nullptr, const std::string& root = "HKCU") {
    Strings arguments = {"key", root, key_};
    for (const Strings& verb : setup) arguments.insert(arguments.end(), verb.begin(), verb.end());
    const Strings run = wine::RunVerb(Program(), QuotedProgram() + tail);
    arguments.insert(arguments.end(), run.begin(), run.end());
    if (readBack != nullptr) arguments.insert(arguments.end(), {"get", root, key_, readBack});
    wine::Report report = wine::Regtool(arguments, g_arch);
    EXPECT_EQ(report.status, 0) << "regtool failed";
    EXPECT_GE(report.lines.size(), 2 + setup.size());
    // Drop the "ok" of every preparing verb: what is left is regval's exit and the read-back.
    const size_t prepared = std::min(report.lines.size(), 1 + setup.size());
    report.lines.erase(report.lines.begin(), report.lines.begin() + static_cast<long>(prepared));
    return report;
  }

  Strings Put(const char* name, unsigned type, const std::string& bytes) const {
    return {"put", "HKCU", key_, name, std::to_string(type), wine::Hex(bytes)};
  }

  std::string OutPath() const { return (folder_ / "out.txt").string(); }
  std::string WindowsOut() const { return wine::WindowsPath(OutPath()); }

  std::optional<std::string> OutFile() const {
    std::ifstream in(OutPath(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string key_;
  fs::path folder_;
};

struct WriteCase {
  std::string tail;  // after the program name; {key} stands for the test's key
  std::string exit;
  std::string stored;  // "type hex" as regtool prints it, or "missing"
  Strings debugStrings;
  const char* why;
};

std::string WithKey(std::string text, const std::string& key) {
  const size_t at = text.find("{key}");
  if (at != std::string::npos) text.replace(at, 5, key);
  return text;
}

TEST_F(SystemTest, Writes) {
  const WriteCase kCases[] = {
      {"W HKEY_CURRENT_USER {key} V Hello", "exit 0", "1 48656c6c6f00", {}, "a string"},
      {"w hkey_current_user {key} V", "exit 0", "1 00", {}, "four tokens store the empty string"},
      {"/Write HKEY_CURRENT_USER {key} V -5", "exit 0", "1 3500", {}, "leading - and / drop"},
      {"W\tHKEY_CURRENT_USER\t{key}\tV\tyes", "exit 0", "1 79657300", {}, "tabs separate"},
      {"W HKEY_CURRENT_USER {key} V Hello World", "exit 0", "1 48656c6c6f00", {},
       "tokens after the fifth are ignored"},
      {"W HKEY_CURRENT_USER {key} V caf\xE9", "exit 0", "1 636166e900", {}, "an ANSI byte"},
      {"W HKEY_CURRENT_USER {key}\\Missing V Hello", "exit 1", "missing",
       {"Failed to open key\n"}, "the key must exist"},
      {"W HKCU {key} V Hello", "exit 1", "missing", {}, "no short root names"},
      {"D HKEY_CURRENT_USER {key} V Hello", "exit 1", "missing", {}, "an unknown command"},
      {"W HKEY_CURRENT_USER {key}", "exit 1", "missing", {}, "three tokens"},
      {"", "exit 1", "missing", {}, "no arguments"},
  };
  const std::string base = key_;
  int index = 0;
  for (const WriteCase& c : kCases) {
    SCOPED_TRACE(c.why);
    // A key of its own per case, so no case sees another's value.
    key_ = base + "\\" + std::to_string(index++);
    const wine::Report report = Run(WithKey(c.tail, key_), {}, "V");
    EXPECT_THAT(report.lines, ElementsAre(c.exit, c.stored));
    EXPECT_THAT(report.debugStrings, ElementsAreArray(c.debugStrings));
  }
}

TEST_F(SystemTest, OnlyTheFallbackLoadsTheWindowSystem) {
  using ::testing::Contains;
  using ::testing::Not;
  const wine::Report success = Run("W HKEY_CURRENT_USER " + key_ + " V Hello");
  EXPECT_THAT(success.lines, ElementsAre("exit 0"));
  EXPECT_THAT(success.regvalDlls, Contains("advapi32.dll"));
  EXPECT_THAT(success.regvalDlls, Not(Contains("user32.dll")));
  EXPECT_THAT(success.regvalDlls, Not(Contains("gdi32.dll")));

  const wine::Report failure = Run("W HKEY_CURRENT_USER " + key_);
  EXPECT_THAT(failure.lines, ElementsAre("exit 1"));
  EXPECT_THAT(failure.regvalDlls, Contains("user32.dll"));
  EXPECT_THAT(failure.regvalDlls, Contains("gdi32.dll"));
}

TEST_F(SystemTest, ARefusedSetIsReported) {
  // The registry takes value names of at most 16383 characters.
  const std::string name(16384, 'n');
  const wine::Report report = Run("W HKEY_CURRENT_USER " + key_ + " " + name + " Hello");
  EXPECT_THAT(report.lines, ElementsAre("exit 1"));
  EXPECT_THAT(report.debugStrings, ElementsAre("Could not set new value\n"));
}

TEST_F(SystemTest, WritesBelowHkeyLocalMachine) {
  const wine::Report report =
      Run("W HKEY_LOCAL_MACHINE " + key_ + " V machine", {}, "V", "HKLM");
  EXPECT_THAT(report.lines, ElementsAre("exit 0", "1 6d616368696e6500"));
}

struct ReadCase {
  unsigned type;
  std::string stored;
  std::optional<std::string> file;  // nullopt: no file is created
  Strings debugStrings;
  const char* why;
};

TEST_F(SystemTest, Reads) {
  const ReadCase kCases[] = {
      {1, Str("Hello", 6), "Hello", {}, "a string"},
      {1, Str("a\nb\n", 5), "a\r\nb\r\n", {}, "LF becomes CR LF"},
      {1, Str("a\r\nb", 5), "a\r\r\nb", {}, "CR LF becomes CR CR LF"},
      {1, Str("\x1A%PATH%\x80\xE9\xFF", 10), "\x1A%PATH%\x80\xE9\xFF", {}, "other bytes unchanged"},
      {1, Str("", 1), "", {}, "the empty string makes an empty file"},
      {1, std::string(79, 'x') + '\0', std::string(79, 'x'), {}, "79 bytes and a zero fit"},
      {1, std::string(80, 'x') + '\0', std::nullopt, {"Could not query value\n"},
       "80 bytes and a zero do not"},
      {4, Str("A\0\0\0", 4), "A", {}, "a DWORD of 65"},
      {7, Str("one\0two\0\0", 9), "one", {}, "the first string of a multi-string"},
      {2, Str("%TEMP%\\x", 9), "%TEMP%\\x", {}, "an expandable string as stored"},
      {3, "DCBA", "DCBA", {}, "bytes without a zero"},
      {3, "", "", {}, "a value of zero length"},
  };
  for (const ReadCase& c : kCases) {
    SCOPED_TRACE(c.why);
    fs::remove(OutPath());
    const wine::Report report =
        Run("R HKEY_CURRENT_USER " + key_ + " V " + WindowsOut(), {Put("V", c.type, c.stored)});
    EXPECT_THAT(report.lines, ElementsAre(c.file ? "exit 0" : "exit 1"));
    EXPECT_EQ(OutFile(), c.file);
    EXPECT_THAT(report.debugStrings, ElementsAreArray(c.debugStrings));
  }
}

TEST_F(SystemTest, ReadReplacesAnExistingFileWhole) {
  std::ofstream(OutPath(), std::ios::binary) << "a much longer old content";
  const wine::Report report =
      Run("r hkey_current_user " + key_ + " V " + WindowsOut(), {Put("V", 1, Str("new", 4))});
  EXPECT_THAT(report.lines, ElementsAre("exit 0"));
  EXPECT_EQ(OutFile(), "new");
}

TEST_F(SystemTest, ReadFailures) {
  const struct {
    std::string tail;
    Strings debugStrings;
    const char* why;
  } kCases[] = {
      {"R HKEY_CURRENT_USER {key}\\Missing V " + WindowsOut(), {"Failed to open key\n"},
       "no such key"},
      {"R HKEY_CURRENT_USER {key} Missing " + WindowsOut(), {"Could not query value\n"},
       "no such value"},
      {"R HKEY_CURRENT_USER {key} V", {}, "no file name"},
      {"R HKEY_CURRENT_USER {key} V " + wine::WindowsPath((folder_ / "no" / "out.txt").string()),
       {}, "a folder that does not exist"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    const wine::Report report = Run(WithKey(c.tail, key_), {Put("V", 1, Str("x", 2))});
    EXPECT_THAT(report.lines, ElementsAre("exit 1"));
    EXPECT_THAT(report.debugStrings, ElementsAreArray(c.debugStrings));
    EXPECT_FALSE(OutFile().has_value());
    EXPECT_FALSE(fs::exists(folder_ / "no"));
  }
}

TEST_F(SystemTest, ProgramNameIsSkippedAsWindowsStartsIt) {
  const fs::path copy = folder_ / "a folder with blanks" / fs::path(g_program).filename();
  fs::create_directories(copy.parent_path());
  fs::copy_file(g_program, copy);
  const std::string program = wine::WindowsPath(copy.string());
  const struct {
    std::string line;
    const char* why;
  } kCases[] = {
      {"\"" + program + "\" W HKEY_CURRENT_USER {key} V quoted", "a quoted path with blanks"},
      {"\"" + program + "\"W HKEY_CURRENT_USER {key} V quoted", "no blank after the quote"},
      {copy.filename().string() + "\t \tW HKEY_CURRENT_USER {key} V quoted",
       "white space after the name"},
  };
  const std::string base = key_;
  int index = 0;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    const std::string key = base + "\\" + std::to_string(index++);
    Strings arguments = {"key", "HKCU", key};
    const Strings run = wine::RunVerb(program, WithKey(c.line, key));
    arguments.insert(arguments.end(), run.begin(), run.end());
    arguments.insert(arguments.end(), {"get", "HKCU", key, "V"});
    EXPECT_THAT(wine::Regtool(arguments, g_arch).lines,
                ElementsAre("ok", "exit 0", "1 71756f74656400"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no program; running them does.
  if (argc == 3) {
    g_arch = argv[1];
    g_program = argv[2];
  } else if (!::testing::GTEST_FLAG(list_tests)) {
    std::fprintf(stderr, "usage: system_tests ARCH PROGRAM.EXE\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
