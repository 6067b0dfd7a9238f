#include "capi/attribute_table.h"

#include <unordered_map>

#include "capi/attribute_access.h"
#include "capi/attribute_rows.h"

namespace zpv::capi {

namespace {

// The one attribute without a property: the driver prefix, answered without the driver object.
ViStatus ReadPrefix(ViSession, ViConstString, void* out, ViInt32 bufferSize) {
    return ivi::CopyOutText("ZPV4870", bufferSize, static_cast<char*>(out));
}

#define ZPV_C_PER_PHASE_Session false
#define ZPV_C_PER_PHASE_PerPhase true
#define ZPV_C_WRITER_ReadOnly(I, Name, Scope) nullptr
#define ZPV_C_WRITER_ReadWrite(I, Name, Scope) &WriteProperty<I, &I::put_##Name, ZPV_C_PER_PHASE_##Scope>
// A read-only row must name a property without put_, a read/write row one with it.
#define ZPV_C_WRITABLE_ReadOnly false
#define ZPV_C_WRITABLE_ReadWrite true

#define ZPV_C_ATTRIBUTE_CHECK(Id, I, Name, Access, Scope)                                                     \
    static_assert([]<class T>(T*) { return requires { &T::put_##Name; }; }(static_cast<I*>(nullptr)) ==      \
                      ZPV_C_WRITABLE_##Access,                                                                \
                  "row " #Id ": the access does not match the property");
ZPV_C_ATTRIBUTES(ZPV_C_ATTRIBUTE_CHECK)

#define ZPV_C_ATTRIBUTE_ENTRY(Id, I, Name, Access, Scope)                                                 \
    AttributeEntry{Id,                                                                                    \
                   #Id,                                                                                   \
                   ValueTypeOf<GetterTraits<decltype(&I::get_##Name)>::Value>(),                        \
                   EnumNameOf<GetterTraits<decltype(&I::get_##Name)>::Value>(),                         \
                   ZPV_C_PER_PHASE_##Scope,                                                               \
                   &ReadProperty<I, &I::get_##Name, ZPV_C_PER_PHASE_##Scope>,                                \
                   ZPV_C_WRITER_##Access(I, Name, Scope)},

const AttributeEntry kAttributes[] = {
    {ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, "ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX", ValueType::String, {}, false,
     &ReadPrefix, nullptr},
    ZPV_C_ATTRIBUTES(ZPV_C_ATTRIBUTE_ENTRY)};

}  // namespace

std::span<const AttributeEntry> AllAttributes() { return kAttributes; }

const AttributeEntry* FindAttribute(ViAttr id) {
    static const auto byId = [] {
        std::unordered_map<ViAttr, const AttributeEntry*> map;
        for (const AttributeEntry& entry : kAttributes) map.emplace(entry.id, &entry);
        return map;
    }();
    const auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

}  // namespace zpv::capi
