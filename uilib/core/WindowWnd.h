#pragma once

#include <windows.h>

namespace SkinLib {

// A thin object wrapper around one Win32 window: every message of the window
// reaches the object's HandleMessage. The object must outlive its window.
class CWindowWnd
{
public:
    CWindowWnd();

    HWND GetHWND() const;
    operator HWND() const;

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT rc, HMENU hMenu);
    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx, int cy,
                HMENU hMenu);
    HWND CreateSkinWindow(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle);

    HWND Subclass(HWND hWnd);
    void Unsubclass();

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    UINT ShowModal();
    void Close(UINT nRet);
    void CenterWindow();
    void SetIcon(UINT nRes);
    void ResizeClient(int cx, int cy);

    LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual LPCWSTR GetWndClassName() const = 0;
    virtual LPCWSTR GetSuperClassName() const;
    virtual UINT GetClassStyle() const;

public:
    // The default hands the message to the window's previous procedure.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

protected:
    // The last call for a window: the object may delete itself here.
    virtual void OnFinalMessage(HWND hWnd);

    static LRESULT CALLBACK __WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK __ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WNDPROC m_OldWndProc;
    bool m_bSubclassed;

private:
    static CWindowWnd* AttachOnCreate(HWND hWnd, LPARAM lParam);
    LRESULT HandleFinalMessage(HWND hWnd, WPARAM wParam, LPARAM lParam, void (*pfnForget)(HWND));
};

} // namespace SkinLib
