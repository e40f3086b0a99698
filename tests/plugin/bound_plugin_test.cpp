#include "plugin/bound_plugin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "fakes/test_plugins.h"
#include "support/recording_plugin_client.h"

namespace kestrel {
namespace {

using ::testing::ElementsAre;

TEST(BoundPlugin, UndoesWhatItDidOnEveryPathAndHoldsThePluginForOneUserAtATime) {
  const test::RecordingPluginClient record(test::kRecordingPlugin);
  record.Reset();
  std::atomic<bool> secondBound{false};
  std::thread second;
  {
    BoundPlugin plugin;
    ASSERT_TRUE(plugin.Bind(test::kRecordingPlugin)) << plugin.Error();
    plugin.Init();
    plugin.Open(nullptr);
    second = std::thread([&secondBound] {
      BoundPlugin other;
      other.Bind(test::kRecordingPlugin);  // waits for the first to go; never inits
      secondBound = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(secondBound);
  }  // no explicit Close or Shutdown: leaving the scope does both, in order
  second.join();
  EXPECT_TRUE(secondBound);
  EXPECT_THAT(record.CallLines(), ElementsAre("SPUinit", "SPUopen", "SPUclose", "SPUshutdown"));

  record.Reset();
  {
    BoundPlugin plugin;
    ASSERT_TRUE(plugin.Bind(test::kRecordingPlugin));
    plugin.Init();
    plugin.Shutdown();  // done by hand: not done twice
  }
  EXPECT_THAT(record.CallLines(), ElementsAre("SPUinit", "SPUshutdown"));

  BoundPlugin missing;
  EXPECT_FALSE(missing.Bind("/nonexistent/plugin.so"));
  EXPECT_EQ(missing.Api().SPUinit, nullptr);
}

}  // namespace
}  // namespace kestrel
