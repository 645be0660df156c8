// The system tests: the real program, started as a debugger starts it, against the real registry,
// real files and the debug-output channel. A Windows program, so it runs the same on Windows and
// under Wine.
//   system_tests[64].exe [PROGRAM.exe [OTHER.exe]]
// PROGRAM is tested; with OTHER, the program of the other architecture, the two registry views are
// tested too. Without arguments: regval.exe and regval64.exe from this program's own folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "debug_run.h"
#include "scratch.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Not;

using Strings = std::vector<std::string>;

std::string Str(const char* bytes, size_t size) { return std::string(bytes, size); }

RegistryValue Sz(const char* bytes, size_t size) { return {REG_SZ, Str(bytes, size)}; }

std::string g_program;  // under test
std::string g_other;    // the other architecture's program, or empty

std::string FileName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

bool Is64BitProgram(const std::string& path) {
  DWORD type = 0;
  return GetBinaryTypeA(path.c_str(), &type) != 0 && type == SCS_64BIT_BINARY;
}

// The registry view a program works in, for looking where it wrote below HKEY_LOCAL_MACHINE.
REGSAM ViewOf(const std::string& program) {
  return Is64BitProgram(program) ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

// Runs program as a script would: its quoted path, a blank, then the tail.
DebugRun Regval(const std::string& program, const std::string& tail) {
  return RunUnderDebugger(program, "\"" + program + "\" " + tail);
}

// How a run ended, as one comparable line.
std::string Outcome(const DebugRun& run) {
  if (!run.started) return "not started: error " + std::to_string(run.startError);
  if (run.timedOut) return "timed out";
  return "exit " + std::to_string(run.exitCode);
}

std::string WithKey(std::string text, const std::string& key) {
  const size_t at = text.find("{key}");
  if (at != std::string::npos) text.replace(at, 5, key);
  return text;
}

class SystemTest : public ::testing::Test {
 protected:
  SystemTest()
      : name_(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        key_(ScratchKey() + "\\" + name_),
        folder_(ScratchFolder() + name_) {
    CreateDirectoryA(folder_.c_str(), nullptr);
    EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, key_), ERROR_SUCCESS);
  }

  // A key of its own for each case of a table, so no case sees another's value.
  std::string CaseKey(int index) const {
    const std::string key = key_ + "\\" + std::to_string(index);
    EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, key), ERROR_SUCCESS);
    return key;
  }

  std::string OutPath() const { return folder_ + "\\out.txt"; }

  const std::string name_;
  const std::string key_;
  const std::string folder_;
};

struct WriteCase {
  std::string tail;  // {key} stands for the case's key
  std::string outcome;
  std::optional<RegistryValue> stored;  // nullopt: no value
  Strings debugStrings;
  const char* why;
};

TEST_F(SystemTest, Writes) {
  const WriteCase kCases[] = {
      {"W HKEY_CURRENT_USER {key} V Hello", "exit 0", Sz("Hello", 6), {}, "a string"},
      {"w hkey_current_user {key} V", "exit 0", Sz("", 1), {},
       "four tokens store the empty string"},
      {"/Write HKEY_CURRENT_USER {key} V -5", "exit 0", Sz("5", 2), {}, "leading - and / drop"},
      {"W\tHKEY_CURRENT_USER\t{key}\tV\tyes", "exit 0", Sz("yes", 4), {}, "tabs separate"},
      {"W HKEY_CURRENT_USER {key} V Hello World", "exit 0", Sz("Hello", 6), {},
       "tokens after the fifth are ignored"},
      {"W HKEY_CURRENT_USER {key}\\Missing V Hello", "exit 1", std::nullopt,
       {"Failed to open key\n"}, "the key must exist"},
      {"W HKCU {key} V Hello", "exit 1", std::nullopt, {}, "no short root names"},
      {"D HKEY_CURRENT_USER {key} V Hello", "exit 1", std::nullopt, {}, "an unknown command"},
      {"W HKEY_CURRENT_USER {key}", "exit 1", std::nullopt, {}, "three tokens"},
      {"", "exit 1", std::nullopt, {}, "no arguments"},
  };
  int index = 0;
  for (const WriteCase& c : kCases) {
    SCOPED_TRACE(c.why);
    const std::string key = CaseKey(index++);
    const DebugRun run = Regval(g_program, WithKey(c.tail, key));
    EXPECT_EQ(Outcome(run), c.outcome);
    EXPECT_THAT(run.debugStrings, ElementsAreArray(c.debugStrings));
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, key, "V"), c.stored);
  }
}

