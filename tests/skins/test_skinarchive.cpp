// A program's skin archive as the program carries it: resource 109 of type "ZIPRES" in this test's
// own module, packed by the build exactly as for the program. Built once per program:
// SKINARCHIVE_PROGRAM 1 is the fingerprint manager, 2 the PIN dialogs.
//
// - the archive: flat, every skin and every image the skins and the code name, nothing else;
// - the skins: each parses, uses only the library's vocabulary, and writes its values in the
//   forms the controls read;
// - the controls each program looks up, with the names, sizes, texts and colours they must have;
// - the images: each decodes, at the size of the control that shows it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Markup.h"
#include "core/ResourceZip.h"

#define STBI_NO_STDIO
#include <stb_image.h>

using namespace SkinLib;

namespace {

// --- What each program needs, as its window classes and the message box name it. ---

struct Font
{
    const wchar_t* face;
    int size;
    bool bold;
    bool isDefault;
};

// One attribute a control must have. Sizes are compared as the control reads them ("width" and
// "height", or "pos"), colours as numbers, "align" by the text style it yields, and
// "textpadding.left" is the first number of "textpadding"; everything else as text.
struct Attribute
{
    const wchar_t* name;
    const wchar_t* value;
};

struct Control
{
    const wchar_t* element;
    // The attribute that finds the control: its name, or for an unnamed one its text or picture.
    Attribute key;
    std::vector<Attribute> attributes;
};

struct Skin
{
    const wchar_t* file;
    std::vector<Attribute> window;
    std::vector<Font> fonts;
    std::vector<Control> controls;
};

struct Program
{
    const wchar_t* name;
    std::vector<Skin> skins;
    // Pictures the code names (the skins name the rest).
    std::vector<std::wstring> codeImages;
};

const Control kCloseButton = { L"Button", { L"name", L"closebtn" },
    { { L"width", L"48" }, { L"height", L"32" }, { L"tooltip", L"Close" }, { L"normalimage", L"Close_Active.png" },
      { L"hotimage", L"Close_MouseOver.png" }, { L"pushedimage", L"Close_Click.png" } } };

Control EnrollButton(const wchar_t* name, const wchar_t* text)
{
    return { L"Button", { L"name", name },
             { { L"text", text }, { L"width", L"90" }, { L"height", L"30" }, { L"bkcolor", L"#FFFFFFFF" },
               { L"bordercolor", L"#FFE6E6E6" }, { L"bordersize", L"1" }, { L"hottextcolor", L"#FF1883D7" },
               { L"pushedtextcolor", L"#FF1883D7" } } };
}

Control PasswordEntry(const wchar_t* name, const wchar_t* width, const wchar_t* tooltip)
{
    return { L"Edit", { L"name", name },
             { { L"width", width }, { L"height", L"30" }, { L"password", L"true" }, { L"tooltip", tooltip } } };
}

const Control kPinPicture = { L"Label", { L"bkimage", L"PIN_Button.png" }, { { L"width", L"48" }, { L"height", L"48" } } };

const std::vector<Attribute> kPinWindow = { { L"size", L"460,550" }, { L"mininfo", L"460,550" },
                                            { L"maxinfo", L"460,550" }, { L"caption", L"0,0,0,40" } };
const std::vector<Font> kPinFonts = { { L"微软雅黑", 12, false, true }, { L"Times New Roman", 13, false, false },
                                      { L"微软雅黑", 16, true, false } };

std::vector<Attribute> With(std::vector<Attribute> list, const Attribute& extra)
{
    list.push_back(extra);
    return list;
}

Program FingerprintManager()
{
    std::vector<std::wstring> images = { L"Rec_Finger_1.png", L"Pass.png", L"green.png", L"red.png" };
    for (int n = 1; n <= 12; ++n) images.push_back(L"png_reg_fingerprint_" + std::to_wstring(n) + L".png");
    return { L"Ridgewell_QZ",
             { { L"registFingerprint.xml",
                 { { L"size", L"360,410" }, { L"mininfo", L"360,410" }, { L"maxinfo", L"360,410" },
                   { L"caption", L"0,0,0,40" }, { L"sizebox", L"4,4,4,4" } },
                 { { L"微软雅黑", 14, false, true }, { L"微软雅黑", 12, false, false }, { L"Times New Roman", 13, false, false } },
                 { { L"Label", { L"text", L"Ridgewell_Finger_QZ" }, {} },
                   kCloseButton,
                   { L"Label", { L"name", L"image_show" },
                     { { L"width", L"160" }, { L"height", L"160" }, { L"bkimage", L"Rec_Finger_Add.png" } } },
                   { L"Label", { L"name", L"txt_show" },
                     { { L"height", L"60" }, { L"align", L"center" }, { L"text", L"Touch the fingerprint sensor" } } },
                   { L"Text", { L"name", L"text_2" }, { { L"height", L"60" } } },
                   EnrollButton(L"btn_Enroll", L"Enroll"),
                   EnrollButton(L"btn_Delete", L"Delete") } } },
             images };
}

Program PinDialogs()
{
    return { L"Pinwarden_QZ",
             { { L"verifyPIN.xml", With(kPinWindow, { L"sizebox", L"4,4,4,4" }), kPinFonts,
                 { { L"Label", { L"text", L"Verify PIN" }, {} },
                   kCloseButton,
                   { L"Label", { L"text", L"Verify PIN for Quorvel FIDO2" }, { { L"font", L"2" } } },
                   kPinPicture,
                   { L"Edit", { L"name", L"edit_pin" },
                     { { L"width", L"330" }, { L"height", L"30" }, { L"password", L"true" },
                       { L"tooltip", L"Input your PIN" }, { L"focusbordercolor", L"#FF0078D7" }, { L"bordersize", L"1" } } },
                   { L"Label", { L"name", L"label_status" },
                     { { L"height", L"30" }, { L"textcolor", L"#FFFF0000" }, { L"align", L"left" },
                       { L"textpadding.left", L"90" } } },
                   { L"Button", { L"name", L"btn_ok" },
                     { { L"text", L"OK" }, { L"width", L"180" }, { L"height", L"30" }, { L"bkcolor", L"#FFCCCCCC" },
                       { L"bordercolor", L"#FFD7D7D7" }, { L"focusbordercolor", L"#FF0078D7" }, { L"bordersize", L"1" } } } } },
               { L"SetPIN.xml", With(kPinWindow, { L"sizebox", L"2,2,2,2" }), kPinFonts,
                 { { L"Label", { L"text", L"Set PIN" }, {} },
                   kCloseButton,
                   { L"Label", { L"name", L"txt_info" }, { { L"text", L"Set PIN for Quorvel FIDO2" }, { L"font", L"2" } } },
                   kPinPicture,
                   PasswordEntry(L"edit_pin", L"340", L"New PIN"),
                   { L"Label", { L"name", L"label_pin" },
                     { { L"height", L"20" }, { L"textcolor", L"#FFFF0000" }, { L"align", L"left top" },
                       { L"textpadding.left", L"90" } } },
                   PasswordEntry(L"edit_pin2", L"340", L"Confirm PIN"),
                   { L"Label", { L"name", L"label_pin2" },
                     { { L"height", L"50" }, { L"textcolor", L"#FFFF0000" }, { L"align", L"left top" } } },
                   // No border shows (its colour is the background's), yet the focus border can.
                   { L"Button", { L"name", L"btn_ok" },
                     { { L"text", L"OK" }, { L"width", L"180" }, { L"height", L"30" }, { L"bkcolor", L"#FFCCCCCC" },
                       { L"bordercolor", L"#FFCCCCCC" }, { L"focusbordercolor", L"#FF0078D7" }, { L"bordersize", L"1" } } } } },
               { L"MsgBox.xml",
                 { { L"size", L"500,250" }, { L"caption", L"0,0,0,40" } },
                 { { L"微软雅黑", 14, false, true }, { L"Times New Roman", 13, false, false } },
                 { { L"HorizontalLayout", { L"name", L"MsgTitle" }, { { L"height", L"40" } } },
                   { L"Label", { L"name", L"FSTitle" }, { { L"text", L"MessageBox" }, { L"textcolor", L"#FF282828" } } },
                   kCloseButton,
                   { L"VerticalLayout", { L"name", L"MsgBox" }, { { L"font", L"0" } } } } } },
             { L"logo_32.png", L"Png_Msg_error.png", L"Png_Msg_warning.png", L"Png_Msg_info.png" } };
}

const Program& ThisProgram()
{
#if SKINARCHIVE_PROGRAM != 1 && SKINARCHIVE_PROGRAM != 2
#error "SKINARCHIVE_PROGRAM must be 1 or 2"
#endif
    static const Program program = SKINARCHIVE_PROGRAM == 1 ? FingerprintManager() : PinDialogs();
    return program;
}

// The pictures' sizes: each is drawn 1:1 into the control that shows it.
std::pair<int, int> ExpectedImageSize(const std::wstring& name)
{
    if (name.rfind(L"Close_", 0) == 0) return { 48, 32 };
    if (name == L"PIN_Button.png") return { 48, 48 };
    if (name == L"logo_32.png" || name.rfind(L"Png_Msg_", 0) == 0) return { 32, 32 };  // the message box's icon
    if (name == L"green.png" || name == L"red.png") return { 20, 20 };
    return { 160, 160 };  // "image_show"
}

// --- The library's vocabulary: element names, and the attributes each control reads. ---

const std::set<std::wstring> kControlElements = {
    L"Edit", L"List", L"Text", L"Combo", L"Label", L"Flash", L"Button", L"Option", L"Slider", L"Control", L"ActiveX",
    L"Progress", L"RichEdit", L"CheckBox", L"ComboBox", L"DateTime", L"TreeView", L"Container", L"TabLayout",
    L"ScrollBar", L"ListHeader", L"TileLayout", L"WebBrowser", L"ChildLayout", L"VerticalLayout", L"ListHeaderItem",
    L"ListTextElement", L"HorizontalLayout", L"ListLabelElement", L"ListContainerElement", L"TreeNode",
};

const std::set<std::wstring> kControlAttributes = {
    L"pos", L"relativepos", L"padding", L"bkcolor", L"bkcolor1", L"bkcolor2", L"bkcolor3", L"bordercolor",
    L"focusbordercolor", L"colorhsl", L"bordersize", L"leftbordersize", L"topbordersize", L"rightbordersize",
    L"bottombordersize", L"borderstyle", L"borderround", L"bkimage", L"width", L"height", L"minwidth", L"minheight",
    L"maxwidth", L"maxheight", L"name", L"text", L"tooltip", L"userdata", L"enabled", L"mouse", L"keyboard",
    L"visible", L"float", L"shortcut", L"menu", L"virtualwnd",
};
const std::set<std::wstring> kContainerAttributes = { L"inset", L"mousechild", L"vscrollbar", L"vscrollbarstyle",
                                                      L"hscrollbar", L"hscrollbarstyle", L"childpadding" };
const std::set<std::wstring> kLabelAttributes = {
    L"align", L"endellipsis", L"font", L"textcolor", L"disabledtextcolor", L"textpadding", L"showhtml",
    L"enabledeffect", L"rhaa", L"transshadow", L"transtext", L"transshadow1", L"transtext1", L"gradientangle",
    L"enabledstroke", L"enabledshadow", L"transstroke", L"gradientlength", L"shadowoffset", L"textcolor1",
    L"textshadowcolora", L"textshadowcolorb", L"strokecolor",
};
const std::set<std::wstring> kButtonAttributes = { L"normalimage", L"hotimage", L"pushedimage", L"focusedimage",
                                                   L"disabledimage", L"foreimage", L"hotforeimage", L"hotbkcolor",
                                                   L"hottextcolor", L"pushedtextcolor", L"focusedtextcolor" };
const std::set<std::wstring> kEditAttributes = { L"readonly", L"numberonly", L"password", L"maxchar", L"normalimage",
                                                 L"hotimage", L"focusedimage", L"disabledimage", L"nativebkcolor" };
const std::set<std::wstring> kWindowAttributes = {
    L"size", L"sizebox", L"caption", L"roundcorner", L"mininfo", L"maxinfo", L"showdirty", L"alpha", L"bktrans",
    L"disabledfontcolor", L"defaultfontcolor", L"linkfontcolor", L"linkhoverfontcolor", L"selectedcolor",
};

// The attribute names a control made for this element reads; empty for elements these skins
// have no business using.
std::set<std::wstring> AttributesOf(const std::wstring& element)
{
    std::set<std::wstring> known = kControlAttributes;
    auto add = [&known](const std::set<std::wstring>& more) { known.insert(more.begin(), more.end()); };
    if (element == L"Control") return known;
    if (element == L"Container") { add(kContainerAttributes); return known; }
    if (element == L"VerticalLayout") { add(kContainerAttributes); add({ L"sepheight", L"sepimm" }); return known; }
    if (element == L"HorizontalLayout") { add(kContainerAttributes); add({ L"sepwidth", L"sepimm" }); return known; }
    add(kLabelAttributes);
    if (element == L"Label" || element == L"Text") return known;
    if (element == L"Button") { add(kButtonAttributes); return known; }
    if (element == L"Edit") { add(kEditAttributes); return known; }
    return {};
}

// --- A skin read into a plain tree. ---

struct Element
{
    std::wstring tag;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    int parent = -1;
    std::vector<int> children;

