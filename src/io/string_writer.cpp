#include "io/string_writer.h"

namespace zpv::io {

HRESULT CStringWriter::Write(const BYTE* data, LONG count, LONG* written, bool) {
    if (written) *written = 0;
    if (!data || count < 0) return E_INVALIDARG;
    text_.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(count));
    if (written) *written = count;
    return S_OK;
}

HRESULT CStringWriter::WriteByte(BYTE value, bool) {
    text_.push_back(static_cast<char>(value));
    return S_OK;
}

}  // namespace zpv::io
