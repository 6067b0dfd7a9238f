#include <gtest/gtest.h>

#include "keywords/enum_command_maps.h"
#include "io/formatted_io.h"
#include "io/instr_buffer.h"
#include "io/io_test_support.h"
#include "support/scripted_transport.h"
#include "ZPV4870.h"

namespace zpv::io {
namespace {

using test::LastErrorText;

class OutputEngineTest : public ::testing::Test {
protected:
    // The rendered text, or "<status>" when rendering failed.
    template <class... Args>
    std::string Render(const char* format, Args... args) {
        std::string text;
        const HRESULT hr = FormatToString(text, services, format, args...);
        if (FAILED(hr)) {
            char status[16];
            std::snprintf(status, sizeof status, "<%08X>", static_cast<unsigned>(hr));
            return status;
        }
        return text;
    }

    errors::CZPV4870ErrorReporter reporter{nullptr};
    test::FixedEnumContext context;
    FormatServices services{&reporter, &keywords::CEnumCommandMaps::Instance(), &context};
};

constexpr const char* kUnexpected = "<8000FFFF>";
constexpr const char* kInvalidArg = "<80070057>";

TEST_F(OutputEngineTest, CNumbersFollowTheCLibrary) {
    EXPECT_EQ(Render("OUTP:FREQ %0.15lg", 50.0), "OUTP:FREQ 50");
    EXPECT_EQ(Render("OUTP:FREQ %0.15lg", 59.999999999999), "OUTP:FREQ 59.999999999999");
    EXPECT_EQ(Render("%5d|%-5d|%+d|% d", 42, 42, 42, 42), "   42|42   |+42| 42");
    EXPECT_EQ(Render("%*d|%-*d|%.*f", 4, 7, 3, 7, 2, 1.0), "   7|7  |1.00");
    EXPECT_EQ(Render("%Id %hd %bd %x", 1LL << 40, 70000, 200, 255), "1099511627776 4464 200 ff");
    EXPECT_EQ(Render("%c%-3c|", 'A', 'B'), "AB  |");
}

TEST_F(OutputEngineTest, Ieee488NumberForms) {
    EXPECT_EQ(Render("%@Hd", 255), "#HFF");
    EXPECT_EQ(Render("%@Qd", 8), "#Q10");
    EXPECT_EQ(Render("%@Bd", 5), "#B101");
    EXPECT_EQ(Render("%@1d", 7), "7");
    EXPECT_EQ(Render("%@2f", 1.5), "1.500000");
    EXPECT_EQ(Render("%@3f", 1.5), "1.500000E+00");
    EXPECT_EQ(Render("%@1f", 2.5), "3");  // rounded by adding one half
    // The prefix takes the place of two padding characters, so the field keeps its width.
    EXPECT_EQ(Render("[%@H6d]", 255), "[  #HFF]");
    EXPECT_EQ(Render("[%-@H6d]", 255), "[#HFF  ]");
    EXPECT_EQ(Render("[%0@H6d]", 255), "[#H00FF]");
    EXPECT_EQ(Render("[%@H3d]", 255), "[#HFF]");
    EXPECT_EQ(Render("%@Hhd", -2), "#HFFFF");  // two's complement of the argument's width
    EXPECT_EQ(Render("%@7d", 1), kUnexpected);
}

TEST_F(OutputEngineTest, StringsQuotedBeforePrecisionAndWidth) {
    EXPECT_EQ(Render("LIST:FILE:COPY %$BQs, %$BQs", L"abc", L"xyz"), "LIST:FILE:COPY \"abc\", \"xyz\"");
    EXPECT_EQ(Render("%qs", "abc"), "'abc'");
    EXPECT_EQ(Render("%.3Qs", "abc"), "\"ab");
    EXPECT_EQ(Render("[%6s][%-6s]", "ab", "ab"), "[    ab][ab    ]");
    const std::string object = "obj";
    EXPECT_EQ(Render("%$Cs", &object), "obj");
    EXPECT_EQ(Render("%s", static_cast<const char*>(nullptr)), kInvalidArg);
}

TEST_F(OutputEngineTest, ListsWithEverySeparator) {
    const LONG values[] = {1, 2, 3};
    EXPECT_EQ(Render("%,3d", values), "1,2,3");
    EXPECT_EQ(Render("%(;)3d", values), "1;2;3");
    EXPECT_EQ(Render("%(:)3d", values), "1:2:3");
    EXPECT_EQ(Render("%(s)*d", 2, values), "1 2");
    EXPECT_EQ(Render("%(t)2d%(r)2d%(n)2d", values, values, values), "1\t21\r21\n2");
    EXPECT_EQ(Render("%,0d", values), "");
    EXPECT_EQ(Render("%,d", values), kUnexpected);  // no count and no safe array
    EXPECT_EQ(Render("%(x)3d", values), kUnexpected);
    const double reals[] = {0.5, 1.25};
    EXPECT_EQ(Render("%,2lg", reals), "0.5,1.25");
    const char* words[] = {"a", "b"};
    EXPECT_EQ(Render("%,2Qs", words), "\"a\",\"b\"");
}

TEST_F(OutputEngineTest, ListsFromSafeArrays) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 4);
    for (LONG i = 0; i < 4; ++i) static_cast<LONG*>(array->pvData)[i] = i * 10;
    EXPECT_EQ(Render("%,$Sd", array), "0,10,20,30");
    EXPECT_EQ(Render("%,2$Sd", array), "0,10");       // the smaller of count and length
    EXPECT_EQ(Render("%,$Slg", array), kInvalidArg);  // doubles wanted
    SafeArrayDestroy(array);
    EXPECT_EQ(Render("%,$Sd", static_cast<SAFEARRAY*>(nullptr)), kInvalidArg);
    SAFEARRAY* offset = SafeArrayCreateVector(VT_I4, 1, 2);
    EXPECT_EQ(Render("%,$Sd", offset), kInvalidArg);
    SafeArrayDestroy(offset);
}

