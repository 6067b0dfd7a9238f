// The front panel's page (panel_page.html, built into the tool: the panel works on a bench
// network with no way out).
#pragma once

namespace zpv::cli {

extern const char* const kPanelPage;

}  // namespace zpv::cli
