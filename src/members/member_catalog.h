// Every member of the command set as data, expanded from the same lists as the members: what a
// table of attributes, a trace or a structural test reads without instantiating a COM object.
#pragma once

#include <span>

#include "members/member_tables.h"

namespace zpv::members {

enum class MemberKind { Property, Getter, ClassProperty, ClassGetter, Query, Action, ClassMethod, Direct, Group };

struct MemberEntry {
    const char* interfaceName;  // "IZPV4870ManualMode"
    const char* name;           // "Range": the name in messages, keys and call contexts
    MemberKind kind;
    const char* command;   // the command sent (setters, actions) or the query; null without one
    const char* response;  // the response format of a getter or query; null without one
    const char* putCommand;
    const char* refusedFamily;
};

#define ZPV_CATALOG(kind, ...) ZPV_CATALOG_##kind(__VA_ARGS__)
#define ZPV_CATALOG_ENTRY(I, Name, Kind, Command, Response, Put, Family) \
    MemberEntry{#I, #Name, MemberKind::Kind, Command, Response, Put, Family},
#define ZPV_CATALOG_SETTING(...) ZPV_SETTING_AS_PROPERTY(ZPV_CATALOG_PROPERTY, __VA_ARGS__)
#define ZPV_CATALOG_ENUM_SETTING(...) ZPV_ENUM_SETTING_AS_PROPERTY(ZPV_CATALOG_PROPERTY, __VA_ARGS__)
#define ZPV_CATALOG_PROPERTY(I, T, Name, Get, Response, Put, ...) \
    ZPV_CATALOG_ENTRY(I, Name, Property, Get, Response, Put, ZPV_COLUMNS(T, __VA_ARGS__).family)
#define ZPV_CATALOG_RENAMED_PROPERTY(I, T, Member, Name, ...) ZPV_CATALOG_PROPERTY(I, T, Name, __VA_ARGS__)
#define ZPV_CATALOG_LIVE_GETTER(I, T, Name, Get, Response, ...) \
    ZPV_CATALOG_ENTRY(I, Name, Getter, Get, Response, nullptr, ZPV_COLUMNS(T, __VA_ARGS__).family)
#define ZPV_CATALOG_CLASS_PROPERTY(I, T, Name, ...) \
    ZPV_CATALOG_ENTRY(I, Name, ClassProperty, nullptr, nullptr, nullptr, nullptr)
#define ZPV_CATALOG_CLASS_GETTER(I, T, Name, ...) ZPV_CATALOG_ENTRY(I, Name, ClassGetter, nullptr, nullptr, nullptr, nullptr)
#define ZPV_CATALOG_QUERY(I, T, Name, Command, Response, ...) \
    ZPV_CATALOG_ENTRY(I, Name, Query, Command, Response, nullptr, ZPV_COLUMNS(T, __VA_ARGS__).family)
#define ZPV_CATALOG_ACTION(I, Name, Command, Family, ...) \
    ZPV_CATALOG_ENTRY(I, Name, Action, Command, nullptr, nullptr, Family)
#define ZPV_CATALOG_CLASS_METHOD(I, Name, ...) ZPV_CATALOG_ENTRY(I, Name, ClassMethod, nullptr, nullptr, nullptr, nullptr)
#define ZPV_CATALOG_DIRECT(I, Name, Operation, ...) \
    ZPV_CATALOG_ENTRY(I, Name, Direct, nullptr, nullptr, nullptr, nullptr)
#define ZPV_CATALOG_GROUP(I, GroupInterface, Name, Family) ZPV_CATALOG_ENTRY(I, Name, Group, nullptr, nullptr, nullptr, Family)

#define ZPV_CATALOG_TABLE(kind, I, ...) ZPV_LIST_##I(ZPV_CATALOG, I)

inline std::span<const MemberEntry> AllMembers() {
    static const MemberEntry kMembers[] = {ZPV_ALL_MEMBER_TABLES(ZPV_CATALOG_TABLE)};
    return kMembers;
}

}  // namespace zpv::members
