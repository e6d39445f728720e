#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "boxes/box.h"
#include "boxes/child_loop.h"

// The base of every sample entry: 6 reserved bytes and the data reference index.
class CSampleEntry : public CBox {
public:
    explicit CSampleEntry(const CBox& header) : CBox(header) {}
    // Reads the reserved bytes and the data reference index.
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_reserved[6] = {};
    uint32_t m_dataReferenceIndex = 0;  // 16
};

// An entry whose layout is the base fields, then its boxes: a code of a text, subtitle,
// metadata or closed caption track without a layout of its own (wvtt, mebx, c608 ...).
class CBoxesSampleEntry : public CSampleEntry {
public:
    explicit CBoxesSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// The outcome of reading one box inside an entry.
enum class ChildStatus { Parsed, HeaderFailed, ParseFailed };

// Reads the next box of `reader` as a T child of `entry`: a reader over its declared
// size (the rest when 0 or larger), its header, then T's ParseBox. `reader` moves past
// the child. The child is appended when parsed, or whatever its status when
// `keepFailed` is set.
template <class T>
ChildStatus ParseChild(CBox& entry, CBitStreamReader& reader, bool keepFailed);

// The log texts of an entry that holds an esds.
struct EsdsEntryTexts {
    const char* headerError;  // no box header after the entry's fields
    const char* esdsError;    // the esds fails to parse
    ContainerTexts after;     // the boxes after the esds
};
// Reads the box after an entry's fields as its esds, whatever its type says, then the
// boxes after it as the entry's children (see EntryChild).
// An esds that fails is not kept: it fails the entry, or with `esdsMayFail` leaves the
// entry parsed and the rest read through.
int ParseEsdsAndAfter(CBox& entry, CBitStreamReader& reader, const EsdsEntryTexts& texts, bool esdsMayFail);

// The boxes any sample entry may hold after its fields: the codec configurations (audio
// and video), colour and HDR, btrt, m4ds, pasp, clap, protection and free space decoded;
// Unknown() for any other type.
ChildMade EntryChild(const CBox& header);

// Reads the rest of `reader` as the boxes of `entry` (see EntryChild): what any entry
// holds after the fields of its layout, whatever its code.
int ParseEntryChildren(CBox& entry, CBitStreamReader& reader);

// Reads a string of an entry's fields up to its zero byte (read, not kept) or to the
// end of the bytes.
int ReadEntryString(CBitStreamReader& reader, std::string& out);

// Reads the rest of `reader` through: the bytes of an entry this program does not decode.
inline void ReadThrough(CBitStreamReader& reader) { reader.SkipBits(reader.RemainingBits); }

// ---- implementation

// Reads the header of the next box of `reader`; the child's reader and where it starts.
struct ChildReader {
    CBox header;
    CBitStreamReader reader;   // after the header
    uint64_t bits = 0;         // the child's whole length
    bool headerRead = false;
};
ChildReader NextChild(const CBox& entry, const CBitStreamReader& reader);

template <class T>
ChildStatus ParseChild(CBox& entry, CBitStreamReader& reader, bool keepFailed) {
    ChildReader next = NextChild(entry, reader);
    reader.SkipBits(next.bits);
    if (!next.headerRead) return ChildStatus::HeaderFailed;
    auto child = std::make_unique<T>(next.header);
    const int status = child->ParseBox(next.reader);
    NoteUnread(*child, next.reader);
    if (status == 0 || keepFailed) entry.AddChildBox(std::move(child));
    return status == 0 ? ChildStatus::Parsed : ChildStatus::ParseFailed;
}
