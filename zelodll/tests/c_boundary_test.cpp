// No exception crosses the library's C interface: with every allocation
// failing (in the library or in the link layer below it), each command
// returns a failure code instead of throwing, and the library works again
// once memory is back.
#include <array>
#include <fstream>

#include "failing_allocator.hpp"
#include "transfer_fixture.hpp"

using namespace transfer_test;

namespace {

class CBoundaryTest : public TransferTest {};

TEST_F(CBoundaryTest, CommandsReturnAFailureCodeWhenMemoryRunsOut) {
    const std::string local = path("source.bin");
    WriteAll(local, patternBytes(300));
    DownloadTerminal terminal;
    serve(terminal);

    std::array<char, ZELO_REPLY_SIZE> reply{};
    std::array<char, ZELO_POLL_RECORD_SIZE> record{};
    std::array<char, ZELO_LOCAL_NAME_SIZE> uploadName{"upload.bin"};
    int32_t length = 0;
    int32_t offset = 0;
    const int before = failing_allocator::refusals();
    std::vector<int32_t> codes;
    codes.reserve(8);  // so that keeping the codes needs no memory
    {
        failing_allocator::Armed armed;
        codes.push_back(HM_download(1, 'A', local.c_str(), "DATA.TXT"));
        codes.push_back(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &offset));
        codes.push_back(HM_upload(1, 'A', "DATA.TXT", uploadName.data()));
        codes.push_back(HM_terminal_id(1, 'A', reply.data()));
        codes.push_back(HM_poll(1, 'A', record.data(), &length));
        codes.push_back(HM_warm_start(1, 'A'));
    }
    EXPECT_GT(failing_allocator::refusals(), before);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(codes[i], ZELO_UNKNOWN_RESPONSE) << "call " << i;
    }

    // Memory is back: the same download goes through whole.
    fake_pendra::reset();
    DownloadTerminal again;
    serve(again);
    EXPECT_EQ(HM_download(1, 'A', local.c_str(), "DATA.TXT"), ZELO_OK);
    EXPECT_EQ(again.received, patternBytes(300));
}

}  // namespace
