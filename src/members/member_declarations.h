// Each interface declares its members once, as a list macro of rows:
//
//   #define ZPV_LIST_IZPV4870StepMode(X, I)
//       X(SETTING, I, LONG, Count, "STEP:COUN", .stored = true, .family = kNotStandard)
//       X(GROUP, I, IZPV4870StepModeFile, File, kAllModels)
//   ZPV_INTERFACE_MEMBERS(IZPV4870StepMode, ZPV_LIST_IZPV4870StepMode)
//
// ZPV_INTERFACE_MEMBERS expands the list twice: into the rows (namespace rows, one row object per
// member, named k<Interface>_<Member>) and into the class template I<Interface>Members<Owner>
// whose one-line members hand their row to the implementation of the member's kind
// (property_row.h). Other tables (attribute identifiers, trace parameter names) expand the same
// list with an X of their own. Every command and response format is checked against the C++
// types of its member while compiling (format_fit.h).
//
// Kinds, with their arguments after the interface I (Columns: the named columns of
// property_row.h, `.stored = true, .initial = 5.0, .family = kNotStandard, .unit = "V",
// .range = {0, 9}, .check = &IsName, .readings = true, .attribute = {"SYSTEM_ALARM", 1150102}`,
// each optional, in that order):
//   SETTING(T, Name, Header, Columns)      double or LONG: "Header?" read, "Header <value>" set
//   ENUM_SETTING(E, Name, Header, Columns)  the same through E's keywords (or VARIANT_BOOL's)
//   PROPERTY(T, Name, GetCommand, Response, PutCommand, Columns)
//   RENAMED_PROPERTY(T, Member, Name, ...as PROPERTY)   member get_/put_Member, known elsewhere as Name
//   LIVE_GETTER(T, Name, GetCommand, Response, Columns)   read-only, 0 while simulating
//   CLASS_PROPERTY(T, Name, Columns)                      class-compliant, stored while simulating
//   CLASS_GETTER(T, Name, Columns)                        class-compliant, read-only, 0 while simulating
//   QUERY(T, Name, Command, Response, Columns)            method with one result "Val" (.family, .unit)
//   ACTION(Name, Command, Family, Params...)              method that sends its IN parameters
//   CLASS_METHOD(Name, Params...)                         class-compliant method, not implemented
//   DIRECT(Name, SessionOperation, Params...)             passes its parameters to the I/O session
//   GROUP(GroupInterface, Name, Family)                   getter of another interface of the object
// Params are (Direction, Type, Name) with Direction IN, REQUIRED (an input pointer that may not
// be null), IGNORED (declared, not sent), OUT or INOUT; OUT and INOUT give the pointee type.
// Family is the family whose models lack the member (kAllModels: none).
#pragma once

#include "members/format_fit.h"
#include "members/property_row.h"

namespace zpv::members {

// Model restrictions: the family whose models lack the member.
inline constexpr const char* kAllModels = nullptr;
inline constexpr const char* kNotStandard = "Standard";
inline constexpr const char* kNotAdvanced = "Advanced";

}  // namespace zpv::members

// ---- parameter lists ----------------------------------------------------------------------
#define ZPV_PP_EACH(M, ...) __VA_OPT__(ZPV_PP_EACH_1(M, __VA_ARGS__))
#define ZPV_PP_EACH_1(M, p, ...) M p __VA_OPT__(ZPV_PP_EACH_2(M, __VA_ARGS__))
#define ZPV_PP_EACH_2(M, p, ...) M p __VA_OPT__(ZPV_PP_EACH_3(M, __VA_ARGS__))
#define ZPV_PP_EACH_3(M, p, ...) M p __VA_OPT__(ZPV_PP_EACH_4(M, __VA_ARGS__))
#define ZPV_PP_EACH_4(M, p, ...) M p __VA_OPT__(ZPV_PP_EACH_5(M, __VA_ARGS__))
#define ZPV_PP_EACH_5(M, p, ...) M p __VA_OPT__(ZPV_PP_MORE_THAN_FIVE_PARAMETERS)
// Drops the comma every element of a list starts with.
#define ZPV_PP_TAIL(...) ZPV_PP_TAIL_(__VA_ARGS__)
#define ZPV_PP_TAIL_(first, ...) __VA_ARGS__

