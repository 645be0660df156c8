// WinMain and the window shell, against the fake window system.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/shell.h"
#include "tests/fake_platform.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() { platform().AddKey(HKEY_CURRENT_USER, "Software\\Example"); }

  fake::Platform& platform() { return fake_.platform(); }

  int Start(const std::string& tail) {
    text_.assign(tail.begin(), tail.end());
    text_.push_back('\0');
    return WinMain(kInstance, nullptr, text_.data(), 10);
  }

  std::vector<std::string> WindowCalls() {
    std::vector<std::string> result;
    for (const std::string& call : fake_.platform().calls) {
      if (call.rfind("open ", 0) != 0 && call.rfind("set ", 0) != 0 && call != "close") {
        result.push_back(call);
      }
    }
    return result;
  }

  fake::Scope fake_;
  std::vector<char> text_;
};

TEST_F(ShellTest, SuccessfulCommandExitsWithZeroAndNoWindowSystem) {
  EXPECT_EQ(Start("W HKEY_CURRENT_USER Software\\Example Greeting Hello"), 0);
  EXPECT_THAT(WindowCalls(), IsEmpty());
}

TEST_F(ShellTest, FailedCommandRegistersTheClassAndEndsWithOne) {
  EXPECT_EQ(Start(""), 1);
  EXPECT_THAT(WindowCalls(),
              ElementsAre("load user32.dll", "load gdi32.dll", "LoadIconA 32512",
                          "LoadCursorA 32512", "GetStockObject 0",
                          "RegisterClassA GenericWClass", "PostQuitMessage 1"));
  ASSERT_EQ(platform().registeredClasses.size(), 1u);
  const WNDCLASSA& windowClass = platform().registeredClasses[0];
  EXPECT_EQ(windowClass.style, 0u);
  EXPECT_EQ(windowClass.lpfnWndProc, &ShellWindowProc);
  EXPECT_EQ(windowClass.cbClsExtra, 0);
  EXPECT_EQ(windowClass.cbWndExtra, 0);
  EXPECT_EQ(windowClass.hInstance, kInstance);
  EXPECT_EQ(windowClass.hIcon, reinterpret_cast<HICON>(0x1C0));
  EXPECT_EQ(windowClass.hCursor, reinterpret_cast<HCURSOR>(0xC00));
  EXPECT_EQ(windowClass.hbrBackground, reinterpret_cast<HBRUSH>(0xB0));
  EXPECT_STREQ(windowClass.lpszMenuName, "GenericMenu");
  EXPECT_STREQ(windowClass.lpszClassName, "GenericWClass");
}

TEST_F(ShellTest, TheQuitMessageThatEndsTheLoopGivesTheExitCode) {
  platform().messages = {fake::Message(WM_PAINT), fake::Message(WM_QUIT, 3)};
  EXPECT_EQ(Start("D HKEY_CURRENT_USER Software\\Example Greeting"), 3);
  EXPECT_THAT(WindowCalls(), testing::IsSupersetOf({"TranslateMessage 15", "DispatchMessageA 15"}));
}

TEST_F(ShellTest, WindowSystemFailuresEndWithOne) {
  const struct {
    const char* failLoadOf;
    const char* missingFunction;
    bool failRegisterClass;
    const char* why;
  } kCases[] = {
      {"user32.dll", "", false, "user32 does not load"},
      {"gdi32.dll", "", false, "gdi32 does not load"},
      {"", "GetStockObject", false, "a function is missing"},
      {"", "", true, "the class is not registered"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    platform().failLoadOf = c.failLoadOf;
    platform().missingFunction = c.missingFunction;
    platform().failRegisterClass = c.failRegisterClass;
    platform().calls.clear();
    EXPECT_EQ(Start("x"), 1);
    EXPECT_THAT(WindowCalls(), testing::Not(testing::Contains("PostQuitMessage 1")));
  }
}

TEST_F(ShellTest, AGetMessageErrorEndsTheLoopWithOne) {
  platform().failNextGetMessage = true;
  EXPECT_EQ(Start("x"), 1);
  EXPECT_THAT(WindowCalls(), testing::Not(testing::Contains(testing::StartsWith("Dispatch"))));
}

TEST_F(ShellTest, WindowProcedurePostsQuitZeroOnDestroyAndPassesTheRestOn) {
  ASSERT_EQ(LoadWindowApi(), 1);
  platform().defWindowProcResult = 42;
  EXPECT_EQ(ShellWindowProc(nullptr, WM_DESTROY, 0, 0), 0);
  EXPECT_EQ(ShellWindowProc(nullptr, WM_PAINT, 7, 9), 42);
  EXPECT_THAT(WindowCalls(), ElementsAre("load user32.dll", "load gdi32.dll", "PostQuitMessage 0",
                                         "DefWindowProcA 15 7 9"));
}

}  // namespace
