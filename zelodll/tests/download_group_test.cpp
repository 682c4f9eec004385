// Group downloads through the fake link layer: who is gathered, the bytes
// the group hears, each member's result, Stop in either phase, failures of
// the whole group, and the resume of a member that failed.
#include <map>
#include <set>

#include "transfer_fixture.hpp"

using fake_pendra::Call;
using fake_pendra::Fn;
using namespace transfer_test;

namespace {

// What a member of the group ends with in the scripted link.
struct MemberEnd {
    int16_t result = 4;
    uint32_t held = 0;
};

class DownloadGroupTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        script();
    }

    // A fresh line and library between the cases of one test.
    void restart() {
        fake_pendra::reset();
        zelo::resetStateForTesting();
        terminals.clear();
        speaksGroup.clear();
        ends.clear();
        rounds = 1;
        lastAnswer = 6;
        heard.clear();
        onData = nullptr;
        onRound = nullptr;
        script();
    }

    void script() {
        fake_pendra::setResponder([this](const Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn == Fn::GroupData) {
                if (onData) return onData(call);
                heard += call.request;
                return std::nullopt;
            }
            const auto found = terminals.find(static_cast<char>(call.address));
            if (found == terminals.end()) return std::nullopt;
            return found->second.answer(call);
        });
        fake_pendra::GroupLink link;
        link.joins = [this](char address) { return speaksGroup.contains(address); };
        link.finish = [this](int round, const std::string& members, int16_t* results,
                             uint32_t* held) -> int16_t {
            if (onRound) onRound(round);
            if (round < rounds) return 2;
            for (std::size_t i = 0; i < members.size(); ++i) {
                const MemberEnd end = ends.contains(members[i]) ? ends[members[i]] : MemberEnd{};
                results[i] = speaksGroup.contains(members[i]) ? end.result : 0;
                held[i] = end.result == 4 ? static_cast<uint32_t>(heard.size()) : end.held;
            }
            return lastAnswer;
        };
        fake_pendra::setGroupLink(link);
    }

    // Runs the group to its end; returns the last step's code.
    int32_t runGroup(const std::string& addresses, const std::string& local) {
        const int32_t opened =
            HM_download_group1(1, addresses.c_str(), local.c_str(), "PRICES.DAT");
        if (opened != ZELO_OK) return opened;
        int32_t code = ZELO_MORE;
        while ((code = HM_download_group2(&bytes, &steps)) == ZELO_MORE) {
        }
        return code;
    }

    std::pair<int32_t, int32_t> member(char address) {
        int32_t result = -99;
        int32_t held = -99;
        EXPECT_EQ(HM_download_group_member(address, &result, &held), ZELO_OK) << address;
        return {result, held};
    }

    std::vector<std::string> requestsTo(char address) const {
        std::vector<std::string> out;
        for (const Call& call : fake_pendra::callsOf(Fn::DBG))
            if (call.address == address) out.push_back(call.request);
        return out;
    }

    std::map<char, DownloadTerminal> terminals;
    std::set<char> speaksGroup;
    std::map<char, MemberEnd> ends;
    int rounds = 1;
    int16_t lastAnswer = 6;  // of the last round
    std::string heard;
    std::function<std::optional<fake_pendra::Reply>(const Call&)> onData;
    std::function<void(int)> onRound;
    int32_t bytes = 0;
    int32_t steps = 0;
};

