// The tree of interfaces the member tables make, as constants: which interface hands out which
// (GROUP rows) and which are a collection's items (its phases). Read while compiling, so a table
// that needs to know whether an interface belongs to a phase asks the rows instead of a list.
#pragma once

#include <string_view>

#include "members/member_tables.h"

namespace zpv::members::tree {

struct Link {
    std::string_view parent;
    std::string_view child;
    std::string_view name;  // parent's getter get_<name> hands out child; empty for items
    bool items;             // child is the interface of parent's items
};

#define ZPV_TREE(kind, ...) ZPV_TREE_##kind(__VA_ARGS__)
#define ZPV_TREE_NOTHING(...)
#define ZPV_TREE_SETTING ZPV_TREE_NOTHING
#define ZPV_TREE_ENUM_SETTING ZPV_TREE_NOTHING
#define ZPV_TREE_PROPERTY ZPV_TREE_NOTHING
#define ZPV_TREE_RENAMED_PROPERTY ZPV_TREE_NOTHING
#define ZPV_TREE_LIVE_GETTER ZPV_TREE_NOTHING
#define ZPV_TREE_CLASS_PROPERTY ZPV_TREE_NOTHING
#define ZPV_TREE_CLASS_GETTER ZPV_TREE_NOTHING
#define ZPV_TREE_QUERY ZPV_TREE_NOTHING
#define ZPV_TREE_ACTION ZPV_TREE_NOTHING
#define ZPV_TREE_CLASS_METHOD ZPV_TREE_NOTHING
#define ZPV_TREE_DIRECT ZPV_TREE_NOTHING
#define ZPV_TREE_GROUP(I, Group, Name, Family) Link{#I, #Group, #Name, false},
#define ZPV_TREE_TABLE(kind, ...) ZPV_TREE_TABLE_##kind(__VA_ARGS__)
#define ZPV_TREE_TABLE_INTERFACE(I) ZPV_LIST_##I(ZPV_TREE, I)
#define ZPV_TREE_TABLE_COLLECTION(I, ItemI) Link{#I, #ItemI, "", true}, ZPV_LIST_##I(ZPV_TREE, I)

inline constexpr Link kLinks[] = {ZPV_ALL_MEMBER_TABLES(ZPV_TREE_TABLE)};

// Whether the interface belongs to an output phase: a collection's item, or a group of one.
constexpr bool IsPhaseInterface(std::string_view interfaceName) {
    for (const Link& link : kLinks)
        if (link.child == interfaceName && (link.items || IsPhaseInterface(link.parent))) return true;
    return false;
}

static_assert(IsPhaseInterface("IZPV4870OutputPhaseDCGeneration") && !IsPhaseInterface("IIviACPwrExternalSync"));

}  // namespace zpv::members::tree
