#include "trace/value_rendering.h"

namespace zpv::trace::rendering {

namespace {

const char* ElementTypeName(VARTYPE type) {
    switch (type) {
        case VT_I2: return "Int16";
        case VT_I4: return "Int32";
        case VT_R4: return "Single";
        case VT_R8: return "Double";
        case VT_BSTR: return "String";
        case VT_BOOL: return "Boolean";
        case VT_VARIANT: return "VARIANT";
        case VT_UNKNOWN: return "IUnknown";
        case VT_I1: return "Char";
        case VT_UI1: return "Byte";
        case VT_UI2: return "UInt16";
        case VT_UI4: return "UInt32";
        case VT_I8: return "Int64";
        case VT_UI8: return "UInt64";
        default: return "(unknown)";
    }
}

// Hands each element's rendering to the array's writer as an element.
class ElementWriter final : public IValueWriter {
public:
    explicit ElementWriter(IValueWriter& array) : array_(array) {}
    void Scalar(std::string_view value, std::string_view dataType) override { array_.Element(value, dataType); }
    void AbsentArray() override { array_.Element("(null)", "(unknown)"); }
    std::size_t Array(std::size_t, std::string_view, std::string_view, std::size_t) override {
        array_.Element("(unknown)", "(unknown)");
        return 0;
    }
    void Element(std::string_view value, std::string_view dataType) override { array_.Element(value, dataType); }

private:
    IValueWriter& array_;
};

template <class T>
void Each(const void* data, std::size_t count, IValueWriter& out) {
    ElementWriter elements(out);
    for (std::size_t i = 0; i < count; ++i) RenderValue<T>(static_cast<const T*>(data) + i, elements);
}

}  // namespace

void RenderText(BSTR text, IValueWriter& out) { out.Scalar(com::Utf8FromBstr(text), "String"); }

void RenderArray(const SAFEARRAY* array, IValueWriter& out) {
    if (!array) return out.AbsentArray();
    VARTYPE type = VT_EMPTY;
    SafeArrayGetVartype(const_cast<SAFEARRAY*>(array), &type);
    std::string sizes;
    std::size_t total = array->cDims ? 1 : 0;
    for (std::size_t d = 0; d < array->cDims; ++d) {
        sizes += (d ? "," : "") + std::to_string(array->rgsabound[d].cElements);
        total *= array->rgsabound[d].cElements;
    }
    const std::string dataType = std::string(ElementTypeName(type)) + "[]";
    std::size_t n = out.Array(array->cDims, sizes, dataType, array->cDims == 1 ? total : 0);
    if (n == 0 || !array->pvData) return;
    n = std::min(n, total);
    switch (type) {
        case VT_R8: return Each<double>(array->pvData, n, out);
        case VT_R4: return Each<float>(array->pvData, n, out);
        case VT_I4: return Each<std::int32_t>(array->pvData, n, out);
        case VT_UI4: return Each<std::uint32_t>(array->pvData, n, out);
        case VT_I2: return Each<std::int16_t>(array->pvData, n, out);
        case VT_UI2: return Each<std::uint16_t>(array->pvData, n, out);
        case VT_UI1: return Each<std::uint8_t>(array->pvData, n, out);
        case VT_BOOL: return Each<VARIANT_BOOL>(array->pvData, n, out);
        case VT_BSTR: return Each<BSTR>(array->pvData, n, out);
        case VT_I8: return Each<std::int64_t>(array->pvData, n, out);
        case VT_UI8: return Each<std::uint64_t>(array->pvData, n, out);
        default:
            for (std::size_t i = 0; i < n; ++i) out.Element("(unknown)", "(unknown)");
    }
}

}  // namespace zpv::trace::rendering
