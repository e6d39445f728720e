#include "boxes/containers/corvel.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "base/log.h"
#include "boxes/containers/media_data_box.h"
#include "boxes/fragments/segment_index_boxes.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/streaming/bootstrap_info_box.h"
#include "boxes/streaming/fragment_random_access_box.h"
#include "boxes/streaming/user_types.h"
#include "boxes/streaming/xmp_metadata_box.h"

namespace {
// A box that is only read through: an unknown type, a uuid that is not XMP,
// or a class that is not decoded yet.
std::unique_ptr<CBox> Skipped(const CBox& h, bool& skip) {
    skip = true;
    return std::make_unique<CBox>(h);
}

// Creates the top-level box of a header; `skip` tells that it is only read through.
std::unique_ptr<CBox> MakeTopLevelBox(const CBox& h, bool& flvInMdat, bool& skip) {
    skip = false;
    const std::string code = FourCCText(h.m_type);
    switch (h.m_type) {
        case FourCC("ftyp"):
        case FourCC("styp"):
            LogDispatch(0, "##### File Type Box('%s')", code.c_str());
            return std::make_unique<CFileTypeBox>(h);
        case FourCC("pdin"):
            LogDispatch(0, "##### Progressive Download Information Box('pdin')");
            return std::make_unique<CProgressiveDownloadbox>(h);
        case FourCC("moov"):
            LogDispatch(0, "##### Movie Box ('moov')");
            return std::make_unique<CMovieBox>(h);
        case FourCC("moof"):
            LogDispatch(0, "##### Movie Fragment Box('moof')");
            return std::make_unique<CMovieFragmentBox>(h);
        case FourCC("mfra"):
            LogDispatch(0, "##### Movie Fragment Rancom Access Box('mfra')");
            return std::make_unique<CMovieFragmentRandomAccessBox>(h);
        case FourCC("meco"):
            LogDispatch(0, "##### Additional Metadata Container Box('meco')");
            return std::make_unique<CMecoBox>(h);
        case FourCC("mdat"):
            LogDispatch(0, "##### Media Data Container Box('mdat')");
            return std::make_unique<CMediaDataBox>(h, flvInMdat);
        case FourCC("free"):
        case FourCC("skip"):
            LogDispatch(0, "##### Free Sapce Box('%s')", code.c_str());
            return std::make_unique<CFreeSpaceBox>(h);
        case FourCC("meta"):
            LogDispatch(0, "##### Metadata Box('meta')");
            return std::make_unique<CMetaBox>(h);
        case FourCC("udta"):
            LogDispatch(0, "##### User Data Box('udta')");
            return std::make_unique<CUserDataBox>(h, 0);
        case FourCC("uuid"):
            LogDispatch(0, "##### File('uuid')");
            if (HasUserType(h, kXmpUserType)) return std::make_unique<CXMPMetadataBox>(h);
            return Skipped(h, skip);
        case FourCC("sidx"):
            LogDispatch(0, "##### Segment Index Box('sidx')");
            return std::make_unique<CSegmentIndexBox>(h);
        case FourCC("ssix"):
            LogDispatch(0, "##### Subsegment Index Box('ssix')");
            return std::make_unique<CSubsegmentIndexBox>(h);
        case FourCC("prft"):
            LogDispatch(0, "##### Producer Reference Time Box('prft')");
            return std::make_unique<CProducerReferenceTimeBox>(h);
        case FourCC("afra"):
            LogDispatch(0, "##### Fragment Random Access Box('afra')");
            flvInMdat = true;  // set before the box parses, so it holds even if that parse fails
            return std::make_unique<CFragmentRandomAccessBox>(h);
        case FourCC("abst"):
            LogDispatch(0, "##### Bootstrap Info Box('abst')");
            flvInMdat = true;
            return std::make_unique<CBootStrapInfoBox>(h);
        default:
            CORVEL_LOG(" not supported to paring %s", code.c_str());
            return Skipped(h, skip);
    }
}
}  // namespace

