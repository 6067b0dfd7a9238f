// The pieces of a trace: file and stylesheet names, the XML layout and its escaping, the save
// rule, and the parameter limit of a record.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "errors/zpv4870_error_reporter.h"
#include "trace/trace_context.h"
#include "trace/trace_file_name.h"
#include "trace/value_rendering.h"

namespace zpv::trace {
namespace {

namespace fs = std::filesystem;

TEST(TraceFileName, NamesFollowTheTraceNameOrTheIdentifierAndTime) {
    const std::string cwd = fs::current_path().string();
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 7, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 3, t.tm_isdst = -1;
    EXPECT_EQ(TraceFilePath("", "ZPV4870", std::mktime(&t)), cwd + "/ZPV4870_2026-12-07_09-05-03.xml");
    EXPECT_EQ(TraceFilePath("mytrace", "x", 0), cwd + "/mytrace.xml");
    EXPECT_EQ(TraceFilePath("MyTrace.XML", "x", 0), cwd + "/MyTrace.XML");
    EXPECT_EQ(TraceFilePath("logs/run", "x", 0), cwd + "/logs/run.xml");
    EXPECT_EQ(TraceFilePath("/tmp/run.xml", "x", 0), "/tmp/run.xml");
}

TEST(TraceFileName, TheStylesheetIsNamedOnlyWhenItExists) {
    const fs::path root = fs::temp_directory_path() / ("zpv-ivi-" + std::to_string(::getpid()));
    fs::remove_all(root);
    setenv("ZPV4870_IVI_ROOT", root.c_str(), 1);
    EXPECT_EQ(StylesheetPath(""), "");
    fs::create_directories(root / "Components" / "Veridane Tools");
    std::ofstream(root / "Components" / "Veridane Tools" / "trace.xslt") << "x";
    EXPECT_EQ(StylesheetPath(""), (root / "Components" / "Veridane Tools" / "trace.xslt").string());
    // The company's own folder wins once it exists, even without the file.
    fs::create_directories(root / "Components" / "Kaltrix");
    EXPECT_EQ(StylesheetPath("trace"), "");
    std::ofstream(root / "Components" / "Kaltrix" / "Custom.XSLT") << "x";
    EXPECT_EQ(StylesheetPath("Custom.XSLT"), (root / "Components" / "Kaltrix" / "Custom.XSLT").string());
    unsetenv("ZPV4870_IVI_ROOT");
    fs::remove_all(root);
}

TEST(TraceXml, LayoutAndEscaping) {
    std::FILE* file = std::tmpfile();
    CXmlWriter w;
    w.Attach(fileno(file));
    w.Open("A");
    w.Attribute("v", "say \"<hi>\" & \x01 bye\tnow");
    w.Open("B");
    w.Close();
    w.Open("C");
    w.Attribute("x", "1");
    w.Close();
    w.Close();
    const std::string expected =
        "<A v=\"say &quot;&lt;hi&gt;&quot; &amp; \xEF\xBF\xBD bye&#9;now\">\r\n\t<B/>\r\n\t<C x=\"1\"/>\r\n</A>\r\n";
    EXPECT_EQ(w.Pending(), expected);
    w.EndRecord();
    EXPECT_TRUE(w.Flush());
    EXPECT_EQ(w.Written(), expected.size());
    std::rewind(file);
    std::string onDisk(expected.size() + 8, '\0');
    onDisk.resize(std::fread(onDisk.data(), 1, onDisk.size(), file));
    EXPECT_EQ(onDisk, expected);
    std::fclose(file);
}

TEST(TraceXml, SavesFollowTheMinutesWithinTheHour) {
    using std::chrono::minutes;
    EXPECT_TRUE(CTraceContext::SaveDue(minutes(0), 0));
    EXPECT_FALSE(CTraceContext::SaveDue(minutes(4), 5));
    EXPECT_TRUE(CTraceContext::SaveDue(minutes(5), 5));
    EXPECT_FALSE(CTraceContext::SaveDue(minutes(61), 5));
    EXPECT_TRUE(CTraceContext::SaveDue(minutes(65), 5));
    // An hour or more counts whole minutes: such a file is still saved.
    EXPECT_FALSE(CTraceContext::SaveDue(minutes(59), 60));
    EXPECT_TRUE(CTraceContext::SaveDue(minutes(60), 60));
    EXPECT_TRUE(CTraceContext::SaveDue(minutes(125), 120));
}

TEST(TraceXml, ARecordTakesItsFirst25ParametersAndArraysUpToTheirLimit) {
    const fs::path file = fs::temp_directory_path() / ("zpv-trace-" + std::to_string(::getpid()) + ".xml");
    errors::CZPV4870ErrorReporter reporter(nullptr);
    CTraceContext context;
    context.Settings().enabled = true;
    context.Settings().fileName = file.string();
    context.Settings().arraySizeMax = 3;
    ASSERT_EQ(context.Prepare("ZPV4870", reporter), S_OK);

    std::vector<LONG> values(26);
    std::vector<ParameterRecord> records;
    for (LONG i = 0; i < 26; ++i) {
        values[i] = i;
        records.push_back({"p", Direction::In, &values[i], &RenderValue<LONG>});
    }
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 5);
    records.push_back({"array", Direction::InOut, &array, &RenderValue<SAFEARRAY*>});
    SAFEARRAY* absent = nullptr;
    records.push_back({"absent", Direction::Out, &absent, &RenderValue<SAFEARRAY*>});
    const driver::MethodInfo method(IID_IUnknown, "IZPV4870Test", "Many");
    CallRecord call;
    ASSERT_EQ(context.BeginCall(method, records, call), S_OK);
    context.EndCall(method, S_OK, records, call);
    // The 26th and later records are not traced at all.
    std::swap(records[0], records[26]);
    std::swap(records[1], records[27]);
    CallRecord second;
    context.BeginCall(method, records, second);
    context.EndCall(method, S_OK, records, second);
    context.MarkClosing();
    CallRecord last;
    context.BeginCall(method, {}, last);
    context.EndCall(method, S_OK, {}, last);
    SafeArrayDestroy(array);

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(file.c_str())) << "not well-formed";
    auto methods = doc.child("TraceRecords").children("Method");
    auto first = methods.begin();
    EXPECT_EQ(std::distance(first->children("Parameter").begin(), first->children("Parameter").end()), 25);
    auto swapped = *std::next(first);
    // The array now is first, as InOut: before and after the call, 3 of its 5 elements each time.
    auto before = swapped.child("Parameter");
    EXPECT_STREQ(before.attribute("Name").value(), "array");
    EXPECT_STREQ(before.attribute("Direction").value(), "InOut");
    EXPECT_STREQ(before.attribute("NumDims").value(), "1");
    EXPECT_STREQ(before.attribute("DimSizes").value(), "5");
    EXPECT_STREQ(before.attribute("DataType").value(), "Double[]");
    EXPECT_EQ(std::distance(before.children("Element").begin(), before.children("Element").end()), 3);
    int arrays = 0;
    for (auto p : swapped.children("Parameter")) arrays += std::string(p.attribute("Name").value()) == "array";
    EXPECT_EQ(arrays, 2);
    const auto absentArray = swapped.find_child_by_attribute("Parameter", "Name", "absent");
    EXPECT_STREQ(absentArray.attribute("NumDims").value(), "0");
    EXPECT_FALSE(absentArray.attribute("DataType"));
    fs::remove(file);
}

}  // namespace
}  // namespace zpv::trace
