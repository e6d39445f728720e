#include "boxes/child_loop.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "base/log.h"

namespace {
// Nesting is bounded by the tables, but a hostile file must never exhaust the stack.
constexpr int kMaxDepth = 64;
thread_local int t_depth = 0;

struct DepthGuard {
    DepthGuard() { ++t_depth; }
    ~DepthGuard() { --t_depth; }
};
}  // namespace

ChildMade Placeholder(const CBox& header) { return {std::make_unique<CBox>(header), ChildMade::ReadThrough}; }

void WriteDispatchLine(int indent, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    corvel_log::Write("%*s%s", indent, "", text);
}

int ParseChildren(CBox& container, CBitStreamReader& reader, const ContainerTexts& texts,
                  const ChildFactory& make, std::vector<DeferredChild>* deferred) {
    if (reader.RemainingBits == 0) return 0;
    DepthGuard guard;
    if (t_depth > kMaxDepth) return -1;

    while (reader.RemainingBits > 0) {
        // The rest lies past the end of the file (a container cut short): no child is
        // made from bytes that are not there.
        if (reader.PresentBytes() < std::min<uint64_t>(8, reader.RemainingBytes())) break;
        // The child's offset comes from where it starts in the container, so an
        // odd child (header only, size 0) never shifts the offsets after it.
        int64_t childStart = container.m_startOffset + static_cast<int64_t>(reader.BitPosition / 8);
        uint64_t size = PeekBoxSize(reader);
        CBitStreamReader childReader = reader.SubReader(size == 0 ? reader.RemainingBytes() : size);
        // A partial trailing byte (never in practice) must not loop forever.
        if (childReader.RemainingBits == 0) {
            reader.SkipBits(reader.RemainingBits);
            break;
        }
        CBitStreamReader childStartReader = childReader;

        CBox header;
        header.m_startOffset = childStart;
        ChildMade made;
        int status = 0;
        if (texts.smallChild && childReader.RemainingBytes() <= 8) {
            // Header only (or less): nothing to parse; keep what the header says, or
            // nothing of it when it cannot be read whole (type 0, size 0).
            CORVEL_LOG(texts.smallChild, static_cast<int>(childReader.RemainingBytes()));
            if (header.ParseBox(childReader) < 0) header.m_size = header.m_type = 0;
            made = Placeholder(header);
        } else {
            if (header.ParseBox(childReader) < 0) {
                if (texts.header) CORVEL_LOG("%s", texts.header);
                if (texts.failOnHeader) return -1;
            }
            made = make(header);
            if (made.action == ChildMade::Unknown && texts.unknown)
                CORVEL_LOG(texts.unknown, FourCCText(header.m_type).c_str());
            if (!made.box && made.action != ChildMade::Fail) made = Placeholder(header);
        }

        switch (made.action) {
            case ChildMade::Parse:
                status = made.box->ParseBox(childReader);
                NoteUnread(*made.box, childReader);
                break;
            case ChildMade::ReadThrough:
            case ChildMade::Unknown:
                break;
            case ChildMade::Defer:
                if (deferred) deferred->push_back({made.box.get(), childStartReader});
                break;
            case ChildMade::Fail:
                status = -1;
                break;
        }

        // The next child starts at this child's declared end, whatever the child read.
        reader.SkipBits(childStartReader.RemainingBits);
        container.AddChildBox(std::move(made.box));
        if (status < 0) {
            if (texts.failure) CORVEL_LOG("%s", texts.failure);
            return -1;
        }
    }
    container.m_children.shrink_to_fit();
    if (texts.success) CORVEL_LOG("%s", texts.success);
    return 0;
}

int ParseDeferred(DeferredChild& child) {
    CBitStreamReader r = child.reader;
    CBox header;
    if (header.ParseBox(r) < 0) return -1;
    const int status = child.box->ParseBox(r);
    NoteUnread(*child.box, r);
    return status;
}

void NoteUnread(CBox& box, const CBitStreamReader& reader) {
    box.SetUnreadBytes(reader.RemainingBytes());
    if (box.UnreadBytes())
        CORVEL_LOG("[%s] %llu bytes of the payload left unread", box.TypeText().c_str(),
                   static_cast<unsigned long long>(box.UnreadBytes()));
}