    const std::wstring* Find(const std::wstring& name) const
    {
        // A later attribute overrides an earlier one, as the builder applies them in order.
        const std::wstring* value = nullptr;
        for (const auto& attribute : attributes)
            if (attribute.first == name) value = &attribute.second;
        return value;
    }
};

struct ParsedSkin
{
    std::vector<Element> elements;  // element 0 is the root

    void Read(CMarkupNode node, int parent)
    {
        for (; node.IsValid(); node = node.GetSibling()) {
            Element e;
            e.tag = node.GetName();
            for (int i = 0; i < node.GetAttributeCount(); ++i)
                e.attributes.emplace_back(node.GetAttributeName(i), node.GetAttributeValue(i));
            e.parent = parent;
            const int index = int(elements.size());
            elements.push_back(e);
            if (parent >= 0) elements[parent].children.push_back(index);
            Read(node.GetChild(), index);
        }
    }

    bool IsControl(int i) const { return i > 0 && kControlElements.count(elements[i].tag) != 0; }

    std::vector<int> Find(const Attribute& key) const
    {
        std::vector<int> found;
        for (int i = 1; i < int(elements.size()); ++i) {
            const std::wstring* value = elements[i].Find(key.name);
            if (IsControl(i) && value != nullptr && *value == key.value) found.push_back(i);
        }
        return found;
    }
};

// The archive held by this module's resource 109 "ZIPRES", opened as the window base opens it.
class EmbeddedArchive
{
public:
    EmbeddedArchive()
    {
        HMODULE hModule = ::GetModuleHandleW(NULL);
        HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(109), L"ZIPRES");
        if (hResource == NULL) return;
        HGLOBAL hData = ::LoadResource(hModule, hResource);
        m_nSize = ::SizeofResource(hModule, hResource);
        if (hData == NULL || m_nSize == 0) return;
        m_hZip = ResourceZipOpen(::LockResource(hData), m_nSize, SKINZIP_MEMORY);
    }
    ~EmbeddedArchive()
    {
        if (m_hZip != NULL) ResourceZipClose(m_hZip);
    }

