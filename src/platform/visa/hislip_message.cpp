#include "platform/visa/hislip_message.h"

#include <string>

namespace zpv::visa::hislip {

namespace {

struct MessageTypeRow {
    MessageType type;
    const char* name;
    bool asyncAnswer;
};

constexpr MessageTypeRow kMessageTypes[] = {
    {MessageType::Initialize, "Initialize", false},
    {MessageType::InitializeResponse, "InitializeResponse", false},
    {MessageType::FatalError, "FatalError", false},
    {MessageType::Error, "Error", true},
    {MessageType::AsyncLock, "AsyncLock", false},
    {MessageType::AsyncLockResponse, "AsyncLockResponse", true},
    {MessageType::Data, "Data", false},
    {MessageType::DataEnd, "DataEnd", false},
    {MessageType::DeviceClearComplete, "DeviceClearComplete", false},
    {MessageType::DeviceClearAcknowledge, "DeviceClearAcknowledge", false},
    {MessageType::AsyncRemoteLocalControl, "AsyncRemoteLocalControl", false},
    {MessageType::AsyncRemoteLocalResponse, "AsyncRemoteLocalResponse", true},
    {MessageType::Trigger, "Trigger", false},
    {MessageType::Interrupted, "Interrupted", false},
    {MessageType::AsyncInterrupted, "AsyncInterrupted", false},
    {MessageType::AsyncMaximumMessageSize, "AsyncMaximumMessageSize", false},
    {MessageType::AsyncMaximumMessageSizeResponse, "AsyncMaximumMessageSizeResponse", true},
    {MessageType::AsyncInitialize, "AsyncInitialize", false},
    {MessageType::AsyncInitializeResponse, "AsyncInitializeResponse", true},
    {MessageType::AsyncDeviceClear, "AsyncDeviceClear", false},
    {MessageType::AsyncServiceRequest, "AsyncServiceRequest", false},
    {MessageType::AsyncStatusQuery, "AsyncStatusQuery", false},
    {MessageType::AsyncStatusResponse, "AsyncStatusResponse", true},
    {MessageType::AsyncDeviceClearAcknowledge, "AsyncDeviceClearAcknowledge", true},
    {MessageType::AsyncLockInfo, "AsyncLockInfo", false},
    {MessageType::AsyncLockInfoResponse, "AsyncLockInfoResponse", true},
};

const MessageTypeRow* Find(MessageType type) {
    for (const MessageTypeRow& row : kMessageTypes)
        if (row.type == type) return &row;
    return nullptr;
}

}  // namespace

void EncodeHeader(const Header& header, std::uint8_t out[kHeaderSize]) {
    out[0] = 'H';
    out[1] = 'S';
    out[2] = static_cast<std::uint8_t>(header.type);
    out[3] = header.control;
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(header.parameter >> (24 - 8 * i));
    for (int i = 0; i < 8; ++i) out[8 + i] = static_cast<std::uint8_t>(header.payloadLength >> (56 - 8 * i));
}

bool DecodeHeader(const std::uint8_t in[kHeaderSize], Header* header) {
    if (in[0] != 'H' || in[1] != 'S') return false;
    header->type = static_cast<MessageType>(in[2]);
    header->control = in[3];
    header->parameter = 0;
    for (int i = 0; i < 4; ++i) header->parameter = header->parameter << 8 | in[4 + i];
    header->payloadLength = 0;
    for (int i = 0; i < 8; ++i) header->payloadLength = header->payloadLength << 8 | in[8 + i];
    return true;
}

std::string MessageTypeName(MessageType type) {
    const MessageTypeRow* row = Find(type);
    return row ? row->name : "message type " + std::to_string(static_cast<unsigned>(type));
}

bool IsAsyncAnswer(MessageType type) {
    const MessageTypeRow* row = Find(type);
    return row && row->asyncAnswer;
}

}  // namespace zpv::visa::hislip
