#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "boxes/box.h"
#include "base/log.h"

// The diagnostic texts of one container's child loop (null: the container has none).
struct ContainerTexts {
    const char* smallChild = nullptr;  // "... - %d"; null: no small-child rule (meco, mdia)
    const char* header = nullptr;
    const char* unknown = nullptr;     // "... - %s"
    const char* failure = nullptr;
    const char* success = nullptr;
    bool failOnHeader = false;         // meco: an unreadable child header fails the container
};

// What a container's table makes of one child header.
struct ChildMade {
    enum Action { Parse, ReadThrough, Fail, Defer, Unknown };
    std::unique_ptr<CBox> box;
    Action action = Parse;
};

// A known child: created as its class and parsed.
template <class T, class... Args>
ChildMade Known(const CBox& header, Args&&... args) {
    return {std::make_unique<T>(header, std::forward<Args>(args)...), ChildMade::Parse};
}
// An unknown or not yet decoded child: a plain box whose payload is read through.
ChildMade Placeholder(const CBox& header);

// A type the table does not know: logged with the container's unknown text, kept as a placeholder.
inline ChildMade Unknown() { return {nullptr, ChildMade::Unknown}; }

// A child whose parse waits for the end of its container's loop (sdtp, sdep, stdp
// need a sample count from a sibling that may come later). `reader` starts at the
// child's first header byte.
struct DeferredChild {
    CBox* box;
    CBitStreamReader reader;
};

using ChildFactory = std::function<ChildMade(const CBox& header)>;

// Runs the child loop over the rest of `reader`, appending the children to `container`.
// Returns 0, or -1 after the first failing child (which stays appended).
int ParseChildren(CBox& container, CBitStreamReader& reader, const ContainerTexts& texts,
                  const ChildFactory& make, std::vector<DeferredChild>* deferred = nullptr);

// Re-reads a deferred child's header and runs its ParseBox over its own bytes.
int ParseDeferred(DeferredChild& child);

// Keeps (and logs) how much of its payload a box's parse left in `reader`.
void NoteUnread(CBox& box, const CBitStreamReader& reader);

// Logs a walker's dispatch line: "#####" text indented by `indent` blanks. A macro,
// so that with the log off its arguments are not even evaluated.
void WriteDispatchLine(int indent, const char* format, ...) __attribute__((format(printf, 2, 3)));
#define LogDispatch(indent, ...)                                                \
    do {                                                                        \
        if (__builtin_expect(corvel_log::g_enabled, 0)) WriteDispatchLine(indent, __VA_ARGS__); \
    } while (0)
