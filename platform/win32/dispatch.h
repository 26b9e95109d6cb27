#pragma once

#include <oaidl.h>
#include <string>
#include <windows.h>

namespace tarvino::win32 {

// Owns one initialisation of COM on this thread.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_ = false;
};

// Owns a VARIANT and clears it on every path.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &v_; }
    const VARIANT& operator*() const { return v_; }

private:
    VARIANT v_;
};

// An IDispatch reference called late-bound, by member name. Failures throw
// std::runtime_error naming the member, its argument and the error.
class Dispatch {
public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* owned) : p_(owned) {}
    Dispatch(Dispatch&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    Dispatch& operator=(Dispatch&& other) noexcept;
    ~Dispatch();
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

    // Creates an object from its programmatic identifier.
    static Dispatch create(const wchar_t* progId);

    // Calls a method with one text argument.
    void call(const wchar_t* name, const std::wstring& argument, Variant& result);
    // Reads a property.
    void get(const wchar_t* name, Variant& result);

private:
    void invoke(const wchar_t* name, WORD flags, DISPPARAMS& params, const std::wstring& shown,
                Variant& result);
    IDispatch* p_ = nullptr;
};

// Text of a COM failure code, mapping the codes whose own text may be empty.
std::wstring errorText(HRESULT code);

} // namespace tarvino::win32
