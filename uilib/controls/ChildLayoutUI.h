#pragma once

#include "controls/ContainerUI.h"

namespace SkinLib {

// Fills itself, once, from another skin file through the dialog builder, when
// it is first attached to a window. It does not offer its child list to
// others: a skin's elements written inside it are not added.
class CChildLayoutUI : public CContainerUI
{
public:
    CChildLayoutUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // Loads the file in place of the base's initialisation.
    void Init() override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // Read when the layout is initialised; a later change does not reload.
    void SetChildLayoutXML(const wchar_t* pstrXML);
    const CSkinString& GetChildLayoutXML() const;

private:
    bool MayLoad();

    CSkinString m_sXMLFile;
    bool m_bLoaded;  // the file has been asked for, whatever came of it
};

} // namespace SkinLib
