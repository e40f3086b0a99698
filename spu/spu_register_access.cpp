// Register reads and writes of the Spu, and the register image of saved states.
#include "spu/spu.h"

#include <memory>
#include <type_traits>

#include "spu/le16.h"

namespace kestrel::spu {
namespace {

bool InPorts(std::uint32_t address) { return address >= spu_reg::kBase && address < spu_reg::kPortEnd; }

// Registers that a saved image must not write back: writing them would start voices, move data
// into sound RAM or overwrite state the image carries separately.
bool SkippedOnLoad(std::uint32_t address) {
  switch (address) {
    case spu_reg::kKeyOnLow: case spu_reg::kKeyOnHigh: case spu_reg::kKeyOffLow: case spu_reg::kKeyOffHigh:
    case spu_reg::kEndLow: case spu_reg::kEndHigh: case spu_reg::kTransferFifo: case spu_reg::kStatus:
    case spu_reg::kCurrentMainVolumeLeft: case spu_reg::kCurrentMainVolumeRight:
      return true;
    default:
      return false;
  }
}

}  // namespace

#ifdef KESTREL_SPU_REFERENCE_PATH
constexpr RenderPath kDefaultRenderPath = RenderPath::kReference;
#else
constexpr RenderPath kDefaultRenderPath = RenderPath::kFast;
#endif

Spu::Spu() : path_(kDefaultRenderPath) { reset(); }

void Spu::reset() {
  // A state loaded into a running plugin is made over the old one: a fresh megabyte would cost a
  // page fault per 4 KB, which loading a log and starting to decode it would pay every time.
  static_assert(std::is_trivially_destructible_v<SpuState> && std::is_nothrow_default_constructible_v<SpuState>);
  if (state_) std::construct_at(state_.get());
  else state_ = std::make_unique<SpuState>();
  state_->transfer.control = spu_reg::kTransferControlNormal;
}

void Spu::writeRegister(std::uint32_t address, std::uint16_t value) {
  if (!InPorts(address)) return;
  address &= ~1u;
  if (address >= spu_reg::kImageEnd) return;  // internal current-volume registers: the hardware owns them
  SpuState& s = *state_;
  s.registers[spu_reg::ImageIndex(address)] = value;
  if (address < spu_reg::kVoiceBlockEnd) {
    const std::uint32_t offset = address - spu_reg::kBase;
    writeVoiceRegister(static_cast<int>(offset / spu_reg::kVoiceStride), offset % spu_reg::kVoiceStride, value);
    return;
  }
  switch (address) {
    case spu_reg::kMainVolumeLeft: s.mainLeft.write(value); break;
    case spu_reg::kMainVolumeRight: s.mainRight.write(value); break;
    case spu_reg::kKeyOnLow: keyOn(value); break;
    case spu_reg::kKeyOnHigh: keyOn(std::uint32_t{value} << 16); break;
    case spu_reg::kKeyOffLow: keyOff(value); break;
    case spu_reg::kKeyOffHigh: keyOff(std::uint32_t{value} << 16); break;
    case spu_reg::kReverbBase: s.reverb.setBase(value); break;
    case spu_reg::kTransferAddress: s.transfer.setAddress(value); break;
    case spu_reg::kTransferFifo:
      s.transfer.queue(value);
      if (s.control().transferMode() == spu_reg::kManualWrite) drainFifo();
      break;
    case spu_reg::kTransferControl: s.transfer.control = value; break;
    case spu_reg::kControl:
      if (!spu_reg::ControlBits{value}.irqEnabled()) s.irqFlag = false;  // clearing the enable acknowledges
      if (spu_reg::ControlBits{value}.transferMode() == spu_reg::kManualWrite) drainFifo();
      break;
    default: break;  // plain registers: the image is their state
  }
}

void Spu::writeVoiceRegister(int voice, std::uint32_t offset, std::uint16_t value) {
  Voice& v = state_->voices[voice];
  switch (offset) {
    case spu_reg::kVolumeLeft: v.left.write(value); break;
    case spu_reg::kVolumeRight: v.right.write(value); break;
    case spu_reg::kPitch: v.pitch = value; break;
    case spu_reg::kStartAddress: v.startAddress = value; break;
    case spu_reg::kAdsrLow: v.writeAdsr(v.adsrBits.withLow(value).value); break;
    case spu_reg::kAdsrHigh: v.writeAdsr(v.adsrBits.withHigh(value).value); break;
    case spu_reg::kEnvelopeLevel: v.adsr.envelope.level = static_cast<std::int16_t>(value); break;
    case spu_reg::kRepeatAddress: v.writeRepeatAddress(value); break;
    default: break;
  }
}

void Spu::keyOn(std::uint32_t mask) {
  SpuState& s = *state_;
  for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
    if (!(mask & (1u << v))) continue;
    s.voices[v].keyOn(s.ram.data(), path_ == RenderPath::kReference ? nullptr : blocks_.get());
    if (s.voices[v].blockCovers(s.irqUnit())) s.irqFlag = true;
    s.endFlags &= ~(1u << v);
  }
}

void Spu::keyOff(std::uint32_t mask) {
  for (int v = 0; v < spu_reg::kVoiceCount; ++v)
    if (mask & (1u << v)) state_->voices[v].keyOff();
}