    HSKINZIP Get() const { return m_hZip; }
    DWORD Size() const { return m_nSize; }

    std::vector<std::wstring> Members() const
    {
        std::vector<std::wstring> names;
        ZipItemInfo archive;
        if (ResourceZipGetItem(m_hZip, -1, &archive) != SKINZIP_OK) return names;
        for (int i = 0; i < archive.nIndex; ++i) {
            ZipItemInfo item;
            if (ResourceZipGetItem(m_hZip, i, &item) == SKINZIP_OK) names.push_back(item.szName);
        }
        return names;
    }

    bool Read(const std::wstring& name, std::string& bytes) const
    {
        std::unique_ptr<BYTE[]> pBytes;
        unsigned int nSize = 0;
        if (ResourceZipReadItem(m_hZip, name.c_str(), 4u << 20, pBytes, &nSize) != SKINZIP_OK) return false;
        bytes.assign(reinterpret_cast<const char*>(pBytes.get()), nSize);
        return true;
    }

private:
    HSKINZIP m_hZip = NULL;
    DWORD m_nSize = 0;
};

struct Picture
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

bool Decode(const std::string& bytes, Picture& picture)
{
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), int(bytes.size()),
                                            &picture.width, &picture.height, &channels, 4);
    if (pixels == nullptr) return false;
    picture.rgba.assign(pixels, pixels + size_t(picture.width) * picture.height * 4);
    stbi_image_free(pixels);
    return true;
}

