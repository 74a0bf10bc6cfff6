#pragma once

namespace SkinLib {

class CControlUI;

// The controls the skin vocabulary names. It sits above the core, the common
// and the extended controls so that the dialog builder needs none of their
// headers.
// A new control for the element name (matched exactly and case-sensitively),
// or null when the library has no control of that name or memory ran out.
CControlUI* CreateSkinElement(const wchar_t* pstrName);

} // namespace SkinLib