TEST_F(SystemTest, OnlyTheFallbackLoadsTheWindowSystem) {
  const DebugRun success = Regval(g_program, "W HKEY_CURRENT_USER " + key_ + " V Hello");
  EXPECT_EQ(Outcome(success), "exit 0");
  EXPECT_THAT(success.dlls, Contains("advapi32.dll"));
  EXPECT_THAT(success.dlls, Not(Contains("user32.dll")));
  EXPECT_THAT(success.dlls, Not(Contains("gdi32.dll")));

  const DebugRun failure = Regval(g_program, "W HKEY_CURRENT_USER " + key_);
  EXPECT_EQ(Outcome(failure), "exit 1");
  EXPECT_THAT(failure.dlls, Contains("user32.dll"));
  EXPECT_THAT(failure.dlls, Contains("gdi32.dll"));
}

TEST_F(SystemTest, ARefusedSetIsReported) {
  // The registry takes value names of at most 16383 characters.
  const std::string name(16384, 'n');
  const DebugRun run = Regval(g_program, "W HKEY_CURRENT_USER " + key_ + " " + name + " Hello");
  EXPECT_EQ(Outcome(run), "exit 1");
  EXPECT_THAT(run.debugStrings, ElementsAre("Could not set new value\n"));
}

// Wine runs every program with administrator rights; Windows only an elevated one.
TEST_F(SystemTest, WritesBelowHkeyLocalMachine) {
  const REGSAM view = ViewOf(g_program);
  const LONG created = CreateKey(HKEY_LOCAL_MACHINE, key_, view);
  if (created == ERROR_ACCESS_DENIED) {
    GTEST_SKIP() << "needs administrator rights: HKEY_LOCAL_MACHINE is not writable here";
  }
  ASSERT_EQ(created, ERROR_SUCCESS);
  const DebugRun run = Regval(g_program, "W HKEY_LOCAL_MACHINE " + key_ + " V machine");
  EXPECT_EQ(Outcome(run), "exit 0");
  EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, key_, "V", view), Sz("machine", 8));
}

// Windows keeps REG_SZ data and the command line as UTF-16 and converts them through the ANSI
// code page; in code page 1252 (Western Windows, and Wine's default) these bytes come back as
// they went in.
TEST_F(SystemTest, AnsiBytesPassUnchanged) {
  if (GetACP() != 1252) GTEST_SKIP() << "expects ANSI code page 1252, not " << GetACP();
  const DebugRun write = Regval(g_program, "W HKEY_CURRENT_USER " + key_ + " V caf\xE9");
  EXPECT_EQ(Outcome(write), "exit 0");
  EXPECT_EQ(GetValue(HKEY_CURRENT_USER, key_, "V"), Sz("caf\xE9", 5));

  ASSERT_EQ(PutValue(HKEY_CURRENT_USER, key_, "R", REG_SZ, Str("\x80\xE9\xFF", 4)), ERROR_SUCCESS);
  const DebugRun read = Regval(g_program, "R HKEY_CURRENT_USER " + key_ + " R " + OutPath());
  EXPECT_EQ(Outcome(read), "exit 0");
  EXPECT_EQ(ReadFileBytes(OutPath()), "\x80\xE9\xFF");
}

struct ReadCase {
  DWORD type;
  std::string stored;
  std::optional<std::string> file;  // nullopt: no file is created
  Strings debugStrings;
  const char* why;
};

