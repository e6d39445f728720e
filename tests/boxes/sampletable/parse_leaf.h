#pragma once
// Parses one leaf box from its bytes the way a container does: the header with a
// temporary CBox, then the class made as a copy of it. The bytes stay with the box:
// its tables are read in place.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "boxes/box.h"
#include "support/box_builder.h"

template <class T>
struct Parsed {
    std::shared_ptr<const std::string> bytes;
    std::unique_ptr<T> box;
    int status = -1;
    T* operator->() const { return box.get(); }
};

template <class T, class... Args>
Parsed<T> ParseLeaf(std::string bytes, Args... args) {
    Parsed<T> out;
    out.bytes = std::make_shared<const std::string>(std::move(bytes));
    CBitStreamReader reader(reinterpret_cast<const uint8_t*>(out.bytes->data()), out.bytes->size() * 8);
    CBox header;
    if (header.ParseBox(reader) < 0) return out;
    out.box = std::make_unique<T>(header, args...);
    out.status = out.box->ParseBox(reader);
    return out;
}

// A leaf whose bytes end too soon (or hold fewer entries than its count): it must fail,
// and keeps what it read.
template <class T, class... Args>
Parsed<T> Failing(std::string bytes, Args... args) {
    Parsed<T> out = ParseLeaf<T>(std::move(bytes), args...);
    EXPECT_EQ(out.status, -1) << typeid(T).name() << " should fail";
    return out;
}

// Boxes where the walk meets them: in the sample table of a track of `handler`.
inline std::string InStbl(const std::string& boxes, const std::string& handler = "vide") {
    return Box("moov", Box("trak", Box("mdia", Hdlr(handler) + Box("minf", Box("stbl", boxes)))));
}
