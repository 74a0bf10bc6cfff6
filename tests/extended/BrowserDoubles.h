#pragma once
// Doubles of the system's browser object and of a page it holds, for the web
// browser control's tests: Wine's browser has no HTML engine here, so it never
// holds a document. The page is a document, its window and the window's event
// object; the browser is an object of the browser's class whose document is
// the page's. They answer only what the control asks of them
// (BrowserDoubles.cpp). Pointers cross as void*: that file knows the
// interfaces by their C declarations, this side by their C++ ones.
#include <string>

namespace SkinLibTest {

// What the control did to a page.
struct PageRecord
{
    const void* pWindow = nullptr;     // the page's window, as its IDispatch
    const void* pUIHandler = nullptr;  // what the document took as its UI handler
    std::wstring sReads;               // the event object's properties read, each followed by a space
};

// A page's document (its IUnknown, one reference for the caller), with its window and event object.
void* NewPageDocument(PageRecord* pRecord);
// A class factory (its IUnknown, one reference for the caller) of browsers that hold this document.
void* NewBrowserFactory(void* pDocument);
// The doubles alive now, factories included.
long LiveBrowserDoubles();

} // namespace SkinLibTest
