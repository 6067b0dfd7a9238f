#include "attribute_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "commands.h"
#include "output.h"

namespace zpv::cli {

namespace {

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

bool ParseInt(const std::string& text, ViInt32& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseReal(const std::string& text, ViReal64& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    // nan, inf and what overflows to it (1e999) never reach an instrument.
    return end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParseBool(const std::string& text, ViBoolean& value) {
    const std::string t = Upper(text);
    if (t == "TRUE" || t == "ON" || t == "1" || t == "YES") value = VI_TRUE;
    else if (t == "FALSE" || t == "OFF" || t == "0" || t == "NO") value = VI_FALSE;
    else return false;
    return true;
}

// An integer, or for an enumeration one of its value names (any letter case).
bool ParseInt32(const Attribute& a, const std::string& text, ViInt32& value) {
    for (const EnumValue& v : a.values)
        if (v.name == Upper(text)) {
            value = v.value;
            return true;
        }
    return ParseInt(text, value);
}

std::string Expected(const Attribute& a) {
    if (!a.values.empty()) {
        std::string names;
        for (const EnumValue& v : a.values) names += (names.empty() ? "" : ", ") + v.name;
        return "one of " + names;
    }
    switch (a.kind) {
        case ValueKind::Int32: return "an integer";
        case ValueKind::Real64: return "a finite number";
        case ValueKind::Boolean: return "true or false";
        case ValueKind::String: return "text";
    }
    return "a value";
}

}  // namespace

void CheckValue(const Attribute& a, const std::string& text) {
    ViInt32 i;
    ViReal64 r;
    ViBoolean b;
    const bool ok = a.kind == ValueKind::String || (a.kind == ValueKind::Int32 && ParseInt32(a, text, i)) ||
                    (a.kind == ValueKind::Real64 && ParseReal(text, r)) ||
                    (a.kind == ValueKind::Boolean && ParseBool(text, b));
    if (!ok) throw UsageError("'" + text + "' for " + a.name + ": expected " + Expected(a));
}

void WriteAttribute(const CSession& session, const Resolved& r, const std::string& text) {
    CheckValue(*r.attribute, text);
    const ViSession vi = session.Handle();
    const char* channel = r.channel.empty() ? nullptr : r.channel.c_str();
    const ViAttr id = r.attribute->id;
    const std::string what = "setting " + DisplayName(r);
    switch (r.attribute->kind) {
        case ValueKind::Int32: {
            ViInt32 v = 0;
            ParseInt32(*r.attribute, text, v);
            session.Check(ZPV4870_SetAttributeViInt32(vi, channel, id, v), what);
            break;
        }
        case ValueKind::Real64: {
            ViReal64 v = 0;
            ParseReal(text, v);
            session.Check(ZPV4870_SetAttributeViReal64(vi, channel, id, v), what);
            break;
        }
        case ValueKind::Boolean: {
            ViBoolean v = 0;
            ParseBool(text, v);
            session.Check(ZPV4870_SetAttributeViBoolean(vi, channel, id, v), what);
            break;
        }
        case ValueKind::String:
            session.Check(ZPV4870_SetAttributeViString(vi, channel, id, text.c_str()), what);
            break;
    }
}

AttributeValue ReadAttribute(const CSession& session, const Resolved& r) {
    const ViSession vi = session.Handle();
    const char* channel = r.channel.empty() ? nullptr : r.channel.c_str();
    const ViAttr id = r.attribute->id;
    const std::string what = "reading " + DisplayName(r);
    switch (r.attribute->kind) {
        case ValueKind::Int32: {
            ViInt32 v = 0;
            session.Check(ZPV4870_GetAttributeViInt32(vi, channel, id, &v), what);
            for (const EnumValue& e : r.attribute->values)
                if (e.value == v) return {e.name, JsonString(e.name)};
            return {std::to_string(v), std::to_string(v)};
        }
        case ValueKind::Real64: {
            ViReal64 v = 0;
            session.Check(ZPV4870_GetAttributeViReal64(vi, channel, id, &v), what);
            return {Number(v), JsonNumber(v)};
        }
        case ValueKind::Boolean: {
            ViBoolean v = 0;
            session.Check(ZPV4870_GetAttributeViBoolean(vi, channel, id, &v), what);
            return {v ? "true" : "false", v ? "true" : "false"};
        }
        case ValueKind::String: {
            const std::string text = session.Text(what, [&](ViInt32 size, char* buffer) {
                return ZPV4870_GetAttributeViString(vi, channel, id, size, buffer);
            });
            return {text, JsonString(text)};
        }
    }
    return {};
}

}  // namespace zpv::cli
