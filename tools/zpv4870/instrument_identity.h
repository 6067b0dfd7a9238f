// Who the instrument is, as identify and the front panel show it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "c_session.h"

namespace zpv::cli {

// A text attribute of the session.
std::string TextAttribute(const CSession& session, ViAttr id, const char* what);

// manufacturer, model, serial, firmware and driver revision, in that order, by those names.
std::vector<std::pair<std::string, std::string>> IdentityFields(const CSession& session);

}  // namespace zpv::cli
