#include "mixer/switches.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(FilterRegisterWrite, SwitchesDropWritesExceptWhileSeeking) {
  RegisterControl registers;
  EventControl events;
  for (std::uint32_t a = 0x1F801C00; a < 0x1F801E00; a += 2) {
    EXPECT_TRUE(FilterRegisterWrite(registers, events, a, false)) << std::hex << a;
  }
  registers.allow[0] = false;  // 0x1f801d88 : Voice ON (0-15ch)
  EXPECT_FALSE(FilterRegisterWrite(registers, events, 0x1F801D88, false));
  EXPECT_TRUE(FilterRegisterWrite(registers, events, 0x1F801D8A, false));
  EXPECT_TRUE(FilterRegisterWrite(registers, events, 0x1F801D88, true));  // seeking bypasses it
  EXPECT_EQ(RegisterControl::IndexOf(0x1F801D9A), 9);
  EXPECT_EQ(RegisterControl::IndexOf(0x1F801D9C), -1);

  events.registerWrite = false;
  EXPECT_FALSE(FilterRegisterWrite(registers, events, 0x1F801C00, false));
  EXPECT_TRUE(FilterRegisterWrite(registers, events, 0x1F801C00, true));
}

TEST(EventSwitches, SeekingSkipsXaAndCdAudioButNotDma) {
  EventControl events;
  EXPECT_TRUE(AllowDmaWrite(events, true));
  EXPECT_FALSE(AllowXa(events, true));
  EXPECT_FALSE(AllowCdda(events, true));
  EXPECT_TRUE(AllowXa(events, false));
  EXPECT_TRUE(AllowCdda(events, false));
  events.dmaWrite = false;
  events.xa = false;
  events.cdda = false;
  EXPECT_FALSE(AllowDmaWrite(events, false));
  EXPECT_FALSE(AllowXa(events, false));
  EXPECT_FALSE(AllowCdda(events, false));
}

}  // namespace
}  // namespace kestrel