std::uint16_t Spu::readVoiceRegister(int voice, std::uint32_t offset) const {
  const Voice& v = state_->voices[voice];
  switch (offset) {
    // A sweeping volume reads as the level it has reached.
    case spu_reg::kVolumeLeft: return v.left.setting.sweep() ? v.left.levelRegister() : v.left.setting.value;
    case spu_reg::kVolumeRight: return v.right.setting.sweep() ? v.right.levelRegister() : v.right.setting.value;
    case spu_reg::kEnvelopeLevel: return static_cast<std::uint16_t>(v.adsr.level());
    case spu_reg::kRepeatAddress: return v.repeatAddress;
    default: return state_->registers[spu_reg::ImageIndex(spu_reg::kBase + spu_reg::kVoiceStride * voice + offset)];
  }
}

std::uint16_t Spu::readRegister(std::uint32_t address) const {
  if (!InPorts(address)) return 0;
  address &= ~1u;
  const SpuState& s = *state_;
  if (address >= spu_reg::kCurrentVoiceVolumes && address < spu_reg::kCurrentVoiceVolumesEnd) {
    const Voice& v = s.voices[(address - spu_reg::kCurrentVoiceVolumes) / 4];
    return (address & 2) ? v.right.levelRegister() : v.left.levelRegister();
  }
  if (address >= spu_reg::kImageEnd) return 0;
  if (address < spu_reg::kVoiceBlockEnd) {
    const std::uint32_t offset = address - spu_reg::kBase;
    return readVoiceRegister(static_cast<int>(offset / spu_reg::kVoiceStride), offset % spu_reg::kVoiceStride);
  }
  switch (address) {
    case spu_reg::kEndLow: return static_cast<std::uint16_t>(s.endFlags);
    case spu_reg::kEndHigh: return static_cast<std::uint16_t>(s.endFlags >> 16);
    case spu_reg::kStatus: return spu_reg::StatusFrom(s.control(), s.irqFlag, s.captureSignals() && s.captureIndex >= spu_reg::kCaptureHalfwords / 2).value;
    case spu_reg::kCurrentMainVolumeLeft: return s.mainLeft.levelRegister();
    case spu_reg::kCurrentMainVolumeRight: return s.mainRight.levelRegister();
    case spu_reg::kTransferAddress: return s.transfer.startRegister;
    case spu_reg::kTransferControl: return s.transfer.control;
    default: return s.registers[spu_reg::ImageIndex(address)];
  }
}

void Spu::noteTransfer(int halfwords) {
  SpuState& s = *state_;
  const std::uint32_t unit = s.irqUnit();
  if (unit == spu_reg::kNoIrqUnit || s.irqFlag) return;
  // Bytes from the transfer address on, wrapping at the end of RAM.
  const std::uint32_t distance = (unit * 8 - (s.transfer.current & ~7u)) & spu_reg::kSoundRamMask;
  if (distance < (s.transfer.current & 7u) + 2u * static_cast<std::uint32_t>(halfwords)) s.irqFlag = true;
}

void Spu::drainFifo() {
  noteTransfer(state_->transfer.fifoCount);
  state_->transfer.drainFifo(state_->ram.data());
}

void Spu::writeDma(const std::uint16_t* words, int count) {
  if (!words || count <= 0) return;
  noteTransfer(count);
  state_->transfer.writeBlock(state_->ram.data(), words, count);
}

void Spu::readDma(std::uint16_t* words, int count) {
  if (!words || count <= 0) return;
  noteTransfer(count);
  state_->transfer.readBlock(state_->ram.data(), words, count);
}

void Spu::saveRegisterImage(std::uint8_t* image) const {
  for (int i = 0; i < kRegisterCount; ++i) {
    const std::uint32_t address = spu_reg::kBase + 2u * i;
    const bool volume = address < spu_reg::kVoiceBlockEnd && ((address - spu_reg::kBase) % spu_reg::kVoiceStride) < 4;
    // Volumes are saved as written so that a sweep carries on after loading.
    StoreLe16(image + 2 * i, volume ? state_->registers[i] : readRegister(address));
  }
}

void Spu::loadRegisterImage(const std::uint8_t* image) {
  for (int i = 0; i < kRegisterCount; ++i) {
    const std::uint32_t address = spu_reg::kBase + 2u * i;
    if (!SkippedOnLoad(address)) writeRegister(address, LoadLe16(image + 2 * i));
  }
  state_->endFlags = LoadLe16(image + 2 * spu_reg::ImageIndex(spu_reg::kEndLow)) |
                     (std::uint32_t{LoadLe16(image + 2 * spu_reg::ImageIndex(spu_reg::kEndHigh))} << 16);
  // The status bits that are state rather than a mirror of the control register.
  const spu_reg::StatusBits status{LoadLe16(image + 2 * spu_reg::ImageIndex(spu_reg::kStatus))};
  state_->irqFlag = status.irqFlag();
  state_->captureIndex = status.captureSecondHalf() ? spu_reg::kCaptureHalfwords / 2 : 0;
  // Key on/off read back as last written; keep them in the image without acting on them.
  for (std::uint32_t address : {spu_reg::kKeyOnLow, spu_reg::kKeyOnHigh, spu_reg::kKeyOffLow, spu_reg::kKeyOffHigh})
    state_->registers[spu_reg::ImageIndex(address)] = LoadLe16(image + 2 * spu_reg::ImageIndex(address));
}

}  // namespace kestrel::spu
