// A repeated capability selector of the C interface ("OutputPhase1", "A1-A3", "[A,B]:C", ...),
// parsed into paths of names, one name per level. One selector belongs to one C call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ZPV4870.h"
#include "capi/status_translation.h"
#include "platform/ivi/vi_types.h"
#include "platform/com/text_conversion.h"

namespace zpv::repcap {

inline constexpr ViStatus kSelectorLevelsInvalid = ZPV4870_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR;
inline constexpr ViStatus kSelectorRangeInvalid = ZPV4870_ERROR_INVALID_RANGE_IN_SELECTOR;
inline constexpr ViStatus kSelectorBadlyFormed = ZPV4870_ERROR_BADLY_FORMED_SELECTOR;

class CRepCapSelector {
public:
    using Path = std::vector<std::string>;

    explicit CRepCapSelector(const char* text) : text_(text ? text : "") {}

    // Failures are recorded on the session with their message.
    ViStatus Parse(ViSession session, bool allowMulti);
    ViStatus GetName(ViSession session, bool allowMulti, std::size_t pathIndex, std::size_t levelIndex,
                     std::string& name);
    const std::vector<Path>& Paths() const { return paths_; }

private:
    using Levels = std::vector<std::vector<std::string>>;
    ViStatus ParseText(bool allowMulti);
    ViStatus AddElement(std::string_view element, bool bracketed, std::size_t elementIndex, bool allowMulti,
                        Levels& working);
    ViStatus Flush(const Levels& working);
    // Counts names against the selector's budget; false when they do not fit.
    bool Spend(std::size_t names);

    std::string text_;
    bool parsed_ = false;
    ViStatus parseStatus_ = VI_SUCCESS;
    std::vector<Path> paths_;
    std::size_t budget_ = 0, spent_ = 0;
};

// The output phases a selector names, as interface I, one per path in path order. Each path's
// first-level name goes through the collection's Item (virtual names, any letter case, blank).
template <class I>
ViStatus ResolveSelector(ViSession session, IIviACPwrOutputPhases* phases, const char* selector, bool allowMulti,
                         std::vector<CComPtr<I>>& result) {
    CRepCapSelector parsed(selector);
    ViStatus status = parsed.Parse(session, allowMulti);
    for (std::size_t i = 0; status == VI_SUCCESS && i < parsed.Paths().size(); ++i) {
        std::string name;
        status = parsed.GetName(session, allowMulti, i, 0, name);
        if (status != VI_SUCCESS) break;
        CComBSTR wideName;
        wideName.Attach(com::AllocBstr(name));
        CComPtr<IIviACPwrOutputPhase> phase;
        status = capi::ToStatus(session, phases->get_Item(wideName, &phase));
        if (status < VI_SUCCESS) break;
        CComPtr<I> wanted;
        if (FAILED(phase->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(&wanted)))) {
            status = static_cast<ViStatus>(0x80000000);
            break;
        }
        result.push_back(std::move(wanted));
    }
    return status;
}

}  // namespace zpv::repcap
