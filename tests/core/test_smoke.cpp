#include <windows.h>
#include <gtest/gtest.h>
#include <cwchar>
TEST(Smoke, Window) {
  HWND h = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, GetModuleHandleW(NULL), NULL);
  ASSERT_NE(h, nullptr);
  DestroyWindow(h);
  wchar_t buf[64]; _snwprintf(buf, 64, L"%s%d.png", L"png_", 3);
  EXPECT_STREQ(buf, L"png_3.png");
}
