// Writes include/zpv4870/driver_members.hpp: the views of the modern C++ face, one class per
// interface of the member tables and one function (and its try_ form) per member, so the face
// has every member the object interface has. Run by the build target regenerate_facade; a test
// compares its output with the committed header.
#include <cctype>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "members/driver_groups.h"
#include "members/format_fit.h"
#include "members/member_tables.h"
// After the member tables: the C header's macros would rename names the tables' headers declare.
#include "capi/enum_value_rows.h"
#include "capi/status_rows.h"
#include "capi/status_translation.h"

namespace {

using zpv::members::format_fit::TypeName;

std::string Snake(std::string_view name) {
    if (name.starts_with("get_") || name.starts_with("put_")) name.remove_prefix(4);
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool upper = std::isupper(static_cast<unsigned char>(c));
        const bool previousLower = i > 0 && (std::islower(static_cast<unsigned char>(name[i - 1])) ||
                                             std::isdigit(static_cast<unsigned char>(name[i - 1])));
        const bool nextLower = i + 1 < name.size() && std::islower(static_cast<unsigned char>(name[i + 1]));
        if (upper && i > 0 && (previousLower || (nextLower && std::isupper(static_cast<unsigned char>(name[i - 1])))))
            out += '_';
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    static const std::set<std::string> keywords = {"delete", "default", "register", "template"};
    return keywords.contains(out) ? out + "_" : out;
}

// The face's name of an enumeration: ZPV4870RangeEnum -> Range, IviACPwrMeasurementTypeEnum ->
// IviMeasurementType (IviACPwrDCGenerationEnum -> IviDCGenerationMode: IviDCGeneration is a view).
std::string EnumName(std::string_view cName) {
    std::string name(cName.substr(0, cName.size() - 4));
    if (name.starts_with("ZPV4870")) return name.substr(7);
    name = "Ivi" + name.substr(8);
    return name == "IviDCGeneration" ? name + "Mode" : name;
}

// The class of an interface: IZPV4870ManualModeFile -> ManualModeFile, IIviACPwrOutputPhase -> IviOutputPhase.
std::string ClassName(std::string_view interfaceName) {
    if (interfaceName == "IZPV4870Result") return "Results";  // Result is the face's result type
    if (interfaceName.starts_with("IZPV4870")) return std::string(interfaceName.substr(8));
    return "Ivi" + std::string(interfaceName.substr(9));
}

// Arrays are bytes for the direct I/O members and numbers everywhere else.
bool IsByteArray(std::string_view member) { return member == "ReadBytes" || member == "WriteBytes"; }

template <class T>
std::string ValueType(std::string_view member) {
    if constexpr (std::is_same_v<T, double>) return "double";
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>) return "bool";
    else if constexpr (std::is_same_v<T, BSTR>) return "std::string";
    else if constexpr (std::is_same_v<T, SAFEARRAY*>) return IsByteArray(member) ? "std::vector<std::uint8_t>" : "std::vector<double>";
    else if constexpr (std::is_enum_v<T>) return EnumName(TypeName<T>());
    else if constexpr (std::is_same_v<T, IUnknown*>) return "";
    else return "std::int32_t";
}

template <class T>
std::string InputType(std::string_view member) {
    if constexpr (std::is_same_v<T, BSTR>) return "std::string_view";
    else if constexpr (std::is_same_v<T, SAFEARRAY*>) return IsByteArray(member) ? "std::span<const std::uint8_t>" : "std::span<const double>";
    else return ValueType<T>(member);
}

struct Param {
    bool output;
    std::string type;  // the face's type
    std::string name;
};

struct Class {
    std::string interfaceName;
    std::string name;
    std::string itemClass;  // for a collection: the class of its items
    std::vector<std::string> lines;
    std::vector<std::string> members;  // "IZPV4870ManualMode.Range": what the class offers
    std::vector<std::string> uses;     // the classes its functions return, defined before it
};

std::vector<Class> gClasses;

void Property(const std::string& type, const std::string& input, std::string_view member, const char* face,
              bool writable, const char* catalogName) {
    Class& c = gClasses.back();
    const std::string name = Snake(face);
    const std::string get = "&" + c.interfaceName + "::get_" + std::string(member);
    c.lines.push_back("    " + type + " " + name + "() const { return detail::Get<" + type + ">(p_, " + get + "); }");
    c.lines.push_back("    Result<" + type + "> try_" + name + "() const noexcept { return detail::Try([&] { return " +
                      name + "(); }); }");
    if (writable) {
        const std::string put = "&" + c.interfaceName + "::put_" + std::string(member);
        c.lines.push_back("    void " + name + "(" + input + " value) const { detail::Put(p_, " + put + ", value); }");
        c.lines.push_back("    Result<void> try_" + name + "(" + input + " value) const noexcept { return detail::Try([&] { " +
                          name + "(value); }); }");
    }
    c.members.push_back(c.interfaceName + "." + catalogName);
}

