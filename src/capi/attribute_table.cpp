// The member tables first: the C header's macros (VI_SUCCESS, ...) would rename names their
// headers declare.
#include "members/member_tree.h"

#include "capi/attribute_table.h"

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "capi/attribute_access.h"
#include "capi/attribute_rows.h"

namespace zpv::capi {

namespace {

// The one attribute without a property: the driver prefix, answered without the driver object.
ViStatus ReadPrefix(ViSession, ViConstString, void* out, ViInt32 bufferSize) {
    return ivi::CopyOutText("ZPV4870", bufferSize, static_cast<char*>(out));
}

// Put is a generic lambda returning &X::put_<Name> where the interface has that member; the
// writer is null for a property without one.
template <class I, bool PerPhase, class Put>
constexpr AttributeWriter WriterOf(Put) {
    if constexpr (std::is_invocable_v<Put, I*>) return &WriteProperty<I, Put{}(static_cast<I*>(nullptr)), PerPhase>;
    else return nullptr;
}

template <class I, auto Getter, bool PerPhase>
AttributeEntry Entry(std::deque<std::string>& names, const char* name, long id, const char* interfaceName,
                     const char* property, AttributeWriter writer) {
    using T = typename GetterTraits<decltype(Getter)>::Value;
    names.push_back(std::string("ZPV4870_ATTR_") + name);
    return {static_cast<ViAttr>(id), names.back().c_str(), ValueTypeOf<T>(), EnumNameOf<T>(), PerPhase,
            &ReadProperty<I, Getter, PerPhase>, writer, interfaceName, property};
}

#define ZPV_C_PUT(Name) []<class X>(X*) -> decltype(&X::put_##Name) { return &X::put_##Name; }
#define ZPV_C_ENTRY(Name, Id, I, Property)                                                                      \
    {                                                                                                             \
        constexpr bool perPhase = ::zpv::members::tree::IsPhaseInterface(#I);                                  \
        list.push_back(Entry<I, &I::get_##Property, perPhase>(names, Name, Id, #I, #Property,                    \
                                                              WriterOf<I, perPhase>(ZPV_C_PUT(Property))));      \
    }

// The driver object's own attributes.
#define ZPV_C_DRIVER_ENTRY(Name, Id, I, Property, Access) ZPV_C_ENTRY(#Name, Id, I, Property)
#define ZPV_C_ACCESS_CHECK_ReadOnly false
#define ZPV_C_ACCESS_CHECK_ReadWrite true
#define ZPV_C_DRIVER_ACCESS_CHECK(Name, Id, I, Property, Access)                                                 \
    static_assert(std::is_invocable_v<decltype(ZPV_C_PUT(Property)), I*> == ZPV_C_ACCESS_CHECK_##Access,       \
                  "row " #Name ": the access does not match the property");
ZPV_C_DRIVER_ATTRIBUTES(ZPV_C_DRIVER_ACCESS_CHECK)

// The attributes that are columns of member rows: every property row with `.attribute`.
#define ZPV_CA(kind, ...) ZPV_CA_##kind(__VA_ARGS__)
#define ZPV_CA_NOTHING(...)
#define ZPV_CA_OF(I, T, Member, ...)                                                                 \
    if constexpr (constexpr auto attribute = ZPV_COLUMNS(T, __VA_ARGS__).attribute; attribute.id != 0) \
        ZPV_C_ENTRY(attribute.name, attribute.id, I, Member)
#define ZPV_CA_SETTING(I, T, Name, Header, ...) ZPV_CA_OF(I, T, Name, __VA_ARGS__)
#define ZPV_CA_ENUM_SETTING(I, T, Name, Header, ...) ZPV_CA_OF(I, T, Name, __VA_ARGS__)
#define ZPV_CA_PROPERTY(I, T, Name, Get, Response, Put, ...) ZPV_CA_OF(I, T, Name, __VA_ARGS__)
#define ZPV_CA_RENAMED_PROPERTY(I, T, Member, Name, Get, Response, Put, ...) ZPV_CA_OF(I, T, Member, __VA_ARGS__)
#define ZPV_CA_LIVE_GETTER(I, T, Name, Get, Response, ...) ZPV_CA_OF(I, T, Name, __VA_ARGS__)
#define ZPV_CA_CLASS_PROPERTY(I, T, Name, ...) ZPV_CA_OF(I, T, Name, __VA_ARGS__)
#define ZPV_CA_CLASS_GETTER(I, T, Name, ...) ZPV_CA_OF(I, T, Name, __VA_ARGS__)
#define ZPV_CA_QUERY ZPV_CA_NOTHING
#define ZPV_CA_ACTION ZPV_CA_NOTHING
#define ZPV_CA_CLASS_METHOD ZPV_CA_NOTHING
#define ZPV_CA_DIRECT ZPV_CA_NOTHING
#define ZPV_CA_GROUP ZPV_CA_NOTHING
#define ZPV_CA_TABLE(kind, I, ...) ZPV_LIST_##I(ZPV_CA, I)

const std::vector<AttributeEntry>& Table() {
    static std::deque<std::string> names;  // the identifiers' names the entries point into
    static const std::vector<AttributeEntry> table = [] {
        using namespace ::zpv::members;  // the rows name their model restrictions unqualified
        std::vector<AttributeEntry> list;
        names.push_back(std::string("ZPV4870_ATTR_") + ZPV_C_PREFIX_ATTRIBUTE_NAME);
        list.push_back({ZPV_C_PREFIX_ATTRIBUTE_ID, names.back().c_str(), ValueType::String, {}, false, &ReadPrefix,
                        nullptr, "", "SpecificDriverPrefix"});
        ZPV_C_DRIVER_ATTRIBUTES(ZPV_C_DRIVER_ENTRY)
        ZPV_ALL_MEMBER_TABLES(ZPV_CA_TABLE)
        return list;
    }();
    return table;
}

}  // namespace

std::span<const AttributeEntry> AllAttributes() { return Table(); }

const AttributeEntry* FindAttribute(ViAttr id) {
    static const auto byId = [] {
        std::unordered_map<ViAttr, const AttributeEntry*> map;
        for (const AttributeEntry& entry : Table()) map.emplace(entry.id, &entry);
        return map;
    }();
    const auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

}  // namespace zpv::capi