TEST_F(SystemTest, Reads) {
  const ReadCase kCases[] = {
      {REG_SZ, Str("Hello", 6), "Hello", {}, "a string"},
      {REG_SZ, Str("a\nb\n", 5), "a\r\nb\r\n", {}, "LF becomes CR LF"},
      {REG_SZ, Str("a\r\nb", 5), "a\r\r\nb", {}, "CR LF becomes CR CR LF"},
      {REG_SZ, Str("\x1A%PATH%", 8), "\x1A%PATH%", {}, "other bytes unchanged"},
      {REG_SZ, Str("", 1), "", {}, "the empty string makes an empty file"},
      {REG_SZ, std::string(79, 'x') + '\0', std::string(79, 'x'), {}, "79 bytes and a zero fit"},
      {REG_SZ, std::string(80, 'x') + '\0', std::nullopt, {"Could not query value\n"},
       "80 bytes and a zero do not"},
      // Wine adds the missing zero when the value is stored, Windows does not: the file is the
      // same on both, as only the returned bytes are written.
      {REG_SZ, "abc", "abc", {}, "a string stored without its zero"},
      {REG_DWORD, Str("A\0\0\0", 4), "A", {}, "a DWORD of 65"},
      {REG_MULTI_SZ, Str("one\0two\0\0", 9), "one", {}, "the first string of a multi-string"},
      {REG_EXPAND_SZ, Str("%TEMP%\\x", 9), "%TEMP%\\x", {}, "an expandable string as stored"},
      {REG_BINARY, "DCBA", "DCBA", {}, "bytes without a zero"},
      {REG_BINARY, "", "", {}, "a value of zero length"},
  };
  int index = 0;
  for (const ReadCase& c : kCases) {
    SCOPED_TRACE(c.why);
    const std::string key = CaseKey(index++);
    ASSERT_EQ(PutValue(HKEY_CURRENT_USER, key, "V", c.type, c.stored), ERROR_SUCCESS);
    DeleteFileA(OutPath().c_str());
    const DebugRun run = Regval(g_program, "R HKEY_CURRENT_USER " + key + " V " + OutPath());
    EXPECT_EQ(Outcome(run), c.file ? "exit 0" : "exit 1");
    EXPECT_EQ(ReadFileBytes(OutPath()), c.file);
    EXPECT_THAT(run.debugStrings, ElementsAreArray(c.debugStrings));
  }
}

TEST_F(SystemTest, ReadReplacesAnExistingFileWhole) {
  WriteFileBytes(OutPath(), "a much longer old content");
  ASSERT_EQ(PutValue(HKEY_CURRENT_USER, key_, "V", REG_SZ, Str("new", 4)), ERROR_SUCCESS);
  const DebugRun run = Regval(g_program, "r hkey_current_user " + key_ + " V " + OutPath());
  EXPECT_EQ(Outcome(run), "exit 0");
  EXPECT_EQ(ReadFileBytes(OutPath()), "new");
}

TEST_F(SystemTest, ReadFailures) {
  ASSERT_EQ(PutValue(HKEY_CURRENT_USER, key_, "V", REG_SZ, Str("x", 2)), ERROR_SUCCESS);
  const std::string missingFolder = folder_ + "\\no";
  const struct {
    std::string tail;
    Strings debugStrings;
    const char* why;
  } kCases[] = {
      {"R HKEY_CURRENT_USER {key}\\Missing V " + OutPath(), {"Failed to open key\n"},
       "no such key"},
      {"R HKEY_CURRENT_USER {key} Missing " + OutPath(), {"Could not query value\n"},
       "no such value"},
      {"R HKEY_CURRENT_USER {key} V", {}, "no file name"},
      {"R HKEY_CURRENT_USER {key} V " + missingFolder + "\\out.txt", {},
       "a folder that does not exist"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    const DebugRun run = Regval(g_program, WithKey(c.tail, key_));
    EXPECT_EQ(Outcome(run), "exit 1");
    EXPECT_THAT(run.debugStrings, ElementsAreArray(c.debugStrings));
    EXPECT_FALSE(Exists(OutPath()));
    EXPECT_FALSE(Exists(missingFolder));
  }
}

TEST_F(SystemTest, ProgramNameIsSkippedAsWindowsStartsIt) {
  const std::string folder = folder_ + "\\a folder with blanks";
  const std::string copy = folder + "\\" + FileName(g_program);
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_NE(CopyFileA(g_program.c_str(), copy.c_str(), TRUE), 0);
  const struct {
    std::string line;
    const char* why;
  } kCases[] = {
      {"\"" + copy + "\" W HKEY_CURRENT_USER {key} V quoted", "a quoted path with blanks"},
      {"\"" + copy + "\"W HKEY_CURRENT_USER {key} V quoted", "no blank after the quote"},
      {FileName(copy) + "\t \tW HKEY_CURRENT_USER {key} V quoted", "white space after the name"},
  };
  int index = 0;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    const std::string key = CaseKey(index++);
    EXPECT_EQ(Outcome(RunUnderDebugger(copy, WithKey(c.line, key))), "exit 0");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, key, "V"), Sz("quoted", 7));
  }
}