void Method(std::string_view member, const std::vector<Param>& params) {
    Class& c = gClasses.back();
    std::string name = Snake(member);
    std::vector<std::string> outputs;
    std::string declared, passed, forwarded;
    for (const Param& p : params) {
        if (p.output) {
            outputs.push_back(p.type);
            passed += ", detail::out";
        } else {
            declared += (declared.empty() ? "" : ", ") + p.type + " " + p.name;
            forwarded += (forwarded.empty() ? "" : ", ") + p.name;
            passed += ", " + p.name;
        }
    }
    std::string result = "void";
    if (outputs.size() == 1) result = outputs[0];
    if (outputs.size() > 1) {
        result = "std::tuple<";
        for (std::size_t i = 0; i < outputs.size(); ++i) result += (i ? ", " : "") + outputs[i];
        result += ">";
    }
    const std::string pointer = "&" + c.interfaceName + "::" + std::string(member);
    c.lines.push_back("    " + result + " " + name + "(" + declared + ") const { return detail::Call<" + result + ">(p_, " +
                      pointer + passed + "); }");
    c.lines.push_back("    Result<" + result + "> try_" + name + "(" + declared + ") const noexcept { return detail::Try([&] { return " +
                      name + "(" + forwarded + "); }); }");
    c.members.push_back(c.interfaceName + "." + std::string(member));
}

void Group(std::string_view groupInterface, const char* member) {
    Class& c = gClasses.back();
    const std::string type = ClassName(groupInterface);
    c.uses.push_back(type);
    c.lines.push_back("    " + type + " " + Snake(member) + "() const { return " + type + "(detail::Group(p_, &" +
                      c.interfaceName + "::get_" + member + ")); }");
    c.members.push_back(c.interfaceName + "." + std::string(member));
}

// Parameters of methods: (direction, type, name).
#define ZPV_F_PARAM(dir, T, name) ZPV_F_PARAM_##dir(T, name)
#define ZPV_F_PARAM_IN(T, name) params.push_back({false, InputType<T>(member), Snake(#name)});
#define ZPV_F_PARAM_IGNORED(T, name) ZPV_F_PARAM_IN(T, name)
#define ZPV_F_PARAM_REQUIRED(T, name) ZPV_F_PARAM_IN(T, name)
#define ZPV_F_PARAM_OUT(T, name) params.push_back({true, ValueType<T>(member), Snake(#name)});
#define ZPV_F_PARAM_INOUT(T, name) ZPV_F_PARAM_OUT(T, name)

