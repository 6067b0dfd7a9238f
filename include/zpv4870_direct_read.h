// A read into the caller's own storage: at most Count bytes of the response, the rest kept for the
// next read. The driver object offers it besides its published interfaces: the C interface's
// viRead and the C++ face's read_into reach the object through it, so the reply lands where the
// caller wants it and a short buffer never loses what did not fit.
#pragma once

#include "zpv4870_runtime.h"

ZPV_DEFINE_IID(IZPV4870DirectRead, 0x5E0B7C21, 0x93A4, 0x4F6B, 0x8D, 0x1E, 0x62, 0xC4, 0x0A, 0x97, 0x3B, 0x58);
struct IZPV4870DirectRead : IUnknown {
    // S_OK with the response's last byte, 0x00040102 when it goes on.
    virtual HRESULT ReadInto(BYTE* Buffer, LONG Count, LONG* ReturnCount) = 0;

protected:
    ~IZPV4870DirectRead() = default;
};