TEST_F(OutputEngineTest, BlocksHonourTheByteOrder) {
    const BYTE bytes[] = {1, 2, 3};
    EXPECT_EQ(Render("%3b", bytes), std::string("#13\x01\x02\x03", 6));
    const SHORT words[] = {0x0102, 0x0304};
    EXPECT_EQ(Render("%2hb", words), std::string("#14\x01\x02\x03\x04", 7));
    EXPECT_EQ(Render("%2hB", words), std::string("#0\x01\x02\x03\x04\n", 7));
    EXPECT_EQ(Render("%2!olhy", words), std::string("\x02\x01\x04\x03", 4));
    EXPECT_EQ(Render("%2!obhy", words), std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(Render("%b", bytes), kUnexpected);
    EXPECT_EQ(Render("%3b", static_cast<const BYTE*>(nullptr)), kInvalidArg);

    // The buffer's flag decides for %b; raw %y ignores it.
    test::ScriptedTransport transport;
    auto buffer = CInstrBuffer::Create(transport, reporter, "\n", "\n");
    buffer->SetBigEndian(false);
    auto render = [&](const char* format, ...) {
        va_list args;
        va_start(args, format);
        const HRESULT hr = FormattedOutputV(buffer.get(), format, args, services);
        va_end(args);
        buffer->FlushWrite(true);
        return hr;
    };
    ASSERT_EQ(render("%2hb", words), S_OK);
    EXPECT_EQ(transport.writes.back().bytes, std::string("#14\x02\x01\x04\x03\n", 8));
}

TEST_F(OutputEngineTest, EnumsBecomeKeywordsOfTheCallContext) {
    context.context = "IZPV4870ManualMode.Range";
    EXPECT_EQ(Render("MAN:RANG %{ZPV4870RangeEnum}s", ZPV4870RangeHigh), "MAN:RANG HIGH");
    EXPECT_EQ(Render("%{ Range }-6s|", ZPV4870RangeLow), "LOW   |");
    context.context = "IZPV4870OutputPhase.Enabled";
    EXPECT_EQ(Render("OUTP %{VARIANT_BOOL}s", VARIANT_TRUE), "OUTP ON");
    const VARIANT_BOOL flags[] = {VARIANT_TRUE, VARIANT_FALSE};
    EXPECT_EQ(Render("%{VARIANT_BOOL},2s", flags), "ON,OFF");

    EXPECT_EQ(Render("%{NoSuchEnum}s", 0), "<80044214>");
    EXPECT_EQ(LastErrorText(), "ZPV4870: I/O error: Unrecognized enum name 'NoSuchEnum'..");
    context.context = "IZPV4870ManualMode.Range";
    EXPECT_EQ(Render("%{Range}s", 7), "<80044214>");
    EXPECT_EQ(LastErrorText(), "ZPV4870: I/O error: Unexpected value '7' for enum 'Range'..");
    services.enums = nullptr;
    EXPECT_EQ(Render("%{Range}s", 0), kInvalidArg);
}

TEST_F(OutputEngineTest, FormatsThatDoNotTokenizeWriteNothing) {
    EXPECT_EQ(Render("%%"), "%");
    EXPECT_EQ(Render("A%%B"), "A%B");
    EXPECT_EQ(Render(""), "");
    EXPECT_EQ(Render("VOLT %d %k", 1), kUnexpected);
    EXPECT_EQ(Render("%X", 1), kUnexpected);
    EXPECT_EQ(Render("trailing %"), kUnexpected);

    std::string text = "kept";
    EXPECT_EQ(FormatToString(text, services, "VOLT %d %k", 1), E_UNEXPECTED);
    EXPECT_EQ(text, "kept");
    auto renderInto = [&](IByteSink* sink, const char* format, ...) {
        va_list args;
        va_start(args, format);
        const HRESULT hr = FormattedOutputV(sink, format, args, services);
        va_end(args);
        return hr;
    };
    EXPECT_EQ(renderInto(nullptr, "x"), E_INVALIDARG);
}

}  // namespace
}  // namespace zpv::io
