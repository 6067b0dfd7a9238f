#include <gtest/gtest.h>

#include <cstdarg>

#include "keywords/enum_command_maps.h"
#include "io/formatted_io.h"
#include "io/instr_buffer.h"
#include "io/io_test_support.h"
#include "support/scripted_transport.h"
#include "ZPV4870.h"

namespace zpv::io {
namespace {

using test::LastErrorText;

class InputEngineTest : public ::testing::Test {
protected:
    // Serves response (ended with a line feed and END) and parses it with format.
    HRESULT Parse(std::string_view response, const char* format, ...) {
        buffer->FlushRead();
        transport.ClearResponses();
        transport.Respond(std::string(response) + "\n");
        va_list args;
        va_start(args, format);
        const HRESULT hr = FormattedInputV(buffer.get(), format, args, services);
        va_end(args);
        return hr;
    }

    test::ScriptedTransport transport;
    errors::CZPV4870ErrorReporter reporter{nullptr};
    std::unique_ptr<CInstrBuffer> buffer = CInstrBuffer::Create(transport, reporter, "\n", "\n");
    test::FixedEnumContext context;
    FormatServices services{&reporter, &keywords::CEnumCommandMaps::Instance(), &context};
};

TEST_F(InputEngineTest, NumbersByConversionAndSize) {
    double frequency = 0;
    EXPECT_EQ(Parse("50", "%lg", &frequency), S_OK);
    EXPECT_EQ(frequency, 50.0);
    EXPECT_EQ(Parse("  -1.5e3", "%le", &frequency), S_OK);
    EXPECT_EQ(frequency, -1500.0);
    float single = 0;
    EXPECT_EQ(Parse("0.25", "%f", &single), S_OK);
    EXPECT_EQ(single, 0.25f);

    LONG value = 0;
    SHORT small = 0;
    BYTE tiny = 0;
    LONGLONG wide = 0;
    EXPECT_EQ(Parse("-12 0x1F 017 255 12345678901", "%d %hx %bo %bd %Id", &value, &small, &tiny, &tiny, &wide), S_OK);
    EXPECT_EQ(value, -12);
    EXPECT_EQ(small, 31);
    EXPECT_EQ(tiny, 255);
    EXPECT_EQ(wide, 12345678901LL);
    EXPECT_EQ(Parse("1F 17", "%hx %ho", &small, &small), S_OK);
    EXPECT_EQ(small, 15);
    EXPECT_EQ(Parse("#HFF,#B101", "%@Hd,%@Bhd", &value, &small), S_OK);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(small, 5);
    EXPECT_EQ(Parse("12345", "%3d%hd", &value, &small), S_OK);
    EXPECT_EQ(value, 123);
    EXPECT_EQ(small, 45);
    EXPECT_EQ(Parse("abc", "%d", &value), E_UNEXPECTED);
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: Unexpected response from the instrument.\r\nExpected a 32-bit integer (-2147483648 to "
              "2147483647), received \"abc\".");
}

// Every response that does not match its format says what was expected and what came instead.
TEST_F(InputEngineTest, MismatchesAreDescribed) {
    LONG value = 0;
    EXPECT_EQ(Parse("VOLT 5", "CURR %d", &value), E_UNEXPECTED);
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: Unexpected response from the instrument.\r\nExpected \"CURR \", received \"VOLT 5\".");
    BYTE bytes[4] = {};
    LONG count = 4;
    EXPECT_EQ(Parse("\x01\x02garbage", "%#b", &count, bytes), E_UNEXPECTED);
    const std::string text = LastErrorText();
    EXPECT_NE(text.find("Expected a definite-length block"), std::string::npos) << text;
    EXPECT_NE(text.find("received \"\\x01\\x02garbage\""), std::string::npos) << text;
    EXPECT_EQ(Parse("", "%d", &value), E_UNEXPECTED);
    EXPECT_NE(LastErrorText().find("but the response ended"), std::string::npos);
}

// A value outside its target fails exactly as text that is no number of that type: E_UNEXPECTED,
// a description naming the type and quoting the reply, and nothing stored.
TEST_F(InputEngineTest, IntegersOutsideTheirTargetFailInsteadOfWrapping) {
    struct Case {
        const char* reply;
        const char* format;
        bool fits;
    };
    const Case cases[] = {
        {"2147483647", "%d", true},         {"-2147483648", "%d", true},    {"2147483648", "%d", false},
        {"-2147483649", "%d", false},       {"99999999999", "%d", false},   {"-99999999999", "%d", false},
        {"4294967296", "%d", false},        {"+00000000012", "%d", true},   {"0000000000000000002147483648", "%d", false},
        {"32767", "%hd", true},             {"-32768", "%hd", true},        {"32768", "%hd", false},
        {"-32769", "%hd", false},           {"65535", "%hu", true},         {"65536", "%hu", false},
        {"-1", "%hu", false},               {"FFFF", "%hx", true},          {"10000", "%hx", false},
        {"4294967295", "%u", true},         {"4294967296", "%u", false},    {"FFFFFFFF", "%x", true},
        {"255", "%bd", true},               {"256", "%bd", false},          {"-1", "%bd", false},
        {"9223372036854775807", "%Id", true}, {"9223372036854775808", "%Id", false},
        {"#HFFFFFFFF", "%@Hd", true},       {"#H100000000", "%@Hd", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.reply) + " as " + c.format);
        LONGLONG destination = 0x5A5A;
        const HRESULT hr = Parse(c.reply, c.format, &destination);
        if (c.fits) {
            EXPECT_EQ(hr, S_OK);
            continue;
        }
        EXPECT_EQ(hr, E_UNEXPECTED);
        EXPECT_EQ(destination, 0x5A5A) << "nothing is stored";
        const std::string text = LastErrorText();
        const std::string digits = std::string(c.reply).substr(c.reply[0] == '#' ? 2 : 0);  // without "#H"
        EXPECT_NE(text.find("received \"" + digits + "\""), std::string::npos) << text;
        EXPECT_NE(text.find("-bit"), std::string::npos) << text;
    }
    // The same holds for every element of a list.
    LONG list[3] = {};
    LONG count = 3;
    EXPECT_EQ(Parse("1,2,99999999999", "%#,d", &count, list), E_UNEXPECTED);
}

