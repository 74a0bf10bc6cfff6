#pragma once

namespace SkinLib {

class CControlUI;
class IContainerUI;

// The controls the skin vocabulary names. It sits above the core, the common
// and the extended controls so that the dialog builder needs none of their
// headers.
// A new control for the element name (matched exactly and case-sensitively),
// or null when the library has no control of that name or memory ran out.
CControlUI* CreateSkinElement(const wchar_t* pstrName);

// Where the controls of a "TreeNode" element's content go, beside the node's
// own: the node's row. Null when the control is no tree node or has no row.
IContainerUI* GetSkinTreeNodeRow(CControlUI* pTreeNode);

} // namespace SkinLib
