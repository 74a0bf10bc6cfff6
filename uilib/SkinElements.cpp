#include "SkinElements.h"

#include <wchar.h>

#include <new>

#include "controls/ButtonUI.h"
#include "controls/ChildLayoutUI.h"
#include "controls/ContainerUI.h"
#include "controls/ControlUI.h"
#include "controls/EditUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/SliderUI.h"
#include "controls/TabLayoutUI.h"
#include "controls/TextUI.h"
#include "controls/TileLayoutUI.h"
#include "controls/VerticalLayoutUI.h"
#include "extended/ActiveXUI.h"
#include "extended/ComboBoxUI.h"
#include "extended/ComboUI.h"
#include "extended/DateTimeUI.h"
#include "extended/FlashUI.h"
#include "extended/ListContainerElementUI.h"
#include "extended/ListElementUI.h"
#include "extended/ListHeaderItemUI.h"
#include "extended/ListHeaderUI.h"
#include "extended/ListUI.h"
#include "extended/RichEditUI.h"
#include "extended/TreeNodeUI.h"
#include "extended/TreeViewUI.h"
#include "extended/WebBrowserUI.h"

namespace SkinLib {

namespace {

template <class T>
CControlUI* MakeControl()
{
    return new (std::nothrow) T;
}

struct ElementClass
{
    const wchar_t* pstrName;
    CControlUI* (*pfnCreate)();
};

// One line per control class.
const ElementClass kElementClasses[] = {
    { L"Control", MakeControl<CControlUI> },
    { L"Container", MakeControl<CContainerUI> },
    { L"ScrollBar", MakeControl<CScrollBarUI> },
    { L"VerticalLayout", MakeControl<CVerticalLayoutUI> },
    { L"HorizontalLayout", MakeControl<CHorizontalLayoutUI> },
    { L"Label", MakeControl<CLabelUI> },
    { L"Text", MakeControl<CTextUI> },
    { L"Button", MakeControl<CButtonUI> },
    { L"Edit", MakeControl<CEditUI> },
    { L"Option", MakeControl<COptionUI> },
    { L"CheckBox", MakeControl<CCheckBoxUI> },
    { L"Progress", MakeControl<CProgressUI> },
    { L"Slider", MakeControl<CSliderUI> },
    { L"TileLayout", MakeControl<CTileLayoutUI> },
    { L"TabLayout", MakeControl<CTabLayoutUI> },
    { L"ChildLayout", MakeControl<CChildLayoutUI> },
    { L"List", MakeControl<CListUI> },
    { L"ListHeader", MakeControl<CListHeaderUI> },
    { L"ListHeaderItem", MakeControl<CListHeaderItemUI> },
    { L"ListTextElement", MakeControl<CListTextElementUI> },
    { L"ListLabelElement", MakeControl<CListLabelElementUI> },
    { L"ListContainerElement", MakeControl<CListContainerElementUI> },
    { L"Combo", MakeControl<CComboUI> },
    { L"ComboBox", MakeControl<CComboBoxUI> },
    { L"TreeView", MakeControl<CTreeViewUI> },
    { L"TreeNode", MakeControl<CTreeNodeUI> },
    { L"ActiveX", MakeControl<CActiveXUI> },
    { L"DateTime", MakeControl<CDateTimeUI> },
    { L"RichEdit", MakeControl<CRichEditUI> },
    { L"WebBrowser", MakeControl<CWebBrowserUI> },
    { L"Flash", MakeControl<CFlashUI> },
};

} // namespace

CControlUI* CreateSkinElement(const wchar_t* pstrName)
{
    for (const ElementClass& element : kElementClasses) {
        if (::wcscmp(pstrName, element.pstrName) == 0) return element.pfnCreate();
    }
    return NULL;
}

IContainerUI* GetSkinTreeNodeRow(CControlUI* pTreeNode)
{
    CTreeNodeUI* pNode = pTreeNode != NULL ? static_cast<CTreeNodeUI*>(pTreeNode->GetInterface(L"TreeNode")) : NULL;
    return pNode != NULL ? pNode->GetTreeNodeHoriznotal() : NULL;
}

} // namespace SkinLib