// --- Value forms, read as the controls read them. ---

std::vector<int> Numbers(const std::wstring& text)
{
    std::vector<int> numbers;
    const wchar_t* p = text.c_str();
    while (*p != L'\0') {
        wchar_t* end = nullptr;
        numbers.push_back(int(std::wcstol(p, &end, 10)));
        if (end == p) return {};  // not a number list
        p = end;
        if (*p != L'\0') ++p;  // one separator
    }
    return numbers;
}

// "#AARRGGBB": eight digits, so that the alpha byte is written out (six would leave it 0).
bool IsColour(const std::wstring& text, DWORD* pValue = nullptr)
{
    if (text.size() != 9 || text[0] != L'#') return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!std::iswxdigit(text[i])) return false;
    if (pValue != nullptr) *pValue = DWORD(std::wcstoul(text.c_str() + 1, nullptr, 16));
    return true;
}

bool IsColourAttribute(const std::wstring& name) { return name.find(L"color") != std::wstring::npos; }

// The label's text style after its "align" words (the label starts at DT_VCENTER).
UINT AlignStyle(const std::wstring& value)
{
    UINT style = DT_VCENTER;
    auto has = [&value](const wchar_t* word) { return value.find(word) != std::wstring::npos; };
    if (has(L"left")) style &= ~UINT(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    if (has(L"center")) style = (style & ~UINT(DT_RIGHT)) | DT_CENTER;
    if (has(L"right")) style = (style & ~UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE)) | DT_RIGHT;
    if (has(L"top")) style = (style & ~UINT(DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE;
    if (has(L"vcenter")) style = (style & ~UINT(DT_BOTTOM)) | DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (has(L"bottom")) style = (style & ~UINT(DT_VCENTER)) | DT_BOTTOM | DT_SINGLELINE;
    return style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM);
}

// The fixed size a control takes from its attributes, in the order the builder applies them.
std::pair<int, int> FixedSize(const Element& e)
{
    int cx = 0, cy = 0;
    for (const auto& attribute : e.attributes) {
        if (attribute.first == L"width") cx = _wtoi(attribute.second.c_str());
        if (attribute.first == L"height") cy = _wtoi(attribute.second.c_str());
        if (attribute.first == L"pos") {
            std::vector<int> n = Numbers(attribute.second);
            if (n.size() == 4) cx = n[2] - n[0], cy = n[3] - n[1];
        }
    }
    return { cx, cy };
}

// Whether the control has the attribute as the table words it; the reason when not.
std::wstring Mismatch(const Element& e, const Attribute& expected)
{
    const std::wstring name = expected.name, want = expected.value;
    if (name == L"width" || name == L"height") {
        const auto size = FixedSize(e);
        const int got = name == L"width" ? size.first : size.second;
        return got == _wtoi(want.c_str()) ? L"" : name + L" is " + std::to_wstring(got);
    }
    const std::wstring* value = e.Find(name == L"textpadding.left" ? L"textpadding" : name);
    if (value == nullptr) return L"no " + name;
    if (name == L"textpadding.left") {
        const std::vector<int> n = Numbers(*value);
        return !n.empty() && n[0] == _wtoi(want.c_str()) ? L"" : L"textpadding " + *value;
    }
    if (name == L"align") return AlignStyle(*value) == AlignStyle(want) ? L"" : L"align " + *value;
    if (IsColourAttribute(name)) {
        DWORD got = 0, wanted = 0;
        return IsColour(*value, &got) && IsColour(want, &wanted) && got == wanted ? L"" : name + L" " + *value;
    }
    return *value == want ? L"" : name + L" is \"" + *value + L"\"";
}

// Image names in an image description: a bare name, or the values of its file and res keys.
std::vector<std::wstring> ImagesIn(const std::wstring& description)
{
    if (description.find(L'=') == std::wstring::npos) return { description };
    std::vector<std::wstring> names;
    for (const wchar_t* key : { L"file='", L"res='" }) {
        for (size_t at = description.find(key); at != std::wstring::npos; at = description.find(key, at + 1)) {
            const size_t start = at + wcslen(key), end = description.find(L'\'', start);
            if (end != std::wstring::npos) names.push_back(description.substr(start, end - start));
        }
    }
    return names;
}

const std::set<std::wstring> kImageAttributes = { L"bkimage", L"normalimage", L"hotimage", L"pushedimage",
                                                  L"focusedimage", L"disabledimage", L"foreimage", L"hotforeimage" };

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Every skin of the program, parsed once for the whole test program.
class SkinArchive : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_archive = new EmbeddedArchive;
        s_skins = new std::map<std::wstring, ParsedSkin>;
        if (s_archive->Get() == NULL) return;
        for (const Skin& skin : ThisProgram().skins) {
            std::string bytes;
            CMarkup markup;
            if (!s_archive->Read(skin.file, bytes) ||
                !markup.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size())))
                continue;
            (*s_skins)[skin.file].Read(markup.GetRoot(), -1);
        }
    }
    static void TearDownTestSuite()
    {
        delete s_skins;
        delete s_archive;
        s_skins = nullptr;
        s_archive = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(s_archive->Get(), nullptr) << "resource 109 \"ZIPRES\" missing or unreadable";
        for (const Skin& skin : ThisProgram().skins)
            ASSERT_TRUE(s_skins->count(skin.file)) << Narrow(skin.file) << " missing or does not parse";
    }

    static const ParsedSkin& Parsed(const Skin& skin) { return s_skins->at(skin.file); }

    // Every image the skins name, with the skin that names it, and the code's images.
    static std::map<std::wstring, std::wstring> NamedImages()
    {
        std::map<std::wstring, std::wstring> images;
        for (const Skin& skin : ThisProgram().skins)
            for (const Element& e : Parsed(skin).elements)
                for (const auto& attribute : e.attributes)
                    if (kImageAttributes.count(attribute.first) || (e.tag == L"Image" && attribute.first == L"name"))
                        for (const std::wstring& image : ImagesIn(attribute.second)) images[image] = skin.file;
        for (const std::wstring& image : ThisProgram().codeImages) images[image] = L"the program's code";
        return images;
    }

    static EmbeddedArchive* s_archive;
    static std::map<std::wstring, ParsedSkin>* s_skins;
};

