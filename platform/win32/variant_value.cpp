#include "variant_value.h"

#include "utf.h"

#include <cmath>
#include <stdexcept>

namespace tarvino::win32 {

namespace {
[[noreturn]] void unexpected(const VARIANT& v, const char* what) {
    throw std::runtime_error(std::string(what) + ": unexpected value of type " +
                             std::to_string(v.vt));
}
} // namespace

std::int32_t toInt32(const VARIANT& v, const char* what) {
    switch (v.vt) {
    case VT_I2:
        return v.iVal;
    case VT_I4:
        return v.lVal;
    case VT_UI1:
        return v.bVal;
    default:
        unexpected(v, what);
    }
}

std::uint32_t toSerial(const VARIANT& v, const char* what) {
    if (v.vt == VT_I4) return static_cast<std::uint32_t>(v.lVal);
    if (v.vt == VT_UI4) return v.ulVal;
    if (v.vt == VT_R8 && v.dblVal >= -2147483648.0 && v.dblVal <= 4294967295.0 &&
        std::trunc(v.dblVal) == v.dblVal)
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(v.dblVal));
    unexpected(v, what);
}

std::uint64_t toByteCount(const VARIANT& v, const char* what) {
    switch (v.vt) {
    case VT_I4:
        if (v.lVal >= 0) return static_cast<std::uint64_t>(v.lVal);
        break;
    case VT_I8:
        if (v.llVal >= 0) return static_cast<std::uint64_t>(v.llVal);
        break;
    case VT_UI8:
        return v.ullVal;
    case VT_R8: // whole, or it is no count of bytes
        if (v.dblVal >= 0 && v.dblVal < 18446744073709551616.0 && std::trunc(v.dblVal) == v.dblVal)
            return static_cast<std::uint64_t>(v.dblVal);
        break;
    case VT_DECIMAL:
        // A whole, non-negative count fits the 96-bit mantissa's low 64 bits.
        if (v.decVal.scale == 0 && v.decVal.sign == 0 && v.decVal.Hi32 == 0) return v.decVal.Lo64;
        break;
    default:
        break;
    }
    unexpected(v, what);
}

std::string toText(const VARIANT& v, const char* what) {
    if (v.vt != VT_BSTR) unexpected(v, what);
    return v.bstrVal ? narrow(std::wstring_view(v.bstrVal, SysStringLen(v.bstrVal))) : "";
}

} // namespace tarvino::win32
