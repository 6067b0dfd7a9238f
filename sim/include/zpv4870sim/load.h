// The simulated load on the output: what the live measurements are computed against.
#pragma once

namespace zpv::sim {

struct Load {
    double impedance = 100.0;  // ohms, magnitude of the load impedance (> 0)
    double powerFactor = 1.0;  // cos(phi), lagging (0 < pf <= 1)
};

}  // namespace zpv::sim
