#pragma once
// Records this process's debugger-output lines while it lives, without a
// debugger: OutputDebugString raises a continuable exception that a vectored
// handler sees first and passes on.
#include <windows.h>

#include <string>
#include <vector>

namespace SkinLibTest {

class CDebugLines
{
public:
    CDebugLines() : m_pvAnsiOfWide(NULL)
    {
        s_pActive = this;
        m_hHandler = ::AddVectoredExceptionHandler(1, Handler);
    }
    ~CDebugLines()
    {
        ::RemoveVectoredExceptionHandler(m_hHandler);
        s_pActive = NULL;
    }

    const std::vector<std::wstring>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }

    bool Holds(const std::wstring& line) const
    {
        for (const std::wstring& logged : m_lines)
            if (logged == line) return true;
        return false;
    }

private:
    CDebugLines(const CDebugLines&) = delete;
    CDebugLines& operator=(const CDebugLines&) = delete;

    // OutputDebugStringW raises the wide form with its ANSI copy and, when no
    // debugger takes it, hands that copy to OutputDebugStringA, which raises
    // the narrow form: the copy's address tells the two apart.
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* pInfo)
    {
        const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
        CDebugLines* pThis = s_pActive;
        if (pThis == NULL) return EXCEPTION_CONTINUE_SEARCH;
        if (pRecord->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C && pRecord->NumberParameters >= 2) {
            pThis->m_lines.push_back(Trimmed(reinterpret_cast<const wchar_t*>(pRecord->ExceptionInformation[1])));
            pThis->m_pvAnsiOfWide = pRecord->NumberParameters >= 4
                                        ? reinterpret_cast<const void*>(pRecord->ExceptionInformation[3])
                                        : NULL;
        } else if (pRecord->ExceptionCode == DBG_PRINTEXCEPTION_C && pRecord->NumberParameters >= 2) {
            const char* pstr = reinterpret_cast<const char*>(pRecord->ExceptionInformation[1]);
            if (pstr != pThis->m_pvAnsiOfWide) {
                std::string narrow(pstr);
                pThis->m_lines.push_back(Trimmed(std::wstring(narrow.begin(), narrow.end()).c_str()));
            }
            pThis->m_pvAnsiOfWide = NULL;
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static std::wstring Trimmed(const wchar_t* pstr)
    {
        std::wstring line(pstr);
        while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
        return line;
    }

    static CDebugLines* s_pActive;
    PVOID m_hHandler;
    const void* m_pvAnsiOfWide;
    std::vector<std::wstring> m_lines;
};

inline CDebugLines* CDebugLines::s_pActive = NULL;

} // namespace SkinLibTest
