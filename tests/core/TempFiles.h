#pragma once
// Folders and files that tests make under the temporary folder.
#include <windows.h>

#include <string>

namespace SkinLibTest {

inline bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    ::CloseHandle(h);
    return ok && written == bytes.size();
}

// This process's mark in the names of files that processes make in one place.
// Process ids are numbered per Wine server, and the programs of the build
// folder's prefixes (the main one, the PIN tests', a fuzz run's) share one drive:
// the mark adds the prefix's name.
inline std::wstring ProcessMark()
{
    std::wstring mark = std::to_wstring(::GetCurrentProcessId());
    wchar_t szPrefix[MAX_PATH] = L"";
    const DWORD cch = ::GetEnvironmentVariableW(L"WINEPREFIX", szPrefix, MAX_PATH);
    std::wstring prefix(szPrefix, cch < MAX_PATH ? cch : 0);
    while (!prefix.empty() && (prefix.back() == L'/' || prefix.back() == L'\\')) prefix.pop_back();
    if (!prefix.empty()) mark += L"_" + prefix.substr(prefix.find_last_of(L"/\\") + 1);
    return mark;
}

// A folder of this process under the temporary folder, with a trailing backslash.
inline std::wstring MakeTempFolder(const wchar_t* name)
{
    wchar_t tmp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tmp);
    std::wstring dir = std::wstring(tmp) + name + L"_" + ProcessMark() + L"\\";
    ::CreateDirectoryW(dir.c_str(), NULL);
    return dir;
}

} // namespace SkinLibTest
