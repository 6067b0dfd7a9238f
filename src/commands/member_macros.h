// Shorthands for declaring rows and for the one-line members that run them. A member class is a
// template over its owner (the driver class or the output phase class) deriving from one interface.
#pragma once

#include "commands/property_row.h"

namespace zpv::commands {

// Model restrictions: the family whose models lack the member.
inline constexpr const char* kAllModels = nullptr;
inline constexpr const char* kNotStandard = "Standard";
inline constexpr const char* kNotAdvanced = "Advanced";

}  // namespace zpv::commands

// A property that talks to the instrument; Stored says whether it has a simulated value (keyed by
// interface and property name) and Default is that value's default.
#define ZPV_INSTRUMENT_PROPERTY(Interface, Property, Type, Get, Response, Put, Stored, Default, Family)           \
    inline const ::zpv::commands::PropertyRow<Type> k##Interface##_##Property{                                   \
        {.iid = IID_##Interface,                                                                                 \
         .interfaceName = #Interface,                                                                            \
         .property = #Property,                                                                                  \
         .access = ::zpv::commands::Access::Instrument,                                                          \
         .simulatedKey = (Stored) ? #Interface "." #Property : nullptr,                                          \
         .simulatedDefault = Default,                                                                            \
         .getCommand = Get,                                                                                      \
         .getResponse = Response,                                                                                \
         .putCommand = Put,                                                                                      \
         .refusedFamily = Family}};

// A class-compliant property: a simulated value when Stored, otherwise zero while simulating.
#define ZPV_CLASS_PROPERTY(Interface, Property, Type, Stored, Default)                                           \
    inline const ::zpv::commands::PropertyRow<Type> k##Interface##_##Property{                                   \
        {.iid = IID_##Interface,                                                                                 \
         .interfaceName = #Interface,                                                                            \
         .property = #Property,                                                                                  \
         .access = ::zpv::commands::Access::ClassCompliant,                                                      \
         .simulatedKey = (Stored) ? #Interface "." #Property : nullptr,                                          \
         .simulatedDefault = Default}};

// A method row: instrument actions and queries, class-compliant actions, group getters.
#define ZPV_METHOD_ROW(Interface, Name, Method, AccessKind, Command, Response, Family)                            \
    inline const ::zpv::commands::MethodRow k##Interface##_##Name{{.iid = IID_##Interface,                       \
                                                                    .interfaceName = #Interface,                 \
                                                                    .method = Method,                            \
                                                                    .access = ::zpv::commands::Access::AccessKind, \
                                                                    .command = Command,                          \
                                                                    .response = Response,                        \
                                                                    .refusedFamily = Family}};
#define ZPV_ACTION_ROW(Interface, Method, Command, Family) \
    ZPV_METHOD_ROW(Interface, Method, #Method, Instrument, Command, nullptr, Family)
#define ZPV_QUERY_ROW(Interface, Method, Command, Response, Family) \
    ZPV_METHOD_ROW(Interface, Method, #Method, Instrument, Command, Response, Family)
#define ZPV_CLASS_METHOD_ROW(Interface, Method) ZPV_METHOD_ROW(Interface, Method, #Method, ClassCompliant, nullptr, nullptr, nullptr)
#define ZPV_GROUP_ROW(Interface, Group, Family) \
    ZPV_METHOD_ROW(Interface, get_##Group, "get_" #Group, Instrument, nullptr, nullptr, Family)

// Members.
#define ZPV_MEMBERS_OF(Owner) \
private:                      \
    Owner& Self() { return static_cast<Owner&>(*this); } \
                              \
public:
#define ZPV_PROPERTY(Type, Name, row)                                                                    \
    HRESULT get_##Name(Type* val) override { return ::zpv::commands::GetProperty(Self(), row, val); } \
    HRESULT put_##Name(Type val) override { return ::zpv::commands::PutProperty(Self(), row, val); }
#define ZPV_GETTER(Type, Name, row) \
    HRESULT get_##Name(Type* val) override { return ::zpv::commands::GetProperty(Self(), row, val); }
#define ZPV_QUERY(Type, Name, row) \
    HRESULT Name(Type* Val) override { return ::zpv::commands::RunQuery(Self(), row, Val); }
#define ZPV_GROUP(Group, Name, row) \
    HRESULT get_##Name(Group** val) override { return ::zpv::commands::GetGroup(Self(), row, val); }
