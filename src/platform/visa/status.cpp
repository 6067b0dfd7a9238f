#include "platform/visa/status.h"

#include <cstdio>

namespace zpv::visa {

namespace {

struct StatusRow {
    ViStatus status;
    const char* name;
    const char* text;
};

constexpr StatusRow kStatuses[] = {
    {VI_SUCCESS, "VI_SUCCESS", "Operation completed successfully."},
    {VI_SUCCESS_TERM_CHAR, "VI_SUCCESS_TERM_CHAR", "The read stopped at the termination character."},
    {VI_SUCCESS_MAX_CNT, "VI_SUCCESS_MAX_CNT",
     "The requested number of bytes was read; the message may go on."},
    {VI_SUCCESS_NESTED_SHARED, "VI_SUCCESS_NESTED_SHARED",
     "Done; the session still holds a nested shared lock."},
    {VI_SUCCESS_NESTED_EXCLUSIVE, "VI_SUCCESS_NESTED_EXCLUSIVE",
     "Done; the session still holds a nested exclusive lock."},
    {VI_ERROR_SYSTEM_ERROR, "VI_ERROR_SYSTEM_ERROR", "Unexpected system error."},
    {VI_ERROR_INV_OBJECT, "VI_ERROR_INV_OBJECT", "The session is closed or invalid."},
    {VI_ERROR_RSRC_LOCKED, "VI_ERROR_RSRC_LOCKED", "The resource is locked by another session."},
    {VI_ERROR_RSRC_NFOUND, "VI_ERROR_RSRC_NFOUND", "The resource was not found or cannot be reached."},
    {VI_ERROR_INV_RSRC_NAME, "VI_ERROR_INV_RSRC_NAME", "The resource name is not valid."},
    {VI_ERROR_INV_ACC_MODE, "VI_ERROR_INV_ACC_MODE", "The access mode is not valid."},
    {VI_ERROR_TMO, "VI_ERROR_TMO", "The operation did not complete within the timeout."},
    {VI_ERROR_CLOSING_FAILED, "VI_ERROR_CLOSING_FAILED", "The session could not be closed cleanly."},
    {VI_ERROR_NSUP_ATTR, "VI_ERROR_NSUP_ATTR", "The attribute is not supported by this resource."},
    {VI_ERROR_NSUP_ATTR_STATE, "VI_ERROR_NSUP_ATTR_STATE",
     "The attribute value is not supported by this resource."},
    {VI_ERROR_INV_LOCK_TYPE, "VI_ERROR_INV_LOCK_TYPE", "The lock type is not valid."},
    {VI_ERROR_INV_ACCESS_KEY, "VI_ERROR_INV_ACCESS_KEY", "The access key is not valid for this resource."},
    {VI_ERROR_ABORT, "VI_ERROR_ABORT", "The operation was aborted."},
    {VI_ERROR_INV_SETUP, "VI_ERROR_INV_SETUP", "The operation cannot start because the setup is not valid."},
    {VI_ERROR_ALLOC, "VI_ERROR_ALLOC", "Not enough system resources to complete the operation."},
    {VI_ERROR_IO, "VI_ERROR_IO", "An input/output error occurred."},
    {VI_ERROR_NCIC, "VI_ERROR_NCIC", "The interface is not the controller in charge."},
    {VI_ERROR_NSUP_OPER, "VI_ERROR_NSUP_OPER",
     "The operation is not supported or the transport is not available."},
    {VI_ERROR_ASRL_PARITY, "VI_ERROR_ASRL_PARITY", "A parity error occurred on the serial line."},
    {VI_ERROR_ASRL_FRAMING, "VI_ERROR_ASRL_FRAMING", "A framing error occurred on the serial line."},
    {VI_ERROR_ASRL_OVERRUN, "VI_ERROR_ASRL_OVERRUN", "Received data was lost to an overrun on the serial line."},
    {VI_ERROR_USER_BUF, "VI_ERROR_USER_BUF", "The user buffer is not valid."},
    {VI_ERROR_RSRC_BUSY, "VI_ERROR_RSRC_BUSY", "The resource is busy."},
    {VI_ERROR_INV_PARAMETER, "VI_ERROR_INV_PARAMETER", "A parameter value is not valid."},
    {VI_ERROR_INV_PROT, "VI_ERROR_INV_PROT", "The peer did not follow the protocol."},
    {VI_ERROR_SESN_NLOCKED, "VI_ERROR_SESN_NLOCKED", "The session does not hold a lock on the resource."},
    {VI_ERROR_LIBRARY_NFOUND, "VI_ERROR_LIBRARY_NFOUND", "A library needed by the transport was not found."},
    {VI_ERROR_CONN_LOST, "VI_ERROR_CONN_LOST", "The connection to the instrument was lost."},
    {VI_ERROR_NPERMISSION, "VI_ERROR_NPERMISSION", "Access to the resource was denied."},
};

}  // namespace

std::string StatusDescription(ViStatus status) {
    for (const StatusRow& row : kStatuses)
        if (row.status == status) return std::string(row.name) + ": " + row.text;
    char text[64];
    std::snprintf(text, sizeof text, "Unknown %s status 0x%08X.", status < 0 ? "error" : "completion",
                  static_cast<unsigned>(status));
    return text;
}

}  // namespace zpv::visa