TEST_F(DownloadGroupTest, TheGroupHearsTheFileOnceAndEachMemberEndsWithItsOwnResult) {
    // A 0-byte and a 1-byte file go through the same steps as a large one.
    for (std::size_t size : {0u, 1u, 10000u}) {
        restart();
        for (char address : std::string("ABCD")) terminals[address];
        speaksGroup = {'A', 'B', 'D'};  // C speaks an older version
        ends['B'] = {130, 4096};        // B falls silent in the repairs
        rounds = 2;
        const std::string local = path("prices" + std::to_string(size));
        WriteAll(local, patternBytes(size));

        EXPECT_EQ(runGroup("ABCD", local), ZELO_OK) << size;
        EXPECT_EQ(heard, patternBytes(size));
        EXPECT_EQ(bytes, static_cast<int32_t>(size));
        for (const Call& call : fake_pendra::callsOf(Fn::GroupData)) {
            EXPECT_GE(call.requestLength, 1);
            EXPECT_LE(call.requestLength, 4096);
        }
        EXPECT_EQ(fake_pendra::callsOf(Fn::GroupOpen).at(0).request, "ABCD");
        EXPECT_EQ(fake_pendra::count(Fn::GroupFinish), 2);
        EXPECT_EQ(member('A'), std::make_pair(int32_t{ZELO_OK}, static_cast<int32_t>(size)));
        EXPECT_EQ(member('B'), std::make_pair(int32_t{ZELO_TIMEOUT}, int32_t{4096}));
        EXPECT_EQ(member('C').first, ZELO_NOT_GATHERED);
        EXPECT_EQ(member('D').first, ZELO_OK);
        // The library sends no packets of its own: only the announces.
        for (char address : std::string("ABCD"))
            EXPECT_EQ(requestsTo(address), std::vector<std::string>{"LPRICES.DAT"}) << address;
        EXPECT_EQ(files.openFiles, 0);
        EXPECT_EQ(HM_download_group2(nullptr, nullptr), ZELO_NO_OPEN_DOWNLOAD);
    }
}

TEST_F(DownloadGroupTest, NobodyGatheredOrBadInputsLeaveEveryAddressToTheOneByOnePath) {
    const std::string local = path("prices");
    WriteAll(local, "prices");
    terminals['A'];
    terminals['B'].acceptResult = 4;
    // Nobody speaks the group: nothing stays open, everyone goes one by one.
    EXPECT_EQ(runGroup("AB", local), ZELO_NOT_GATHERED);
    EXPECT_EQ(member('A').first, ZELO_NOT_GATHERED);
    EXPECT_EQ(member('B').first, ZELO_NOT_GATHERED);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(HM_download_group2(nullptr, nullptr), ZELO_NO_OPEN_DOWNLOAD);
    EXPECT_EQ(HM_download_group_resume(1, 'A', nullptr), ZELO_UNKNOWN_RESPONSE);

    // An address no terminal answers is not announced, so not offered.
    restart();
    terminals['A'];
    speaksGroup = {'A', 'E'};
    EXPECT_EQ(runGroup("AE", local), ZELO_OK);
    EXPECT_EQ(fake_pendra::callsOf(Fn::GroupOpen).at(0).request, "A");
    EXPECT_EQ(member('E').first, ZELO_NOT_GATHERED);
    EXPECT_EQ(HM_download_group_member('F', nullptr, nullptr), ZELO_UNKNOWN_RESPONSE);

    // Refused before anything is sent: a repeated address, none, too many,
    // a name too long, a local file that is not there.
    fake_pendra::reset();
    zelo::resetStateForTesting();
    const std::string longName(ZELO_REMOTE_NAME_SIZE, 'N');
    EXPECT_EQ(HM_download_group1(1, "ABA", local.c_str(), "X"), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download_group1(1, "", local.c_str(), "X"), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download_group1(1, nullptr, local.c_str(), "X"), ZELO_UNKNOWN_RESPONSE);
    const std::string tooMany(ZELO_GROUP_MAX_MEMBERS + 1, 'A');
    EXPECT_EQ(HM_download_group1(1, tooMany.c_str(), local.c_str(), "X"), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download_group1(1, "AB", local.c_str(), longName.c_str()), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download_group1(1, "AB", path("absent").c_str(), "X"), ZELO_NO_SUCH_FILE);
    EXPECT_TRUE(fake_pendra::calls().empty()) << fake_pendra::transcript();
}

