// Direct I/O members: they pass straight to the I/O session, and have nothing to talk to while
// simulating.
#pragma once

#include "members/property_row.h"

namespace zpv::members {

inline constexpr const char* kNoDirectIoInSimulation = "Direct I/O operations are not available in simulation mode.";

// Runs op(session) inside the frame of row; params are the member's parameters.
template <class Node, class Op, class... Params>
HRESULT DirectIo(Node& node, const MethodRow& row, Op op, driver::FrameParam<Params>... params) {
    return driver::RunFrame(node, row.info, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        if (driver.IsSimulating()) return driver.Reporter().Report<errors::MessageId::IoGeneral>({}, kNoDirectIoInSimulation);
        return op(driver.Io());
    }, params...);
}

}  // namespace zpv::members
