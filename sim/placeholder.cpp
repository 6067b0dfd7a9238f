// placeholder so the simulator library has a translation unit until the simulator lands
namespace zpv::sim {}
