#include "sheet/container/CompoundFile.h"
#include "sheet/container/Layout.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>

namespace sheet::container {
namespace {

using namespace layout;

constexpr std::size_t SectorSize = 512;
constexpr std::size_t EntriesPerFatSector = SectorSize / 4;

std::size_t sectorsFor(std::size_t bytes, std::size_t unit)
{
    return (bytes + unit - 1) / unit;
}

char16_t upper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// The directory's order of siblings: shorter names first, then by upper-cased code units.
bool before(const Entry* a, const Entry* b)
{
    if (a->name.size() != b->name.size())
        return a->name.size() < b->name.size();
    for (std::size_t i = 0; i < a->name.size(); ++i)
        if (upper(a->name[i]) != upper(b->name[i]))
            return upper(a->name[i]) < upper(b->name[i]);
    return false;
}

struct Node {
    const Entry* entry = nullptr;
    std::uint32_t left = NoEntry, right = NoEntry, child = NoEntry;
    std::uint32_t start = EndOfChain;
    std::uint64_t size = 0;
};

class Writer {
public:
    explicit Writer(const CompoundFile& file) : file_(file) {}

    void write(const io::ByteSink& sink)
    {
        nodes_.push_back(Node{&file_.root});
        nodes_[0].child = addChildren(file_.root);
        placeStreams();
        assemble(sink);
    }

private:
    // Numbers the children of `storage` and links them into a balanced tree; returns its top.
    std::uint32_t addChildren(const Entry& storage)
    {
        std::vector<const Entry*> sorted;
        for (const Entry& child : storage.children)
            sorted.push_back(&child);
        std::sort(sorted.begin(), sorted.end(), before);
        std::vector<std::uint32_t> ids;
        for (const Entry* child : sorted) {
            ids.push_back(static_cast<std::uint32_t>(nodes_.size()));
            nodes_.push_back(Node{child});
        }
        for (std::size_t i = 0; i < sorted.size(); ++i)
            if (sorted[i]->isStorage())
                nodes_[ids[i]].child = addChildren(*sorted[i]);
        return balance(ids, 0, ids.size());
    }

    std::uint32_t balance(const std::vector<std::uint32_t>& ids, std::size_t from, std::size_t to)
    {
        if (from >= to)
            return NoEntry;
        const std::size_t middle = from + (to - from) / 2;
        nodes_[ids[middle]].left = balance(ids, from, middle);
        nodes_[ids[middle]].right = balance(ids, middle + 1, to);
        return ids[middle];
    }

    void placeStreams()
    {
        std::size_t nextSector = 0;
        for (Node& node : nodes_) {
            if (node.entry->isStorage() || node.entry->data.empty())
                continue;
            node.size = node.entry->data.size();
            if (node.size < MiniCutoff) {
                node.start = static_cast<std::uint32_t>(miniFat_.size());
                const std::size_t count = sectorsFor(node.entry->data.size(), MiniSectorSize);
                for (std::size_t i = 0; i < count; ++i)
                    miniFat_.push_back(i + 1 < count ? node.start + static_cast<std::uint32_t>(i) + 1 : EndOfChain);
                miniStream_.insert(miniStream_.end(), node.entry->data.begin(), node.entry->data.end());
                miniStream_.resize(miniFat_.size() * MiniSectorSize, 0);
            } else {
                node.start = static_cast<std::uint32_t>(nextSector);
                bigStreams_.push_back(&node);
                nextSector += sectorsFor(node.entry->data.size(), SectorSize);
            }
        }
        bigSectors_ = nextSector;
    }

    void chainRun(std::vector<std::uint32_t>& fat, std::size_t start, std::size_t count, std::uint32_t mark = 0)
    {
        for (std::size_t i = 0; i < count; ++i)
            fat[start + i] = mark ? mark : (i + 1 < count ? static_cast<std::uint32_t>(start + i + 1) : EndOfChain);
    }