TEST_F(InputEngineTest, StopsWhenTheResponseEnds) {
    LONG first = 0, second = -1;
    EXPECT_EQ(Parse("5", "%d%d", &first, &second), S_OK);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(Parse("5,6", "%d", &first), kStatusMoreData);  // unread bytes remain
    LONG third = -1;
    EXPECT_EQ(Parse("1,x", "%d,%d", &first, &third), E_UNEXPECTED);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(third, -1);
}

TEST_F(InputEngineTest, LiteralWhiteSpaceAndSuppression) {
    LONG a = 0, b = 0;
    EXPECT_EQ(Parse("1 \t  2", "%d %d", &a, &b), S_OK);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(Parse("VOLT:10", "VOLT:%d", &a), S_OK);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(Parse("CURR:10", "VOLT:%d", &a), E_UNEXPECTED);
    EXPECT_EQ(Parse("7,8", "%*d,%d", &a), S_OK);
    EXPECT_EQ(a, 8);
}

TEST_F(InputEngineTest, TextConversions) {
    LONG count = 0;
    std::string text;
    EXPECT_EQ(Parse("3,Phase A", "%d,%$Ct", &count, &text), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(text, "Phase A");

    BSTR wide = SysAllocString(L"old");
    EXPECT_EQ(Parse("ZPV,4832,SN1,1.0", "%$Bt", &wide), S_OK);
    EXPECT_STREQ(wide, L"ZPV,4832,SN1,1.0");
    SysFreeString(wide);

    char word[4];
    char rest[32];
    EXPECT_EQ(Parse("  ABCDEF   next", "%4s%t", word, rest), S_OK);
    EXPECT_STREQ(word, "ABC");  // width is the capacity, terminator included
    EXPECT_STREQ(rest, "next");

    char line[16], digits[8], letters[8];
    EXPECT_EQ(Parse("first\nsecond", "%T%$Ct", line, &text), S_OK);
    EXPECT_STREQ(line, "first");
    EXPECT_EQ(text, "second");
    EXPECT_EQ(Parse("123abc!", "%[0-9]%[^!]", digits, letters), kStatusMoreData);
    EXPECT_STREQ(digits, "123");
    EXPECT_STREQ(letters, "abc");

    char pair[2];
    LONG got = 3;
    EXPECT_EQ(Parse("ab", "%#c", &got, pair), S_OK);
    EXPECT_EQ(got, 2);
    EXPECT_EQ(std::string(pair, 2), "ab");
}

TEST_F(InputEngineTest, ListsWithCountsAndSeparators) {
    LONG values[10] = {};
    LONG count = 10;
    EXPECT_EQ(Parse("1,2,3", "%,#d", &count, values), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(values[2], 3);

    count = 2;
    EXPECT_EQ(Parse("4,5,6", "%,#d", &count, values), kStatusMoreData);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(values[1], 5);

    double reals[4] = {};
    EXPECT_EQ(Parse("1.5; 2.5 :3.5", "%(;:)4lf", reals), S_OK);
    EXPECT_EQ(reals[2], 3.5);

    SAFEARRAY* array = SafeArrayCreateVector(VT_I2, 0, 2);
    EXPECT_EQ(Parse("7 8 9", "%(s)$Shd", array), kStatusMoreData);
    EXPECT_EQ(static_cast<SHORT*>(array->pvData)[1], 8);
    EXPECT_EQ(Parse("7", "%(s)$Sd", array), E_INVALIDARG);  // 32-bit elements wanted
    SafeArrayDestroy(array);

    std::string words[3];
    count = 3;
    EXPECT_EQ(Parse("\"a,b\",c", "%,#$CQs", &count, words), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(words[0], "a,b");
    EXPECT_EQ(words[1], "c");
    EXPECT_EQ(Parse("1,2", "%,d", values), E_UNEXPECTED);  // a plain array needs a count
    EXPECT_EQ(Parse("1", "%,#d", nullptr, values), E_INVALIDARG);
}

TEST_F(InputEngineTest, DefiniteBlocksAndRawBinary) {
    BYTE bytes[8] = {};
    LONG count = 8;
    EXPECT_EQ(Parse("#15hello", "%#b", &count, bytes), S_OK);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 5), "hello");

    SHORT words[2] = {};
    EXPECT_EQ(Parse(std::string("#14\x01\x02\x03\x04", 7), "%2hb", words), S_OK);
    EXPECT_EQ(words[0], 0x0102);
    buffer->SetBigEndian(false);
    EXPECT_EQ(Parse(std::string("#14\x01\x02\x03\x04", 7), "%2hb", words), S_OK);
    EXPECT_EQ(words[0], 0x0201);
    buffer->SetBigEndian(true);

    count = 2;
    EXPECT_EQ(Parse("#0abcdef", "%#b", &count, bytes), S_OK);  // extra bytes dropped
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Parse(std::string("\x01\x02\x03\x04", 4), "%2!olhy", words), S_OK);
    EXPECT_EQ(words[1], 0x0403);

    EXPECT_EQ(Parse("15hello", "%5b", bytes), E_UNEXPECTED);
    EXPECT_EQ(Parse("#x5hello", "%5b", bytes), E_UNEXPECTED);
    EXPECT_EQ(Parse("#2", "%5b", bytes), E_UNEXPECTED);
}

