// The connection cap, who makes room for a newcomer, the phases' deadlines, and the pauses after failed accepts.
#include "service/core/connection_table.h"

#include <gtest/gtest.h>

#include "service/core/accept_pause.h"

namespace nimbo::service {
namespace {

TEST(ConnectionTable, DeadlinesCountFromEachPhasesStartAndTheRequestsFirstByte) {
    ConnectionTable table({10, 30000, 10000, 5000});
    const auto id = *table.Open(0).admitted;
    EXPECT_EQ(table.NextDeadline(), 30000);  // idle
    table.Enter(id, Phase::Reading, 1000);
    table.Enter(id, Phase::Reading, 9000);  // more bytes of the same request move nothing
    EXPECT_EQ(table.NextDeadline(), 11000);
    EXPECT_TRUE(table.Expired(10999).empty());
    ASSERT_EQ(table.Expired(11000).size(), 1u);
    EXPECT_EQ(table.Expired(11000)[0], std::make_pair(id, Phase::Reading));

    table.Enter(id, Phase::Answering, 2000);  // the service bounds its own waits
    EXPECT_EQ(table.NextDeadline(), std::nullopt);
    table.Enter(id, Phase::Writing, 2500);
    EXPECT_EQ(table.NextDeadline(), 7500);
    table.Enter(id, Phase::Idle, 3000);
    EXPECT_EQ(table.NextDeadline(), 33000);
    table.Close(id);
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.NextDeadline(), std::nullopt);
}

TEST(ConnectionTable, ANewcomerPastTheCapReplacesTheLongestWaitingOrIsRefused) {
    ConnectionTable table({3, 30000, 10000, 10000});
    const auto answering = *table.Open(0).admitted;
    const auto slow = *table.Open(1).admitted;
    const auto idle = *table.Open(2).admitted;
    table.Enter(answering, Phase::Answering, 3);
    table.Enter(slow, Phase::Reading, 4);
    table.Enter(idle, Phase::Writing, 5);
    table.Enter(idle, Phase::Idle, 6);

    ConnectionTable::Admission admission = table.Open(7);
    EXPECT_EQ(admission.shed, slow);  // waiting since 4, before the idle one's 6
    ASSERT_TRUE(admission.admitted);
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.PhaseOf(slow), std::nullopt);

    admission = table.Open(8);
    EXPECT_EQ(admission.shed, idle);
    table.Enter(*admission.admitted, Phase::Writing, 9);
    const auto third = *table.Open(9).shed;  // the newcomer of 7, still idle
    EXPECT_NE(third, answering);
    table.Enter(*table.Open(10).admitted, Phase::Answering, 10);  // sheds the one of 9
    EXPECT_EQ(table.Open(11).admitted, std::nullopt);             // all three are being answered
}

TEST(ConnectionTable, CapStaysWellBelowTheDescriptorLimit) {
    EXPECT_EQ(ConnectionCap(0, 1024), 512u);
    EXPECT_EQ(ConnectionCap(0, 1048576), 4096u);
    EXPECT_EQ(ConnectionCap(0, 64), 32u);
    EXPECT_EQ(ConnectionCap(100, 1024), 100u);
    EXPECT_EQ(ConnectionCap(100000, 1024), 992u);  // the listener, the log and the upstream calls keep theirs
    EXPECT_EQ(ConnectionCap(0, 1), 1u);
}

TEST(AcceptPause, DoublesWhileAcceptsFailAndStartsOverAfterOneWorks) {
    AcceptPause pause;
    EXPECT_EQ(pause.Failed(), 100);
    EXPECT_EQ(pause.Failed(), 200);
    for (int i = 0; i < 10; ++i) pause.Failed();
    EXPECT_EQ(pause.Failed(), AcceptPause::kLongestPauseMs);
    pause.Accepted();
    EXPECT_EQ(pause.Failed(), 100);
}

}  // namespace
}  // namespace nimbo::service
