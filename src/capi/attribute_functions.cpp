// The ten typed attribute functions: one lookup serves them all.
#include "capi/attribute_table.h"
#include "capi/c_call.h"

using namespace zpv::capi;

namespace {

// Finds the attribute and checks the call's type and direction; null with the failure recorded.
const AttributeEntry* Look(ViSession vi, ViAttr id, ValueType type, bool write, ViStatus& status) {
    const AttributeEntry* entry = FindAttribute(id);
    if (!entry) {
        status = SetError(vi, ZPV4870_ERROR_INVALID_ATTRIBUTE, "Attribute ID '%1' not recognized.");
    } else if (entry->type != type) {
        status = SetError(vi, ZPV4870_ERROR_TYPES_DO_NOT_MATCH, "%1Attribute%2 called for attribute '%3' of type '%4'.");
    } else if (write && !entry->write) {
        status = SetError(vi, ZPV4870_ERROR_ATTRIBUTE_NOT_WRITABLE, "Attribute '%1' is read-only.");
    } else if (!write && !entry->read) {
        status = SetError(vi, ZPV4870_ERROR_ATTRIBUTE_NOT_READABLE, "Attribute '%1' is write-only.");
    } else {
        return entry;
    }
    return nullptr;
}

ViStatus Get(ViSession vi, ViConstString channel, ViAttr id, ValueType type, void* value, ViInt32 bufferSize = 0) {
    return CCall(vi, [&] {
        ViStatus status = VI_SUCCESS;
        const AttributeEntry* entry = Look(vi, id, type, false, status);
        return entry ? entry->read(vi, channel, value, bufferSize) : status;
    });
}

ViStatus Set(ViSession vi, ViConstString channel, ViAttr id, ValueType type, const void* value) {
    return CCall(vi, [&] {
        ViStatus status = VI_SUCCESS;
        const AttributeEntry* entry = Look(vi, id, type, true, status);
        return entry ? entry->write(vi, channel, value) : status;
    });
}

}  // namespace

extern "C" {

ViStatus ZPV4870_GetAttributeViInt32(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                     ViInt32* attributeValue) {
    return Get(vi, channelName, attributeId, ValueType::Int32, attributeValue);
}

ViStatus ZPV4870_GetAttributeViReal64(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                      ViReal64* attributeValue) {
    return Get(vi, channelName, attributeId, ValueType::Real64, attributeValue);
}

ViStatus ZPV4870_GetAttributeViBoolean(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                       ViBoolean* attributeValue) {
    return Get(vi, channelName, attributeId, ValueType::Boolean, attributeValue);
}

ViStatus ZPV4870_GetAttributeViSession(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                       ViSession* attributeValue) {
    return Get(vi, channelName, attributeId, ValueType::Session, attributeValue);
}

ViStatus ZPV4870_GetAttributeViString(ViSession vi, ViConstString channelName, ViAttr attributeId, ViInt32 bufferSize,
                                      ViChar attributeValue[]) {
    return Get(vi, channelName, attributeId, ValueType::String, attributeValue, bufferSize);
}

ViStatus ZPV4870_SetAttributeViInt32(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                     ViInt32 attributeValue) {
    return Set(vi, channelName, attributeId, ValueType::Int32, &attributeValue);
}

ViStatus ZPV4870_SetAttributeViReal64(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                      ViReal64 attributeValue) {
    return Set(vi, channelName, attributeId, ValueType::Real64, &attributeValue);
}

ViStatus ZPV4870_SetAttributeViBoolean(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                       ViBoolean attributeValue) {
    return Set(vi, channelName, attributeId, ValueType::Boolean, &attributeValue);
}

ViStatus ZPV4870_SetAttributeViSession(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                       ViSession attributeValue) {
    return Set(vi, channelName, attributeId, ValueType::Session, &attributeValue);
}

ViStatus ZPV4870_SetAttributeViString(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                      ViConstString attributeValue) {
    return Set(vi, channelName, attributeId, ValueType::String, &attributeValue);
}

}  // extern "C"
