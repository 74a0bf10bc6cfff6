#pragma once
// A copy of a program whose embedded skin archive (resource 109 of type
// "ZIPRES") is empty or damaged, made beside the program so that it finds the
// same files there, and removed again when the object goes.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFiles.h"
#include "WindowDriver.h"

namespace SkinLibTest {

enum ArchiveDamage
{
    ARCHIVE_EMPTY,          // a resource of no bytes
    ARCHIVE_TRUNCATED,      // the first half of the archive: no directory at its end
    ARCHIVE_BAD_DIRECTORY,  // whole, but the directory's first record lost its signature
};

class CDamagedSkinCopy
{
public:
    CDamagedSkinCopy(const std::wstring& sExe, ArchiveDamage damage)
    {
        static int s_nCount = 0;
        Resource archive;
        if (!ReadArchive(sExe, &archive)) return;
        const std::wstring sCopy =
            sExe.substr(0, sExe.size() - 4) + L"_damaged_" + ProcessMark() + L"_" + std::to_wstring(++s_nCount) + L".exe";
        if (!::CopyFileW(sExe.c_str(), sCopy.c_str(), FALSE)) return;
        m_sPath = sCopy;
        m_bPatched = damage == ARCHIVE_EMPTY ? EmptyResource(sCopy, archive) : ReplaceResource(sCopy, damage, archive);
    }
    CDamagedSkinCopy(const CDamagedSkinCopy&) = delete;
    CDamagedSkinCopy& operator=(const CDamagedSkinCopy&) = delete;
    ~CDamagedSkinCopy()
    {
        if (!m_sPath.empty()) ::DeleteFileW(m_sPath.c_str());
    }

    // The copy; empty when it could not be made.
    std::wstring Path() const { return m_bPatched ? m_sPath : std::wstring(); }

private:
    struct Resource
    {
        std::vector<BYTE> bytes;
        WORD wLanguage = 0;
        // The resource's data entry as the file holds it: where the bytes lie (an
        // address relative to the image) and how many there are.
        DWORD adwEntry[2] = {};
    };

    static bool ReadArchive(const std::wstring& sExe, Resource* pResource)
    {
        // Mapped as an image, so that addresses in it are relative to its base.
        HMODULE hModule = ::LoadLibraryExW(sExe.c_str(), NULL, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (hModule == NULL) return false;
        // The copy's resource replaces the original only under the same language.
        ::EnumResourceLanguagesW(
            hModule, L"ZIPRES", MAKEINTRESOURCEW(109),
            [](HMODULE, LPCWSTR, LPCWSTR, WORD wLanguage, LONG_PTR lParam) -> BOOL {
                *reinterpret_cast<WORD*>(lParam) = wLanguage;
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&pResource->wLanguage));
        HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(109), L"ZIPRES");
        HGLOBAL hData = hResource != NULL ? ::LoadResource(hModule, hResource) : NULL;
        const BYTE* pData = hData != NULL ? static_cast<const BYTE*>(::LockResource(hData)) : NULL;
        if (pData != NULL) {
            const DWORD cbData = ::SizeofResource(hModule, hResource);
            pResource->bytes.assign(pData, pData + cbData);
            const ULONG_PTR uBase = reinterpret_cast<ULONG_PTR>(hModule) & ~ULONG_PTR(3);
            pResource->adwEntry[0] = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(pData) - uBase);
            pResource->adwEntry[1] = cbData;
        }
        ::FreeLibrary(hModule);
        return !pResource->bytes.empty();
    }

    // Wine will not update a resource to no bytes: the data entry's size is zeroed
    // in the file instead.
    static bool EmptyResource(const std::wstring& sCopy, const Resource& archive)
    {
        HANDLE hFile = ::CreateFileW(sCopy.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (hFile == INVALID_HANDLE_VALUE) return false;
        std::vector<BYTE> file(::GetFileSize(hFile, NULL));
        DWORD cbDone = 0;
        bool bDone = ::ReadFile(hFile, file.data(), static_cast<DWORD>(file.size()), &cbDone, NULL) &&
                     cbDone == file.size();
        const BYTE* pEntry = reinterpret_cast<const BYTE*>(archive.adwEntry);
        auto it = std::search(file.begin(), file.end(), pEntry, pEntry + sizeof(archive.adwEntry));
        bDone = bDone && it != file.end();
        if (bDone) {
            const DWORD dwNoBytes = 0;
            const LONG nSizeAt = static_cast<LONG>(it - file.begin()) + sizeof(DWORD);
            bDone = ::SetFilePointer(hFile, nSizeAt, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                    ::WriteFile(hFile, &dwNoBytes, sizeof(dwNoBytes), &cbDone, NULL) && cbDone == sizeof(dwNoBytes);
        }
        ::CloseHandle(hFile);
        return bDone;
    }

    static bool ReplaceResource(const std::wstring& sCopy, ArchiveDamage damage, const Resource& archive)
    {
        std::vector<BYTE> bytes = archive.bytes;
        if (damage == ARCHIVE_TRUNCATED) {
            bytes.resize(bytes.size() / 2);
        } else {
            static const BYTE kDirectoryRecord[] = {'P', 'K', 1, 2};
            auto it = std::search(bytes.begin(), bytes.end(), kDirectoryRecord, kDirectoryRecord + 4);
            if (it == bytes.end()) return false;
            it[2] = it[3] = 0;
        }
        HANDLE hUpdate = ::BeginUpdateResourceW(sCopy.c_str(), FALSE);
        if (hUpdate == NULL) return false;
        const bool bUpdated = ::UpdateResourceW(hUpdate, L"ZIPRES", MAKEINTRESOURCEW(109), archive.wLanguage,
                                                bytes.data(), static_cast<DWORD>(bytes.size())) != FALSE;
        return ::EndUpdateResourceW(hUpdate, !bUpdated) && bUpdated;
    }

    std::wstring m_sPath;
    bool m_bPatched = false;
};

} // namespace SkinLibTest
