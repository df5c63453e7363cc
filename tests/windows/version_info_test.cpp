// The VERSIONINFO resource of both programs, as Explorer's Properties read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qdvz {
namespace {

std::wstring Wide(const char* utf8) {
  return test::Utf8Path(utf8).wstring();
}

TEST(VersionInfo, BothProgramsSayWhatAndWhichVersionTheyAre) {
  struct Row {
    const char* program;
    const char* fileName;
    const char* description;
  };
  const Row rows[] = {
      {QD2VZ, "qd2vz.exe", "QD→VZ線変形データ変換（コマンドライン版 qd2vz）"},
      {HENKAN, "henkan.exe", "QD→VZ線変形データ変換（ウィンドウ版 henkan）"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fileName);
    const std::wstring program = std::filesystem::absolute(row.program).wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(QDVZ_VERSION_MINOR, QDVZ_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, QDVZ_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The strings of the language and code page that the translation table names: Japanese.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto value = [&](const wchar_t* name) {
      wchar_t* text = nullptr;
      UINT characters = 0;
      if (!VerQueryValueW(info.data(), (std::wstring(block) + name).c_str(),
                          reinterpret_cast<void**>(&text), &characters)) {
        return std::wstring(L"(none)");
      }
      return std::wstring(text);
    };
    EXPECT_EQ(value(L"FileDescription"), Wide(row.description));
    EXPECT_EQ(value(L"FileVersion"), Wide(QDVZ_VERSION));
    EXPECT_EQ(value(L"ProductVersion"), Wide(QDVZ_VERSION));
    EXPECT_EQ(value(L"ProductName"), Wide("qdvz（QD→VZ線変形データ変換）"));
    EXPECT_EQ(value(L"OriginalFilename"), Wide(row.fileName));
    EXPECT_EQ(value(L"LegalCopyright").rfind(L"Copyright (C) ", 0), 0u);
  }
}

}  // namespace
}  // namespace qdvz