TEST_F(DownloadGroupTest, StopWhileBytesGoOutOrDuringRepairsCancelsEveryUnfinishedMember) {
    const std::string local = path("prices");
    WriteAll(local, patternBytes(20000));
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    // The link sees the stop while it waits with the second chunk.
    int chunks = 0;
    onData = [&](const Call&) -> std::optional<fake_pendra::Reply> {
        if (++chunks < 2) return std::nullopt;
        HM_stop_communication();
        return fake_pendra::reply(130);
    };
    EXPECT_EQ(runGroup("AB", local), ZELO_STOPPED);
    EXPECT_EQ(fake_pendra::count(Fn::GroupCancel), 1);
    EXPECT_EQ(fake_pendra::count(Fn::GroupFinish), 0);
    for (char address : std::string("AB")) {
        EXPECT_TRUE(terminals[address].cancelled) << address;
        EXPECT_FALSE(terminals[address].ended) << address;
        EXPECT_EQ(member(address).first, ZELO_STOPPED);
    }
    EXPECT_EQ(files.openFiles, 0);

    // Between two rounds of repairs: every member is cancelled.
    restart();
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    ends['B'] = {130, 100};
    rounds = 3;
    ASSERT_EQ(HM_download_group1(1, "AB", local.c_str(), "PRICES.DAT"), ZELO_OK);
    int32_t code = ZELO_MORE;
    while (fake_pendra::count(Fn::GroupFinish) < 2 && code == ZELO_MORE)
        code = HM_download_group2(nullptr, nullptr);
    ASSERT_EQ(code, ZELO_MORE);
    HM_stop_communication();
    EXPECT_EQ(HM_download_group2(nullptr, nullptr), ZELO_STOPPED);
    EXPECT_TRUE(terminals['A'].cancelled);
    EXPECT_TRUE(terminals['B'].cancelled);
    EXPECT_EQ(member('A').first, ZELO_STOPPED);
    EXPECT_EQ(fake_pendra::count(Fn::GroupCancel), 1);
    EXPECT_EQ(files.openFiles, 0);

    // In the last round: the member that finished keeps its file, the
    // other is cancelled.
    restart();
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    ends['B'] = {130, 100};
    onRound = [](int) { HM_stop_communication(); };
    EXPECT_EQ(runGroup("AB", local), ZELO_STOPPED);
    EXPECT_EQ(member('A').first, ZELO_OK);
    EXPECT_FALSE(terminals['A'].cancelled);
    EXPECT_EQ(member('B').first, ZELO_STOPPED);
    EXPECT_TRUE(terminals['B'].cancelled);
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(DownloadGroupTest, AFailedGroupCancelsEveryMemberAndNoneCountsAsComplete) {
    const std::string local = path("prices");
    WriteAll(local, patternBytes(9000));
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    // The line fails under the second chunk.
    int chunks = 0;
    onData = [&](const Call&) -> std::optional<fake_pendra::Reply> {
        return ++chunks < 2 ? std::nullopt : std::optional(fake_pendra::reply(254));
    };
    EXPECT_EQ(runGroup("AB", local), ZELO_UNKNOWN_RESPONSE);
    for (char address : std::string("AB")) {
        EXPECT_TRUE(terminals[address].cancelled) << address;
        EXPECT_EQ(member(address).first, ZELO_UNKNOWN_RESPONSE);
    }

    // The local file fails in its middle: the same, and the file is named.
    restart();
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    files.readsBeforeFailure = 1;
    EXPECT_EQ(runGroup("AB", local), ZELO_UNKNOWN_RESPONSE);
    EXPECT_TRUE(terminals['A'].cancelled);
    EXPECT_EQ(member('B').first, ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_last_file_error_text(nullptr, 0), 1);
    EXPECT_EQ(files.openFiles, 0);

    // The line fails in the last round: a member that finished before it
    // keeps its file; the other fails and is not cancelled on a dead line.
    restart();
    files.readsBeforeFailure = -1;
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    ends['B'] = {254, 0};
    lastAnswer = 254;
    EXPECT_EQ(runGroup("AB", local), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(member('A').first, ZELO_OK);
    EXPECT_EQ(member('B').first, ZELO_UNKNOWN_RESPONSE);
    EXPECT_FALSE(terminals['A'].cancelled);
    EXPECT_EQ(files.openFiles, 0);

    // A link that reports nobody's result leaves nobody complete.
    restart();
    for (char address : std::string("AB")) terminals[address];
    speaksGroup = {'A', 'B'};
    fake_pendra::GroupLink silent;
    silent.joins = [](char) { return true; };
    silent.finish = [](int, const std::string&, int16_t*, uint32_t*) -> int16_t { return 6; };
    fake_pendra::setGroupLink(silent);
    EXPECT_EQ(runGroup("AB", local), ZELO_OK);
    EXPECT_NE(member('A').first, ZELO_OK);
    EXPECT_NE(member('B').first, ZELO_OK);
}

TEST_F(DownloadGroupTest, AMemberThatFailedResumesFromWhatItHoldsOrStartsOver) {
    const std::string file = patternBytes(5000);
    const std::string local = path("prices");
    WriteAll(local, file);
    for (char address : std::string("ABC")) terminals[address];
    speaksGroup = {'A', 'B', 'C'};
    ends['A'] = {130, 4096};
    ends['B'] = {5, 0};
    ends['C'] = {7, 0};  // its end check refused the copy
    EXPECT_EQ(runGroup("ABC", local), ZELO_OK);
    EXPECT_EQ(member('A'), std::make_pair(int32_t{ZELO_TIMEOUT}, int32_t{4096}));
    EXPECT_EQ(member('B').first, ZELO_NAK);
    EXPECT_EQ(member('C').first, ZELO_UNKNOWN_RESPONSE);

    // A holds 4096 bytes: the rest goes one by one after them.
    terminals['A'].received = file.substr(0, 4096);
    int32_t size = 0;
    ASSERT_EQ(HM_download_group_resume(1, 'A', &size), ZELO_OK);
    EXPECT_EQ(size, 5000);
    EXPECT_EQ(requestsTo('A').back(), "LPRICES.DAT[4096]");
    int32_t sent = 0;
    int32_t code = ZELO_MORE;
    while ((code = HM_download2(&sent, nullptr)) == ZELO_MORE) {
    }
    EXPECT_EQ(code, ZELO_OK);
    EXPECT_EQ(sent, 5000);
    EXPECT_EQ(terminals['A'].received, file);
    EXPECT_TRUE(terminals['A'].ended);

    // B refuses the resume: nothing is left open, and a fresh download
    // starts over from the first byte.
    terminals['B'].resumeFailures[0] = 5;
    EXPECT_EQ(HM_download_group_resume(1, 'B', nullptr), ZELO_NAK);
    EXPECT_EQ(HM_download2(nullptr, nullptr), ZELO_NO_OPEN_DOWNLOAD);
    EXPECT_EQ(files.openFiles, 0);
    int32_t offset = 0;
    ASSERT_EQ(HM_download1(1, 'B', local.c_str(), "PRICES.DAT", &offset), ZELO_OK);
    while ((code = HM_download2(nullptr, nullptr)) == ZELO_MORE) {
    }
    EXPECT_EQ(code, ZELO_OK);
    EXPECT_EQ(terminals['B'].received, file);

    // C dropped its download at the refused check: it starts over, and
    // only a member that failed in the group resumes.
    const std::size_t before = fake_pendra::calls().size();
    EXPECT_EQ(HM_download_group_resume(1, 'C', nullptr), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_download_group_resume(1, 'Q', nullptr), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(fake_pendra::calls().size(), before);
}

}  // namespace