EmbeddedArchive* SkinArchive::s_archive = nullptr;
std::map<std::wstring, ParsedSkin>* SkinArchive::s_skins = nullptr;

} // namespace

// The library finds skins and images by bare name at the archive's root: the archive holds exactly
// the program's skins and the images they and the code name, once each, and nothing else.
TEST_F(SkinArchive, HoldsExactlyTheSkinsAndTheirImagesAtItsRoot)
{
    std::vector<std::wstring> members = s_archive->Members();
    std::set<std::wstring> unique(members.begin(), members.end());
    EXPECT_EQ(unique.size(), members.size()) << "a member is packed twice";

    std::set<std::wstring> expected;
    for (const Skin& skin : ThisProgram().skins) expected.insert(skin.file);
    for (const auto& image : NamedImages()) expected.insert(image.first);
    EXPECT_EQ(unique, expected);
    for (const std::wstring& name : members) EXPECT_EQ(name.find_first_of(L"/\\"), std::wstring::npos) << Narrow(name);
}

// Only element names the builder knows, only attributes the controls read (two exceptions that the
// windows rely on), and values in the forms the controls parse.
TEST_F(SkinArchive, SkinsSpeakTheLibrarysVocabulary)
{
    // "text_2" keeps its sentence where no control reads it, so it shows no text; the message
    // box's body names font 0 for the code that fills it.
    const std::set<std::wstring> kUnread = { L"registFingerprint.xml text_2 hinttext", L"MsgBox.xml MsgBox font" };
    std::set<std::wstring> unread, expectedUnread;
    for (const Skin& skin : ThisProgram().skins)
        for (const std::wstring& entry : kUnread)
            if (entry.rfind(std::wstring(skin.file) + L" ", 0) == 0) expectedUnread.insert(entry);
    for (const Skin& skin : ThisProgram().skins) {
        const ParsedSkin& parsed = Parsed(skin);
        const std::string where = Narrow(skin.file);
        ASSERT_EQ(parsed.elements[0].tag, L"Window") << where;
        for (int i = 0; i < int(parsed.elements.size()); ++i) {
            const Element& e = parsed.elements[i];
            std::set<std::wstring> known;
            if (i == 0) known = kWindowAttributes;
            else if (e.tag == L"Font" && e.parent == 0) known = { L"name", L"size", L"bold", L"underline", L"italic", L"default" };
            else if (e.tag == L"Image" && e.parent == 0) known = { L"name", L"restype", L"mask" };
            else if (e.tag == L"Default" && e.parent == 0) known = { L"name", L"value" };
            else known = AttributesOf(e.tag);
            EXPECT_FALSE(known.empty()) << where << ": element " << Narrow(e.tag) << " is not one these skins can use here";
            for (const auto& attribute : e.attributes) {
                const std::wstring& name = attribute.first;
                const std::wstring& value = attribute.second;
                if (!known.empty() && !known.count(name)) {
                    const std::wstring* control = e.Find(L"name");
                    unread.insert(std::wstring(skin.file) + L" " + (control ? *control : e.tag) + L" " + name);
                }
                if (IsColourAttribute(name)) {
                    EXPECT_TRUE(IsColour(value)) << where << ": " << Narrow(name) << "=\"" << Narrow(value) << "\"";
                }
                const std::vector<int> numbers = Numbers(value);
                size_t count = 0;
                if (i == 0 && (name == L"size" || name == L"mininfo" || name == L"maxinfo")) count = 2;
                if (name == L"borderround") count = 2;
                if (name == L"caption" || name == L"sizebox" || name == L"inset" || name == L"padding" ||
                    name == L"textpadding" || name == L"pos")
                    count = 4;
                if (name == L"width" || name == L"height" || name == L"font" || (i != 0 && name == L"size")) count = 1;
                if (count != 0) {
                    EXPECT_EQ(numbers.size(), count) << where << ": " << Narrow(name) << "=\"" << Narrow(value) << "\"";
                }
            }
        }
    }
    EXPECT_EQ(unread, expectedUnread);
}