TEST_F(InputEngineTest, EnumKeywordsOfTheCallContext) {
    context.context = "IZPV4870ManualMode.Range";
    LONG range = -1;
    EXPECT_EQ(Parse(" HIGH\r", "%{ZPV4870RangeEnum}s", &range), S_OK);
    EXPECT_EQ(range, ZPV4870RangeHigh);
    EXPECT_EQ(Parse("high", "%{ZPV4870RangeEnum}s", &range), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(), "ZPV4870: I/O error: Unexpected value 'high' for enum 'ZPV4870RangeEnum'..");

    context.context = "IZPV4870OutputPhase.Enabled";
    VARIANT_BOOL flags[3] = {1, 1, 1};
    LONG count = 3;
    EXPECT_EQ(Parse("ON,OFF", "%{VARIANT_BOOL},#s", &count, flags), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(flags[0], VARIANT_TRUE);
    EXPECT_EQ(flags[1], VARIANT_FALSE);
    EXPECT_EQ(flags[2], 1);  // 16-bit destinations: nothing written past them

    context.context = "IZPV4870System.Analog";
    EXPECT_EQ(Parse("0-10V", "%{Analog}[-0-9V]", &range), S_OK);
    EXPECT_EQ(range, ZPV4870Analog10V);
}

TEST_F(InputEngineTest, TransportFailureStopsTheParse) {
    LONG value = 0;
    buffer->FlushRead();
    transport.FailNextRead(test::kScriptedTimeout);
    auto parse = [&](const char* format, ...) {
        va_list args;
        va_start(args, format);
        const HRESULT hr = FormattedInputV(buffer.get(), format, args, services);
        va_end(args);
        return hr;
    };
    EXPECT_EQ(parse("%d", &value), test::kScriptedTimeout);
    EXPECT_EQ(parse("%d %k", &value), E_UNEXPECTED);
    EXPECT_EQ(parse(""), S_OK);
}

}  // namespace
}  // namespace zpv::io
