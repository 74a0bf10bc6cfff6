#include "extended/IListUI.h"

namespace SkinLib {

tagTListInfoUI::tagTListInfoUI()
    : nColumnCount(0), rcColumns(), nItemFont(-1), uItemTextStyle(DT_VCENTER), rcItemTextPadding(),
      dwItemTextColor(0xFF000000), dwItemBkColor(0), bAlternateItemBk(false), dwSelectedItemTextColor(0xFF000000),
      dwSelectedItemBkColor(0xFFC1E3FF), dwHotItemTextColor(0xFF000000), dwHotItemBkColor(0xFFE9F5FF),
      dwDisabledItemTextColor(0xFFCCCCCC), dwDisabledItemBkColor(0xFFFFFFFF), dwItemLineColor(0),
      bItemShowHtml(false), bMultiExpanding(false)
{
}

} // namespace SkinLib
