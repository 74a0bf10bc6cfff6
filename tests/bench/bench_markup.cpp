// Throughput of the skin parser against pugixml, side by side in one run:
//   - generated skin-like documents of 32 KiB (the size of real skins), 1 and 4 MiB;
//   - 32 KiB and 1 MiB of a skin whose attribute values are dense with entity references
//     (image descriptions quoted inside Default lists and in attributes) and whose texts
//     are Chinese;
//   - the XML files found on the system (scripts/bench.sh rewrites them into the subset the
//     parser takes, with tests/bench/xml_corpus.py, into xml_corpus beside this program).
// Both read UTF-8 and build UTF-16 trees (pugixml in wchar_t mode), so both pay for the
// conversion. CMarkup should reach at least pugixml's throughput on each. The element and
// attribute counts of both trees show that they parsed the same thing.
// pugixml is compiled in when scripts/bench.sh has fetched its source; without it only
// CMarkup's figures are shown and the run counts as a missed goal, since the comparison is
// what this benchmark is for.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "core/Markup.h"

#ifdef SKINLIB_BENCH_PUGIXML
#include "pugixml.hpp"
#endif

using namespace SkinLib;
using SkinLibBench::BestMicroseconds;

namespace {

const int kRounds = 15;
// A skin of the size real ones have takes no time to speak of: many rounds find its best.
const int kSmallRounds = 300;
const int kCorpusRounds = 9;

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

// Blocks of a skin whose image descriptions are written as attribute values, their quotes as
// entity references, and whose texts and tooltips are Chinese, until it holds nBytes.
std::string MakeDenseSkin(size_t nBytes)
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                    "<Window size=\"460,550\" caption=\"0,0,0,40\">\r\n"
                    "  <Font name=\"微软雅黑\" size=\"12\" default=\"true\" />\r\n"
                    "  <Default name=\"Button\" value=\"normalimage=&quot;file=&apos;btn.png&apos; source=&apos;0,0,96,30&apos; "
                    "corner=&apos;4,4,4,4&apos;&quot; hotimage=&quot;file=&apos;btn.png&apos; source=&apos;96,0,192,30&apos; "
                    "corner=&apos;4,4,4,4&apos;&quot;\" />\r\n";
    for (int i = 0; s.size() < nBytes; i++) {
        const std::string n = std::to_string(i);
        s += "  <VerticalLayout name=\"page_" + n + "\" bkcolor=\"#FFFFFFFF\" inset=\"12,8,12,8\" childpadding=\"6\">\r\n"
             "    <Label name=\"title_" + n + "\" text=\"请将手指放在传感器上，然后抬起，重复几次直到录入完成\" font=\"0\" "
             "textcolor=\"#FF1A1A1A\" />\r\n"
             "    <Button name=\"btn_ok_" + n + "\" text=\"确定\" tooltip=\"点击确定 &amp; 继续录入下一个手指\" "
             "normalimage=\"file=&apos;ok.png&apos; source=&apos;0,0,96,30&apos;\" />\r\n"
             "    <Label name=\"tip_" + n + "\" text=\"指纹录入成功，请勿移动手指。如果失败，请清洁传感器后重试。\" "
             "align=\"center\" textcolor=\"#FF333333\" bkimage=\"file=&apos;tip.png&apos; corner=&apos;2,2,2,2&apos;\" />\r\n"
             "    <Text name=\"help_" + n + "\">帮助：指纹传感器位于密钥的顶部。录入时请将手指平放在传感器上，"
             "轻轻按压，待指示灯闪烁后抬起手指，再换一个角度重新放上。每个手指需要录入多次，才能得到完整的指纹模板。"
             "如果多次失败，请检查手指是否干燥清洁，然后重新开始录入。</Text>\r\n"
             "    <Edit name=\"edt_" + n + "\" password=\"true\" tooltip=\"输入密钥的 PIN 码\" />\r\n"
             "  </VerticalLayout>\r\n";
    }
    return s + "</Window>\r\n";
}

