#pragma once

#include <dlfcn.h>

namespace tarvino::qt {

// A library opened at run time, only on the path that needs it, so that
// other starts never map it; closed with the object.
class SharedLibrary {
public:
    explicit SharedLibrary(const char* name) : lib_(dlopen(name, RTLD_LAZY | RTLD_LOCAL)) {}
    ~SharedLibrary() {
        if (lib_) dlclose(lib_);
    }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // A function of the library or of those it links; null where absent.
    template <typename T> T* get(const char* name) const {
        return lib_ ? reinterpret_cast<T*>(dlsym(lib_, name)) : nullptr;
    }

private:
    void* lib_;
};

} // namespace tarvino::qt
