#include "context/call_context.h"

#include <string_view>

namespace zpv::driver {

namespace {

std::string_view WithoutAccessorPrefix(std::string_view method) {
    if (method.starts_with("get_") || method.starts_with("put_")) method.remove_prefix(4);
    return method;
}

}  // namespace

MethodInfo::MethodInfo(const IID& iid_, const char* interfaceName_, const char* methodName_)
    : iid(iid_), interfaceName(interfaceName_), methodName(methodName_) {
    displayName.reserve(interfaceName.size() + methodName.size() + 1);
    displayName.append(interfaceName).append(".").append(WithoutAccessorPrefix(methodName));
    opensTrace = displayName == "IIviDriver.Initialize";
}

}  // namespace zpv::driver