namespace {
// Whether the first box of a file can begin an ISO base media file: a header that can
// be read, four printable characters for its type, and no size field of 2 to 7.
bool BeginsMediaFile(bool headerRead, const CBox& header) {
    if (!headerRead || (header.m_size >= 2 && header.m_size <= 7)) return false;
    const std::string type = FourCCText(header.m_type);
    return std::all_of(type.begin(), type.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// A header the file ends inside: a box of what it says, at least a header's bytes,
// so the cut is told like any other. Its type is 0 when not even that is there.
std::unique_ptr<CBox> CutHeaderBox(const CBox& header) {
    auto box = std::make_unique<CBox>(header);
    uint32_t least = header.m_size == 1 ? 16 : 8;
    if (header.m_type == FourCC("uuid")) least += 16;
    if (header.m_size == 1) {
        // A large size cut short: the box keeps its form, so that what is there counts as
        // its header, never as its payload.
        box->SetLargeSize(least);
        return box;
    }
    box->m_size = header.m_size >= least ? header.m_size : least;
    box->SetLargeSize(0);
    return box;
}

// Media data and free space are only counted: their payload is never read.
bool ReadsPayload(const CBox& box, bool skip) {
    if (skip || box.m_type == FourCC("free") || box.m_type == FourCC("skip")) return false;
    auto* mdat = dynamic_cast<const CMediaDataBox*>(&box);
    return !mdat || mdat->HoldsFlv();
}
}  // namespace

int CCorvel::Go(const TopLevelVisitor& visit, SpanMap* spans) {
    if (!m_reader || !m_reader->IsOpen()) {
        CORVEL_LOG("[CCorvelLib::Go()] ReadBitStreamFile instance is null");
        return -1;
    }
    // A walk that keeps its boxes makes them in its arena; one that hands each top-level
    // box on lets it go whole.
    std::optional<BoxArena::Scope> arena;
    if (!visit) arena.emplace(m_arena);
    int status = 0;
    bool truncated = false;
    // Marks and numbers the box just read and keeps it with its bytes (null for a header
    // alone), or hands both on.
    auto settle = [&](std::unique_ptr<CBinaryData> bytes) {
        truncated = MarkAndNumber(*m_boxes.back()) || truncated;
        if (!visit) {
            m_buffers.push_back(std::move(bytes));
            return;
        }
        TopLevelBox top{std::move(m_boxes.back()), std::move(bytes)};
        m_boxes.pop_back();
        visit(top);
    };
    while (true) {
        const int64_t pos = m_reader->Position();
        if (pos >= m_reader->FileSize()) {
            CORVEL_LOG(" MP4 Parsing is completed..!!!");
            break;
        }
        m_currentBoxOffset = pos;
        // The header first: it gives the class, and the class whether the payload is read.
        uint8_t head[CReadBitStreamFile::kHeaderBytes];
        CBitStreamReader headReader(head, m_reader->PeekHeader(head) * 8);
        CBox header;
        header.m_startOffset = pos;
        const bool headerRead = header.ParseBox(headReader) == 0;
        if (pos == 0 && !BeginsMediaFile(headerRead, header)) {
            m_notMediaHeader = std::make_unique<CBox>(header);
            status = -1;
            break;
        }
        if (!headerRead) {
            m_boxes.push_back(CutHeaderBox(header));
            settle(nullptr);
            break;
        }
        bool skip = false;
        std::unique_ptr<CBox> box = MakeTopLevelBox(header, m_bFlvInMdat, skip);
        // A first box of a type the dispatch does not know (a uuid of any user type is
        // one it knows) that declares more bytes than the file holds is no box: the first
        // bytes of a text file read as a size and a printable type declare gigabytes. A
        // real file cut short starts with a box the dispatch knows.
        if (pos == 0 && skip && header.m_type != FourCC("uuid") && header.BoxSize() > uint64_t(m_reader->FileSize())) {
            m_notMediaHeader = std::make_unique<CBox>(header);
            status = -1;
            break;
        }
        const bool payloadRead = ReadsPayload(*box, skip);
        std::unique_ptr<CBinaryData> buffer;
        if (m_reader->ExtractBox(buffer, payloadRead ? CReadBitStreamFile::kMaxBoxBytes : headReader.BitPosition / 8) == 0 ||
            !buffer) {
            CORVEL_LOG("Fail to Extract a Box");
            status = -1;
            break;
        }
        CBitStreamReader reader(buffer->Data(), buffer->Size() * 8, buffer->Available());
        reader.SetOrigin(uint64_t(pos), spans);
        const size_t kept = m_boxes.size();
        const int parsed = RetrieveBoxInfo(reader, std::move(box), skip);
        // The bytes of a box read in full stay for its pages; a header alone is read again.
        // A header that does not read makes no box.
        if (m_boxes.size() > kept) settle(payloadRead ? std::move(buffer) : nullptr);
        if (parsed < 0) {
            status = -1;
            break;
        }
    }
    IndexTopLevel();
    return status < 0 || truncated ? -1 : 0;
}

int CCorvel::RetrieveBoxInfo(CBitStreamReader& reader, std::unique_ptr<CBox> box, bool skip) {
    // The header again: the box's own parse reads what follows it.
    CBox header;
    header.m_startOffset = m_currentBoxOffset;
    if (header.ParseBox(reader) < 0) {
        CORVEL_LOG("[CCorvel::RetrieveBoxInfo] parsing error");
        return -1;
    }
    int status = 0;
    if (!skip) {
        status = box->ParseBox(reader);
        NoteUnread(*box, reader);
    }
    m_boxes.push_back(std::move(box));
    return status;
}

bool CCorvel::MarkAndNumber(CBox& top) {
    // Depth first with the end each box's container declares (a child of size 0 runs to
    // it): a box before its children, children in file order.
    const uint64_t fileSize = uint64_t(m_reader->FileSize());
    std::vector<std::pair<CBox*, uint64_t>> pending{{&top, UINT64_MAX}};
    bool truncated = false;
    while (!pending.empty()) {
        auto [box, containerEnd] = pending.back();
        pending.pop_back();
        box->m_id = ++m_lastId;
        const uint64_t start = uint64_t(box->m_startOffset);
        const uint64_t declared = box->m_size == 0 ? std::min(containerEnd, fileSize) - std::min(start, fileSize)
                                                   : box->BoxSize();
        box->SetSizes(declared, start >= fileSize ? 0 : std::min(declared, fileSize - start));
        truncated = truncated || box->IsTruncated();
        const uint64_t end = declared > UINT64_MAX - start ? UINT64_MAX : start + declared;
        for (auto it = box->m_children.rbegin(); it != box->m_children.rend(); ++it)
            if (*it) pending.emplace_back(it->get(), end);
    }
    if (top.IsTruncated() && !m_firstTruncated) {
        m_firstTruncated = std::make_unique<CBox>(top);
        m_firstTruncated->SetSizes(top.DeclaredSize(), top.PresentSize());
    }
    return truncated;
}

void CCorvel::IndexTopLevel() {
    m_moofs.clear();
    m_mdats.clear();
    m_places.clear();
    m_places.reserve(m_boxes.size());
    // The walk is over: the lists of a million boxes give back what they grew too much.
    m_boxes.shrink_to_fit();
    m_buffers.shrink_to_fit();
    const auto count = [&](uint32_t type) {
        return std::count_if(m_boxes.begin(), m_boxes.end(), [&](const auto& b) { return b->m_type == type; });
    };
    m_moofs.reserve(size_t(count(FourCC("moof"))));
    m_mdats.reserve(size_t(count(FourCC("mdat"))));
    uint64_t fragmentBytes = 0;
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        const CBox* box = m_boxes[i].get();
        const bool moof = box->m_type == FourCC("moof"), mdat = box->m_type == FourCC("mdat");
        m_places.push_back({moof ? m_moofs.size() : mdat ? m_mdats.size() : 0, fragmentBytes});
        if (moof) m_moofs.push_back(box);
        if (mdat) m_mdats.push_back(box);
        if (moof || mdat) fragmentBytes += box->BoxSize();
    }
}

const CBox* CCorvel::Counterpart(const CBox& box, uint32_t type, const std::vector<const CBox*>& others) const {
    if (box.m_type != type || m_moofs.size() != m_mdats.size()) return nullptr;
    const TopLevelPlace* place = PlaceOf(box.m_id);
    return place ? others[place->ordinal] : nullptr;
}

uint64_t CCorvel::FragmentBytesBefore(const CBox& box) const {
    const TopLevelPlace* place = PlaceOf(box.m_id);
    return place ? place->fragmentBytesBefore : 0;
}

const CBox* CCorvel::TopLevelOf(const CBox& box) const {
    // A box is numbered after the boxes before it and its own top-level box.
    auto it = std::upper_bound(m_boxes.begin(), m_boxes.end(), box.m_id,
                               [](uint32_t key, const std::unique_ptr<CBox>& b) { return key < b->m_id; });
    if (it == m_boxes.begin()) return nullptr;
    const CBox* top = std::prev(it)->get();
    const uint64_t at = uint64_t(box.m_startOffset - top->m_startOffset);
    return box.m_startOffset >= top->m_startOffset && at < top->BoxSize() ? top : nullptr;
}

const CCorvel::TopLevelPlace* CCorvel::PlaceOf(uint32_t id) const {
    // Identities grow in file order, so the top-level boxes are sorted by them.
    auto it = std::lower_bound(m_boxes.begin(), m_boxes.end(), id,
                               [](const std::unique_ptr<CBox>& box, uint32_t key) { return box->m_id < key; });
    if (it == m_boxes.end() || (*it)->m_id != id) return nullptr;
    const size_t index = size_t(it - m_boxes.begin());
    return index < m_places.size() ? &m_places[index] : nullptr;
}

namespace {
// Gives the boxes of `copy` the identities (and the sizes the walk found) of those of
// `original`; false when the two trees differ in shape.
bool CopyIdentities(const CBox& original, CBox& copy) {
    std::vector<std::pair<const CBox*, CBox*>> pending{{&original, &copy}};
    while (!pending.empty()) {
        auto [a, b] = pending.back();
        pending.pop_back();
        if (a->m_type != b->m_type || a->GetChildCount() != b->GetChildCount()) return false;
        b->m_id = a->m_id;
        b->SetSizes(a->DeclaredSize(), a->PresentSize());
        for (size_t i = 0; i < a->GetChildCount(); ++i) {
            if (!a->GetChild(i) != !b->GetChild(i)) return false;
            if (a->GetChild(i)) pending.emplace_back(a->GetChild(i), b->GetChild(i));
        }
    }
    return true;
}
}  // namespace

std::unique_ptr<CBox> CCorvel::Reparse(const CBox& top, SpanMap& spans) const {
    const TopLevelPlace* place = PlaceOf(top.m_id);
    const size_t index = place ? size_t(place - m_places.data()) : SIZE_MAX;
    if (index >= m_buffers.size()) return nullptr;
    const CBinaryData* buffer = m_buffers[index].get();
    std::unique_ptr<CBinaryData> header;  // of a box whose payload is not read: read again
    if (!buffer) {
        header = std::make_unique<CBinaryData>(std::min(top.DeclaredSize(), CReadBitStreamFile::kMaxBoxBytes),
                                               CReadBitStreamFile::kHeaderBytes);
        header->Truncate(m_reader->Read(top.m_startOffset, header->MutableData(), header->Available()));
        buffer = header.get();
    }
    CBitStreamReader reader(buffer->Data(), buffer->Size() * 8, buffer->Available());
    reader.SetOrigin(uint64_t(top.m_startOffset), &spans);
    CBox head;
    head.m_startOffset = top.m_startOffset;
    if (head.ParseBox(reader) < 0) return nullptr;
    // An mdat reads FLV tags as it did in the walk.
    const auto* mdat = dynamic_cast<const CMediaDataBox*>(&top);
    bool flvInMdat = mdat && mdat->HoldsFlv(), skip = false;
    std::unique_ptr<CBox> box = MakeTopLevelBox(head, flvInMdat, skip);
    if (!skip) {
        box->ParseBox(reader);
        NoteUnread(*box, reader);
    }
    return CopyIdentities(top, *box) ? std::move(box) : nullptr;
}

int CCorvelLib::Init(const std::string& path) {
    m_lastError = 0;
    if (!m_reader) m_reader = std::make_unique<CReadBitStreamFile>();
    if (m_reader->Open(path) < 0) {
        m_lastError = m_reader->LastError();
        CORVEL_LOG("[CCorvelLib::Init] Fail to ReadBitStreamFile Init()");
        return -1;
    }
    if (!m_parser) m_parser = std::make_unique<CCorvel>(m_reader.get());
    m_path = path;
    return 0;
}

int CCorvelLib::Go(const CCorvel::TopLevelVisitor& visit, SpanMap* spans) {
    if (!m_parser) {
        CORVEL_LOG("[CCorvelLib::Go()] Corvel instance is null");
        return -1;
    }
    if (m_parser->Go(visit, spans) < 0) {
        CORVEL_LOG("[CCorvelLib::Go()] MP4 Parsing is failed.... ");
        return -1;
    }
    return 0;
}

void CCorvelLib::Uninit() {
    m_path.clear();  // raw reads must never reach a file that is no longer open
    if (m_parser) {
        m_parser.reset();
        CORVEL_LOG("[CCorvelLib::Uninit] Corvel is Finalized.... ");
    }
    if (m_reader) {
        m_reader.reset();
        CORVEL_LOG("[CCorvelLib::Uninit] BitStreamFile is Finalized.... ");
    }
}

int64_t CCorvelLib::ReadFileBytes(int64_t offset, uint8_t* buffer, uint32_t count) const {
    if (!buffer || offset < 0 || m_path.empty()) return -1;
    return CReadBitStreamFile::ReadFileAt(m_path, offset, buffer, count);
}
