#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "boxes/box.h"
#include "boxes/box_arena.h"
#include "reader/read_bit_stream_file.h"

// A top-level box a streamed walk hands on, with the bytes its tables are read from.
struct TopLevelBox {
    std::unique_ptr<CBox> box;
    std::unique_ptr<CBinaryData> bytes;  // null for a box whose payload is not read
};

// The parser of one open file: walks it one top-level box at a time.
class CCorvel {
public:
    explicit CCorvel(CReadBitStreamFile* reader) : m_reader(reader) {}
    virtual ~CCorvel() = default;
    CCorvel(const CCorvel&) = delete;
    CCorvel& operator=(const CCorvel&) = delete;

    // Walks the file: 0 when every box was read whole, -1 when a box failed, the file
    // ends inside a box, or the file does not begin as an ISO base media file. With a
    // visitor, each top-level box is handed to it as soon as it is read, marked and
    // numbered, then let go unless the visitor takes it: the tree of a large file is
    // printed without holding it (nothing is kept, so no box can be found or paged
    // afterwards). With `spans`, the walk notes there where each field lies, as a box
    // read again for its page does (the visitor clears them when they have served).
    using TopLevelVisitor = std::function<void(TopLevelBox&)>;
    int Go(const TopLevelVisitor& visit = {}, SpanMap* spans = nullptr);
    // Parses one top-level box, made from its header, over a reader of its bytes.
    int RetrieveBoxInfo(CBitStreamReader& reader, std::unique_ptr<CBox> box, bool skip);
    size_t GetBoxCount() const { return m_boxes.size(); }
    // The top-level boxes kept, in file order.
    BoxRun TopLevel() const { return m_boxes; }
    CBox* GetBox(size_t index) const { return index < m_boxes.size() ? m_boxes[index].get() : nullptr; }

    // Box identity: every box of the tree gets a number, 1, 2, ... in tree order
    // (a box before its children). FindBox answers null for a number naming no box.
    CBox* FindBox(uint32_t id) const { return FindNumberedBox(m_boxes, id); }
    // The box of identity `id` and the box whose child it is (null for a top-level box).
    CBox* FindBox(uint32_t id, CBox*& parent) const { return FindNumberedBox(m_boxes, id, &parent); }
    bool FlvInMdat() const { return m_bFlvInMdat; }
    int64_t FileSize() const { return m_reader ? m_reader->FileSize() : 0; }
    // Up to `count` bytes of the file at `offset`: the count of those the file holds.
    uint64_t ReadBytes(uint64_t offset, uint8_t* out, uint64_t count) const {
        return m_reader ? m_reader->Read(int64_t(offset), out, count) : 0;
    }
    // The header of the file's first box when the file does not begin as an ISO base
    // media file (the walk then made no box); null otherwise.
    const CBox* NotMediaHeader() const { return m_notMediaHeader.get(); }
    // A header copy of the first top-level box the file ends inside (its declared and
    // present sizes set); null when there is none.
    const CBox* FirstTruncated() const { return m_firstTruncated.get(); }

    // The mdat that goes with a moof and the moof that goes with an mdat: the i-th of
    // each among the top-level boxes, when there are as many of each; null otherwise.
    const CBox* MediaDataOf(const CBox& moof) const { return Counterpart(moof, FourCC("moof"), m_mdats); }
    const CBox* MovieFragmentOf(const CBox& mdat) const { return Counterpart(mdat, FourCC("mdat"), m_moofs); }
    // The top-level box a kept box lies in (itself for a top-level box); null when the walk
    // did not keep it.
    const CBox* TopLevelOf(const CBox& box) const;
    // The summed sizes of the top-level moof and mdat boxes before a top-level box; 0
    // when the box is not a top-level box.
    uint64_t FragmentBytesBefore(const CBox& box) const;

    // Parses a top-level box of this run again, noting in `spans` where each field
    // lies in the file: a copy of the box's subtree whose boxes carry the identities
    // of the originals. Null when the box cannot be read again.
    std::unique_ptr<CBox> Reparse(const CBox& top, SpanMap& spans) const;

private:
    // Where a top-level box stands (by its identity, so copies of it are found too): its
    // place among the boxes of its type, and the moof and mdat bytes before it. Place i
    // is that of m_boxes[i] (and m_buffers[i]).
    struct TopLevelPlace {
        size_t ordinal;  // among the moof or mdat boxes
        uint64_t fragmentBytesBefore;
    };
    const TopLevelPlace* PlaceOf(uint32_t id) const;

    // Marks the boxes of a top-level box just read whose declared end lies past the end
    // of the file (true when any does) and numbers them after those before it.
    bool MarkAndNumber(CBox& top);
    void IndexTopLevel();
    const CBox* Counterpart(const CBox& box, uint32_t type, const std::vector<const CBox*>& others) const;

    CReadBitStreamFile* m_reader;
    BoxArena m_arena;  // of the boxes a walk keeps; goes after them
    std::vector<std::unique_ptr<CBox>> m_boxes;
    // The bytes of each top-level box whose payload was read; null for a header alone.
    std::vector<std::unique_ptr<CBinaryData>> m_buffers;
    std::unique_ptr<CBox> m_notMediaHeader;
    std::unique_ptr<CBox> m_firstTruncated;
    uint32_t m_lastId = 0;
    std::vector<const CBox*> m_moofs, m_mdats;
    std::vector<TopLevelPlace> m_places;  // of each top-level box
    int64_t m_currentBoxOffset = 0;
    bool m_bFlvInMdat = false;
};

// The facade the desktop program and corvel drive: Init(path), Go, Uninit.
class CCorvelLib {
public:
    CCorvelLib() = default;
    virtual ~CCorvelLib() { Uninit(); }
    CCorvelLib(const CCorvelLib&) = delete;
    CCorvelLib& operator=(const CCorvelLib&) = delete;

    int Init(const std::string& path);
    int Go(const CCorvel::TopLevelVisitor& visit = {}, SpanMap* spans = nullptr);
    void Uninit();
    // Reads raw bytes through a descriptor of its own; returns the count read or -1.
    int64_t ReadFileBytes(int64_t offset, uint8_t* buffer, uint32_t count) const;

    CCorvel* Parser() const { return m_parser.get(); }
    const std::string& Path() const { return m_path; }
    // errno of the last failed Init (0 when none), for the message to the user.
    int LastError() const { return m_lastError; }
    int64_t FileSize() const { return m_reader ? m_reader->FileSize() : 0; }

private:
    std::unique_ptr<CReadBitStreamFile> m_reader;
    std::unique_ptr<CCorvel> m_parser;
    std::string m_path;
    int m_lastError = 0;
};
