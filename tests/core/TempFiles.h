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

// A folder of this process under the temporary folder, with a trailing backslash.
inline std::wstring MakeTempFolder(const wchar_t* name)
{
    wchar_t tmp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tmp);
    std::wstring dir = std::wstring(tmp) + name + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ::CreateDirectoryW(dir.c_str(), NULL);
    return dir;
}

} // namespace SkinLibTest
