#include "hislip_wire.h"

#include <algorithm>

#include "tcp_service.h"

namespace zpv::sim::hislip {

Received ReceiveHeader(int fd, int stopFd, Header* header) {
    unsigned char bytes[16];
    if (!ReceiveExactly(fd, stopFd, bytes, sizeof bytes)) return Received::Gone;
    if (bytes[0] != 'H' || bytes[1] != 'S') return Received::BadPrologue;
    header->type = bytes[2];
    header->control = bytes[3];
    header->parameter = 0;
    for (int i = 4; i < 8; ++i) header->parameter = header->parameter << 8 | bytes[i];
    header->length = 0;
    for (int i = 8; i < 16; ++i) header->length = header->length << 8 | bytes[i];
    return Received::Header;
}

bool ReceivePayload(int fd, int stopFd, std::uint64_t length, std::string* payload) {
    payload->clear();
    return ReceiveAppending(fd, stopFd, static_cast<std::size_t>(length), payload);
}

bool SkipPayload(int fd, int stopFd, std::uint64_t length) {
    char scratch[16384];
    while (length > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(length, sizeof scratch));
        if (!ReceiveExactly(fd, stopFd, scratch, chunk)) return false;
        length -= chunk;
    }
    return true;
}

bool Send(int fd, std::uint8_t type, std::uint8_t control, std::uint32_t parameter, std::string_view payload) {
    std::string header = "HS";
    header.push_back(static_cast<char>(type));
    header.push_back(static_cast<char>(control));
    for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<char>(parameter >> shift));
    header += BigEndian64(payload.size());
    // Header and payload in one send, the payload from where it lies.
    return SendAll(fd, {std::string_view(header), payload});
}

std::string BigEndian64(std::uint64_t value) {
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(value >> (56 - 8 * i));
    return bytes;
}

std::uint64_t FromBigEndian64(std::string_view bytes) {
    std::uint64_t value = 0;
    for (unsigned char c : bytes) value = value << 8 | c;
    return value;
}

}  // namespace zpv::sim::hislip
