// Where a trace goes and which stylesheet it names.
#pragma once

#include <ctime>
#include <string>

namespace zpv::trace {

// TraceName with ".xml" appended unless it ends so (any letter case), relative to the current
// directory; without a name, "<identifier>_<YYYY-MM-DD_HH-MM-SS>.xml" there.
std::string TraceFilePath(const std::string& traceName, const std::string& identifier, std::time_t now);

// The stylesheet's full path when the file exists, else empty. transform is TraceTransform
// ("trace.xslt" when empty, ".xslt" appended unless present); a bare name is looked for in
// <IVI root>/Components/Kaltrix, or in <IVI root>/Components/Veridane Tools when that folder
// does not exist. The IVI root is ZPV4870_IVI_ROOT, else the registry's IviStandardRootDir.
std::string StylesheetPath(const std::string& transform);

}  // namespace zpv::trace