TEST_F(SkinArchive, WindowsHaveTheirSizesAndFonts)
{
    for (const Skin& skin : ThisProgram().skins) {
        const ParsedSkin& parsed = Parsed(skin);
        const std::string where = Narrow(skin.file);
        for (const Attribute& expected : skin.window) {
            const std::wstring* value = parsed.elements[0].Find(expected.name);
            ASSERT_NE(value, nullptr) << where << ": no " << Narrow(expected.name);
            EXPECT_EQ(Numbers(*value), Numbers(expected.value)) << where << ": " << Narrow(expected.name);
        }
        std::vector<const Element*> fonts;
        for (int child : parsed.elements[0].children)
            if (parsed.elements[child].tag == L"Font") fonts.push_back(&parsed.elements[child]);
        ASSERT_EQ(fonts.size(), skin.fonts.size()) << where;
        for (size_t i = 0; i < fonts.size(); ++i) {
            const Element& font = *fonts[i];
            auto text = [&font](const wchar_t* name) { return font.Find(name) ? *font.Find(name) : std::wstring(); };
            EXPECT_EQ(text(L"name"), skin.fonts[i].face) << where << ": font " << i;
            EXPECT_EQ(_wtoi(text(L"size").c_str()), skin.fonts[i].size) << where << ": font " << i;
            EXPECT_EQ(text(L"bold") == L"true", skin.fonts[i].bold) << where << ": font " << i;
            EXPECT_EQ(text(L"default") == L"true", skin.fonts[i].isDefault) << where << ": font " << i;
        }
    }
}

