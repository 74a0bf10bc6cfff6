// Throughput of the skin parser against pugixml on generated skin-like documents of 1 and
// 4 MiB. Both read UTF-8 and build UTF-16 trees (pugixml in wchar_t mode), so both pay for
// the conversion. CMarkup should reach at least pugixml's throughput. The element and
// attribute counts of both trees show that they parsed the same thing.
// pugixml is compiled in when scripts/bench.sh has fetched its source; otherwise only
// CMarkup's figures are shown.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "BenchClock.h"
#include "core/Markup.h"

#ifdef SKINLIB_BENCH_PUGIXML
#include "pugixml.hpp"
#endif

using namespace SkinLib;
using SkinLibBench::BestMicroseconds;

namespace {

const int kRounds = 15;

// Appends blocks of a skin (layouts, buttons with image descriptions, labels with entities,
// texts in Chinese, comments, indentation and CRLF) to one Window until it holds nBytes.
std::string MakeSkin(size_t nBytes)
{
    std::string s = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                    "<Window size=\"800,600\" caption=\"0,0,0,32\" roundcorner=\"4,4\" mininfo=\"400,300\">\r\n"
                    "  <Font name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\" bold=\"false\" default=\"true\" />\r\n"
                    "  <Image name=\"bk.png\" restype=\"PNG\" mask=\"#FFFF00FF\" />\r\n"
                    "  <Default name=\"Button\" value=\"height=&quot;30&quot; textcolor=&quot;#FF000000&quot;\" />\r\n";
    for (int i = 0; s.size() < nBytes; i++) {
        const std::string n = std::to_string(i);
        s += "  <VerticalLayout name=\"page_" + n + "\" bkcolor=\"#FFF0F0F0\" inset=\"8,8,8,8\" childpadding=\"6\">\r\n"
             "    <!-- page " + n + ": title bar, buttons and the tip -->\r\n"
             "    <HorizontalLayout height=\"32\" padding=\"4,4,4,4\">\r\n"
             "      <Label name=\"lbl_" + n + "\" text=\"Touch the sensor &amp; keep still\" textcolor=\"#FF1883D7\" font=\"0\" />\r\n"
             "      <Control />\r\n"
             "      <Button name=\"btn_close_" + n + "\" width=\"24\" height=\"24\" normalimage=\"file='close.png' source='0,0,24,24'\" "
             "hotimage=\"file='close.png' source='24,0,48,24'\" pushedimage=\"file='close.png' source='48,0,72,24'\" />\r\n"
             "    </HorizontalLayout>\r\n"
             "    <Button name=\"btn_Enroll_" + n + "\" text=\"Enroll\" width=\"120\" normalimage=\"file='btn.png' corner='4,4,4,4'\" "
             "textcolor=\"#FFFFFFFF\" disabledtextcolor=\"#FF808080\" />\r\n"
             "    <Text name=\"tip_" + n + "\" textpadding=\"2,0,2,0\">\xE8\xAF\xB7\xE5\xB0\x86\xE6\x89\x8B\xE6\x8C\x87"
             "\xE6\x94\xBE\xE5\x9C\xA8\xE4\xBC\xA0\xE6\x84\x9F\xE5\x99\xA8\xE4\xB8\x8A &lt;here&gt;</Text>\r\n"
             "    <Edit name=\"edt_" + n + "\" password=\"true\" maxchar=\"63\" bkimage=\"edit.png\" />\r\n"
             "  </VerticalLayout>\r\n";
    }
    return s + "</Window>\r\n";
}

struct Counts
{
    long nElements = 0;
    long nAttributes = 0;
};

void CountMarkup(CMarkupNode node, Counts& counts)
{
    for (; node.IsValid(); node = node.GetSibling()) {
        counts.nElements++;
        counts.nAttributes += node.GetAttributeCount();
        CountMarkup(node.GetChild(), counts);
    }
}

#ifdef SKINLIB_BENCH_PUGIXML
void CountPugi(pugi::xml_node node, Counts& counts)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        counts.nElements++;
        for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute()) counts.nAttributes++;
        CountPugi(child, counts);
    }
}
#endif

void Measure(size_t nBytes)
{
    const std::string skin = MakeSkin(nBytes);
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(skin.data());
    const DWORD dwSize = DWORD(skin.size());
    const double dMB = double(skin.size()) / 1e6;

    bool bLoaded = true;
    const double dMarkup = BestMicroseconds(1, kRounds, [&] {
        CMarkup xml;
        bLoaded = xml.LoadFromMem(pBytes, dwSize, SKIN_XML_UTF8) && bLoaded;
    });
    Counts markup;
    CMarkup xml;
    bLoaded = xml.LoadFromMem(pBytes, dwSize, SKIN_XML_UTF8) && bLoaded;
    CountMarkup(xml.GetRoot(), markup);
    printf("%4.2f MiB  CMarkup  %7.1f MB/s  %7.0f us  %ld elements, %ld attributes%s\n", double(nBytes) / 1048576.0,
           dMB / (dMarkup / 1e6), dMarkup, markup.nElements, markup.nAttributes, bLoaded ? "" : "  LOAD FAILED");

#ifdef SKINLIB_BENCH_PUGIXML
    bool bParsed = true;
    const double dPugi = BestMicroseconds(1, kRounds, [&] {
        pugi::xml_document doc;
        bParsed = doc.load_buffer(skin.data(), skin.size(), pugi::parse_default, pugi::encoding_utf8) && bParsed;
    });
    Counts pugi;
    pugi::xml_document doc;
    bParsed = doc.load_buffer(skin.data(), skin.size(), pugi::parse_default, pugi::encoding_utf8) && bParsed;
    CountPugi(doc, pugi);
    printf("%4.2f MiB  pugixml  %7.1f MB/s  %7.0f us  %ld elements, %ld attributes%s\n", double(nBytes) / 1048576.0,
           dMB / (dPugi / 1e6), dPugi, pugi.nElements, pugi.nAttributes, bParsed ? "" : "  PARSE FAILED");
    printf("%4.2f MiB  CMarkup / pugixml throughput %.2fx%s\n", double(nBytes) / 1048576.0, dPugi / dMarkup,
           markup.nElements == pugi.nElements && markup.nAttributes == pugi.nAttributes ? "" : "  TREES DIFFER");
#endif
}

} // namespace

int main()
{
#ifndef SKINLIB_BENCH_PUGIXML
    printf("pugixml not compiled in (scripts/bench.sh fetches it): CMarkup only\n");
#endif
    Measure(1u << 20);
    Measure(4u << 20);
    return 0;
}
