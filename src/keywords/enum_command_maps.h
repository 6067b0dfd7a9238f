// The process-wide enum resolver: finds the keyword converter for an enumeration name in a call
// context. Built on first use, then only read, so any thread may use it.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "keywords/enum_formatter.h"
#include "keywords/model_based_enum_converter.h"
#include "keywords/text_keys.h"

namespace zpv::keywords {

class CEnumCommandMaps final : public IEnumFormatter {
public:
    static const CEnumCommandMaps& Instance();

    const IEnumCommandConverter* Resolve(std::string_view name, std::string_view context) const override;

private:
    CEnumCommandMaps();

    struct Enumeration {
        std::vector<std::unique_ptr<CModelBasedEnumConverter>> converters;
        std::unordered_map<std::string, const CModelBasedEnumConverter*, CaselessHash, CaselessEqual> byContext;
        const CModelBasedEnumConverter* defaultConverter = nullptr;   // empty context
        const CModelBasedEnumConverter* anyOtherConverter = nullptr;  // unlisted contexts
    };

    std::vector<Enumeration> enumerations_;
    std::unordered_map<std::string, std::size_t, CaselessHash, CaselessEqual> byName_;
};

}  // namespace zpv::keywords
