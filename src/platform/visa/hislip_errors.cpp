#include "platform/visa/hislip_errors.h"

namespace zpv::visa {

namespace {

struct HislipErrorRow {
    std::uint8_t code;
    ViStatus status;
    const char* text;
};

constexpr HislipErrorRow kFatalErrors[] = {
    {0, VI_ERROR_RSRC_NFOUND, "unidentified error"},
    {1, VI_ERROR_RSRC_NFOUND, "poorly formed message header"},
    {2, VI_ERROR_RSRC_NFOUND, "connection used without both channels established"},
    {3, VI_ERROR_RSRC_NFOUND, "invalid initialization sequence"},
    {4, VI_ERROR_RSRC_BUSY, "maximum number of clients exceeded"},
};

constexpr HislipErrorRow kErrors[] = {
    {0, VI_ERROR_IO, "unidentified error"},
    {1, VI_ERROR_NSUP_OPER, "unrecognized message type"},
    {2, VI_ERROR_NSUP_OPER, "unrecognized control code"},
    {3, VI_ERROR_NSUP_OPER, "unrecognized vendor-defined message"},
    {4, VI_ERROR_IO, "message too large"},
};

template <std::size_t N>
const HislipErrorRow* Find(const HislipErrorRow (&table)[N], std::uint8_t code) {
    for (const HislipErrorRow& row : table)
        if (row.code == code) return &row;
    return nullptr;
}

std::string Describe(const HislipErrorRow* row, std::uint8_t code) {
    if (row) return row->text;
    return (code >= 128 ? "device-defined error " : "error ") + std::to_string(code);
}

}  // namespace

std::string HislipFatalErrorText(std::uint8_t code) { return Describe(Find(kFatalErrors, code), code); }

ViStatus HislipRefusalStatus(std::uint8_t code) {
    const HislipErrorRow* row = Find(kFatalErrors, code);
    return row ? row->status : VI_ERROR_RSRC_NFOUND;
}

ViStatus HislipErrorStatus(std::uint8_t code) {
    const HislipErrorRow* row = Find(kErrors, code);
    return row ? row->status : VI_ERROR_IO;
}

std::string HislipErrorText(std::uint8_t code) { return Describe(Find(kErrors, code), code); }

}  // namespace zpv::visa
