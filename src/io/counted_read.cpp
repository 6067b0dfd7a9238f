#include "io/counted_read.h"

namespace zpv::io {

HRESULT ReadIgnoringTermChar(ILowLevelIo& io, BYTE* buffer, LONG count, LONG* actual) {
    *actual = 0;
    SessionAttributes attributes;
    HRESULT hr = io.GetAttributes(&attributes);
    if (FAILED(hr)) return hr;
    if (!attributes.termCharEnabled) return io.Read(buffer, count, actual, kUseSessionTimeout);
    SessionAttributes counted = attributes;
    counted.termCharEnabled = false;
    if (hr = io.SetAttributes(counted); FAILED(hr)) return hr;
    hr = io.Read(buffer, count, actual, kUseSessionTimeout);
    const HRESULT restored = io.SetAttributes(attributes);
    return FAILED(hr) || SUCCEEDED(restored) ? hr : restored;
}

bool MayHaveStoppedAtTermChar(ILowLevelIo& io, BYTE last) {
    SessionAttributes attributes;
    return SUCCEEDED(io.GetAttributes(&attributes)) && attributes.termCharEnabled && last == attributes.termChar;
}

}  // namespace zpv::io
