// The two registry views of 64-bit Windows: regval.exe works in the 32-bit one (Software\WOW6432Node
// below HKEY_LOCAL_MACHINE, as 64-bit programs see it), regval64.exe in the 64-bit one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/system/wine_session.h"

namespace {

using ::testing::ElementsAre;

namespace fs = std::filesystem;

// Where each program's HKEY_LOCAL_MACHINE\Software\regval-views lies for the 64-bit helper.
const char kView64[] = "Software\\regval-views";
const char kView32[] = "Software\\WOW6432Node\\regval-views";

class RegistryViews : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = wine::CannotRun("i686");
    if (!reason.empty()) GTEST_SKIP() << reason << ": the registry views test skipped";
  }

  // Runs program with the tail, after the helper verbs in setup; returns the helper's lines.
  static std::vector<std::string> Run(const char* program, const std::string& tail,
                                      std::vector<std::string> setup) {
    const std::string path = wine::WindowsPath(program);
    const std::vector<std::string> run = wine::RunVerb(path, "\"" + path + "\" " + tail);
    setup.insert(setup.end(), run.begin(), run.end());
    return wine::Regtool(setup).lines;
  }
};

TEST_F(RegistryViews, EachProgramWritesItsOwnView) {
  const std::vector<std::string> keys = {"key", "HKLM", kView64, "key", "HKLM", kView32};
  const std::string tail = "W HKEY_LOCAL_MACHINE Software\\regval-views Written ";
  EXPECT_THAT(Run(REGVAL_EXE, tail + "by32", keys), ElementsAre("ok", "ok", "exit 0"));
  EXPECT_THAT(Run(REGVAL64_EXE, tail + "by64", keys), ElementsAre("ok", "ok", "exit 0"));
  EXPECT_THAT(wine::Regtool({"get", "HKLM", kView32, "Written", "get", "HKLM", kView64, "Written"})
                  .lines,
              ElementsAre("1 6279333200", "1 6279363400"));
}

TEST_F(RegistryViews, EachProgramReadsItsOwnView) {
  const std::vector<std::string> values = {
      "key", "HKLM", kView64, "put", "HKLM", kView64, "Read", "1", wine::Hex(std::string("in64\0", 5)),
      "key", "HKLM", kView32, "put", "HKLM", kView32, "Read", "1", wine::Hex(std::string("in32\0", 5))};
  const fs::path out = fs::path(REGVAL_SCRATCH_DIR) / "views-out.txt";
  const std::string tail =
      "R HKEY_LOCAL_MACHINE Software\\regval-views Read " + wine::WindowsPath(out.string());
  const auto fileText = [&out] {
    std::ifstream in(out, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_THAT(Run(REGVAL_EXE, tail, values), ElementsAre("ok", "ok", "ok", "ok", "exit 0"));
  EXPECT_EQ(fileText(), "in32");
  EXPECT_THAT(Run(REGVAL64_EXE, tail, values), ElementsAre("ok", "ok", "ok", "ok", "exit 0"));
  EXPECT_EQ(fileText(), "in64");
}

}  // namespace
