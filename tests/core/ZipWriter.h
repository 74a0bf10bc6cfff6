#pragma once
// A tiny zip writer for tests: builds archives in memory, including deliberately damaged ones.
#include <windows.h>
#include <zlib.h>
#include <cstdint>
#include <string>
#include <vector>

namespace SkinLibTest {

struct ZipEntry
{
    std::string name;
    std::string data;
    uint16_t method = 8;            // 0 stored, 8 deflated, anything else is written as given
    uint16_t flags = 0;             // bit 0 marks the member as encrypted
    uint16_t dosTime = 0x6000;      // 12:00:00
    uint16_t dosDate = 0x5021;      // 2020-01-01
    uint32_t externalAttributes = 0x20 | 0x01800000;  // archive, owner may write
    std::string localExtra;
    // Damage: what the directory claims instead of the truth.
    bool overrideCrc = false;
    uint32_t crc = 0;
    bool overrideSize = false;
    uint32_t uncompressedSize = 0;
    bool overridePayload = false;   // payload written as given instead of compressed data
    std::string payload;
};

inline std::string DeflateRaw(const std::string& data)
{
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, uLong(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

inline uint32_t Crc32(const std::string& data)
{
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

// An extended-timestamp ("UT") extra block with the given flag bits and times.
inline std::string TimestampExtra(uint8_t flags, const std::vector<uint32_t>& times)
{
    std::string block;
    block += char(flags);
    for (uint32_t t : times)
        for (int i = 0; i < 4; ++i) block += char((t >> (8 * i)) & 0xFF);
    std::string extra = "UT";
    extra += char(block.size() & 0xFF);
    extra += char(block.size() >> 8);
    return extra + block;
}

class ZipWriter
{
public:
    ZipEntry& Add(const std::string& name, const std::string& data, uint16_t method = 8)
    {
        m_entries.push_back(ZipEntry());
        ZipEntry& entry = m_entries.back();
        entry.name = name;
        entry.data = data;
        entry.method = method;
        return entry;
    }

    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> out;
        std::vector<uint8_t> directory;
        for (const ZipEntry& entry : m_entries) {
            std::string payload = entry.overridePayload ? entry.payload
                                : entry.method == 8 ? DeflateRaw(entry.data) : entry.data;
            uint32_t crc = entry.overrideCrc ? entry.crc : Crc32(entry.data);
            uint32_t size = entry.overrideSize ? entry.uncompressedSize : uint32_t(entry.data.size());
            uint32_t offset = uint32_t(out.size());

            Put32(out, 0x04034b50);
            Put16(out, 20);
            Put16(out, entry.flags);
            Put16(out, entry.method);
            Put16(out, entry.dosTime);
            Put16(out, entry.dosDate);
            Put32(out, crc);
            Put32(out, uint32_t(payload.size()));
            Put32(out, size);
            Put16(out, uint16_t(entry.name.size()));
            Put16(out, uint16_t(entry.localExtra.size()));
            PutBytes(out, entry.name);
            PutBytes(out, entry.localExtra);
            PutBytes(out, payload);

            Put32(directory, 0x02014b50);
            Put16(directory, 0x031E);
            Put16(directory, 20);
            Put16(directory, entry.flags);
            Put16(directory, entry.method);
            Put16(directory, entry.dosTime);
            Put16(directory, entry.dosDate);
            Put32(directory, crc);
            Put32(directory, uint32_t(payload.size()));
            Put32(directory, size);
            Put16(directory, uint16_t(entry.name.size()));
            Put16(directory, 0);
            Put16(directory, 0);
            Put16(directory, 0);
            Put16(directory, 0);
            Put32(directory, entry.externalAttributes);
            Put32(directory, offset);
            PutBytes(directory, entry.name);
        }
        uint32_t directoryOffset = uint32_t(out.size());
        out.insert(out.end(), directory.begin(), directory.end());
        Put32(out, 0x06054b50);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, uint16_t(m_entries.size()));
        Put16(out, uint16_t(m_entries.size()));
        Put32(out, uint32_t(directory.size()));
        Put32(out, directoryOffset);
        Put16(out, 0);
        return out;
    }

private:
    static void Put16(std::vector<uint8_t>& out, uint16_t v)
    {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    }
    static void Put32(std::vector<uint8_t>& out, uint32_t v)
    {
        Put16(out, uint16_t(v));
        Put16(out, uint16_t(v >> 16));
    }
    static void PutBytes(std::vector<uint8_t>& out, const std::string& bytes)
    {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }

    std::vector<ZipEntry> m_entries;
};

} // namespace SkinLibTest