// 64-bit Windows keeps two views of HKEY_LOCAL_MACHINE\Software: regval.exe works in the 32-bit
// one (Software\WOW6432Node to 64-bit programs), regval64.exe in the 64-bit one.
class RegistryViews : public SystemTest {
 protected:
  void SetUp() override {
    if (g_other.empty()) GTEST_SKIP() << "needs the program of the other architecture as well";
    BOOL wow64 = FALSE;
    if (sizeof(void*) == 4 && (IsWow64Process(GetCurrentProcess(), &wow64) == 0 || !wow64)) {
      GTEST_SKIP() << "32-bit Windows has a single registry view";
    }
    regval32_ = Is64BitProgram(g_program) ? g_other : g_program;
    regval64_ = Is64BitProgram(g_program) ? g_program : g_other;
    for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      const LONG created = CreateKey(HKEY_LOCAL_MACHINE, key_, view);
      if (created == ERROR_ACCESS_DENIED) {
        GTEST_SKIP() << "needs administrator rights: HKEY_LOCAL_MACHINE is not writable here";
      }
      ASSERT_EQ(created, ERROR_SUCCESS);
    }
  }

  std::string regval32_;
  std::string regval64_;
};

TEST_F(RegistryViews, EachProgramWritesItsOwnView) {
  const std::string tail = "W HKEY_LOCAL_MACHINE " + key_ + " V ";
  EXPECT_EQ(Outcome(Regval(regval32_, tail + "by32")), "exit 0");
  EXPECT_EQ(Outcome(Regval(regval64_, tail + "by64")), "exit 0");
  EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, key_, "V", KEY_WOW64_32KEY), Sz("by32", 5));
  EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, key_, "V", KEY_WOW64_64KEY), Sz("by64", 5));
}

TEST_F(RegistryViews, EachProgramReadsItsOwnView) {
  ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, key_, "V", REG_SZ, Str("in32", 5), KEY_WOW64_32KEY),
            ERROR_SUCCESS);
  ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, key_, "V", REG_SZ, Str("in64", 5), KEY_WOW64_64KEY),
            ERROR_SUCCESS);
  const std::string tail = "R HKEY_LOCAL_MACHINE " + key_ + " V " + OutPath();
  EXPECT_EQ(Outcome(Regval(regval32_, tail)), "exit 0");
  EXPECT_EQ(ReadFileBytes(OutPath()), "in32");
  EXPECT_EQ(Outcome(Regval(regval64_, tail)), "exit 0");
  EXPECT_EQ(ReadFileBytes(OutPath()), "in64");
}

// Makes the scratch key and folder before the first test and removes them after the last, also
// when tests failed.
class Scratch : public ::testing::Environment {
 public:
  void SetUp() override { CreateScratch(); }
  void TearDown() override { RemoveScratch(); }
};

std::string FullPath(const std::string& path) {
  char full[MAX_PATH * 2];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    g_program = FullPath(argv[1]);
    g_other = argc > 2 ? FullPath(argv[2]) : "";
  } else {
    std::string self(MAX_PATH * 2, '\0');
    self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
    const std::string folder = self.substr(0, self.find_last_of("\\/") + 1);
    const bool is64 = sizeof(void*) == 8;
    g_program = folder + (is64 ? "regval64.exe" : "regval.exe");
    g_other = folder + (is64 ? "regval.exe" : "regval64.exe");
    if (!Exists(g_other)) g_other.clear();
  }
  if (!Exists(g_program)) {
    std::fprintf(stderr, "system_tests: no program to test at %s\n", g_program.c_str());
    return 2;
  }
  std::printf("Testing %s%s%s\n", g_program.c_str(), g_other.empty() ? "" : ", views with ",
              g_other.c_str());
  ::testing::AddGlobalTestEnvironment(new Scratch);
  return RUN_ALL_TESTS();
}
