#pragma once
// A tiny zip writer for tests: builds archives in memory, including deliberately damaged ones.
// Every member is dated 2020-01-01 12:00:00 (DOS date 0x5021, time 0x6000).
#include <windows.h>
#include <zlib.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace SkinLibTest {

struct ZipEntry
{
    std::string name, data;
    uint16_t method = 8;                              // 0 stored, 8 deflated, anything else written as given
    uint16_t flags = 0;                               // bit 0 marks the member as encrypted
    uint32_t externalAttributes = 0x20 | 0x01800000;  // archive, owner may write
    std::string localExtra;
    // Damage: what the headers claim, or the bytes written, instead of the truth.
    std::optional<uint32_t> crc, uncompressedSize;
    std::optional<std::string> payload;
};

// Little-endian field of the given width.
inline std::string LittleEndian(uint32_t v, int nBytes)
{
    std::string s;
    for (int i = 0; i < nBytes; ++i) s += char(v >> (8 * i));
    return s;
}

// An extended-timestamp ("UT") extra block with the given flag bits and times.
inline std::string TimestampExtra(uint8_t flags, const std::vector<uint32_t>& times)
{
    std::string block(1, char(flags));
    for (uint32_t t : times) block += LittleEndian(t, 4);
    return "UT" + LittleEndian(uint32_t(block.size()), 2) + block;
}

class ZipWriter
{
public:
    ZipEntry& Add(const std::string& name, const std::string& data, uint16_t method = 8)
    {
        m_entries.push_back(ZipEntry{ name, data, method });
        return m_entries.back();
    }

    std::vector<uint8_t> Build() const
    {
        auto u16 = [](size_t v) { return LittleEndian(uint32_t(v), 2); };
        auto u32 = [](size_t v) { return LittleEndian(uint32_t(v), 4); };
        std::string out, directory;
        for (const ZipEntry& e : m_entries) {
            const std::string payload = e.payload ? *e.payload : e.method == 8 ? Deflate(e.data) : e.data;
            const uint32_t crc = e.crc.value_or(uint32_t(crc32(0, (const Bytef*)e.data.data(), uInt(e.data.size()))));
            // Shared by both headers: flags, method, time, date, CRC, sizes, name length.
            const std::string common = u16(e.flags) + u16(e.method) + u16(0x6000) + u16(0x5021) + u32(crc) +
                                       u32(payload.size()) + u32(e.uncompressedSize.value_or(uint32_t(e.data.size()))) +
                                       u16(e.name.size());
            // Made by 0x031E, needs 20; no extra, comment, disk or internal attributes.
            directory += u32(0x02014b50) + u16(0x031E) + u16(20) + common + u32(0) + u32(0) +
                         u32(e.externalAttributes) + u32(out.size()) + e.name;
            out += u32(0x04034b50) + u16(20) + common + u16(e.localExtra.size()) + e.name + e.localExtra + payload;
        }
        const size_t directoryOffset = out.size();
        out += directory + u32(0x06054b50) + u32(0) + u16(m_entries.size()) + u16(m_entries.size()) +
               u32(directory.size()) + u32(directoryOffset) + u16(0);
        return std::vector<uint8_t>(out.begin(), out.end());
    }

private:
    static std::string Deflate(const std::string& data)
    {
        z_stream stream = {};
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        std::string out(deflateBound(&stream, uLong(data.size())), '\0');
        stream.next_in = (Bytef*)data.data();
        stream.avail_in = uInt(data.size());
        stream.next_out = (Bytef*)&out[0];
        stream.avail_out = uInt(out.size());
        deflate(&stream, Z_FINISH);
        out.resize(stream.total_out);
        deflateEnd(&stream);
        return out;
    }

    std::vector<ZipEntry> m_entries;
};

} // namespace SkinLibTest