#define ZPV_F(kind, ...) ZPV_F_##kind(__VA_ARGS__)
#define ZPV_F_PROPERTY_OF(T, Member, Name, Writable) \
    Property(ValueType<T>(#Member), InputType<T>(#Member), #Member, #Member, Writable, #Name);
#define ZPV_F_SETTING(I, T, Name, ...) ZPV_F_PROPERTY_OF(T, Name, Name, true)
#define ZPV_F_ENUM_SETTING(I, T, Name, ...) ZPV_F_PROPERTY_OF(T, Name, Name, true)
#define ZPV_F_PROPERTY(I, T, Name, ...) ZPV_F_PROPERTY_OF(T, Name, Name, true)
#define ZPV_F_RENAMED_PROPERTY(I, T, Member, Name, ...) ZPV_F_PROPERTY_OF(T, Member, Name, true)
#define ZPV_F_LIVE_GETTER(I, T, Name, ...) ZPV_F_PROPERTY_OF(T, Name, Name, false)
#define ZPV_F_CLASS_PROPERTY(I, T, Name, ...) ZPV_F_PROPERTY_OF(T, Name, Name, true)
#define ZPV_F_CLASS_GETTER(I, T, Name, ...) ZPV_F_PROPERTY_OF(T, Name, Name, false)
// A query whose row says its result is the list of all readings gives the record.
#define ZPV_F_QUERY(I, T, Name, Command, Response, ...)                            \
    {                                                                              \
        std::string_view member = #Name;                                           \
        std::vector<Param> params;                                                 \
        ZPV_F_PARAM_OUT(T, Val)                                                    \
        if (ZPV_COLUMNS(T, __VA_ARGS__).readings) params.back().type = "Readings"; \
        Method(member, params);                                                    \
    }
#define ZPV_F_METHOD(Name, ...)                         \
    {                                                   \
        std::string_view member = #Name;                \
        std::vector<Param> params;                      \
        ZPV_PP_EACH(ZPV_F_PARAM, __VA_ARGS__)           \
        if (member == "get_DirectIO") {                 \
        } else if (member.starts_with("get_") || member.starts_with("put_")) \
            DirectProperty(member, params);             \
        else                                            \
            Method(member, params);                     \
    }
#define ZPV_F_ACTION(I, Name, Command, Family, ...) ZPV_F_METHOD(Name __VA_OPT__(, ) __VA_ARGS__)
#define ZPV_F_CLASS_METHOD(I, Name, ...) ZPV_F_METHOD(Name __VA_OPT__(, ) __VA_ARGS__)
#define ZPV_F_DIRECT(I, Name, Operation, ...) ZPV_F_METHOD(Name __VA_OPT__(, ) __VA_ARGS__)
#define ZPV_F_GROUP(I, GroupInterface, Name, Family) Group(#GroupInterface, #Name);

// The I/O timeout is a direct member pair (get_IOTimeout, put_IOTimeout): one property in
// milliseconds on the face.
void DirectProperty(std::string_view member, const std::vector<Param>&) {
    Class& c = gClasses.back();
    if (member != "get_IOTimeout") {
        c.members.push_back(c.interfaceName + "." + std::string(member));
        return;
    }
    c.lines.push_back("    std::chrono::milliseconds io_timeout() const { return std::chrono::milliseconds(detail::Get<std::int32_t>(p_, &" +
                      c.interfaceName + "::get_IOTimeout)); }");
    c.lines.push_back("    void io_timeout(std::chrono::milliseconds value) const { detail::Put(p_, &" + c.interfaceName +
                      "::put_IOTimeout, static_cast<std::int32_t>(value.count())); }");
    c.members.push_back(c.interfaceName + ".get_IOTimeout");
}

#define ZPV_F_INTERFACE(I)                                         \
    gClasses.push_back({#I, ClassName(#I), "", {}, {}, {}});       \
    ZPV_LIST_##I(ZPV_F, I)
#define ZPV_F_COLLECTION(I, ItemI)                                 \
    gClasses.push_back({#I, ClassName(#I), ClassName(#ItemI), {}, {}, {ClassName(#ItemI)}}); \
    ZPV_LIST_##I(ZPV_F, I)
#define ZPV_F_TABLE(kind, ...) ZPV_F_##kind(__VA_ARGS__)

struct EnumValue {
    std::string_view enumName;
    std::string_view enumerator;
    int value;
};
#define ZPV_F_ENUM_VALUE(Macro, Enumerator) \
    EnumValue{TypeName<std::remove_cv_t<decltype(Enumerator)>>(), #Enumerator, static_cast<int>(Enumerator)},
const EnumValue kEnumValues[] = {ZPV_C_ENUM_VALUES(ZPV_F_ENUM_VALUE)};

}  // namespace

// "ZPV4870_ERROR_IO_TIMEOUT" as "kIoTimeout".
std::string ConstantName(std::string_view macro) {
    for (std::string_view prefix : {"ZPV4870_ERROR_", "ZPV4870_WARN_"})
        if (macro.starts_with(prefix)) macro.remove_prefix(prefix.size());
    std::string name = "k";
    bool upper = true;
    for (const char c : macro) {
        if (c == '_') {
            upper = true;
            continue;
        }
        name += upper ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        upper = false;
    }
    return name;
}

// include/zpv4870/driver_facts.hpp: the object statuses the face throws by, and the record of the
// instrument's readings, from the status and reading rows.
void WriteFacts() {
    std::printf("%s", R"(// Generated by tools/facade/generate_facade.cpp from the driver's rows: do not edit.
// The object interface's statuses by name, and the record of the instrument's readings.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zpv4870 {

namespace status {
)");
    struct Status {
        const char* macro;
        long c;
    };
#define ZPV_F_STATUS(Macro, Text) Status{#Macro, static_cast<long>(Macro)},
    const Status statuses[] = {ZPV_C_STATUSES(ZPV_F_STATUS)};
    // The failures, in the order of their object statuses.
    std::map<std::uint32_t, const char*> byObjectStatus;
    for (const Status& s : statuses)
        if (s.c < 0)
            if (const std::uint32_t hr = zpv::capi::ObjectStatusOf(static_cast<ViStatus>(s.c)); hr != 0)
                byObjectStatus.emplace(hr, s.macro);
    for (const auto& [hr, macro] : byObjectStatus)
        std::printf("inline constexpr std::uint32_t %s = 0x%08Xu;  // %s\n", ConstantName(macro).c_str(), hr, macro);
    std::printf("}  // namespace status\n\n// The instrument's list of all readings, in the order it sends them.\nstruct Readings {\n");
    std::size_t count = 0;
#define ZPV_F_READING(Name, Unit) \
    std::printf("    double %s = 0;%s\n", Snake(#Name).c_str(), *Unit ? "  // " Unit : ""); \
    ++count;
    ZPV_READING_FIELDS(ZPV_F_READING)
    std::printf("};\ninline constexpr std::size_t kReadingCount = %zu;\n\n", count);
    std::printf("// The record of the readings in the instrument's order.\ninline Readings ReadingsOf(const double (&v)[kReadingCount]) {\n    return {");
    for (std::size_t i = 0; i < count; ++i) std::printf("%sv[%zu]", i ? ", " : "", i);
    std::printf("};\n}\n\n}  // namespace zpv4870\n");
}

int main(int argc, char** argv) {
    using namespace zpv::members;  // the rows name their model restrictions unqualified
    if (argc > 1 && std::string_view(argv[1]) == "facts") {
        WriteFacts();
        return 0;
    }
    ZPV_ALL_MEMBER_TABLES(ZPV_F_TABLE)
    std::printf("%s", R"(// Generated by tools/facade/generate_facade.cpp from the driver's member tables: do not edit.
// The views of zpv4870/driver.hpp, one class per interface of the object interface.
#pragma once

namespace zpv4870 {

)");
    // Enumerations.
    std::string_view current;
    for (const EnumValue& v : kEnumValues) {
        if (v.enumName != current) {
            if (!current.empty()) std::printf("};\n");
            current = v.enumName;
            std::printf("enum class %s : std::int32_t {\n", EnumName(current).c_str());
        }
        std::string name(v.enumerator.substr(v.enumName.size() - 4));  // without the enumeration's name
        if (std::isdigit(static_cast<unsigned char>(name[0]))) name = EnumName(current) + name;
        std::printf("    %s = %d,\n", name.c_str(), v.value);
    }
    std::printf("};\n\n");
    // A class after the classes its functions return.
    std::vector<const Class*> order;
    std::set<std::string> placed;
    auto place = [&](auto& self, const Class& c) -> void {
        if (placed.contains(c.name)) return;
        placed.insert(c.name);
        for (const std::string& used : c.uses)
            for (const Class& other : gClasses)
                if (other.name == used) self(self, other);
        order.push_back(&c);
    };
    for (const Class& c : gClasses) place(place, c);
    for (const Class* pc : order) {
        const Class& c = *pc;
        const std::string base = c.itemClass.empty() ? "detail::View<" + c.interfaceName + ">"
                                                     : "detail::Collection<" + c.interfaceName + ", " + c.itemClass + ">";
        std::printf("// %s\nclass %s : public %s {\npublic:\n    using %s::%s;\n", c.interfaceName.c_str(), c.name.c_str(),
                    base.c_str(), base.c_str(), base.substr(base.find("::") + 2, base.find('<') - base.find("::") - 2).c_str());
        for (const std::string& line : c.lines) std::printf("%s\n", line.c_str());
        std::printf("    // members:");
        for (const std::string& m : c.members) std::printf(" %s", m.c_str());
        std::printf("\n};\n\n");
    }
    // The driver object's own groups, from its group rows: the accessors Driver inherits.
    std::printf("// IIviACPwr: the class-compliant groups\nclass Ivi : public detail::View<IIviACPwr> {\npublic:\n"
                "    using detail::View<IIviACPwr>::View;\n");
#define ZPV_F_IVI_GROUP(Root, Group, Name)                                                                        \
    if (std::string_view(#Root) == "IIviACPwr")                                                                  \
        std::printf("    %s %s() const { return %s(detail::Group(p_, &IIviACPwr::get_%s)); }\n", ClassName(#Group).c_str(), \
                    Snake(#Name).c_str(), ClassName(#Group).c_str(), #Name);
    ZPV_DRIVER_GROUPS(ZPV_F_IVI_GROUP)
    std::printf("};\n\nnamespace detail {\n\n// The groups Driver hands out; D gives the driver object's interfaces "
                "(D::Interface<I>()).\ntemplate <class D>\nclass DriverGroups {\npublic:\n");
#define ZPV_F_DRIVER_GROUP(Root, Group, Name)                                                                       \
    if (std::string_view(#Root) == "IZPV4870")                                                                     \
        std::printf("    %s %s() const { return %s(Group(Self().template Interface<IZPV4870>(), &IZPV4870::get_%s)); }\n", \
                    ClassName(#Group).c_str(), Snake(#Name).c_str(), ClassName(#Group).c_str(), #Name);
    ZPV_DRIVER_GROUPS(ZPV_F_DRIVER_GROUP)
    std::printf("    // The class-compliant face of the same instrument.\n"
                "    Ivi ivi() const { return Ivi(CComPtr<IIviACPwr>(Self().template Interface<IIviACPwr>())); }\n\n"
                "private:\n    const D& Self() const { return static_cast<const D&>(*this); }\n};\n\n}  // namespace detail\n\n");
    std::printf("}  // namespace zpv4870\n");
}
