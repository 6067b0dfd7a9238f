// Count, Item and Name of a repeated capability collection interface, for an owner (the driver
// class) that derives from this once per collection interface it exposes.
#pragma once

#include "core/method_frame.h"
#include "platform/com/text_conversion.h"

namespace zpv::repcap {

template <class Owner, class Collection, class Item>
class RepCapCollection : public Collection {
public:
    HRESULT get_Count(LONG* val) override {
        static const driver::MethodInfo info(ZPV_IID_OF(Collection), InterfaceTraits<Collection>::name, "get_Count");
        return Run(info, [&] {
            *val = Self().RepCapCount(Owner::kPhaseClassName);
            return S_OK;
        }, driver::RetVal(val));
    }

    HRESULT get_Item(BSTR Name, Item** val) override {
        static const driver::MethodInfo info(ZPV_IID_OF(Collection), InterfaceTraits<Collection>::name, "get_Item");
        return Run(info, [&] {
            CRepCap* node = nullptr;
            CComPtr<IUnknown> unknown;
            HRESULT hr = Self().FindRepCap(Owner::kPhaseClassName, com::Utf8FromBstr(Name), &node, &unknown);
            if (FAILED(hr)) return hr;
            return unknown->QueryInterface(ZPV_IID_OF(Item), reinterpret_cast<void**>(val));
        }, driver::In(Name, "Name"), driver::RetVal(val));
    }

    HRESULT get_Name(LONG Index, BSTR* val) override {
        static const driver::MethodInfo info(ZPV_IID_OF(Collection), InterfaceTraits<Collection>::name, "get_Name");
        return Run(info, [&] {
            std::string name;
            HRESULT hr = Self().RepCapNameAt(Owner::kPhaseClassName, Owner::kPhaseRepCapName, Index, name);
            if (FAILED(hr)) return hr;
            *val = com::AllocBstr(name);
            return *val ? S_OK : E_OUTOFMEMORY;
        }, driver::In(Index, "Index"), driver::RetVal(val));
    }

private:
    Owner& Self() { return static_cast<Owner&>(*this); }

    template <class Body, class... Params>
    HRESULT Run(const driver::MethodInfo& info, Body&& body, driver::FrameParam<Params>... params) {
        return driver::RunFrame(Self(), info, driver::Gate::Initialized, std::forward<Body>(body), params...);
    }
};

}  // namespace zpv::repcap
