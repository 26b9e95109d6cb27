#pragma once

#include <cstdlib>
#include <memory>

namespace tarvino::qt {

// xcb hands each reply over as malloc'd memory of the caller's.
struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, XcbFree>;

} // namespace tarvino::qt