// Each control the windows look up (or show) exists once, as the right element, with the sizes,
// texts, colours and pictures it must have.
TEST_F(SkinArchive, ControlsHaveTheirNamesSizesAndLooks)
{
    for (const Skin& skin : ThisProgram().skins) {
        const ParsedSkin& parsed = Parsed(skin);
        for (const Control& control : skin.controls) {
            const std::string where = Narrow(skin.file) + " " + Narrow(control.key.name) + "=" + Narrow(control.key.value);
            const std::vector<int> found = parsed.Find(control.key);
            ASSERT_EQ(found.size(), 1u) << where;
            const Element& e = parsed.elements[found[0]];
            EXPECT_EQ(e.tag, control.element) << where;
            for (const Attribute& expected : control.attributes)
                EXPECT_EQ(Narrow(Mismatch(e, expected)), "") << where;
        }
    }
}

// The fingerprint window's and the message box's own rules beyond single attributes.
TEST_F(SkinArchive, WindowSpecificArrangements)
{
    for (const Skin& skin : ThisProgram().skins) {
        const ParsedSkin& parsed = Parsed(skin);
        const Element& body = parsed.elements[parsed.elements[0].children.back()];
        if (skin.file == std::wstring(L"registFingerprint.xml") || skin.file == std::wstring(L"MsgBox.xml")) {
            // White background inside the accent border.
            EXPECT_EQ(Narrow(Mismatch(body, { L"bkcolor", L"#FFFFFFFF" })), "");
            EXPECT_EQ(Narrow(Mismatch(body, { L"bordercolor", L"#FF1883D7" })), "");
        }
        if (skin.file == std::wstring(L"registFingerprint.xml")) {
            const Element& hint = parsed.elements[parsed.Find({ L"name", L"text_2" }).at(0)];
            EXPECT_EQ(hint.Find(L"text"), nullptr) << "text_2 must show no text";
            EXPECT_EQ(parsed.Find({ L"name", L"image_blink" }).size(), 0u);
        }
        if (skin.file == std::wstring(L"MsgBox.xml")) {
            // The title band holds a 10-pixel spacer, the title and the close button, in that order,
            // and the empty body follows it.
            const int title = parsed.Find({ L"name", L"MsgTitle" }).at(0);
            const std::vector<int>& band = parsed.elements[title].children;
            ASSERT_EQ(band.size(), 3u);
            EXPECT_EQ(parsed.elements[band[0]].tag, L"Control");
            EXPECT_EQ(FixedSize(parsed.elements[band[0]]).first, 10);
            EXPECT_EQ(*parsed.elements[band[1]].Find(L"name"), L"FSTitle");
            EXPECT_EQ(*parsed.elements[band[2]].Find(L"name"), L"closebtn");
            const int box = parsed.Find({ L"name", L"MsgBox" }).at(0);
            EXPECT_TRUE(parsed.elements[box].children.empty());
            EXPECT_EQ(parsed.elements[box].parent, parsed.elements[title].parent);
        }
    }
}

