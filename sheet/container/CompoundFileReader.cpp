#include "sheet/Errors.h"
#include "sheet/container/CompoundFile.h"
#include "sheet/container/Layout.h"
#include "sheet/io/ByteReader.h"

#include <algorithm>
#include <cstring>

namespace sheet::container {
namespace {

using namespace layout;

constexpr int MaxNesting = 64;

[[noreturn]] void damaged(const std::string& why)
{
    throw FormatError("damaged compound file: " + why);
}

struct DirectoryEntry {
    std::u16string name;
    std::uint8_t type = 0;
    std::uint32_t left = NoEntry, right = NoEntry, child = NoEntry;
    std::array<std::uint8_t, 16> clsid{};
    std::uint32_t stateBits = 0;
    std::uint64_t created = 0, modified = 0;
    std::uint32_t start = EndOfChain;
    std::uint64_t size = 0;
};

// Reading one compound file: the sector tables, the directory, then each stream once.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : file_(bytes) {}

    CompoundFile read()
    {
        readHeader();
        readFat();
        readDirectory();
        readMiniStream();
        CompoundFile result;
        const DirectoryEntry& root = entries_[0];
        result.root.type = Entry::Type::Root;
        result.root.name = root.name;
        result.root.clsid = root.clsid;
        result.root.stateBits = root.stateBits;
        result.root.created = root.created;
        result.root.modified = root.modified;
        entryVisited_.assign(entries_.size(), false);
        entryVisited_[0] = true;
        readChildren(root.child, result.root, 0);
        return result;
    }

private:
    void readHeader()
    {
        if (file_.size() < 512 || std::memcmp(file_.data(), Signature, sizeof Signature) != 0)
            throw FormatError("not a workbook: the file is not a compound document");
        io::ByteReader header(file_.first(512), "the compound file header");
        header.skip(24);
        header.u16(); // minor version
        const std::uint16_t major = header.u16();
        if (header.u16() != 0xFFFE)
            damaged("wrong byte order mark");
        const std::uint16_t sectorShift = header.u16();
        const std::uint16_t miniShift = header.u16();
        if (!((major == 3 && sectorShift == 9) || (major == 4 && sectorShift == 12)))
            damaged("unsupported version or sector size");
        if (miniShift != 6)
            damaged("unsupported mini sector size");
        sectorSize_ = std::size_t{1} << sectorShift;
        version_ = major;
        header.skip(6);
        header.u32(); // directory sectors (version 4 only)
        fatSectorCount_ = header.u32();
        firstDirectorySector_ = header.u32();
        header.u32(); // transactions
        miniCutoff_ = header.u32();
        if (miniCutoff_ != 4096)
            damaged("unsupported mini stream cutoff");
        firstMiniFatSector_ = header.u32();
        header.u32(); // mini FAT sectors: the chain says how many
        firstDifatSector_ = header.u32();
        difatSectorCount_ = header.u32();
        for (std::uint32_t& entry : headerDifat_)
            entry = header.u32();
        if (file_.size() < sectorSize_)
            damaged("the file is shorter than its header");
        sectorCount_ = (file_.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_;
        if (sectorCount_ >= LastRegularSector)
            damaged("too many sectors");
        owner_.assign(sectorCount_, false);
    }

    std::span<const std::uint8_t> sector(std::uint32_t id, std::vector<std::uint8_t>& padded) const
    {
        if (id >= sectorCount_)
            damaged("a sector number points past the end of the file");
        const std::size_t start = (static_cast<std::size_t>(id) + 1) * sectorSize_;
        const std::size_t available = std::min(sectorSize_, file_.size() - start);
        if (available == sectorSize_)
            return file_.subspan(start, sectorSize_);
        padded.assign(sectorSize_, 0);
        std::memcpy(padded.data(), file_.data() + start, available);
        return padded;
    }

    void readFat()
    {
        std::vector<std::uint32_t> fatSectors;
        for (std::uint32_t id : headerDifat_)
            if (id <= LastRegularSector)
                fatSectors.push_back(id);
        std::vector<bool> seen(sectorCount_, false);
        std::uint32_t next = firstDifatSector_;
        const std::size_t perSector = sectorSize_ / 4 - 1;
        std::vector<std::uint8_t> padded;
        for (std::uint32_t n = 0; n < difatSectorCount_ && next <= LastRegularSector; ++n) {
            if (next >= sectorCount_ || seen[next])
                damaged("the chain of DIFAT sectors loops or leaves the file");
            seen[next] = true;
            io::ByteReader difat(sector(next, padded), "a DIFAT sector");
            for (std::size_t i = 0; i < perSector; ++i) {
                const std::uint32_t id = difat.u32();
                if (id <= LastRegularSector)
                    fatSectors.push_back(id);
            }
            next = difat.u32();
        }
        if (fatSectors.size() > fatSectorCount_)
            fatSectors.resize(fatSectorCount_);
        if (fatSectors.size() > sectorCount_)
            damaged("more FAT sectors than sectors");
        fat_.reserve(std::min<std::size_t>(fatSectors.size() * (sectorSize_ / 4), sectorCount_));
        for (std::uint32_t id : fatSectors) {
            io::ByteReader table(sector(id, padded), "a FAT sector");
            for (std::size_t i = 0; i < sectorSize_ / 4 && fat_.size() < sectorCount_; ++i)
                fat_.push_back(table.u32());
        }
    }

    // The sectors of a chain, at most `limit` of them; each regular sector may belong to one chain only.
    std::vector<std::uint32_t> chain(std::uint32_t start, std::size_t limit, const std::vector<std::uint32_t>& table,
                                     std::vector<bool>& owner, const char* what) const
    {
        std::vector<std::uint32_t> ids;
        std::uint32_t id = start;
        while (id != EndOfChain && ids.size() < limit) {
            if (id >= table.size() || id >= owner.size())
                damaged(std::string("the chain of ") + what + " leaves the file");
            if (owner[id])
                damaged(std::string("the chain of ") + what + " loops or crosses another chain");
            owner[id] = true;
            ids.push_back(id);
            id = table[id];
        }
        return ids;
    }

    std::vector<std::uint8_t> readBig(std::uint32_t start, std::uint64_t size, const char* what)
    {
        if (size > file_.size())
            damaged(std::string(what) + " claims more bytes than the file holds");
        const std::size_t needed = static_cast<std::size_t>((size + sectorSize_ - 1) / sectorSize_);
        const std::vector<std::uint32_t> ids = chain(start, needed, fat_, owner_, what);
        if (ids.size() < needed)
            damaged(std::string(what) + " is longer than its chain of sectors");
        std::vector<std::uint8_t> data;
        data.reserve(static_cast<std::size_t>(size));
        std::vector<std::uint8_t> padded;
        for (std::uint32_t id : ids) {
            const auto bytes = sector(id, padded);
            const std::size_t take = std::min<std::size_t>(sectorSize_, static_cast<std::size_t>(size) - data.size());
            data.insert(data.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
        }
        return data;
    }

    std::vector<std::uint8_t> readWholeChain(std::uint32_t start, const char* what)
    {
        const std::vector<std::uint32_t> ids = chain(start, sectorCount_, fat_, owner_, what);
        std::vector<std::uint8_t> data;
        data.reserve(ids.size() * sectorSize_);
        std::vector<std::uint8_t> padded;
        for (std::uint32_t id : ids) {
            const auto bytes = sector(id, padded);
            data.insert(data.end(), bytes.begin(), bytes.end());
        }
        return data;
    }

    void readDirectory()
    {
        const std::vector<std::uint8_t> bytes = readWholeChain(firstDirectorySector_, "the directory");
        const std::size_t count = bytes.size() / EntrySize;
        if (count == 0)
            damaged("the directory is empty");
        entries_.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            io::ByteReader entry(std::span<const std::uint8_t>(bytes).subspan(i * EntrySize, EntrySize), "a directory entry");
            DirectoryEntry e;
            const auto nameBytes = entry.bytes(64);
            const std::uint16_t nameLength = entry.u16();
            e.type = entry.u8();
            entry.u8(); // colour
            e.left = entry.u32();
            e.right = entry.u32();
            e.child = entry.u32();
            std::copy_n(entry.bytes(16).begin(), 16, e.clsid.begin());
            e.stateBits = entry.u32();
            e.created = entry.u64();
            e.modified = entry.u64();
            e.start = entry.u32();
            e.size = entry.u64();
            if (version_ == 3)
                e.size &= 0xFFFFFFFFu;
            if (e.type != 0) {
                if (nameLength > 64 || nameLength % 2 != 0)
                    damaged("a directory entry has a bad name length");
                for (std::size_t c = 0; c + 1 < nameLength; c += 2) {
                    const char16_t ch = static_cast<char16_t>(nameBytes[c] | (nameBytes[c + 1] << 8));
                    if (ch == 0)
                        break;
                    e.name.push_back(ch);
                }
            }
            entries_.push_back(std::move(e));
        }
        if (entries_[0].type != 5)
            damaged("the first directory entry is not the root");
    }

    void readMiniStream()
    {
        const DirectoryEntry& root = entries_[0];
        if (root.size == 0 || root.start == EndOfChain)
            return;
        miniStream_ = readBig(root.start, root.size, "the mini stream");
        const std::vector<std::uint8_t> table = readWholeChain(firstMiniFatSector_, "the mini FAT");
        io::ByteReader entries(table, "the mini FAT");
        const std::size_t miniSectors = miniStream_.size() / MiniSectorSize;
        while (entries.remaining() >= 4 && miniFat_.size() < miniSectors)
            miniFat_.push_back(entries.u32());
        miniOwner_.assign(miniFat_.size(), false);
    }

    std::vector<std::uint8_t> readMini(std::uint32_t start, std::uint64_t size, const char* what)
    {
        const std::size_t needed = static_cast<std::size_t>((size + MiniSectorSize - 1) / MiniSectorSize);
        const std::vector<std::uint32_t> ids = chain(start, needed, miniFat_, miniOwner_, what);
        if (ids.size() < needed)
            damaged(std::string(what) + " is longer than its chain of mini sectors");
        std::vector<std::uint8_t> data;
        data.reserve(static_cast<std::size_t>(size));
        for (std::uint32_t id : ids) {
            const std::size_t offset = static_cast<std::size_t>(id) * 64;
            if (offset + 64 > miniStream_.size())
                damaged(std::string(what) + " points past the mini stream");
            const std::size_t take = std::min<std::size_t>(64, static_cast<std::size_t>(size) - data.size());
            data.insert(data.end(), miniStream_.begin() + static_cast<std::ptrdiff_t>(offset),
                        miniStream_.begin() + static_cast<std::ptrdiff_t>(offset + take));
        }
        return data;
    }

    // Adds the entries of the sibling tree below `top` to `parent`, in the tree's order.
    void readChildren(std::uint32_t top, Entry& parent, int depth)
    {
        if (depth > MaxNesting)
            damaged("storages are nested too deep");
        std::vector<std::uint32_t> pending;
        std::uint32_t current = top;
        while (current != NoEntry || !pending.empty()) {
            while (current != NoEntry) {
                visit(current);
                pending.push_back(current);
                current = entries_[current].left;
            }
            const std::uint32_t id = pending.back();
            pending.pop_back();
            addEntry(entries_[id], parent, depth);
            current = entries_[id].right;
        }
    }

    void visit(std::uint32_t id)
    {
        if (id >= entries_.size())
            damaged("a directory entry points past the directory");
        if (entryVisited_[id])
            damaged("the directory refers to an entry twice");
        entryVisited_[id] = true;
    }

    void addEntry(const DirectoryEntry& source, Entry& parent, int depth)
    {
        if (source.type != 1 && source.type != 2)
            damaged("a directory entry has an unknown type");
        Entry entry;
        entry.name = source.name;
        entry.type = source.type == 1 ? Entry::Type::Storage : Entry::Type::Stream;
        entry.clsid = source.clsid;
        entry.stateBits = source.stateBits;
        entry.created = source.created;
        entry.modified = source.modified;
        if (entry.type == Entry::Type::Stream && source.size > 0) {
            const char* what = "a stream";
            entry.data = source.size < miniCutoff_ ? readMini(source.start, source.size, what)
                                                   : readBig(source.start, source.size, what);
        }
        if (entry.type == Entry::Type::Storage)
            readChildren(source.child, entry, depth + 1);
        parent.children.push_back(std::move(entry));
    }

    std::span<const std::uint8_t> file_;
    std::size_t sectorSize_ = 512;
    int version_ = 3;
    std::uint32_t fatSectorCount_ = 0;
    std::uint32_t firstDirectorySector_ = EndOfChain;
    std::uint32_t miniCutoff_ = 4096;
    std::uint32_t firstMiniFatSector_ = EndOfChain;
    std::uint32_t firstDifatSector_ = EndOfChain;
    std::uint32_t difatSectorCount_ = 0;
    std::array<std::uint32_t, 109> headerDifat_{};
    std::size_t sectorCount_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<bool> owner_;
    std::vector<DirectoryEntry> entries_;
    std::vector<bool> entryVisited_;
    std::vector<std::uint8_t> miniStream_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<bool> miniOwner_;
};

} // namespace

CompoundFile readCompoundFile(std::span<const std::uint8_t> bytes)
{
    return Reader(bytes).read();
}

} // namespace sheet::container