// The share of a document's bytes that stand in entity references.
double EntityShare(const std::string& s)
{
    size_t nEntityBytes = 0;
    for (const char* pstrEntity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
        const std::string entity = pstrEntity;
        for (size_t pos = s.find(entity); pos != std::string::npos; pos = s.find(entity, pos + 1)) {
            nEntityBytes += entity.size();
        }
    }
    return double(nEntityBytes) / double(s.size());
}

// The share of a document's bytes that belong to characters beyond ASCII.
double NonAsciiShare(const std::string& s)
{
    return double(std::count_if(s.begin(), s.end(), [](char ch) { return (ch & 0x80) != 0; })) / double(s.size());
}

struct Counts
{
    long nElements = 0;
    long nAttributes = 0;

    bool operator==(const Counts& rhs) const { return nElements == rhs.nElements && nAttributes == rhs.nAttributes; }
};

void CountMarkup(CMarkupNode node, Counts& counts)
{
    for (; node.IsValid(); node = node.GetSibling()) {
        counts.nElements++;
        counts.nAttributes += node.GetAttributeCount();
        CountMarkup(node.GetChild(), counts);
    }
}

bool ParseMarkup(const std::string& doc, Counts* pCounts = NULL)
{
    CMarkup xml;
    if (!xml.LoadFromMem(reinterpret_cast<const BYTE*>(doc.data()), DWORD(doc.size()), SKIN_XML_UTF8)) return false;
    if (pCounts != NULL) CountMarkup(xml.GetRoot(), *pCounts);
    return true;
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

bool ParsePugi(const std::string& doc, Counts* pCounts = NULL)
{
    pugi::xml_document xml;
    if (!xml.load_buffer(doc.data(), doc.size(), pugi::parse_default, pugi::encoding_utf8)) return false;
    if (pCounts != NULL) CountPugi(xml, *pCounts);
    return true;
}
#endif

// Parses every document with each parser, nRounds times, the two parsers taking turns on each
// document so that both meet the same load of the machine, and adds up each document's best
// time per parser. Prints both throughputs; false when CMarkup falls behind pugixml or the
// trees differ.
bool Compare(const char* pstrWhat, const std::vector<std::string>& docs, int nRounds)
{
    double dMB = 0;
    for (const std::string& doc : docs) dMB += double(doc.size()) / 1e6;

    bool bLoaded = true;
    std::vector<double> aMarkup(docs.size(), 1e300);
#ifdef SKINLIB_BENCH_PUGIXML
    bool bParsed = true;
    std::vector<double> aPugi(docs.size(), 1e300);
#endif
    for (int round = 0; round < nRounds; round++) {
        for (size_t i = 0; i < docs.size(); i++) {
            aMarkup[i] = std::min(aMarkup[i], BestMicroseconds(1, 1, [&] { bLoaded = ParseMarkup(docs[i]) && bLoaded; }));
#ifdef SKINLIB_BENCH_PUGIXML
            aPugi[i] = std::min(aPugi[i], BestMicroseconds(1, 1, [&] { bParsed = ParsePugi(docs[i]) && bParsed; }));
#endif
        }
    }

    const double dMarkup = std::accumulate(aMarkup.begin(), aMarkup.end(), 0.0);
    Counts markup;
    for (const std::string& doc : docs) ParseMarkup(doc, &markup);
    printf("%-20s CMarkup  %7.1f MB/s  %8.0f us  %ld elements, %ld attributes%s\n", pstrWhat, dMB / (dMarkup / 1e6),
           dMarkup, markup.nElements, markup.nAttributes, bLoaded ? "" : "  LOAD FAILED");
    bool bGoal = bLoaded;

#ifdef SKINLIB_BENCH_PUGIXML
    const double dPugi = std::accumulate(aPugi.begin(), aPugi.end(), 0.0);
    Counts pugi;
    for (const std::string& doc : docs) ParsePugi(doc, &pugi);
    printf("%-20s pugixml  %7.1f MB/s  %8.0f us  %ld elements, %ld attributes%s\n", pstrWhat, dMB / (dPugi / 1e6),
           dPugi, pugi.nElements, pugi.nAttributes, bParsed ? "" : "  PARSE FAILED");
    const bool bSame = markup == pugi;
    printf("%-20s CMarkup / pugixml throughput %.2fx%s%s\n", pstrWhat, dPugi / dMarkup, bSame ? "" : "  TREES DIFFER",
           dPugi / dMarkup >= 1.0 ? "" : "  GOAL MISSED");
    bGoal = bGoal && bParsed && bSame && dPugi >= dMarkup;
#endif
    return bGoal;
}

// The files of the folder beside this program that both parsers read to the same tree;
// the others are counted and left out.
std::vector<std::string> LoadCorpus(const wchar_t* pstrFolder, int* pnLeftOut)
{
    wchar_t szPath[MAX_PATH];
    DWORD cch = ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    while (cch > 0 && szPath[cch - 1] != L'\\') cch--;
    std::wstring sFolder = std::wstring(szPath, cch) + pstrFolder + L"\\";
    std::vector<std::string> docs;
    *pnLeftOut = 0;
    WIN32_FIND_DATAW fd;
    HANDLE hFind = ::FindFirstFileW((sFolder + L"*.xml").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE) return docs;
    do {
        HANDLE hFile = ::CreateFileW((sFolder + fd.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                     OPEN_EXISTING, 0, NULL);
        if (hFile == INVALID_HANDLE_VALUE) continue;
        std::string doc(fd.nFileSizeLow, '\0');
        DWORD dwRead = 0;
        const bool bRead = ::ReadFile(hFile, &doc[0], DWORD(doc.size()), &dwRead, NULL) && dwRead == doc.size();
        ::CloseHandle(hFile);
        Counts markup;
        bool bSame = bRead && ParseMarkup(doc, &markup);
#ifdef SKINLIB_BENCH_PUGIXML
        Counts pugi;
        bSame = bSame && ParsePugi(doc, &pugi) && markup == pugi;
#endif
        if (bSame) docs.push_back(doc);
        else ++*pnLeftOut;
    } while (::FindNextFileW(hFind, &fd));
    ::FindClose(hFind);
    return docs;
}

} // namespace

int main()
{
    bool bGoals = true;
#ifndef SKINLIB_BENCH_PUGIXML
    printf("pugixml not compiled in (scripts/bench.sh fetches it into .deps/pugixml): no comparison, "
           "CMarkup only  GOAL MISSED\n");
    bGoals = false;
#endif
    bGoals = Compare("skin 32 KiB", {MakeSkin(32u << 10)}, kSmallRounds) && bGoals;
    bGoals = Compare("skin 1 MiB", {MakeSkin(1u << 20)}, kRounds) && bGoals;
    bGoals = Compare("skin 4 MiB", {MakeSkin(4u << 20)}, kRounds) && bGoals;
    const std::string dense = MakeDenseSkin(1u << 20);
    printf("dense skin: %.1f%% of its bytes in entity references, %.0f%% in Chinese text\n", 100.0 * EntityShare(dense),
           100.0 * NonAsciiShare(dense));
    bGoals = Compare("dense skin 32 KiB", {MakeDenseSkin(32u << 10)}, kSmallRounds) && bGoals;
    bGoals = Compare("dense skin 1 MiB", {dense}, kRounds) && bGoals;

    int nLeftOut = 0;
    const std::vector<std::string> corpus = LoadCorpus(L"xml_corpus", &nLeftOut);
    if (corpus.empty()) {
        printf("system XML files: none in xml_corpus beside this program (scripts/bench.sh makes it)\n");
    } else {
        printf("system XML files: %u files, %d left out (a parser refused them or the trees differ)\n",
               unsigned(corpus.size()), nLeftOut);
        bGoals = Compare("system XML files", corpus, kCorpusRounds) && bGoals;
    }
    return bGoals ? 0 : 1;
}
