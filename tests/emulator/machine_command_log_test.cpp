// The command log stays bounded over a long session and keeps what tests read.
#include <gtest/gtest.h>

#include "emulator/command_log.h"

namespace emu::testing {
namespace {

LoggedCommand WithData(std::size_t bytes, std::uint8_t fill) {
  LoggedCommand entry;
  entry.cdb[0] = fill;
  entry.dataOut.assign(bytes, fill);
  return entry;
}

TEST(CommandLog, DropsTheOldestEntriesButKeepsIdsOfTheRest) {
  CommandLog log;
  std::size_t firstId = 0;
  std::size_t lastId = 0;
  for (std::size_t i = 0; i < 3 * CommandLog::kMaxEntries; ++i) {
    LoggedCommand entry;
    entry.transferLength = static_cast<std::uint32_t>(i);
    lastId = log.Add(std::move(entry));
    if (i == 0) firstId = lastId;
  }
  EXPECT_LE(log.Entries().size(), CommandLog::kMaxEntries);
  EXPECT_GE(log.Entries().size(), CommandLog::kMaxEntries / 2);
  EXPECT_EQ(log.Find(firstId), nullptr);
  ASSERT_NE(log.Find(lastId), nullptr);
  EXPECT_EQ(log.Find(lastId)->transferLength, 3 * CommandLog::kMaxEntries - 1);
  EXPECT_EQ(log.Entries().back().transferLength, 3 * CommandLog::kMaxEntries - 1);
  EXPECT_EQ(&log.Entries().back(), log.Find(lastId));
}

TEST(CommandLog, ReleasesOldDataCopiesOncePastTheBudgetKeepingRecentDownloads) {
  CommandLog log;
  constexpr std::size_t kChunk = 0x8000;
  const std::size_t chunks = 4 * CommandLog::kMaxDataOutBytes / kChunk;
  for (std::size_t i = 0; i < chunks; ++i) {
    log.Add(WithData(kChunk, static_cast<std::uint8_t>(i)));
  }
  EXPECT_LE(log.DataOutBytes(), CommandLog::kMaxDataOutBytes);
  // The oldest lost their copies (and say so); the last full download is whole.
  EXPECT_TRUE(log.Entries().front().dataOut.empty());
  EXPECT_TRUE(log.Entries().front().dataOutReleased);
  const std::size_t kept = 0x21010 / kChunk + 1;
  for (std::size_t back = 1; back <= kept; ++back) {
    const LoggedCommand& entry = log.Entries()[log.Entries().size() - back];
    EXPECT_EQ(entry.dataOut.size(), kChunk);
    EXPECT_FALSE(entry.dataOutReleased);
    EXPECT_EQ(entry.dataOut.front(), static_cast<std::uint8_t>(chunks - back));
  }
  std::size_t counted = 0;
  for (const LoggedCommand& entry : log.Entries()) counted += entry.dataOut.size();
  EXPECT_EQ(counted, log.DataOutBytes());

  log.Clear();
  EXPECT_EQ(log.DataOutBytes(), 0u);
  log.Add(WithData(CommandLog::kMaxDataOutBytes + 1, 1));  // a newest entry keeps its data
  EXPECT_EQ(log.Entries().back().dataOut.size(), CommandLog::kMaxDataOutBytes + 1);
}

}  // namespace
}  // namespace emu::testing
