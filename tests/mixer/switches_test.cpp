#include "mixer/switches.h"
#include "mixer/switch_page_state.h"

#include <gtest/gtest.h>

#include <vector>

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
  EXPECT_EQ((std::vector<bool>{AllowDmaWrite(events, true), AllowXa(events, true), AllowCdda(events, true),
                               AllowDmaWrite(events, false), AllowXa(events, false), AllowCdda(events, false)}),
            (std::vector<bool>{true, false, false, true, true, true}));
  events.dmaWrite = events.xa = events.cdda = false;
  EXPECT_FALSE(AllowDmaWrite(events, false) || AllowXa(events, false) || AllowCdda(events, false));
}

// The boxes change nothing until they are read; each then governs its own switch only.
TEST(SwitchPage, TheSwitchesFollowTheBoxesWhenRead) {
  RegisterPath path;
  SwitchPageState page(path);
  EXPECT_TRUE(page.controls.Checked(1106));
  ASSERT_TRUE(page.Toggle(1106));        // "0x1f801d88 : Voice ON (0-15ch)"
  ASSERT_TRUE(page.SetBox(1117, false));  // "Enable DMA Write"
  EXPECT_TRUE(path.registerControl.allow[0]);
  page.ReadSwitches();
  EXPECT_FALSE(path.registerControl.Allows(0x1F801D88));
  EXPECT_TRUE(path.registerControl.Allows(0x1F801D8A));
  EXPECT_FALSE(path.eventControl.dmaWrite);
  EXPECT_TRUE(path.eventControl.registerWrite && path.eventControl.xa && path.eventControl.cdda);
  ASSERT_TRUE(page.SetBox(1119, false));  // "Enable REG Write"
  ASSERT_TRUE(page.SetBox(1116, false));  // "Enable XA Play"
  ASSERT_TRUE(page.Toggle(1106));
  page.ReadSwitches();
  EXPECT_FALSE(path.eventControl.registerWrite);
  EXPECT_FALSE(path.eventControl.xa);
  EXPECT_TRUE(path.eventControl.cdda);
  EXPECT_TRUE(path.registerControl.allow[0]);
  EXPECT_FALSE(page.SetBox(1120, false));  // the decode page's
  EXPECT_TRUE(path.decodingEvent.registerWrite);
}

}  // namespace
}  // namespace kestrel
