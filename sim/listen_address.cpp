#include "zpv4870sim/listen_address.h"

#include <arpa/inet.h>

namespace zpv::sim {

std::optional<ListenAddress> ListenAddress::Parse(std::string_view text) {
    in_addr address{};
    if (::inet_pton(AF_INET, std::string(text).c_str(), &address) != 1) return std::nullopt;
    return ListenAddress{ntohl(address.s_addr)};
}

std::string ListenAddress::Text() const {
    in_addr address{htonl(ipv4)};
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace zpv::sim
