#include "keywords/enum_command_maps.h"

namespace zpv::keywords {

namespace {

constexpr std::string_view kDriverPrefix = "ZPV4870";

std::unique_ptr<CModelBasedEnumConverter> ConverterFor(std::span<const KeywordRow> keywords) {
    std::vector<CEnumKeywordTable> tables;
    tables.emplace_back(std::string(), keywords);  // every table of this driver serves all models
    return std::make_unique<CModelBasedEnumConverter>(std::move(tables));
}

}  // namespace

const CEnumCommandMaps& CEnumCommandMaps::Instance() {
    static const CEnumCommandMaps maps;
    return maps;
}

CEnumCommandMaps::CEnumCommandMaps() {
    for (const EnumTable& table : EnumTables()) {
        Enumeration& enumeration = enumerations_.emplace_back();
        for (const ContextGroup& group : table.groups) {
            const CModelBasedEnumConverter* converter =
                enumeration.converters.emplace_back(ConverterFor(group.keywords)).get();
            if (!enumeration.defaultConverter) enumeration.defaultConverter = converter;
            for (const char* context : group.contexts) enumeration.byContext.try_emplace(context, converter);
        }
        if (!table.anyOtherContext.empty())
            enumeration.anyOtherConverter =
                enumeration.converters.emplace_back(ConverterFor(table.anyOtherContext)).get();

        // A name already taken keeps its first owner.
        const std::string shortName = table.name;
        const std::size_t index = enumerations_.size() - 1;
        byName_.try_emplace(shortName, index);
        if (table.driverEnum) {
            const std::string prefixed = std::string(kDriverPrefix) + shortName;
            for (const std::string& name : {shortName + "Enum", prefixed, prefixed + "Enum"})
                byName_.try_emplace(name, index);
        }
    }
}

const IEnumCommandConverter* CEnumCommandMaps::Resolve(std::string_view name, std::string_view context) const {
    const auto named = byName_.find(name);
    if (named == byName_.end()) return nullptr;
    const Enumeration& enumeration = enumerations_[named->second];
    if (context.empty()) return enumeration.defaultConverter;
    const auto found = enumeration.byContext.find(context);
    return found != enumeration.byContext.end() ? found->second : enumeration.anyOtherConverter;
}

}  // namespace zpv::keywords
