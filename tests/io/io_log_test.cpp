// The I/O log's lines: escaped bytes, long transfers cut with a count of the rest, statuses by
// name, one line per transfer even from several threads.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "io/io_log.h"
#include "io/io_status.h"

namespace zpv::io {
namespace {

std::vector<std::string> LinesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(IoLog, LinesShowTheBytesEscapedAndCutLongTransfers) {
    const std::string path = ::testing::TempDir() + "io_log_test.log";
    std::remove(path.c_str());
    std::string why;
    auto log = IoLog::Open(path, "TCPIP0::10.87.0.11::5025::SOCKET", &why);
    ASSERT_TRUE(log) << why;
    const std::string binary("A\"\\\n\r\t\x00\xff", 8);
    log->Sent(reinterpret_cast<const BYTE*>(binary.data()), binary.size(), S_OK);
    const std::string large(IoLog::kShownBytes + 904, 'x');
    log->Received(reinterpret_cast<const BYTE*>(large.data()), large.size(), kStatusMoreData);
    log->Received(nullptr, 0, static_cast<HRESULT>(0x80044215));
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&] {
            for (int i = 0; i < 100; ++i) log->Sent(reinterpret_cast<const BYTE*>("*IDN?\n"), 6, S_OK);
        });
    for (auto& writer : writers) writer.join();

    const auto lines = LinesOf(path);
    ASSERT_EQ(lines.size(), 3u + 400u) << "a line was split or lost";
    EXPECT_NE(lines[0].find(" > TCPIP0::10.87.0.11::5025::SOCKET 8 \"A\\\"\\\\\\n\\r\\t\\x00\\xFF\" ok"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(" < TCPIP0::10.87.0.11::5025::SOCKET " + std::to_string(large.size()) + " \""),
              std::string::npos);
    EXPECT_NE(lines[1].find("\" +904 bytes not shown more"), std::string::npos) << lines[1].substr(lines[1].size() - 60);
    EXPECT_NE(lines[2].find(" 0 \"\" 0x80044215"), std::string::npos) << lines[2];
    for (std::size_t i = 3; i < lines.size(); ++i) ASSERT_NE(lines[i].find("\"*IDN?\\n\" ok"), std::string::npos);

    EXPECT_FALSE(IoLog::Open("/nonexistent/dir/x.log", "R", &why));
    EXPECT_NE(why.find("cannot open the I/O log '/nonexistent/dir/x.log'"), std::string::npos) << why;
    std::remove(path.c_str());
}

}  // namespace
}  // namespace zpv::io
