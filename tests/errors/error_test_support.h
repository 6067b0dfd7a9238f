// Reads back what a report published as the calling thread's error information.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/com/text_conversion.h"
#include "zpv4870_runtime.h"

namespace zpv::errors::test {

struct Published {
    bool present = false;
    GUID guid = GUID_NULL;
    std::optional<std::string> source, description, helpFile;
    DWORD helpContext = 0;
};

// Takes (and so clears) the thread's error information.
inline Published TakeErrorInfo() {
    Published p;
    CComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) != S_OK) return p;
    p.present = true;
    info->GetGUID(&p.guid);
    info->GetHelpContext(&p.helpContext);
    for (auto [getter, field] : {std::pair{&IErrorInfo::GetSource, &p.source},
                                 {&IErrorInfo::GetDescription, &p.description}, {&IErrorInfo::GetHelpFile, &p.helpFile}}) {
        CComBSTR text;
        if (SUCCEEDED((info.Get()->*getter)(&text)) && text) *field = com::Utf8FromBstr(text);
    }
    return p;
}

}  // namespace zpv::errors::test