// ", Type Name" per parameter, as the interface declares it.
#define ZPV_PARAM_DECL(dir, T, name) , ZPV_PARAM_DECL_##dir(T, name)
#define ZPV_PARAM_DECL_IN(T, name) [[maybe_unused]] T name
#define ZPV_PARAM_DECL_IGNORED(T, name) [[maybe_unused]] T name
#define ZPV_PARAM_DECL_REQUIRED(T, name) T name
#define ZPV_PARAM_DECL_OUT(T, name) T* name
#define ZPV_PARAM_DECL_INOUT(T, name) T* name
#define ZPV_PARAMS(...) ZPV_PP_TAIL(ZPV_PP_EACH(ZPV_PARAM_DECL, __VA_ARGS__))
// ", Name" per parameter the command is formatted with.
#define ZPV_PARAM_SENT(dir, T, name) ZPV_PARAM_SENT_##dir(name)
#define ZPV_PARAM_SENT_IN(name) , name
#define ZPV_PARAM_SENT_IGNORED(name)
#define ZPV_PARAM_SENT_REQUIRED(name) , name
#define ZPV_PARAM_SENT_OUT(name)
#define ZPV_PARAM_SENT_INOUT(name)
// ", Type" per parameter the command is formatted with.
#define ZPV_PARAM_SENT_TYPE(dir, T, name) ZPV_PARAM_SENT_TYPE_##dir(T)
#define ZPV_PARAM_SENT_TYPE_IN(T) , T
#define ZPV_PARAM_SENT_TYPE_IGNORED(T)
#define ZPV_PARAM_SENT_TYPE_REQUIRED(T) , T
#define ZPV_PARAM_SENT_TYPE_OUT(T)
#define ZPV_PARAM_SENT_TYPE_INOUT(T)
// ", Name" per parameter, in order: the arguments of a session operation.
#define ZPV_PARAM_NAME(dir, T, name) , name
// ", frame parameter" per parameter: null checks, return values and the trace.
#define ZPV_PARAM_RECORD(dir, T, name) ZPV_PARAM_RECORD_##dir(name)
#define ZPV_PARAM_RECORD_IN(name) , ::zpv::driver::In(name, #name)
#define ZPV_PARAM_RECORD_IGNORED(name) , ::zpv::driver::In(name, #name)
#define ZPV_PARAM_RECORD_REQUIRED(name) , ::zpv::driver::Required(name, #name)
#define ZPV_PARAM_RECORD_OUT(name) , ::zpv::driver::RetVal(name, #name)
#define ZPV_PARAM_RECORD_INOUT(name) , ::zpv::driver::InOut(name, #name)

// ---- rows ---------------------------------------------------------------------------------
#define ZPV_ROW(kind, ...) ZPV_ROW_##kind(__VA_ARGS__)
// Direction: Sent (a command) or Read (a response); then the types of the values, in order.
#define ZPV_FORMAT_CHECK(format, direction, ...)                                              \
    static_assert(::zpv::members::FormatFits<void __VA_OPT__(, ) __VA_ARGS__>(format, direction), \
                  "a format of this row does not fit the member's types");

// The same, once the format and the types have been expanded into one list.
#define ZPV_FORMAT_CHECK_OF(...) ZPV_FORMAT_CHECK(__VA_ARGS__)

// Columns: the named columns of the row (property_row.h), as written in it.
#define ZPV_PROPERTY_ROW(I, T, Name, AccessKind, Get, Response, Put, ZeroSim, ...)                          \
    inline const ::zpv::members::PropertyRow<T> k##I##_##Name{{.iid = IID_##I,                              \
                                                               .interfaceName = #I,                         \
                                                               .property = #Name,                           \
                                                               .access = ::zpv::members::Access::AccessKind, \
                                                               .key = #I "." #Name,                         \
                                                               .getCommand = Get,                           \
                                                               .getResponse = Response,                     \
                                                               .putCommand = Put,                           \
                                                               .zeroWhileSimulating = ZeroSim,              \
                                                               .columns = {__VA_ARGS__}}};
#define ZPV_METHOD_ROW(I, Name, AccessKind, Command, Response, Family, Unit)                               \
    inline const ::zpv::members::MethodRow k##I##_##Name{{.iid = IID_##I,                            \
                                                          .interfaceName = #I,                       \
                                                          .method = #Name,                           \
                                                          .access = ::zpv::members::Access::AccessKind, \
                                                          .command = Command,                        \
                                                          .response = Response,                      \
                                                          .refusedFamily = Family,                   \
                                                          .unit = Unit}};

// How a setting of a number type is read and written.
#define ZPV_READ_FORMAT_double "%lg"
#define ZPV_WRITE_FORMAT_double "%0.15lg"
#define ZPV_READ_FORMAT_LONG "%d"
#define ZPV_WRITE_FORMAT_LONG "%d"