    void assemble(const io::ByteSink& sink)
    {
        const std::size_t miniStreamSectors = sectorsFor(miniStream_.size(), SectorSize);
        const std::size_t directorySectors = sectorsFor(nodes_.size() * EntrySize, SectorSize);
        const std::size_t miniFatSectors = sectorsFor(miniFat_.size() * 4, SectorSize);
        const std::size_t dataSectors = bigSectors_ + miniStreamSectors + directorySectors + miniFatSectors;
        std::size_t fatSectors = 1, difatSectors = 0;
        for (;;) {
            difatSectors = fatSectors > HeaderDifatEntries
                               ? sectorsFor(fatSectors - HeaderDifatEntries, EntriesPerFatSector - 1)
                               : 0;
            if (fatSectors * EntriesPerFatSector >= dataSectors + fatSectors + difatSectors)
                break;
            ++fatSectors;
        }
        const std::size_t miniStreamStart = bigSectors_;
        const std::size_t directoryStart = miniStreamStart + miniStreamSectors;
        const std::size_t miniFatStart = directoryStart + directorySectors;
        const std::size_t fatStart = miniFatStart + miniFatSectors;
        const std::size_t difatStart = fatStart + fatSectors;

        std::vector<std::uint32_t> fat(fatSectors * EntriesPerFatSector, FreeSector);
        for (const Node* node : bigStreams_)
            chainRun(fat, node->start, sectorsFor(node->entry->data.size(), SectorSize));
        chainRun(fat, miniStreamStart, miniStreamSectors);
        chainRun(fat, directoryStart, directorySectors);
        chainRun(fat, miniFatStart, miniFatSectors);
        chainRun(fat, fatStart, fatSectors, FatSector);
        chainRun(fat, difatStart, difatSectors, DifatSector);
        if (miniStreamSectors > 0) {
            nodes_[0].start = static_cast<std::uint32_t>(miniStreamStart);
            nodes_[0].size = miniStream_.size();
        }

        std::vector<std::uint8_t> out;
        io::ByteWriter w(out);
        writeHeader(w, fatSectors, fatStart, directoryStart, miniFatSectors, miniFatStart, difatSectors, difatStart);
        sink(out);
        for (const Node* node : bigStreams_) {
            sink(node->entry->data);
            out.assign(sectorsFor(node->entry->data.size(), SectorSize) * SectorSize - node->entry->data.size(), 0);
            sink(out);
        }
        out.clear();
        w.bytes(miniStream_);
        pad(out);
        for (const Node& node : nodes_)
            writeEntry(w, node);
        for (std::size_t i = nodes_.size(); i < directorySectors * 4; ++i)
            writeEntry(w, Node{});
        for (std::uint32_t next : miniFat_)
            w.u32(next);
        padWith(out, FreeSector);
        for (std::uint32_t next : fat)
            w.u32(next);
        for (std::size_t d = 0; d < difatSectors; ++d) {
            for (std::size_t i = 0; i < EntriesPerFatSector - 1; ++i) {
                const std::size_t index = HeaderDifatEntries + d * (EntriesPerFatSector - 1) + i;
                w.u32(index < fatSectors ? static_cast<std::uint32_t>(fatStart + index) : FreeSector);
            }
            w.u32(d + 1 < difatSectors ? static_cast<std::uint32_t>(difatStart + d + 1) : EndOfChain);
        }
        sink(out);
    }

    static void pad(std::vector<std::uint8_t>& out) { out.resize(sectorsFor(out.size(), SectorSize) * SectorSize, 0); }
    static void padWith(std::vector<std::uint8_t>& out, std::uint32_t value)
    {
        io::ByteWriter w(out);
        while (out.size() % SectorSize != 0)
            w.u32(value);
    }

    void writeHeader(io::ByteWriter& w, std::size_t fatSectors, std::size_t fatStart, std::size_t directoryStart,
                     std::size_t miniFatSectors, std::size_t miniFatStart, std::size_t difatSectors,
                     std::size_t difatStart)
    {
        for (std::uint8_t b : Signature)
            w.u8(b);
        w.zeros(16);
        w.u16(0x003E);
        w.u16(3);
        w.u16(0xFFFE);
        w.u16(9);
        w.u16(6);
        w.zeros(6);
        w.u32(0);
        w.u32(static_cast<std::uint32_t>(fatSectors));
        w.u32(static_cast<std::uint32_t>(directoryStart));
        w.u32(0);
        w.u32(MiniCutoff);
        w.u32(miniFatSectors ? static_cast<std::uint32_t>(miniFatStart) : EndOfChain);
        w.u32(static_cast<std::uint32_t>(miniFatSectors));
        w.u32(difatSectors ? static_cast<std::uint32_t>(difatStart) : EndOfChain);
        w.u32(static_cast<std::uint32_t>(difatSectors));
        for (std::size_t i = 0; i < HeaderDifatEntries; ++i)
            w.u32(i < fatSectors ? static_cast<std::uint32_t>(fatStart + i) : FreeSector);
    }

    static void writeEntry(io::ByteWriter& w, const Node& node)
    {
        const Entry* entry = node.entry;
        const std::size_t nameLength = entry ? std::min<std::size_t>(entry->name.size(), 31) : 0;
        for (std::size_t i = 0; i < 32; ++i)
            w.u16(i < nameLength ? static_cast<std::uint16_t>(entry->name[i]) : 0);
        w.u16(entry ? static_cast<std::uint16_t>((nameLength + 1) * 2) : 0);
        w.u8(entry ? static_cast<std::uint8_t>(entry->type) : 0);
        w.u8(1); // black
        w.u32(node.left);
        w.u32(node.right);
        w.u32(node.child);
        if (entry)
            w.bytes(entry->clsid);
        else
            w.zeros(16);
        w.u32(entry ? entry->stateBits : 0);
        w.u32(entry ? static_cast<std::uint32_t>(entry->created) : 0);
        w.u32(entry ? static_cast<std::uint32_t>(entry->created >> 32) : 0);
        w.u32(entry ? static_cast<std::uint32_t>(entry->modified) : 0);
        w.u32(entry ? static_cast<std::uint32_t>(entry->modified >> 32) : 0);
        w.u32(node.size ? node.start : (entry && entry->type != Entry::Type::Storage ? EndOfChain : 0));
        w.u32(static_cast<std::uint32_t>(node.size));
        w.u32(0);
    }

    const CompoundFile& file_;
    std::vector<Node> nodes_;
    std::vector<Node*> bigStreams_;
    std::size_t bigSectors_ = 0;
    std::vector<std::uint8_t> miniStream_;
    std::vector<std::uint32_t> miniFat_;
};

} // namespace

std::vector<std::uint8_t> writeCompoundFile(const CompoundFile& file)
{
    std::vector<std::uint8_t> bytes;
    writeCompoundFile(file, [&bytes](std::span<const std::uint8_t> piece) { bytes.insert(bytes.end(), piece.begin(), piece.end()); });
    return bytes;
}

void writeCompoundFile(const CompoundFile& file, const io::ByteSink& sink)
{
    Writer(file).write(sink);
}

} // namespace sheet::container