// Every image decodes, at the size of the control that shows it, so that none is stretched.
TEST_F(SkinArchive, ImagesDecodeAtTheirControlsSizes)
{
    for (const auto& named : NamedImages()) {
        const std::string where = Narrow(named.first) + " (named in " + Narrow(named.second) + ")";
        std::string bytes;
        ASSERT_TRUE(s_archive->Read(named.first, bytes)) << where;
        Picture picture;
        ASSERT_TRUE(Decode(bytes, picture)) << where << ": " << stbi_failure_reason();
        EXPECT_EQ(std::make_pair(picture.width, picture.height), ExpectedImageSize(named.first)) << where;
    }
    for (const Skin& skin : ThisProgram().skins)
        for (const Element& e : Parsed(skin).elements) {
            const auto size = FixedSize(e);
            for (const wchar_t* key : { L"bkimage", L"normalimage" })
                if (const std::wstring* image = e.Find(key))
                    if (image->find(L'=') == std::wstring::npos && size.first > 0 && size.second > 0) {
                        EXPECT_EQ(ExpectedImageSize(*image), size) << Narrow(*image) << " in " << Narrow(skin.file);
                    }
        }
}

#if SKINARCHIVE_PROGRAM == 1
// The enrollment pictures fill the print step by step: each shows more accent blue than the one
// before, and the last one nearly all of the first picture's print.
TEST_F(SkinArchive, EnrollmentPicturesFillStepByStep)
{
    auto blue = [](const std::wstring& name) {
        std::string bytes;
        Picture picture;
        if (!s_archive->Read(name, bytes) || !Decode(bytes, picture)) return -1;
        int count = 0;
        for (size_t i = 0; i < picture.rgba.size(); i += 4) {
            const int r = picture.rgba[i], g = picture.rgba[i + 1], b = picture.rgba[i + 2], a = picture.rgba[i + 3];
            if (a > 160 && b > r + 120 && b > g + 40) ++count;
        }
        return count;
    };
    int previous = blue(L"Rec_Finger_1.png");
    EXPECT_GE(previous, 0);
    for (int n = 1; n <= 12; ++n) {
        const int now = blue(L"png_reg_fingerprint_" + std::to_wstring(n) + L".png");
        EXPECT_GT(now, previous) << "step " << n;
        previous = now;
    }
    EXPECT_GT(previous, blue(L"Rec_Finger_Add.png") * 9 / 10);
}
#endif