// A setting as the PROPERTY it stands for, handed to X (a PROPERTY expansion of some table).
#define ZPV_SETTING_AS_PROPERTY(X, I, T, Name, Header, ...) \
    X(I, T, Name, Header "?", ZPV_READ_FORMAT_##T, Header " " ZPV_WRITE_FORMAT_##T, __VA_ARGS__)
#define ZPV_ENUM_SETTING_AS_PROPERTY(X, I, E, Name, Header, ...) \
    X(I, E, Name, Header "?", "%{" #E "}s", Header " %{" #E "}s", __VA_ARGS__)

// The columns of a row as a value, for the tables that read one of them.
#define ZPV_COLUMNS(T, ...) (::zpv::members::Columns<T>{__VA_ARGS__})

#define ZPV_ROW_SETTING(...) ZPV_SETTING_AS_PROPERTY(ZPV_ROW_PROPERTY, __VA_ARGS__)
#define ZPV_ROW_ENUM_SETTING(...) ZPV_ENUM_SETTING_AS_PROPERTY(ZPV_ROW_PROPERTY, __VA_ARGS__)
#define ZPV_ROW_PROPERTY(I, T, Name, Get, Response, Put, ...)                                   \
    ZPV_FORMAT_CHECK(Response, ::zpv::members::Read, T)                                        \
    ZPV_FORMAT_CHECK(Put, ::zpv::members::Sent, T)                                             \
    ZPV_PROPERTY_ROW(I, T, Name, Instrument, Get, Response, Put, false, __VA_ARGS__)
#define ZPV_ROW_RENAMED_PROPERTY(I, T, Member, Name, ...) ZPV_ROW_PROPERTY(I, T, Name, __VA_ARGS__)
#define ZPV_ROW_LIVE_GETTER(I, T, Name, Get, Response, ...)   \
    ZPV_FORMAT_CHECK(Response, ::zpv::members::Read, T)      \
    ZPV_PROPERTY_ROW(I, T, Name, Instrument, Get, Response, nullptr, true, __VA_ARGS__)
#define ZPV_ROW_CLASS_PROPERTY(I, T, Name, ...) \
    ZPV_PROPERTY_ROW(I, T, Name, ClassCompliant, nullptr, nullptr, nullptr, false, .stored = true, __VA_ARGS__)
#define ZPV_ROW_CLASS_GETTER(I, T, Name, ...) \
    ZPV_PROPERTY_ROW(I, T, Name, ClassCompliant, nullptr, nullptr, nullptr, false, __VA_ARGS__)
#define ZPV_ROW_QUERY(I, T, Name, Command, Response, ...)       \
    ZPV_FORMAT_CHECK(Command, ::zpv::members::Sent)             \
    ZPV_FORMAT_CHECK(Response, ::zpv::members::Read, T)         \
    ZPV_METHOD_ROW(I, Name, Instrument, Command, Response, ZPV_COLUMNS(T, __VA_ARGS__).family, \
                   ZPV_COLUMNS(T, __VA_ARGS__).unit)
#define ZPV_ROW_ACTION(I, Name, Command, Family, ...)                        \
    ZPV_FORMAT_CHECK_OF(Command, ::zpv::members::Sent ZPV_PP_EACH(ZPV_PARAM_SENT_TYPE, __VA_ARGS__)) \
    ZPV_METHOD_ROW(I, Name, Instrument, Command, nullptr, Family, nullptr)
#define ZPV_ROW_CLASS_METHOD(I, Name, ...) ZPV_METHOD_ROW(I, Name, ClassCompliant, nullptr, nullptr, nullptr, nullptr)
#define ZPV_ROW_DIRECT(I, Name, Operation, ...) ZPV_METHOD_ROW(I, Name, Instrument, nullptr, nullptr, kAllModels, nullptr)
#define ZPV_ROW_GROUP(I, Group, Name, Family) ZPV_METHOD_ROW(I, get_##Name, Instrument, nullptr, nullptr, Family, nullptr)

// ---- members ------------------------------------------------------------------------------
#define ZPV_MEMBER(kind, ...) ZPV_MEMBER_##kind(__VA_ARGS__)
#define ZPV_ROW_OF(I, Name) ::zpv::members::rows::k##I##_##Name

#define ZPV_MEMBER_GET_AS(I, T, Member, Name) \
    HRESULT get_##Member(T* val) override { return ::zpv::members::GetProperty(Self(), ZPV_ROW_OF(I, Name), val); }
#define ZPV_MEMBER_GET_PUT_AS(I, T, Member, Name) \
    ZPV_MEMBER_GET_AS(I, T, Member, Name)         \
    HRESULT put_##Member(T val) override { return ::zpv::members::PutProperty(Self(), ZPV_ROW_OF(I, Name), val); }
#define ZPV_MEMBER_GET(I, T, Name) ZPV_MEMBER_GET_AS(I, T, Name, Name)
#define ZPV_MEMBER_GET_PUT(I, T, Name) ZPV_MEMBER_GET_PUT_AS(I, T, Name, Name)

#define ZPV_MEMBER_SETTING(I, T, Name, ...) ZPV_MEMBER_GET_PUT(I, T, Name)
#define ZPV_MEMBER_ENUM_SETTING(I, T, Name, ...) ZPV_MEMBER_GET_PUT(I, T, Name)
#define ZPV_MEMBER_PROPERTY(I, T, Name, ...) ZPV_MEMBER_GET_PUT(I, T, Name)
#define ZPV_MEMBER_CHECKED_PROPERTY(I, T, Name, ...) ZPV_MEMBER_GET_PUT(I, T, Name)
#define ZPV_MEMBER_RENAMED_PROPERTY(I, T, Member, Name, ...) ZPV_MEMBER_GET_PUT_AS(I, T, Member, Name)
#define ZPV_MEMBER_LIVE_GETTER(I, T, Name, ...) ZPV_MEMBER_GET(I, T, Name)
#define ZPV_MEMBER_CLASS_PROPERTY(I, T, Name, ...) ZPV_MEMBER_GET_PUT(I, T, Name)
#define ZPV_MEMBER_CLASS_GETTER(I, T, Name, ...) ZPV_MEMBER_GET(I, T, Name)
#define ZPV_MEMBER_QUERY(I, T, Name, ...) \
    HRESULT Name(T* Val) override { return ::zpv::members::RunQuery(Self(), ZPV_ROW_OF(I, Name), Val); }
#define ZPV_MEMBER_ACTION(I, Name, Command, Family, ...)                                                 \
    HRESULT Name(ZPV_PARAMS(__VA_ARGS__)) override {                                                     \
        return ::zpv::members::RunAction(Self(), ZPV_ROW_OF(I, Name),                                    \
                                         std::forward_as_tuple(ZPV_PP_TAIL(ZPV_PP_EACH(ZPV_PARAM_SENT, __VA_ARGS__))) \
                                             ZPV_PP_EACH(ZPV_PARAM_RECORD, __VA_ARGS__));                  \
    }
#define ZPV_MEMBER_CLASS_METHOD(I, Name, ...)                                                        \
    HRESULT Name(ZPV_PARAMS(__VA_ARGS__)) override {                                                 \
        return ::zpv::members::NotImplemented(Self(), ZPV_ROW_OF(I, Name) ZPV_PP_EACH(ZPV_PARAM_RECORD, __VA_ARGS__)); \
    }
#define ZPV_MEMBER_DIRECT(I, Name, Operation, ...)                                                      \
    HRESULT Name(ZPV_PARAMS(__VA_ARGS__)) override {                                                    \
        return ::zpv::members::DirectIo(                                                                 \
            Self(), ZPV_ROW_OF(I, Name),                                                                 \
            [&](auto& io) { return io.Operation(ZPV_PP_TAIL(ZPV_PP_EACH(ZPV_PARAM_NAME, __VA_ARGS__))); } \
                ZPV_PP_EACH(ZPV_PARAM_RECORD, __VA_ARGS__));                                             \
    }
#define ZPV_MEMBER_GROUP(I, Group, Name, Family) \
    HRESULT get_##Name(Group** val) override { return ::zpv::members::GetGroup(Self(), ZPV_ROW_OF(I, get_##Name), val); }

// ---- one interface ------------------------------------------------------------------------
#define ZPV_MEMBERS_OF(Owner)                                \
private:                                                     \
    Owner& Self() { return static_cast<Owner&>(*this); }     \
                                                             \
public:

// The rows of interface I and the member class I##Members<Owner>, deriving from the base class
// given last (the interface itself, or a collection template over it).
#define ZPV_MEMBER_CLASS(I, LIST, ...) \
    namespace rows {                   \
    LIST(ZPV_ROW, I)                   \
    }                                  \
    template <class Owner>             \
    class I##Members : public __VA_ARGS__ { \
        ZPV_MEMBERS_OF(Owner)          \
        LIST(ZPV_MEMBER, I)            \
    };
#define ZPV_INTERFACE_MEMBERS(I, LIST) ZPV_MEMBER_CLASS(I, LIST, I)
// A collection of output phases: Count, Item and Name come from the collection template.
#define ZPV_COLLECTION_MEMBERS(I, ItemI, LIST) \
    ZPV_MEMBER_CLASS(I, LIST, ::zpv::repcap::RepCapCollection<Owner, I, ItemI>)
