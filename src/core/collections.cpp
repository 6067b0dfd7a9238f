// The driver's repeated capability collections: creation at Initialize, release at Close, and
// lookup by name and index.
#include <algorithm>

#include "core/driver.h"
#include "core/option_string.h"

namespace zpv::driver {

namespace {

constexpr std::string_view kPhysicalSeparator = "!!";

}  // namespace

HRESULT CDriver::BuildNodeTree() { return CreateChildren(*this); }

HRESULT CDriver::CreateChildren(CNode& node) {
    HRESULT hr = node.OnInitialize();
    if (FAILED(hr)) return hr;
    for (const RepCapInfo& info : node.RepCapTable()) {
        std::vector<std::string> names(info.physicalNames.begin(), info.physicalNames.end());
        for (std::string& extra : node.AdditionalPhysicalNames(info.className)) names.push_back(std::move(extra));

        std::vector<RepCapRef> objects;
        for (std::size_t i = 0; i < names.size(); ++i) {
            RepCapRef ref;
            hr = info.create(ControllingUnknown(), ref.node);
            if (FAILED(hr)) break;
            ref.node->Attach(&node, this, names[i], static_cast<ULONG>(i));
            objects.push_back(std::move(ref));
            hr = CreateChildren(*objects.back().node);
            if (FAILED(hr)) break;
        }
        // Filed even after a failure, so ReleaseNodeTree finds what was made.
        collections_[info.className] = std::move(objects);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

CDriver::RepCapRef::~RepCapRef() {
    if (!node) return;
    node->Detach();
    node->ReleaseOwnership();
}

void CDriver::ReleaseNodeTree() {
    // Children of a per-instance object live in the same map, so one sweep releases them all.
    collections_.clear();
}

const std::vector<CDriver::RepCapRef>* CDriver::Collection(std::string_view className) const {
    auto it = collections_.find(className);
    return it == collections_.end() ? nullptr : &it->second;
}

std::vector<repcap::CRepCap*> CDriver::AllRepCaps() const {
    std::vector<repcap::CRepCap*> nodes;
    for (const auto& [className, objects] : collections_)
        for (const RepCapRef& ref : objects) nodes.push_back(ref.node);
    return nodes;
}

LONG CDriver::RepCapCount(std::string_view className) const {
    const auto* objects = Collection(className);
    return objects ? static_cast<LONG>(objects->size()) : 0;
}

HRESULT CDriver::FindRepCap(std::string_view className, std::string_view nameIn, repcap::CRepCap** node,
                            IUnknown** unknown) {
    const auto* objects = Collection(className);
    if (!objects) return E_UNEXPECTED;

    const std::string_view name = TrimWhite(nameIn);
    const RepCapRef* found = nullptr;
    if (objects->size() == 1 && name.empty()) {
        found = &objects->front();
    } else {
        std::string physical = ResolveVirtualName(name);
        if (auto bang = physical.find(kPhysicalSeparator); bang != std::string::npos)
            physical.erase(0, bang + kPhysicalSeparator.size());
        for (const RepCapRef& ref : *objects) {
            if (EqualsNoCase(ref.node->PhysicalName(), physical)) {
                found = &ref;
                break;
            }
        }
    }
    if (!found) return Reporter().Report<errors::MessageId::UnknownPhysicalIdentifier>();
    *node = found->node;
    *unknown = found->node->ObjectUnknown();
    (*unknown)->AddRef();
    return S_OK;
}

HRESULT CDriver::RepCapNameAt(std::string_view className, const char* repCapName, LONG index, std::string& name) {
    const auto* objects = Collection(className);
    if (!objects) return E_UNEXPECTED;
    if (index < 1 || index > static_cast<LONG>(objects->size()))
        return Reporter().ReportInvalidInteger(errors::kCurrentMethod, "Index", index, "%d");
    name = DisplayName(repCapName, (*objects)[static_cast<std::size_t>(index - 1)].node->PhysicalName());
    return S_OK;
}

std::string CDriver::ResolveVirtualName(std::string_view name) const {
    return virtualNames_.Resolve(name).value_or(std::string(name));
}

std::string CDriver::Alias(std::string_view physicalName) const {
    auto it = aliases_.find(ToLower(physicalName));
    return it == aliases_.end() ? std::string(physicalName) : it->second;
}

std::string CDriver::DisplayName(std::string_view repCapName, std::string_view physicalName) const {
    return virtualNames_.VirtualNameOf(repCapName, physicalName).value_or(std::string(physicalName));
}

void CDriver::SetVirtualName(std::string_view virtualName, std::string_view mapped) {
    virtualNames_.Add(virtualName, mapped);
}

void CDriver::SetAlias(std::string_view name, std::string_view replacement) {
    aliases_[ToLower(name)] = std::string(replacement);
}

void CDriver::InvalidateSimulatedValues() {
    SimulatedValues().InvalidateAll();
    for (repcap::CRepCap* node : AllRepCaps()) node->SimulatedValues().InvalidateAll();
}

}  // namespace zpv::driver

namespace zpv::repcap {

const std::string& CRepCap::FullName() {
    if (fullName_.empty()) {
        if (auto* parent = dynamic_cast<CRepCap*>(parent_); parent && !parent->FullName().empty())
            fullName_ = parent->FullName() + ".";
        fullName_.append(ClassName()).append("[").append(Root().Alias(physicalName_)).append("]");
    }
    return fullName_;
}

}  // namespace zpv::repcap
