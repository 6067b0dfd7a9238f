// USB[n]::vid::pid::serial[::intf]::INSTR through the Linux usbtmc kernel driver: the node that
// sysfs names for the device (usbtmc_device_finder.h), read and written with read(2) and write(2),
// everything else by the driver's ioctls. Before each transfer the driver's timeout is set to what
// is left of ours (it takes no less than 100 ms). A write carries EOM on its last transfer when
// END is asked for. After a read the driver tells whether the last transfer ended the message
// (END, VI_SUCCESS) or stopped at the termination character, which the device looks for itself;
// where the device cannot, we look for it and keep what came after for the next read.
#pragma once

#include <vector>

#include "platform/visa/session_base.h"

namespace zpv::visa {

class UsbtmcSession final : public SessionBase {
    // Open: VI_ERROR_RSRC_NFOUND naming the resource when no device matches or its node is not a usbtmc
    // device; VI_ERROR_NPERMISSION when the node may not be opened.
    ZPV_TRANSPORT_SESSION_OPERATIONS

public:
    UsbtmcSession(ResourceDescriptor descriptor, int fd);
    ~UsbtmcSession() override;

protected:
    ViStatus ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) override;

private:
    ViStatus ApplyTimeout(const Deadline& deadline);
    ViStatus ApplyTermChar(const ReadStop& stop);
    ViStatus ApplyEom(bool end);

    int fd_;
    ViUInt32 driverTimeoutMs_ = 0;
    int termCharSetting_ = -1;   // what the driver was told: -1 nothing yet, else char | enabled << 8
    bool deviceTermChar_ = true;  // false: the device cannot stop at it, we look ourselves
    int eomSetting_ = -1;
    std::vector<ViByte> pending_;  // read past our own termination character
};

}  // namespace zpv::visa
