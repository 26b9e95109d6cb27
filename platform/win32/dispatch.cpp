#include "dispatch.h"

#include "utf.h"

#include <cstdio>
#include <stdexcept>

namespace tarvino::win32 {

namespace {

struct ExcepInfo {
    EXCEPINFO info{};
    ~ExcepInfo() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

class Bstr {
public:
    explicit Bstr(const std::wstring& text)
        : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!b_) throw std::runtime_error("out of memory");
    }
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }

private:
    BSTR b_;
};

std::string hex(HRESULT code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(code));
    return buffer;
}

[[noreturn]] void fail(const std::string& what, HRESULT code, const std::wstring& description) {
    const std::wstring text = description.empty() ? errorText(code) : description;
    throw std::runtime_error(what + " failed: " + narrow(text) + " (" + hex(code) + ")");
}

} // namespace

ComApartment::ComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) fail("CoInitializeEx", hr, L"");
    initialised_ = true;
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

std::wstring errorText(HRESULT code) {
    switch (static_cast<unsigned long>(code)) {
    case 0x800A0044UL:
        return L"Device unavailable";
    case 0x80070057UL:
        return L"Invalid procedure call or argument";
    case 0x800A004CUL:
        return L"Path not found";
    case 0x800A0035UL:
        return L"File not found";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out = n ? std::wstring(text, n) : std::wstring(L"unknown error");
    LocalFree(text);
    while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L'.'))
        out.pop_back();
    return out;
}

Dispatch& Dispatch::operator=(Dispatch&& other) noexcept {
    if (this != &other) {
        if (p_) p_->Release();
        p_ = other.p_;
        other.p_ = nullptr;
    }
    return *this;
}

Dispatch::~Dispatch() {
    if (p_) p_->Release();
}

Dispatch Dispatch::create(const wchar_t* progId) {
    const std::string what = "creating " + narrow(progId);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) fail(what, hr, L"");
    IDispatch* object = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&object));
    if (FAILED(hr)) fail(what, hr, L"");
    return Dispatch(object);
}

void Dispatch::call(const wchar_t* name, const std::wstring& argument, Variant& result) {
    Bstr text(argument);
    VARIANTARG arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = text.get();
    DISPPARAMS params{&arg, nullptr, 1, 0};
    invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, params, argument, result);
}

void Dispatch::get(const wchar_t* name, Variant& result) {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    invoke(name, DISPATCH_PROPERTYGET, params, L"", result);
}

void Dispatch::invoke(const wchar_t* name, WORD flags, DISPPARAMS& params,
                      const std::wstring& shown, Variant& result) {
    std::string what = narrow(name);
    if (flags & DISPATCH_METHOD) what += "(\"" + narrow(shown) + "\")";
    if (!p_) throw std::runtime_error(what + " failed: no object");
    LPOLESTR member = const_cast<LPOLESTR>(name);
    DISPID id = 0;
    HRESULT hr = p_->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) fail(what, hr, L"");
    ExcepInfo excep;
    UINT badArg = 0;
    hr = p_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.get(), &excep.info,
                    &badArg);
    if (hr == DISP_E_EXCEPTION) {
        if (excep.info.pfnDeferredFillIn) excep.info.pfnDeferredFillIn(&excep.info);
        const HRESULT code = excep.info.scode ? excep.info.scode
                                              : MAKE_HRESULT(1, FACILITY_CONTROL, excep.info.wCode);
        const std::wstring description =
            excep.info.bstrDescription ? excep.info.bstrDescription : L"";
        fail(what, code, description);
    }
    if (FAILED(hr)) fail(what, hr, L"");
}

} // namespace tarvino::win32
