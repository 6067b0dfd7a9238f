#include "platform/visa/vxi11_errors.h"

namespace zpv::visa {

namespace {

struct Vxi11ErrorRow {
    std::int32_t code;
    ViStatus status;
    const char* text;
};

constexpr Vxi11ErrorRow kErrors[] = {
    {0, VI_SUCCESS, "no error"},
    {1, VI_ERROR_INV_PARAMETER, "syntax error"},
    {3, VI_ERROR_RSRC_NFOUND, "device not accessible"},
    {4, VI_ERROR_CONN_LOST, "invalid link identifier"},
    {5, VI_ERROR_INV_PARAMETER, "parameter error"},
    {6, VI_ERROR_NSUP_OPER, "channel not established"},
    {8, VI_ERROR_NSUP_OPER, "operation not supported"},
    {9, VI_ERROR_ALLOC, "out of resources"},
    {11, VI_ERROR_RSRC_LOCKED, "device locked by another link"},
    {12, VI_ERROR_SESN_NLOCKED, "no lock held by this link"},
    {15, VI_ERROR_TMO, "I/O timeout"},
    {17, VI_ERROR_IO, "I/O error"},
    {21, VI_ERROR_RSRC_NFOUND, "invalid address"},
    {23, VI_ERROR_ABORT, "abort"},
    {29, VI_ERROR_IO, "channel already established"},
};

const Vxi11ErrorRow* Find(std::int32_t code) {
    for (const Vxi11ErrorRow& row : kErrors)
        if (row.code == code) return &row;
    return nullptr;
}

}  // namespace

ViStatus Vxi11ErrorStatus(std::int32_t code) {
    const Vxi11ErrorRow* row = Find(code);
    return row ? row->status : VI_ERROR_IO;
}

std::string Vxi11ErrorText(std::int32_t code) {
    const Vxi11ErrorRow* row = Find(code);
    return "VXI-11 error " + std::to_string(code) + " (" + (row ? row->text : "unknown error") + ")";
}

}  // namespace zpv::visa
