#pragma once
// Parses one leaf box from its bytes the way a container does: the header with a
// temporary CBox, then the class made as a copy of it.
#include <memory>
#include <string>

#include "boxes/box.h"

template <class T>
struct Parsed {
    std::unique_ptr<T> box;
    int status = -1;
    T* operator->() const { return box.get(); }
};

template <class T, class... Args>
Parsed<T> ParseLeaf(const std::string& bytes, Args... args) {
    CBitStreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
    CBox header;
    Parsed<T> out;
    if (header.ParseBox(reader) < 0) return out;
    out.box = std::make_unique<T>(header, args...);
    out.status = out.box->ParseBox(reader);
    return out;
}
